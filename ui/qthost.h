// The catalogue's Host and the engine's reporter, shown with Qt: message
// boxes, the file dialogs, the wait cursor and the draining of pending
// input. The program installs both at start.
#pragma once

#include <string>

#include <QString>

#include "catalogue/host.h"
#include "engine/errors.h"

namespace tracklore {

class QtHost : public Host {
 public:
  Answer message(const char* text, const char* title, Buttons buttons, Icon icon) override;
  Answer question(const char* text, const char* title, Buttons buttons, Icon icon,
                  DefaultButton preset) override;
  bool openfile(const FileRequest& request, std::string* path) override;
  bool savefile(const FileRequest& request, std::string* path) override;
  bool choosefolder(const FolderRequest& request, std::string* path) override;
  void waitcursor(bool on) override;
  void drain() override;
};

// "Text (a;b)|a;b|All (*.*)|*.*||" to Qt's "Text (a b);;All (*)".
QString qtFilter(const char* filter);

// The engine's reporter as a message box with the level's title and icon.
int messageBoxReporter(quill::ReportLevel level, const char* title, const char* text);

}  // namespace tracklore
