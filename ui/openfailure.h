// What an open that failed means to a user, and the engine's own message
// about it held back so that the window can say it in plain words first.
#pragma once

#include <string>

#include <QString>

#include "engine/errors.h"
#include "engine/noncopyable.h"

class QWidget;

namespace tracklore {

enum class OpenFailure {
  NoDatabase,  // the current directory holds no main file
  InUse,       // every table is there, but one could not be opened
  NotAllowed,  // a table's file may not be read (or written)
  Other,       // anything else: the engine's message says it best
};

// Classifies the last failed open of the current directory's database.
OpenFailure classifyOpenFailure();

// The question after an open that found no database: it names the folder
// looked in and the one proposed for a new database, with the engine's
// message under Details.
enum class NewDatabase { Create, Choose, Later };
NewDatabase askNewDatabase(QWidget* parent, const QString& lookedin, const QString& target,
                           const std::string& details);

// The notice after an open that another program (inuse) or the files'
// permissions refused.
void showRefusedOpen(QWidget* parent, bool inuse, bool writable, const std::string& details);

// The notice after a switch to read-write mode that another program
// (inuse) or the files' permissions refused: the database stays read-only.
void showRefusedSwitch(QWidget* parent, bool inuse, const std::string& details);

// While it lives, the engine's messages are collected instead of shown.
// One at a time.
class HeldReports : quill::NonCopyable {
 public:
  HeldReports();
  ~HeldReports();

  // Ends the holding; the messages so far, one after another.
  std::string end();
  // Ends the holding and shows the messages held, as they would have been.
  void replay();

 private:
  quill::Reporter saved_;
  bool ended_ = false;
};

}  // namespace tracklore
