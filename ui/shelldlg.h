// The main window: the current database directory, whether a database is
// open, the maintenance operations of the catalogue (open, close, pack,
// reindex, create, verify and repair) and the way into browsing. Every
// other window runs modally from here; closing it ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QDialog>
#include <QString>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;

namespace tracklore {

enum class MainFile;

// The about box.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  enum : int { IdPicture = 159 };  // control id of the picture

  explicit CAboutDlg(QWidget* parent);
};

// The modeless window shown while a long operation runs.
class CProgressWnd : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdLabel = 1023, IdBar = 1049 };

  explicit CProgressWnd(QWidget* parent);
  QLabel* label() const { return label_; }
  QProgressBar* bar() const { return bar_; }

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

// What the long operations get as their progress context: the line they
// set before each call, and the window's label and bar.
struct ProgressContext {
  const char* text = nullptr;
  QLabel* label = nullptr;
  QProgressBar* bar = nullptr;
};
void progressCallback(void* context, int percent);

// Where the main window starts.
struct ShellOptions {
  // The folder looked in at start, named when it holds no database (empty:
  // the current directory).
  QString folder;
  // Where a new database is proposed when the open finds none (empty: the
  // current directory).
  QString newDatabaseFolder;
};

class CShellDlg : public QDialog {
  Q_OBJECT

 public:
  // Command ids of the menu.
  enum Command : int {
    CmdOpen = 32777,
    CmdOpenDir = 32773,
    CmdClose = 32774,
    CmdPack = 32775,
    CmdReindex = 32776,
    CmdCreate = 32778,
    CmdVerify = 32780,
    CmdExit = 32772,
    CmdBrowse = 32781,
    CmdAbout = 32779,
    CmdHelp = 32782,
    CmdScan = 32783,
    CmdRescan = 32784,
    CmdRescanAtStart = 32785,
    CmdDuplicates = 32786,
    CmdSearch = 32787,
    CmdStatistics = 32788,
    CmdReadOnly = 32789,
    CmdUndo = 32790,
    CmdRedo = 32791,
  };

  // Control ids, each control's object name.
  enum : int {
    IdDirectory = 1008, IdBrowse = 1013, IdReadOnly = 1051, IdStatus = 1050,
    IdClosedPicture = 153, IdOpenPicture = 154
  };
  // The object name of the line that says what the last maintenance
  // command did.
  static constexpr QLatin1String kOutcomeName{"outcome"};

  // Opens the database of the current directory at once, read-only unless
  // the user last chose to edit.
  explicit CShellDlg(QWidget* parent = nullptr, const ShellOptions& options = {});

  QAction* action(int command) const;
  int lastKind() const { return lastkind_; }
  // The progress window while a long operation runs, else null.
  CProgressWnd* progressWindow() const { return progress_; }

  // The commands.
  void onOpen(bool ask);
  void onClose();
  void onCreate();
  void onPack();
  void onReindex();
  void onVerify();
  void onScan();
  void onRescan();
  void onBrowse();
  void onSearch();
  void onStatistics();
  // Read-only mode on or off: an open database is closed and opened again
  // in the other mode at once. A switch to editing that is refused is
  // said, and the database opens read-only again.
  void onReadOnlyMode(bool readonly);
  void onDuplicates();
  // Edit > Undo, Redo: the last edit taken back or done again (undo.h).
  void onUndo(bool redo);
  void onAbout();
  void onHelp();

  // The exit question; only OK ends the window.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int lastkind_ = 0;
  bool rescanned_ = false;  // the rescan at start was offered in this run
  QMenuBar* menubar_;
  QLineEdit* directory_;
  QPushButton* browse_;
  QCheckBox* readonly_;
  QLabel* status_;
  QLabel* closedpic_;
  QLabel* openpic_;
  CProgressWnd* progress_ = nullptr;
  ShellOptions options_;
  QLabel* outcome_;  // what the last maintenance command did

  void createMenu();
  void createControls();
  void layOut();
  void refresh();
  void showReadOnlyMode(bool readonly);
  // Opens the closed database again for changes; false, with the refusal
  // said, when that is not possible (the caller opens it for reading).
  bool reopenForChanges();
  // After an open for changes that another program refused: opens the
  // database read-only beside it; false when that fails too.
  bool openReadOnlyInstead();
  // After an open that failed on what recovery mends, or that found an
  // unfinished edit: recover, say what was done, then open again.
  void offerRecovery(bool unfinishedEdit, const std::string& details);
  // After an open that found no database: create one, or choose another.
  void offerNewDatabase(const std::string& details);
  // Makes the database in that folder (made if missing) and opens it for
  // writing; the question was asked before.
  void createIn(const QString& folder);
  // Ctrl+O's folder chooser: the folder chosen becomes the current one,
  // main says which file to open there. False when cancelled or refused.
  bool enterChosenFolder(MainFile* main);
  // The boxes of the start come before the window would be shown: it is
  // shown first, so that they stand centred over it.
  void showForBoxes();
  // Reindex with its progress window; a failure is reported.
  bool reindex();
  int runLong(const std::function<int(void (*)(void*, int), void*)>& operation);
  // Pack or reindex with its progress window; a failure shows failed below
  // and is reported by the pass's name. False when it failed.
  bool runPass(int (*pass)(void (*)(void*, int), void*), const char* name,
               const QString& failed);
  // After a window that ended with an X-Ref: its target's found lists.
  void followXrefs(int result, int attr, int32_t code);
};

}  // namespace tracklore
