// Host: everything the catalogue asks of the user, behind one small interface.
//
// The catalogue never shows a window itself. Questions, notices, file choice,
// the wait cursor and the draining of pending input all go through the Host
// installed with DB_SetHost (once, at start); a windowed program implements
// it with its toolkit, tests with a scripted one. Without an installed Host a
// silent default answers every question with the refusing button (Cancel, or
// No; OK when OK is the only button) and cancels every file dialog, so that
// nothing is changed on the user's behalf.
//
// Texts are UTF-8: names in them are full names (fullnames.h), paths as
// the file system gives them.
// The engine's own warnings do not come here: they go through the engine's
// reporter (engine/errors.h).
#pragma once

#include <string>

namespace tracklore {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { Question, Exclamation, Information, Stop };
enum class Answer { OK, Cancel, Yes, No };
// The button that Enter presses. A question whose accepting answer deletes
// or overwrites something makes the refusing one (Cancel, No) the default.
enum class DefaultButton { Accept, Refuse };

// A file dialog: filter in the "text|pattern|...||" form, default extension
// without dot ("" for none; the dialog adds it to a name typed without one),
// proposed file name.
struct FileRequest {
  const char* title = "";
  const char* filter = "";
  const char* defext = "";
  const char* proposed = "";
};

// A folder chooser: its title and the folder it starts in (as the file
// system names it; "" for the current directory).
struct FolderRequest {
  const char* title = "";
  std::string start;
};

class Host {
 public:
  virtual ~Host() = default;
  // A modal message box; returns the button pressed.
  virtual Answer message(const char* text, const char* title, Buttons buttons, Icon icon) = 0;
  // The same box with the given default button; message() is a question
  // with the accepting default. A host without default buttons (a script)
  // need not override it.
  virtual Answer question(const char* text, const char* title, Buttons buttons, Icon icon,
                          DefaultButton preset) {
    static_cast<void>(preset);
    return message(text, title, buttons, icon);
  }
  // Open-type and save-type file dialogs: true with the chosen file's path
  // (as the user confirmed it), false when cancelled. They do not change the
  // current directory; the catalogue does that itself.
  virtual bool openfile(const FileRequest& request, std::string* path) = 0;
  virtual bool savefile(const FileRequest& request, std::string* path) = 0;
  // A folder chooser: true with the chosen folder's path, false when
  // cancelled. A host that offers none answers as cancelled.
  virtual bool choosefolder(const FolderRequest& request, std::string* path) {
    static_cast<void>(request);
    static_cast<void>(path);
    return false;
  }
  // Shows (on) or removes (off) the wait cursor; calls nest in pairs.
  virtual void waitcursor(bool on) = 0;
  // Handles the input messages that are waiting, so that windows repaint.
  virtual void drain() = 0;
  // A passing status line, for example while waiting for another program
  // to let go of the database; nothing needs to be answered.
  virtual void status(const char*) {}
};

// Installs the host for the whole run; null puts the silent default back.
void DB_SetHost(Host* host);
Host& DB_Host();

// The wait cursor for the lifetime of a scope, removed on every way out.
class WaitCursor {
 public:
  WaitCursor() { DB_Host().waitcursor(true); }
  ~WaitCursor() { DB_Host().waitcursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace tracklore
