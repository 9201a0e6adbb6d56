// The main window: the status it shows, the commands of its menu with their
// outcome boxes, the exit question and the browse loop.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QMenuBar>
#include <QKeySequence>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <cerrno>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/maintenance.h"
#include "harness.h"
#include "ui/dialogparts.h"
#include "ui/recoveryoffer.h"
#include "ui/startup.h"

using namespace tracklore;

class ShellDlgTest : public uitest::DialogTest {
  Q_OBJECT

  const QString home_ = QDir::currentPath();

  // What a message box said, and which button Enter would have pressed.
  struct Box {
    QString name, title, text, details;
    QMessageBox::StandardButton preset = QMessageBox::NoButton;
  };
  // Answers a message box with the button of that text, keeping what it said.
  static uitest::Script pressing(const QString& button, Box* seen) {
    return [button, seen](QDialog& d) {
      auto* box = qobject_cast<QMessageBox*>(&d);
      if (box == nullptr) return -1;
      QPushButton* preset = box->defaultButton();
      if (seen != nullptr)
        *seen = {box->objectName(), box->windowTitle(), box->text(), box->detailedText(),
                 preset != nullptr ? box->standardButton(preset) : QMessageBox::NoButton};
      for (QAbstractButton* b : box->buttons())
        if (b->text() == button) b->click();
      return d.result();
    };
  }
  static void answer(const QString& button, Box* seen = nullptr) {
    uitest::scripts().push_back(pressing(button, seen));
  }

  // The window started in an empty folder, its offer of a database declined.
  std::unique_ptr<CShellDlg> closedShell(const QTemporaryDir& dir, Box* seen = nullptr) {
    QDir::setCurrent(dir.path());
    answer(QStringLiteral("&Not Now"), seen);
    auto shell = std::make_unique<CShellDlg>();
    uitest::reset();
    return shell;
  }

  // The table file held as another program would hold it; -1 closes it.
  static int holdTable(int how) {
    const int fd = ::open("attr001.db1", O_RDONLY);
    if (fd < 0 || flock(fd, how | LOCK_NB) != 0) qFatal("cannot lock attr001.db1");
    return fd;
  }

  // Triggers the action while files may be opened only to read, as the
  // user's own may be.
  static void withFilesReadOnly(QAction* action) {
    quill::File::set_system_fault(
        [](const quill::File& f, quill::File::Call call, int64_t, int32_t) {
          return call == quill::File::Call::Open && !f.readonly() ? EACCES : 0;
        });
    action->trigger();
    quill::File::set_system_fault({});
  }

  // The journal of an unfinished move, with these counts to undo.
  static void writeJournal(const std::vector<IntentEntry::Counts>& counts) {
    IntentEntry entry;
    entry.operation = "move";
    tablescreated(entry.created);
    entry.counts = counts;
    const std::vector<uint8_t> bytes = encodeintent(entry);
    QFile journal(QString::fromStdString(DB_JournalName()));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
  }

  static QString outcome(CShellDlg& shell) { return shell.findChild<QLabel*>(CShellDlg::kOutcomeName)->text(); }

  // The state the window shows: open or closed, with its controls.
  void checkStatus(CShellDlg& shell, bool open) {
    QCOMPARE(child<QLabel>(&shell, CShellDlg::IdStatus)->text(),
             open ? QStringLiteral("Database open") : QStringLiteral("Database closed"));
    QCOMPARE(child<QPushButton>(&shell, CShellDlg::IdBrowse)->isEnabled(), open);
    // Read-only mode switches an open database too; box and menu item agree.
    QCOMPARE(child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->isChecked(),
             shell.action(CShellDlg::CmdReadOnly)->isChecked());
    QCOMPARE(child<QLabel>(&shell, CShellDlg::IdOpenPicture)->isVisibleTo(&shell), open);
    QCOMPARE(child<QLabel>(&shell, CShellDlg::IdClosedPicture)->isVisibleTo(&shell), !open);
    for (int id : {CShellDlg::CmdOpen, CShellDlg::CmdOpenDir, CShellDlg::CmdPack,
                   CShellDlg::CmdReindex, CShellDlg::CmdCreate, CShellDlg::CmdVerify})
      QCOMPARE(shell.action(id)->isEnabled(), !open);
    for (int id : {CShellDlg::CmdClose, CShellDlg::CmdBrowse})
      QCOMPARE(shell.action(id)->isEnabled(), open);
    QVERIFY(shell.action(CShellDlg::CmdAbout)->isEnabled() && shell.action(CShellDlg::CmdExit)->isEnabled());
    QCOMPARE(DB_IsOpen() != 0, open);
  }

