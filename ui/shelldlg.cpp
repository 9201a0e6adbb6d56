#include "ui/shelldlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "catalogue/journal.h"
#include "catalogue/maintenance.h"
#include "catalogue/recover.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/undo.h"
#include "engine/errors.h"
#include "ui/browseplace.h"
#include "ui/codec.h"
#include "ui/correctioncounter.h"
#include "ui/duplicatesdlg.h"
#include "ui/dialogparts.h"
#include "ui/founddlg.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/maindlg.h"
#include "ui/openfailure.h"
#include "ui/platform.h"
#include "ui/recoveryoffer.h"
#include "ui/scandlg.h"
#include "ui/searchdlg.h"
#include "ui/startup.h"
#include "ui/statsdlg.h"

namespace tracklore {

// ---------------------------------------------------------------------------
// About box

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CAboutDlg"));
  setWindowTitle(tr("About Tracklore"));
  auto* picture = withid(new QLabel, IdPicture);
  picture->setPixmap(browsePixmap(64));
  auto* product = new QLabel(tr("Tracklore"));
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  product->setFont(big);
  auto* line1 = new QLabel(tr("Your music collection's database"));
  auto* line2 = new QLabel(tr("Powered by Quillstore"));
  auto* version = new QLabel(tr("Version %1").arg(QStringLiteral(TRACKLORE_VERSION)));
  version->setObjectName(QStringLiteral("version"));
  auto* ok = withid(new QPushButton(tr("&OK")), IDOK);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(product);
  text->addWidget(line1);
  text->addWidget(line2);
  text->addWidget(version);
  text->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// ---------------------------------------------------------------------------
// Progress window

CProgressWnd::CProgressWnd(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("CProgressWnd"));
  addHelpKey(this, QStringLiteral("maintenance"));
  setModal(false);
  auto* frame = new QFrame;
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setLineWidth(2);
  label_ = withid(new QLabel(tr("Please wait....")), IdLabel);
  label_->setAlignment(Qt::AlignCenter);
  label_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label_->setMinimumWidth(label_->fontMetrics().averageCharWidth() * 48);
  label_->setMinimumHeight(label_->fontMetrics().height() * 2);
  bar_ = withid(new QProgressBar, IdBar);
  bar_->setTextVisible(false);
  auto* inner = new QVBoxLayout(frame);
  inner->addWidget(label_);
  inner->addWidget(bar_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void progressCallback(void* context, int percent) {
  auto* c = static_cast<ProgressContext*>(context);
  if (c == nullptr) return;
  if (c->label != nullptr && c->text != nullptr) c->label->setText(QString::fromUtf8(c->text));
  if (c->bar != nullptr) c->bar->setValue(percent);
  // Paint the change; the user's input waits until the operation is over.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---------------------------------------------------------------------------
// Main window

CShellDlg::CShellDlg(QWidget* parent, const ShellOptions& options)
    : QDialog(parent), options_(options) {
  setObjectName(QStringLiteral("CShellDlg"));
  setWindowTitle(tr("Tracklore"));
  setWindowIcon(appIcon());
  createMenu();
  createControls();
  layOut();
  connect(browse_, &QPushButton::clicked, this, &CShellDlg::onBrowse);

  // Read-only is the safe way to look at a database that was just found,
  // until the user chooses to edit.
  showReadOnlyMode(rememberedReadOnly());
  if (!options_.folder.isEmpty() && !QFileInfo(options_.folder).isDir()) {
    // A folder asked for that does not exist: the current one is not meant.
    refresh();
    offerNewDatabase({});
    refresh();
  } else {
    onOpen(false);
  }
}

void CShellDlg::createMenu() {
  menubar_ = new QMenuBar(this);
  QMenu* database = menubar_->addMenu(tr("&Database"));
  QMenu* edit = menubar_->addMenu(tr("&Edit"));
  QMenu* tools = menubar_->addMenu(tr("&Tools"));
  QMenu* other = menubar_->addMenu(tr("&Other"));
  auto add = [this](QMenu* menu, const QString& text, int id, auto handler) {
    QAction* a = menu->addAction(text);
    a->setObjectName(cmdid(id));
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  // The commands used most also have a key of their own.
  auto withkey = [this](QAction* a, QKeySequence key) {
    a->setShortcut(key);
    addAction(a);
  };
  add(database, tr("&Open"), CmdOpen, [this] { onOpen(false); });
  // The key opens the folder chooser: a new user's Ctrl+O means "open...".
  withkey(add(database, tr("Open in different &directory..."), CmdOpenDir,
              [this] { onOpen(true); }),
          QKeySequence::Open);
  add(database, tr("&Close"), CmdClose, [this] { onClose(); });
  add(database, tr("&Pack"), CmdPack, [this] { onPack(); });
  add(database, tr("&Reindex"), CmdReindex, [this] { onReindex(); });
  add(database, tr("Create &new..."), CmdCreate, [this] { onCreate(); });
  add(database, tr("&Verify && repair"), CmdVerify, [this] { onVerify(); });
  add(database, tr("&Scan music folder..."), CmdScan, [this] { onScan(); });
  add(database, tr("R&escan music folders"), CmdRescan, [this] { onRescan(); });
  QAction* atstart = add(database, tr("Rescan music folders at s&tart"), CmdRescanAtStart,
                         [this] { setRescanAtStart(action(CmdRescanAtStart)->isChecked()); });
  atstart->setCheckable(true);
  atstart->setChecked(rescanAtStart());
  QAction* readonly = add(database, tr("Read-&only mode"), CmdReadOnly,
                          [this] { onReadOnlyMode(action(CmdReadOnly)->isChecked()); });
  readonly->setCheckable(true);
  // Greyed-out commands say why.
  database->setToolTipsVisible(true);
  database->addSeparator();
  withkey(add(database, tr("E&xit"), CmdExit, [this] { reject(); }), QKeySequence(tr("Ctrl+Q")));
  withkey(add(edit, tr("&Undo"), CmdUndo, [this] { onUndo(false); }), QKeySequence::Undo);
  withkey(add(edit, tr("&Redo"), CmdRedo, [this] { onUndo(true); }),
          QKeySequence(tr("Ctrl+Shift+Z")));
  add(tools, tr("Find &duplicates..."), CmdDuplicates, [this] { onDuplicates(); });
  withkey(add(other, tr("&Browse..."), CmdBrowse, [this] { onBrowse(); }),
          QKeySequence(tr("Ctrl+B")));
  withkey(add(other, tr("&Search..."), CmdSearch, [this] { onSearch(); }), QKeySequence::Find);
  add(other, tr("S&tatistics..."), CmdStatistics, [this] { onStatistics(); });
  add(other, tr("&About..."), CmdAbout, [this] { onAbout(); });
  other->addSeparator();
  withkey(add(other, tr("&Help"), CmdHelp, [this] { onHelp(); }), QKeySequence::HelpContents);
}

void CShellDlg::createControls() {
  directory_ = withid(new QLineEdit, IdDirectory);
  directory_->setReadOnly(true);
  directory_->setMinimumWidth(directory_->fontMetrics().averageCharWidth() * 56);
  directory_->installEventFilter(this);

  browse_ = withid(new QPushButton, IdBrowse);
  nameForReaders(browse_, tr("Browse"), tr("Browse the database's albums, artists and songs"));
  directory_->setAccessibleDescription(tr("The folder of the open database"));
  browse_->setToolTip(tr("Browse the database"));
  browse_->setIcon(QIcon(browsePixmap(48)));
  browse_->setIconSize(QSize(48, 48));
  browse_->setDefault(true);
  readonly_ = withid(new QCheckBox(tr("Use &read-only mode")), IdReadOnly);
  connect(readonly_, &QCheckBox::clicked, this, &CShellDlg::onReadOnlyMode);
  connect(readonly_, &QCheckBox::toggled, this,
          [this](bool on) { action(CmdReadOnly)->setChecked(on); });
  status_ = withid(new QLabel(tr("Database closed")), IdStatus);
  QFont bold = status_->font();
  bold.setBold(true);
  status_->setFont(bold);
  closedpic_ = withid(new QLabel, IdClosedPicture);
  closedpic_->setPixmap(databasePixmap(false, 40));
  openpic_ = withid(new QLabel, IdOpenPicture);
  openpic_->setPixmap(databasePixmap(true, 40));
  outcome_ = new QLabel;
  outcome_->setObjectName(kOutcomeName);
}

void CShellDlg::layOut() {
  auto* caption = new QLabel(tr("Current database directory"));
  caption->setBuddy(directory_);

  auto* pictures = new QGridLayout;
  pictures->addWidget(closedpic_, 0, 0);
  pictures->addWidget(openpic_, 0, 0);
  auto* statecol = new QVBoxLayout;
  statecol->addWidget(status_);
  statecol->addWidget(readonly_);
  auto* row = new QHBoxLayout;
  row->addLayout(pictures);
  row->addSpacing(6);
  row->addLayout(statecol, 1);
  row->addWidget(browse_);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menubar_);
  layout->addWidget(caption);
  layout->addWidget(directory_);
  layout->addSpacing(6);
  layout->addLayout(row);
  layout->addWidget(outcome_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(browse_, readonly_);
  setTabOrder(readonly_, directory_);
}

QAction* CShellDlg::action(int command) const {
  return menubar_->findChild<QAction*>(cmdid(command));
}

bool CShellDlg::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the directory line neither browses nor ends the window.
  if (watched == directory_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CShellDlg::refresh() {
  directory_->setText(QDir::toNativeSeparators(QDir::currentPath()));
  directory_->end(false);
  const bool open = DB_IsOpen() != 0;
  browse_->setEnabled(open);
  for (int id : {CmdOpenDir, CmdOpen, CmdPack, CmdReindex, CmdCreate, CmdVerify})
    action(id)->setEnabled(!open);
  action(CmdClose)->setEnabled(open);
  action(CmdBrowse)->setEnabled(open);
  action(CmdSearch)->setEnabled(open);
  action(CmdStatistics)->setEnabled(open);
  action(CmdDuplicates)->setEnabled(open);
  // A scan changes the catalogue: refused read-only like every change.
  offerEdit(action(CmdScan), open, open && DB_IsReadOnly());
  offerEdit(action(CmdRescan), open, open && DB_IsReadOnly());
  offerEdit(action(CmdUndo), open, open && DB_IsReadOnly());
  offerEdit(action(CmdRedo), open, open && DB_IsReadOnly());
  if (!open) {
    status_->setText(tr("Database closed"));
    openpic_->hide();
    closedpic_->show();
    directory_->setFocus();
  } else {
    status_->setText(tr("Database open"));
    closedpic_->hide();
    openpic_->show();
    showReadOnlyMode(DB_IsReadOnly());
    browse_->setFocus();
    // The next start without a folder comes back here.
    rememberDatabase(QDir::currentPath(), QFile::decodeName(DB_MainName()));
  }
  setWindowTitle(open && DB_IsReadOnly() ? tr("Tracklore (read-only)") : tr("Tracklore"));
}

void CShellDlg::showReadOnlyMode(bool readonly) { readonly_->setChecked(readonly); }

void CShellDlg::onReadOnlyMode(bool readonly) {
  showReadOnlyMode(readonly);
  if (DB_IsOpen() != 0 && DB_IsReadOnly() != readonly) {
    DB_Close();
    reportFailedClose();
    if (!readonly && !reopenForChanges()) {
      readonly = true;
      showReadOnlyMode(true);
    }
    if (DB_IsOpen() == 0) onOpen(false);
    else if (DB_HasUnfinishedEdit()) offerRecovery(true, {});
    outcome_->setText(DB_IsOpen() == 0 ? tr("The database does not open.")
                      : DB_IsReadOnly() ? tr("The database is open read-only.")
                                        : tr("The database is open for changes."));
  }
  rememberReadOnly(readonly);
  refresh();
}

bool CShellDlg::reopenForChanges() {
  HeldReports held;
  if (DB_Open() == 0 || DB_OpenResult() == quill::Ok) return true;
  const OpenFailure failure = classifyOpenFailure();
  if (failure == OpenFailure::InUse || failure == OpenFailure::NotAllowed)
    showRefusedSwitch(this, failure == OpenFailure::InUse, held.end());
  else
    held.replay();
  return false;
}

bool CShellDlg::enterChosenFolder(MainFile* main) {
  const QByteArray title = tr("Choose the folder of the database").toUtf8();
  std::string chosen;
  if (!DB_Host().choosefolder({title.constData(), {}}, &chosen)) return false;
  const QString folder = QFile::decodeName(chosen.c_str());
  if (!QDir::setCurrent(folder)) {
    const QString text =
        tr("The folder %1 cannot be opened.").arg(QDir::toNativeSeparators(folder));
    tracklore::ask(text.toStdString(), tr("Failure").toUtf8().constData(), Buttons::OK,
                   Icon::Exclamation);
    return false;
  }
  // A folder of several databases: the user picks the main file there.
  const QString mainname = mainNameIn(folder);
  *main = mainname.isEmpty() ? MainFile::Ask : MainFile::Current;
  // A name found on disk is one the catalogue can take.
  if (!mainname.isEmpty()) (void)DB_SetMainName(QFile::encodeName(mainname).constData());
  return true;
}

// The choice of read-write stays the user's, for the next open.
bool CShellDlg::openReadOnlyInstead() {
  HeldReports quiet;
  if (DB_Open(kReadBeside) != 0) return false;
  showReadOnlyMode(true);
  outcome_->setText(tr("The database is open read-only."));
  return true;
}

void CShellDlg::onOpen(bool ask) {
  lastkind_ = 0;
  const bool readonly = readonly_->isChecked();
  MainFile main = MainFile::Current;
  if (ask && !enterChosenFolder(&main)) {
    refresh();
    return;
  }
  HeldReports held;
  // Read-only, the command line may read beside the program.
  if (DB_Open(readonly ? kReadBeside : quill::OpenMode{}, main) == 0) {
    held.end();
    // The same database opens on the view the user left it in.
    lastkind_ = rememberedBrowsePlace().kind;
    // Until it is undone, every edit would be refused, and what is shown is
    // the half-made change.
    if (DB_HasUnfinishedEdit()) offerRecovery(true, {});
    refresh();
    // The setting's rescan: at the first open of the run that may write.
    if (!rescanned_ && !DB_IsReadOnly() && !DB_HasUnfinishedEdit() && rescanAtStart()) {
      rescanned_ = true;
      rescanMusicFolders(this);
    }
    return;
  }
  const ErrorCode rc = DB_OpenResult();
  // A cancelled choice has nothing to explain.
  const OpenFailure failure =
      rc == quill::Ok ? OpenFailure::Other : classifyOpenFailure();
  switch (failure) {
    case OpenFailure::NoDatabase: offerNewDatabase(held.end()); break;
    case OpenFailure::InUse: {
      const std::string details = held.end();
      showForBoxes();
      // Another program reads it: it may still be read beside that one.
      if (!readonly && openReadOnlyInstead())
        showRefusedSwitch(this, true, details);
      else
        showRefusedOpen(this, true, !readonly, details);
      break;
    }
    case OpenFailure::NotAllowed:
      showForBoxes();
      showRefusedOpen(this, false, !readonly, held.end());
      break;
    case OpenFailure::Other:
      if (rc != quill::Ok && DB_NeedsRecovery())
        offerRecovery(DB_HasUnfinishedEdit(), held.end());
      else
        held.replay();
      break;
  }
  refresh();
}

void CShellDlg::offerRecovery(bool unfinishedEdit, const std::string& details) {
  const RecoveryReason reason =
      unfinishedEdit ? RecoveryReason::UnfinishedEdit : RecoveryReason::StaleIndex;
  showForBoxes();
  if (!askRecovery(this, reason, details)) return;
  std::vector<std::string> log;
  std::string advice;
  const int result = runLong([&](void (*callback)(void*, int), void* context) {
    return DB_Recover(callback, context, &log, &advice);
  });
  outcome_->setText(result == 0    ? tr("Recovery complete.")
                    : result == -2 ? tr("Recovery complete, but an interrupted change was lost.")
                                   : tr("Recovery failed."));
  showRecoveryOutcome(this, result, log, advice);
  // Whole (if not all kept): it opens again, or says why not.
  if (result != -1 && DB_Open(readonly_->isChecked() ? kReadBeside : quill::OpenMode{}) != 0)
    outcome_->setText(tr("Recovery failed: the database does not open."));
}

void CShellDlg::offerNewDatabase(const std::string& details) {
  // The folder named at start is the one the user asked for, even if it
  // does not exist yet.
  const QString lookedin = options_.folder.isEmpty() ? QDir::currentPath() : options_.folder;
  const QString target = options_.newDatabaseFolder.isEmpty()
                             ? proposedDatabaseFolder(lookedin)
                             : options_.newDatabaseFolder;
  options_ = {};
  showForBoxes();
  switch (askNewDatabase(this, lookedin, target, details)) {
    // The box named the folder: that was the one question.
    case NewDatabase::Create: createIn(target); break;
    case NewDatabase::Choose: onOpen(true); break;
    case NewDatabase::Later: break;
  }
}

void CShellDlg::showForBoxes() {
  if (isVisible()) return;
  // Placed by hand: the boxes are centred over where it is now.
  adjustSize();
  const QScreen* where = screen();
  if (where != nullptr) move(where->availableGeometry().center() - rect().center());
  show();
}

void CShellDlg::createIn(const QString& folder) {
  const QString previous = QDir::currentPath();
  const bool made = !QFileInfo::exists(folder) && QDir().mkpath(folder);
  if (DB_CreateIn(QFile::encodeName(folder).toStdString()) == 0) {
    // A new database is there to be filled.
    readonly_->setChecked(false);
    (void)DB_Open();  // a failure is reported by DB_Open, and refresh() shows the state
  }
  if (DB_IsOpen() == 0) {
    QDir::setCurrent(previous);
    // Made for nothing: only an empty one goes.
    if (made) QDir().rmdir(folder);
  }
  refresh();
}

void CShellDlg::onClose() {
  DB_Close();
  reportFailedClose();
  refresh();
}

void CShellDlg::onCreate() {
  const QString proposed = proposedDatabaseFolder(QDir::currentPath());
  // The chooser can only start in a folder that exists.
  const bool made = !QFileInfo::exists(proposed) && QDir().mkpath(proposed);
  const QByteArray title = tr("Choose the folder for the new database").toUtf8();
  std::string chosen;
  if (DB_Host().choosefolder({title.constData(), QFile::encodeName(proposed).toStdString()},
                             &chosen))
    createIn(QFile::decodeName(chosen.c_str()));
  // Made for nothing: only an empty one goes.
  if (made) QDir().rmdir(proposed);
  refresh();
}

int CShellDlg::runLong(const std::function<int(void (*)(void*, int), void*)>& operation) {
  int rc;
  {
    WaitCursor wait;
    progress_ = new CProgressWnd(this);
    progress_->show();
    progress_->move(geometry().center() - progress_->rect().center());
    DB_Host().drain();
    progress_->bar()->setRange(0, 100);
    ProgressContext context;
    context.label = progress_->label();
    context.bar = progress_->bar();
    rc = operation(progressCallback, &context);
    delete progress_;
    progress_ = nullptr;
    refresh();
  }
  return rc;
}

void CShellDlg::onUndo(bool redo) {
  std::string message;
  int rc;
  {
    WaitCursor wait;
    rc = DB_Undo(redo ? UndoWay::Redo : UndoWay::Undo, &message);
  }
  // Done, it leaves the database closed: it opens again as it was.
  QString shown = QString::fromStdString(message);
  if (rc == 0 && DB_Open() != 0)
    shown += QLatin1Char('\n') + tr("The database does not open again.");
  refresh();
  outcome_->setText(shown);
  if (rc != 0)
    tracklore::ask(shown, redo ? tr("Redo") : tr("Undo"), Buttons::OK, Icon::Exclamation);
}

bool CShellDlg::runPass(int (*pass)(void (*)(void*, int), void*), const char* name,
                        const QString& failed) {
  if (runLong(pass) == 0) return true;
  outcome_->setText(failed);
  tracklore::ask(QString::fromStdString(DB_PassFailureText(name)), tr("Failure"), Buttons::OK,
                 Icon::Exclamation);
  return false;
}

void CShellDlg::onPack() {
  if (!runPass(DB_Pack, QT_TRANSLATE_NOOP("Catalogue", "Pack"), tr("Pack failed."))) return;
  outcome_->setText(tr("Pack complete: the database needs a reindex."));
  if (tracklore::ask(tr("Pack succeeded.\nBefore you can use this database, you need to reindex "
                        "it.\nDo you want to reindex the database?"),
                     tr("Success"), Buttons::YesNo, Icon::Question) == Answer::Yes)
    onReindex();
}

bool CShellDlg::reindex() {
  if (!runPass(DB_Reindex, QT_TRANSLATE_NOOP("Catalogue", "Reindex"), tr("Reindex failed.")))
    return false;
  outcome_->setText(tr("Reindex complete."));
  return true;
}

void CShellDlg::onReindex() {
  if (!reindex()) return;
  if (tracklore::ask(tr("Reindex succeeded.\nWould you like to open the database?"), tr("Success"),
                     Buttons::YesNo, Icon::Question) == Answer::Yes)
    onOpen(false);
}

void CShellDlg::onScan() {
  if (DB_IsOpen() == 0 || DB_IsReadOnly()) return;
  scanMusicFolder(this);
}

void CShellDlg::onRescan() {
  if (DB_IsOpen() == 0 || DB_IsReadOnly()) return;
  rescanMusicFolders(this);
}

void CShellDlg::onVerify() {
  int rc;
  int found;
  int corrected;
  {
    CorrectionCounter counter(DB_Host());
    rc = runLong(static_cast<int (*)(ProgressCallback, void*)>(DB_Verify));
    found = counter.asked;
    corrected = counter.accepted;
  }
  if (rc != 0) {
    outcome_->setText(tr("Verification failed."));
    tracklore::ask(
        QString::fromStdString(DB_PassFailureText(QT_TRANSLATE_NOOP("Catalogue", "Verification"))),
        tr("Failure"), Buttons::OK, Icon::Exclamation);
    return;
  }
  auto problems = [](int n) { return n == 1 ? tr("1 problem") : tr("%1 problems").arg(n); };
  if (found == 0)
    outcome_->setText(tr("Verification complete: no problems found."));
  else if (found == corrected)
    outcome_->setText(tr("Verification complete: %1 corrected.").arg(problems(corrected)));
  else
    outcome_->setText(
        tr("Verification complete: %1 found, %2 corrected.").arg(problems(found)).arg(corrected));
  tracklore::ask(tr("Verification complete."), tr("Done"), Buttons::OK, Icon::Information);
}

void CShellDlg::onBrowse() {
  if (DB_IsOpen() == 0) return;
  // Its X-Refs open their found lists beside it.
  CMainDlg browse(this, lastkind_, false);
  runModal(browse);
  lastkind_ = browse.kind();
}

void CShellDlg::followXrefs(int result, int attr, int32_t code) {
  if (result == ResultTarget) runFoundLists(this, {attr, code});
}

void CShellDlg::onSearch() {
  if (DB_IsOpen() == 0) return;
  int result;
  int attr;
  int32_t code;
  {
    CSearchDlg search(this);
    result = runModal(search);
    attr = search.resultAttr();
    code = search.resultCode();
  }
  followXrefs(result, attr, code);
}

void CShellDlg::onStatistics() {
  if (DB_IsOpen() == 0) return;
  CStatsDlg statistics(this);
  runModal(statistics);
}

void CShellDlg::onDuplicates() {
  if (DB_IsOpen() == 0) return;
  CDuplicatesDlg duplicates(this, lastkind_);
  runModal(duplicates);
}

void CShellDlg::onAbout() {
  CAboutDlg about(this);
  runModal(about);
}

void CShellDlg::onHelp() { showHelp(QStringLiteral("main")); }

void CShellDlg::reject() {
  if (tracklore::ask(tr("Do you really want to exit the program?"), tr("Confirm exit"),
                     Buttons::OKCancel, Icon::Question) == Answer::OK)
    QDialog::reject();
}

}  // namespace tracklore