  void tearDown() override {
    DB_Close();
    QDir::setCurrent(home_);
  }

 private slots:
  // Said in words, with the catalogue's message kept under the details.
  void startingWhereThereIsNoDatabaseOrOneInUse() {
    QTemporaryDir dir;
    Box box;
    {
      const auto shell = closedShell(dir, &box);
      checkStatus(*shell, false);
      QCOMPARE(shell->windowTitle(), QStringLiteral("Tracklore"));
      QCOMPARE(child<QLineEdit>(shell.get(), CShellDlg::IdDirectory)->text(),
               QDir::toNativeSeparators(QDir::currentPath()));
    }
    QCOMPARE(box.title, QStringLiteral("No database"));
    QCOMPARE(box.text, QStringLiteral("There is no database in the folder\n%1.\n\nDo you want to "
                                      "create a new database there, or choose another folder?")
                           .arg(QDir::toNativeSeparators(QDir::currentPath())));
    QVERIFY(box.details.endsWith(QStringLiteral("its file maindb.db1 is missing.")));

    uitest::TempDatabase db;
    DB_Close();
    int fd = holdTable(LOCK_EX);
    answer(QStringLiteral("&OK"), &box);
    checkStatus(*std::make_unique<CShellDlg>(), false);
    ::close(fd);
    QCOMPARE(box.title, QStringLiteral("Database in use"));
    QVERIFY(box.text.contains(QStringLiteral("is in use by another program")));
    QVERIFY(box.details.contains(QStringLiteral("table \"attr001\" is held")));

    // Remembered read-write, a database another program reads opens
    // read-only beside it and says why; the choice stays for the next start.
    rememberReadOnly(false);
    fd = holdTable(LOCK_SH);
    answer(QStringLiteral("OK"), &box);
    {
      CShellDlg beside;
      checkStatus(beside, true);
      QVERIFY(DB_IsReadOnly() && beside.action(CShellDlg::CmdReadOnly)->isChecked());
    }
    ::close(fd);
    QCOMPARE(box.title, QStringLiteral("Database stays read-only"));
    QVERIFY(!rememberedReadOnly());
    QVERIFY(uitest::reports().empty());
  }

  // The switch closes and opens the tables again in the other mode; the
  // choice is the next start's. Refused, it says why and stays read-only.
  // Read-only, the window holds the tables shared, so that another program
  // reads beside it; a database whose files may only be read is said to be
  // so when opened for writing, not to be in use.
  void readOnlyModeSwitchesInPlaceAndIsRemembered() {
    uitest::TempDatabase db;
    DB_Close();
    {
      CShellDlg shell;
      QAction* mode = shell.action(CShellDlg::CmdReadOnly);
      QVERIFY(mode->isChecked() && DB_IsReadOnly());
      ::close(holdTable(LOCK_SH));
      QVERIFY(!shell.action(CShellDlg::CmdScan)->isEnabled());
      QCOMPARE(shell.action(CShellDlg::CmdScan)->toolTip(), readOnlyHint());
      Box box;
      answer(QStringLiteral("&OK"), &box);
      withFilesReadOnly(mode);
      QCOMPARE(box.title, QStringLiteral("Database stays read-only"));
      QCOMPARE(box.text, QStringLiteral("The database cannot be opened for changes: you are not "
                                        "allowed to change its files."));
      checkStatus(shell, true);
      QVERIFY(DB_IsReadOnly() && mode->isChecked() && rememberedReadOnly());

      mode->trigger();
      checkStatus(shell, true);
      QVERIFY(!mode->isChecked() && !DB_IsReadOnly());
      QVERIFY(shell.action(CShellDlg::CmdScan)->isEnabled());
      QCOMPARE(shell.windowTitle(), QStringLiteral("Tracklore"));
      child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->click();
      QVERIFY(mode->isChecked() && DB_IsReadOnly());
      mode->trigger();
      shell.action(CShellDlg::CmdClose)->trigger();
      answer(QStringLiteral("&OK"), &box);
      withFilesReadOnly(shell.action(CShellDlg::CmdOpen));
      checkStatus(shell, false);
      QCOMPARE(box.title, QStringLiteral("Database not accessible"));
      QVERIFY(
          box.details.contains(QStringLiteral("maindb.db1 cannot be written (Permission denied)")));
    }
    DB_Close();
    CShellDlg again;
    checkStatus(again, true);
    QVERIFY(!DB_IsReadOnly());
  }

  // A start folder that does not exist is said to be missing, and this
  // directory's database is not meant; Choose Folder opens the one chosen.
  void aStartFolderThatDoesNotExistOffersAnother() {
    uitest::TempDatabase db;
    DB_Close();
    const QString missing = QDir(db.path()).filePath(QStringLiteral("Music/Tracklore"));
    Box box;
    answer(QStringLiteral("C&hoose Folder..."), &box);
    host().folders = {db.path().toStdString()};
    CShellDlg shell(nullptr, {missing, missing});
    QVERIFY(box.text.startsWith(
        QStringLiteral("The folder\n%1\ndoes not exist.").arg(QDir::toNativeSeparators(missing))));
    checkStatus(shell, true);
    QCOMPARE(host().foldertitles, Strings{"Choose the folder of the database"});
  }

  // A new user's home folder: the XDG music folder is the home folder
  // itself. The database goes to ~/Music/Tracklore at one question, the
  // box stands over the window, and the home folder is never proposed.
  void theFirstRunProposesAVisibleMusicFolder() {
    QTemporaryDir home;
    const QByteArray oldhome = qgetenv("HOME"), oldconfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
      qputenv("HOME", oldhome);
      qputenv("XDG_CONFIG_HOME", oldconfig);
      QStandardPaths::setTestModeEnabled(true);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
    // Qt's test mode reads no user-dirs.dirs; the home here is a fake one.
    QStandardPaths::setTestModeEnabled(false);
    const auto musicdir = [&](const char* line) {
      QDir(home.path()).mkpath(".config");
      QFile dirs(home.filePath(".config/user-dirs.dirs"));
      QVERIFY(dirs.open(QIODevice::WriteOnly));
      dirs.write(line);
    };
    musicdir("XDG_MUSIC_DIR=\"$HOME/\"\n");
    const QString proposed = home.filePath("Music/Tracklore");
    QCOMPARE(defaultDatabaseFolder(), proposed);
    QDir::setCurrent(home.path());
    const StartFolder start = chooseStartFolder({});
    Box box;
    bool overwindow = false;
    uitest::scripts().push_back([&](QDialog& d) {
      const QWidget* shell = d.parentWidget();
      overwindow = shell != nullptr && shell->isVisible() &&
                   (d.geometry().center() - shell->geometry().center()).manhattanLength() < 4;
      return pressing(QStringLiteral("&Create Database"), &box)(d);
    });
    {
      CShellDlg shell(nullptr, {start.open, start.create});
      QVERIFY(overwindow);
      QVERIFY2(box.text.contains(QDir::toNativeSeparators(proposed)), qPrintable(box.text));
      checkStatus(shell, true);
      QCOMPARE(QDir::currentPath(), proposed);
    }
    QVERIFY(holdsDatabase(proposed, {}));
    QCOMPARE(rememberedFolder(), proposed);

    // Not now: Create new proposes the music folder, not the home folder it
    // is in.
    DB_Close();
    QDir::setCurrent(home.path());
    uitest::reset();
    answer(QStringLiteral("&Not Now"));
    CShellDlg later;
    host().folders = {""};
    later.action(CShellDlg::CmdCreate)->trigger();
    QCOMPARE(host().folderstarts, Strings{proposed.toStdString()});
    // A music folder of its own is followed.
    musicdir("XDG_MUSIC_DIR=\"$HOME/Songs\"\n");
    QCOMPARE(defaultDatabaseFolder(), home.filePath("Songs/Tracklore"));
  }

  void theStartFolderIsTheArgumentOrTheOneUsedLast() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    StartFolder start = chooseStartFolder({QStringLiteral("collection")});
    QCOMPARE(start.open, QDir(dir.path()).filePath(QStringLiteral("collection")));
    QCOMPARE(start.create, start.open);
    // Nothing here and nothing remembered: a folder of its own is proposed.
    start = chooseStartFolder({});
    QCOMPARE(start.open, QDir::currentPath());
    QCOMPARE(start.create, defaultDatabaseFolder());
    // A database once opened is where the next start without a folder goes.
    {
      uitest::TempDatabase db;
      DB_Close();
      CShellDlg shell;
      QDir::setCurrent(dir.path());
      start = chooseStartFolder({});
      QCOMPARE(start.open, db.path());
      QCOMPARE(start.mainname, QString());
    }
    // Gone since: back to the proposal.
    QCOMPARE(chooseStartFolder({}).open, QDir::currentPath());
  }

  void createOpensTheNewDatabaseForWritingAndOpenOnlyATakableOne() {
    QTemporaryDir dir;
    const auto owner = closedShell(dir);
    CShellDlg& shell = *owner;
    host().folders = {dir.path().toStdString()};
    shell.action(CShellDlg::CmdCreate)->trigger();
    checkStatus(shell, true);
    QVERIFY(!child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->isChecked() && !DB_IsReadOnly());
    QVERIFY(uitest::reports().empty());
    shell.action(CShellDlg::CmdClose)->trigger();
    checkStatus(shell, false);
    // The read-only switch is handed to the next open.
    child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->setChecked(true);
    shell.action(CShellDlg::CmdOpen)->trigger();
    checkStatus(shell, true);
    QVERIFY(DB_IsReadOnly());
    // A cancelled create changes nothing.
    shell.action(CShellDlg::CmdClose)->trigger();
    host().folders = {""};
    shell.action(CShellDlg::CmdCreate)->trigger();
    checkStatus(shell, false);
    QVERIFY(child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->isChecked());
    // Creating over it asks first, and Enter there keeps the old one.
    host().folders = {dir.path().toStdString()};
    host().answers = {Answer::Cancel};
    shell.action(CShellDlg::CmdCreate)->trigger();
    QCOMPARE(host().titles(), Strings{"Create database"});
    QVERIFY(host().asked[0].preset == DefaultButton::Refuse);
    checkStatus(shell, false);
    // A folder whose only main file has a name too long to take says so,
    // and neither that folder nor another database is opened.
    QTemporaryDir other;
    QVERIFY(QFile(QDir(other.path()).filePath(QString(128, QLatin1Char('n')) + ".db1"))
                .open(QIODevice::WriteOnly));
    const QString here = QDir::currentPath();
    host().folders = {other.path().toStdString()};
    shell.action(CShellDlg::CmdOpenDir)->trigger();
    checkStatus(shell, false);
    QCOMPARE(QDir::currentPath(), here);
    QCOMPARE(QString::fromUtf8(DB_MainName()), QStringLiteral("maindb"));
    QCOMPARE(uitest::reports().size(), size_t(1));  // its words are the catalogue's
    uitest::reports().clear();
  }

  void theMaintenanceCommandsTellTheirOutcome() {
    uitest::TempDatabase db;
    {
      // A count gone wrong, for verification to correct.
      FullTable artists(DB_Table(ArtistTable));
      QCOMPARE(DB_InsertRecord(Kind::Artist, "Nobody", artists.cursor()), quill::Ok);
      artists.cursor().field(F_RefCount).set(5L);
      QCOMPARE(artists.cursor().flush(), quill::Ok);
    }
    DB_Close();
    CShellDlg shell;
    shell.action(CShellDlg::CmdClose)->trigger();
    uitest::reset();
    host().answers = {Answer::Yes, Answer::OK};
    shell.action(CShellDlg::CmdVerify)->trigger();
    QCOMPARE(host().asked.at(1).title, std::string("Done"));
    QVERIFY(host().asked.at(1).icon == Icon::Information);
    QCOMPARE(outcome(shell), QStringLiteral("Verification complete: 1 problem corrected."));
    checkStatus(shell, false);

    uitest::reset();
    host().answers = {Answer::Yes, Answer::Yes};
    shell.action(CShellDlg::CmdPack)->trigger();
    QCOMPARE(host().titles(), (Strings{"Success", "Success"}));
    QVERIFY(host().asked[0].buttons == Buttons::YesNo);
    QCOMPARE(host().drains, 2);  // each with its own progress window
    QVERIFY(shell.progressWindow() == nullptr);
    checkStatus(shell, true);
    // No to each question stops the chain.
    shell.action(CShellDlg::CmdClose)->trigger();
    host().askanew({Answer::No, Answer::No});
    shell.action(CShellDlg::CmdPack)->trigger();
    shell.action(CShellDlg::CmdReindex)->trigger();
    QCOMPARE(host().titles(), (Strings{"Success", "Success"}));
    checkStatus(shell, false);

    QVERIFY(QFile::remove(QStringLiteral("attr001.db1")));
    host().askanew({Answer::OK, Answer::OK, Answer::OK});
    shell.action(CShellDlg::CmdPack)->trigger();
    shell.action(CShellDlg::CmdReindex)->trigger();
    shell.action(CShellDlg::CmdVerify)->trigger();
    QCOMPARE(host().titles(), (Strings{"Failure", "Failure", "Failure"}));
    QCOMPARE(host().texts(), (Strings{"Pack failed: the table file attr001.db1 is missing",
                                      "Reindex failed: the table file attr001.db1 is missing",
                                      "Verification failed: the table file attr001.db1 is missing"}));
    QVERIFY(host().asked[0].icon == Icon::Exclamation);
    QCOMPARE(uitest::reports().size(), size_t(3));
  }

  void aStaleIndexOrAnUnfinishedEditIsRecoveredOnRequest() {
    uitest::TempDatabase db;
    DB_Close();
    QCOMPARE(DB_Pack(nullptr, nullptr), 0);  // leaves the index files behind
    uitest::reset();
    Box offer, done;
    answer(QStringLiteral("&No"), &offer);
    checkStatus(*std::make_unique<CShellDlg>(), false);
    // The plain question, with the engine's message under the details.
    QCOMPARE(offer.name, kRecoveryOfferName);
    QVERIFY(offer.text.startsWith(
        QStringLiteral("The index files of this database are out of date or damaged")));
    QVERIFY(offer.details.endsWith(QStringLiteral("Return value: IndexOutOfDate.")));
    QCOMPARE(offer.preset, QMessageBox::No);
    QVERIFY(uitest::reports().empty());

    answer(QStringLiteral("&Yes"), &offer);
    answer(QStringLiteral("&OK"), &done);
    {
      CShellDlg shell;
      QCOMPARE(host().drains, 1);  // the recovery with its progress window
      QCOMPARE(done.name, kRecoveryOutcomeName);
      QVERIFY(done.details.contains(QStringLiteral("reindexed maindb")));
      checkStatus(shell, true);
      QCOMPARE(shell.windowTitle(), QStringLiteral("Tracklore (read-only)"));
    }
    DB_Close();

    // What a crash leaves when it comes after the journal was written and
    // before the first table write: the open succeeds, every edit is refused.
    writeJournal({});
    answer(QStringLiteral("&Yes"), &offer);
    answer(QStringLiteral("&OK"), &done);
    {
      CShellDlg shell;
      QVERIFY(offer.text.startsWith(
          QStringLiteral("The last change to this database was "
                         "interrupted before it was finished.\nRecover it now?")));
      QVERIFY(done.details.startsWith(QStringLiteral("undid an unfinished move")));
      checkStatus(shell, true);
      QCOMPARE(outcome(shell), QStringLiteral("Recovery complete."));
    }
    DB_Close();

    // An entry whose undo counts records the title table does not hold:
    // the table no longer opens after it, and recovery stops there.
    writeJournal({{TitleTable, 1000, 0}});
    answer(QStringLiteral("&Yes"));
    answer(QStringLiteral("&OK"), &done);
    CShellDlg shell;
    QVERIFY(done.text.startsWith(QStringLiteral("Recovery failed")));
    QVERIFY(done.text.contains(QStringLiteral("recover again")));
    QCOMPARE(outcome(shell), QStringLiteral("Recovery failed."));
  }

  // The window opened for writing, its database's index pages held in
  // memory by a record appended outside any edit.
  void editUndoRedoAndAFailedCloseSaySo() {
    uitest::TempDatabase db;
    DB_Close();
    CShellDlg shell;
    QVERIFY(!shell.action(CShellDlg::CmdUndo)->isEnabled());  // read-only
    shell.action(CShellDlg::CmdClose)->trigger();
    child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->setChecked(false);
    shell.action(CShellDlg::CmdOpen)->trigger();
    const auto key = [&shell](int command) { return shell.action(command)->shortcut(); };
    QCOMPARE((std::vector{key(CShellDlg::CmdUndo), key(CShellDlg::CmdRedo), key(CShellDlg::CmdOpenDir)}),
             (std::vector{QKeySequence(QKeySequence::Undo), QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                          QKeySequence(QKeySequence::Open)}));
    QVERIFY(db.add(TitleTable, "Kid A") >= 0);
    // What undo and redo do is the catalogue's; the window says what was done.
    shell.action(CShellDlg::CmdUndo)->trigger();
    QCOMPARE(outcome(shell), QStringLiteral("Undone: add of 'Kid A'"));
    shell.action(CShellDlg::CmdRedo)->trigger();
    QCOMPARE(outcome(shell), QStringLiteral("Redone: add of 'Kid A'"));
    host().answers = {Answer::OK};
    shell.action(CShellDlg::CmdRedo)->trigger();
    QCOMPARE(host().titles(), Strings{"Redo"});
    QVERIFY(DB_IsOpen() && !DB_IsReadOnly());

    {
      FullTable titles(DB_Table(TitleTable));
      titles.cursor().field(F_Name).set("Held back");
      QCOMPARE(titles.cursor().append(), quill::Ok);
    }
    quill::File::set_write_fault(
        [](const quill::File& file, int32_t, int32_t) { return file.name().ends_with(".idx"); });
    host().askanew({Answer::OK});
    shell.action(CShellDlg::CmdClose)->trigger();
    quill::File::set_write_fault({});
    QCOMPARE(host().titles(), Strings{"Failure"});
    QVERIFY(host().texts()[0].starts_with("The database could not be closed cleanly"));
    QVERIFY(host().texts()[0].ends_with("open the database again and recover it when asked."));
    checkStatus(shell, false);
  }

  void browseLoopFollowsTheXrefChainAndExitAsksFirst() {
    uitest::Catalogue c;
    DB_Close();
    CShellDlg shell;
    QStringList titles;
    int first = -1;
    // Browse: to the artists, X-ref on the Beatles; view Abbey Road, whose
    // song is X-ref'd; the albums of the song closed.
    uitest::scripts().push_back([&](QDialog& d) {
      auto& browse = dynamic_cast<CMainDlg&>(d);
      first = kindtable(browse.kind());
      child<QPushButton>(&d, CMainDlg::IdNextKind)->click();
      QTest::keyClicks(browse.list(), "the");
      QTest::keyClick(browse.list(), Qt::Key_Return);
      return d.result();
    });
    for (int id : {int(CFoundDlg::IdView), int(CArticleDlg::IdXref), int(IDCANCEL)})
      uitest::scripts().push_back(uitest::noteTitle(&titles, id));
    child<QPushButton>(&shell, CShellDlg::IdBrowse)->click();
    QCOMPARE(first, 0);
    QCOMPARE(titles, (QStringList{QStringLiteral("Albums containing artist \"The Beatles\" [2]"),
                                  QStringLiteral("Abbey Road * / The Beatles"),
                                  QStringLiteral("Albums containing song \"Come Together\" [3]")}));
    // The next browse starts on the kind shown last, also after the same
    // database is opened again.
    uitest::scripts().push_back([&first](QDialog& d) {
      first = kindtable(dynamic_cast<CMainDlg&>(d).kind());
      return IDCANCEL;
    });
    shell.action(CShellDlg::CmdBrowse)->trigger();
    QCOMPARE(first, 1);
    shell.action(CShellDlg::CmdClose)->trigger();
    shell.action(CShellDlg::CmdOpen)->trigger();
    QCOMPARE(shell.lastKind(), Kind::Artist);

    // Exit: the menu, Escape and closing the window all ask; Enter in the
    // directory line does nothing at all.
    shell.show();
    host().askanew({Answer::Cancel, Answer::Cancel, Answer::Cancel});
    shell.action(CShellDlg::CmdExit)->trigger();
    QTest::keyClick(&shell, Qt::Key_Escape);
    QVERIFY(!shell.close());
    QTest::keyClick(child<QLineEdit>(&shell, CShellDlg::IdDirectory), Qt::Key_Return);
    QVERIFY(shell.isVisible());
    QCOMPARE(host().titles(), (Strings{"Confirm exit", "Confirm exit", "Confirm exit"}));
    QVERIFY(host().asked[0].buttons == Buttons::OKCancel);
    host().answers = {Answer::OK};
    QVERIFY(shell.close());
    QCOMPARE(shell.result(), int(QDialog::Rejected));

    QStringList texts;
    for (QAction* a : shell.findChild<QMenuBar*>()->actions()) texts << a->text();
    for (QAbstractButton* b : shell.findChildren<QAbstractButton*>()) texts << b->text();
    for (QLabel* l : shell.findChildren<QLabel*>()) texts << l->text();
    QSet<QChar> seen;
    for (const QString& text : texts) {
      const QString plain = QString(text).remove(QStringLiteral("&&"));
      const qsizetype at = plain.indexOf(QLatin1Char('&'));
      if (at < 0 || at + 1 >= plain.size()) continue;
      const QChar key = plain[at + 1].toLower();
      QVERIFY2(!seen.contains(key), qPrintable(text));
      seen.insert(key);
    }
    QVERIFY(seen.size() >= 3);
  }
};

QTEST_MAIN(ShellDlgTest)
#include "shelldlg_test.moc"
