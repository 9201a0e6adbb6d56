// The main window: the status it shows, the commands of its menu with their
// outcome boxes, the exit question and the browse loop.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSet>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "harness.h"
#include "ui/founddlg.h"
#include "ui/maindlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/shelldlg.h"
#include "ui/startup.h"

using namespace tracklore;
using uitest::button;
using uitest::child;
using uitest::host;

class ShellDlgTest : public QObject {
  Q_OBJECT

  QString home_;

  // Answers the box about a folder without a database with the button of
  // that text, and keeps what it said.
  struct NoDatabaseBox {
    QString title, text, details;
  };
  static uitest::Script noDatabase(const QString& answer, NoDatabaseBox* seen = nullptr) {
    return [answer, seen](QDialog& d) {
      auto* box = qobject_cast<QMessageBox*>(&d);
      if (box == nullptr) return -1;
      if (seen != nullptr) *seen = {box->windowTitle(), box->text(), box->detailedText()};
      for (QAbstractButton* b : box->buttons())
        if (b->text() == answer) b->click();
      return d.result();
    };
  }

  // Answers a box of standard buttons with one of them, and keeps what it
  // said and which button Enter would have pressed.
  struct StandardBox {
    QString name, text, details;
    QMessageBox::StandardButton preset = QMessageBox::NoButton;
  };
  static uitest::Script standardBox(QMessageBox::StandardButton answer, StandardBox* seen) {
    return [answer, seen](QDialog& d) {
      auto* box = qobject_cast<QMessageBox*>(&d);
      if (box == nullptr) return -1;
      QPushButton* preset = box->defaultButton();
      *seen = {box->objectName(), box->text(), box->detailedText(),
               preset != nullptr ? box->standardButton(preset) : QMessageBox::NoButton};
      box->button(answer)->click();
      return d.result();
    };
  }

  // The state the window shows: open or closed, with its controls.
  void checkStatus(CShellDlg& shell, bool open) {
    QCOMPARE(child<QLabel>(&shell, 1050)->text(),
             open ? QStringLiteral("Database open") : QStringLiteral("Database closed"));
    QCOMPARE(child<QPushButton>(&shell, 1013)->isEnabled(), open);
    QCOMPARE(child<QCheckBox>(&shell, 1051)->isEnabled(), !open);
    QCOMPARE(child<QLabel>(&shell, 154)->isVisibleTo(&shell), open);
    QCOMPARE(child<QLabel>(&shell, 153)->isVisibleTo(&shell), !open);
    for (int id : {CShellDlg::CmdOpen, CShellDlg::CmdOpenDir, CShellDlg::CmdPack,
                   CShellDlg::CmdReindex, CShellDlg::CmdCreate, CShellDlg::CmdVerify})
      QCOMPARE(shell.action(id)->isEnabled(), !open);
    QCOMPARE(shell.action(CShellDlg::CmdClose)->isEnabled(), open);
    QCOMPARE(shell.action(CShellDlg::CmdBrowse)->isEnabled(), open);
    QVERIFY(shell.action(CShellDlg::CmdAbout)->isEnabled());
    QVERIFY(shell.action(CShellDlg::CmdExit)->isEnabled());
    QCOMPARE(DB_IsOpen() != 0, open);
  }

 private slots:
  void initTestCase() {
    uitest::init();
    home_ = QDir::currentPath();
  }
  void init() { uitest::reset(); }
  void cleanup() {
    QCOMPARE(host().unexpected, 0);
    QCOMPARE(uitest::unscripted(), 0);
    QCOMPARE(host().waitdepth, 0);
    DB_Close();
    QDir::setCurrent(home_);
  }

  void startingWhereThereIsNoDatabase() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    NoDatabaseBox box;
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Not Now"), &box));
    CShellDlg shell;
    QCOMPARE(shell.windowTitle(), QStringLiteral("Tracklore"));
    checkStatus(shell, false);
    QVERIFY(child<QCheckBox>(&shell, 1051)->isChecked());
    QCOMPARE(child<QLineEdit>(&shell, 1008)->text(), QDir::toNativeSeparators(QDir::currentPath()));
    // Said in words, with the engine's message kept under the details.
    QVERIFY(uitest::reports().empty());
    QCOMPARE(box.title, QStringLiteral("No database"));
    QCOMPARE(box.text, QStringLiteral("There is no database in the folder\n%1.\n\nDo you want to "
                                      "create a new database there, or choose another folder?")
                           .arg(QDir::toNativeSeparators(QDir::currentPath())));
    QCOMPARE(box.details,
             QStringLiteral("Operation open failed on Datafile \"maindb\".\nReturn value: DataOpen."));
  }

  void theFirstRunCreatesADatabaseInTheProposedFolder() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    ShellOptions options;
    options.folder = QDir(dir.path()).filePath(QStringLiteral("Music/Tracklore"));
    options.newDatabaseFolder = options.folder;
    // Not this directory's database, though it has one.
    QVERIFY(QFile(QStringLiteral("maindb.db1")).open(QIODevice::WriteOnly));
    NoDatabaseBox box;
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Create Database"), &box));
    host().files = {QDir(options.folder).filePath(QStringLiteral("maindb.db1")).toStdString()};
    CShellDlg shell(nullptr, options);
    QVERIFY(box.text.startsWith(QStringLiteral("The folder\n%1\ndoes not exist.")
                                    .arg(QDir::toNativeSeparators(options.folder))));
    checkStatus(shell, true);
    QCOMPARE(QDir::currentPath(), options.folder);
    QVERIFY(holdsDatabase(options.folder, {}));
    QCOMPARE(rememberedFolder(), options.folder);
    // Choosing another folder opens the database chosen there.
    DB_Close();
    QDir::setCurrent(dir.path());
    QVERIFY(QFile::remove(QStringLiteral("maindb.db1")));
    uitest::reset();
    uitest::scripts().push_back(noDatabase(QStringLiteral("C&hoose Folder...")));
    host().files = {QDir(options.folder).filePath(QStringLiteral("maindb.db1")).toStdString()};
    CShellDlg again;
    checkStatus(again, true);
    QCOMPARE(host().filetitles, std::vector<std::string>{"Choose database main file"});
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
    QVERIFY(start.create != start.open);
    // A database once opened is where the next start without a folder goes.
    QString used;
    {
      uitest::TempDatabase db;
      QVERIFY(db.ok());
      used = db.path();
      DB_Close();
      CShellDlg shell;
      checkStatus(shell, true);
      QCOMPARE(rememberedFolder(), used);
      QDir::setCurrent(dir.path());
      start = chooseStartFolder({});
      QCOMPARE(start.open, used);
      QCOMPARE(start.mainname, QString());
    }
    // Gone since: back to the proposal.
    QCOMPARE(chooseStartFolder({}).open, QDir::currentPath());
  }

  void aDatabaseInUseIsSaidToBe() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    DB_Close();
    const int fd = ::open("attr001.db1", O_RDONLY);
    QVERIFY(fd >= 0);
    QCOMPARE(flock(fd, LOCK_EX | LOCK_NB), 0);  // as another program would
    NoDatabaseBox box;
    uitest::scripts().push_back(noDatabase(QStringLiteral("OK"), &box));
    {
      CShellDlg shell;
      checkStatus(shell, false);
    }
    ::close(fd);
    QCOMPARE(box.title, QStringLiteral("Database in use"));
    QVERIFY(box.text.contains(QStringLiteral("is in use by another program")));
    // The catalogue waited for it first, and says so under the details.
    QCOMPARE(box.details, QStringLiteral("Another program is using the database (table "
                                         "\"attr001\" is held).\nTry again when it has finished."));
    QVERIFY(uitest::reports().empty());
  }

  void createOpensTheNewDatabaseForWriting() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Not Now")));
    CShellDlg shell;
    uitest::reset();
    host().files = {QDir(dir.path()).filePath(QStringLiteral("maindb.db1")).toStdString()};
    shell.action(CShellDlg::CmdCreate)->trigger();
    QCOMPARE(host().filetitles, std::vector<std::string>{"Choose directory where database will be created"});
    checkStatus(shell, true);
    QVERIFY(!child<QCheckBox>(&shell, 1051)->isChecked());
    QVERIFY(!DB_IsReadOnly());
    QVERIFY(uitest::reports().empty());
    shell.action(CShellDlg::CmdClose)->trigger();
    checkStatus(shell, false);
    // The read-only switch is handed to the next open.
    child<QCheckBox>(&shell, 1051)->setChecked(true);
    shell.action(CShellDlg::CmdOpen)->trigger();
    checkStatus(shell, true);
    QVERIFY(DB_IsReadOnly());
    // A cancelled create changes nothing.
    shell.action(CShellDlg::CmdClose)->trigger();
    host().files = {""};
    shell.action(CShellDlg::CmdCreate)->trigger();
    checkStatus(shell, false);
    QVERIFY(child<QCheckBox>(&shell, 1051)->isChecked());
    // Creating over it asks first, and Enter there keeps the old one.
    host().files = {QDir(dir.path()).filePath(QStringLiteral("maindb.db1")).toStdString()};
    host().answers = {Answer::Cancel};
    shell.action(CShellDlg::CmdCreate)->trigger();
    QCOMPARE(host().titles(), std::vector<std::string>{"Create database"});
    QVERIFY(host().asked[0].preset == DefaultButton::Refuse);
    checkStatus(shell, false);
  }

  void packThenReindexThenOpen() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    {
      FullTable albums(DB_Table(TitleTable));
      for (const char* name : {"One", "Two", "Three", "Four"}) DB_InsertRecord(0, name, albums.cursor());
      albums.cursor().del();
    }
    DB_Close();
    CShellDlg shell;
    checkStatus(shell, true);
    shell.action(CShellDlg::CmdClose)->trigger();
    uitest::reset();
    host().answers = {Answer::Yes, Answer::Yes};
    shell.action(CShellDlg::CmdPack)->trigger();
    QCOMPARE(host().titles(), (std::vector<std::string>{"Success", "Success"}));
    QCOMPARE(host().asked[0].text,
             std::string("Pack succeeded.\nBefore you can use this database, you need to reindex "
                         "it.\nDo you want to reindex the database?"));
    QVERIFY(host().asked[0].buttons == Buttons::YesNo);
    QCOMPARE(host().asked[1].text, std::string("Reindex succeeded.\nWould you like to open the database?"));
    QCOMPARE(host().drains, 2);  // each with its own progress window
    QVERIFY(shell.progressWindow() == nullptr);
    checkStatus(shell, true);
    QCOMPARE(DB_Table(TitleTable).nrecs(), 3);
    QVERIFY(uitest::reports().empty());
    // No to each question stops the chain.
    shell.action(CShellDlg::CmdClose)->trigger();
    host().asked.clear();
    host().answers = {Answer::No};
    shell.action(CShellDlg::CmdPack)->trigger();
    checkStatus(shell, false);
    host().answers = {Answer::No};
    shell.action(CShellDlg::CmdReindex)->trigger();
    QCOMPARE(host().titles(), (std::vector<std::string>{"Success", "Success"}));
    checkStatus(shell, false);
  }

  void aStaleIndexIsRecoveredOnRequest() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    db.add(TitleTable, "Abbey Road");
    DB_Close();
    QCOMPARE(DB_Pack(nullptr, nullptr), 0);  // leaves the index files behind
    uitest::reset();
    StandardBox offer;
    uitest::scripts().push_back(standardBox(QMessageBox::No, &offer));
    {
      CShellDlg shell;
      checkStatus(shell, false);
    }
    // The plain question, with the engine's message under the details.
    QCOMPARE(offer.name, QStringLiteral("RecoveryOffer"));
    QVERIFY(offer.text.startsWith(
        QStringLiteral("The index files of this database are out of date or damaged")));
    QVERIFY(offer.text.contains(QStringLiteral("\nRecover it now?")));
    QCOMPARE(offer.details, QStringLiteral("Operation open failed on Datafile \"maindb\".\nReturn "
                                           "value: IndexOutOfDate."));
    QCOMPARE(offer.preset, QMessageBox::No);
    QVERIFY(uitest::reports().empty());
    QVERIFY(host().asked.empty());

    StandardBox outcome;
    uitest::scripts().push_back(standardBox(QMessageBox::Yes, &offer));
    uitest::scripts().push_back(standardBox(QMessageBox::Ok, &outcome));
    CShellDlg shell;
    QCOMPARE(host().drains, 1);  // the recovery with its progress window
    QCOMPARE(outcome.name, QStringLiteral("RecoveryOutcome"));
    QCOMPARE(outcome.text, QStringLiteral("The database was recovered."));
    QVERIFY(outcome.details.contains(QStringLiteral("reindexed maindb")));
    checkStatus(shell, true);
    QVERIFY(DB_IsReadOnly());
    QCOMPARE(shell.windowTitle(), QStringLiteral("Tracklore (read-only)"));
    QCOMPARE(DB_Table(TitleTable).nlive(), 1);
    QVERIFY(uitest::reports().empty());
  }

  void anUnfinishedEditIsRecoveredBeforeEditing() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    db.add(TitleTable, "Abbey Road");
    DB_Close();
    // What a crash leaves when it comes after the journal was written and
    // before the first table write: the open succeeds, every edit is refused.
    IntentEntry entry;
    entry.operation = "move";
    tablescreated(entry.created);
    const std::vector<uint8_t> bytes = encodeintent(entry);
    QFile journal(QString::fromStdString(DB_JournalName()));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    journal.close();
    QVERIFY(DB_HasUnfinishedEdit());
    StandardBox offer, outcome;
    uitest::scripts().push_back(standardBox(QMessageBox::Yes, &offer));
    uitest::scripts().push_back(standardBox(QMessageBox::Ok, &outcome));
    CShellDlg shell;
    QVERIFY(offer.text.startsWith(QStringLiteral(
        "The last change to this database was interrupted before it was finished.\nRecover it now?")));
    QCOMPARE(offer.details, QString());
    QVERIFY(outcome.details.startsWith(QStringLiteral("undid an unfinished move")));
    checkStatus(shell, true);
    QVERIFY(!DB_HasUnfinishedEdit());
    QCOMPARE(shell.findChild<QLabel*>(QStringLiteral("outcome"))->text(),
             QStringLiteral("Recovery complete."));
  }

  void failuresAndVerification() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    DB_Close();
    CShellDlg shell;
    shell.action(CShellDlg::CmdClose)->trigger();
    uitest::reset();
    host().answers = {Answer::OK};
    shell.action(CShellDlg::CmdVerify)->trigger();
    QCOMPARE(host().asked.at(0).text, std::string("Verification complete."));
    QCOMPARE(host().asked.at(0).title, std::string("Done"));
    QVERIFY(host().asked.at(0).icon == Icon::Information);
    QCOMPARE(shell.findChild<QLabel*>(QStringLiteral("outcome"))->text(),
             QStringLiteral("Verification complete: no problems found."));
    checkStatus(shell, false);
    // A correction accepted is counted in that line.
    QCOMPARE(DB_Open(), 0);
    {
      FullTable artists(DB_Table(ArtistTable));
      QCOMPARE(DB_InsertRecord(ArtistTable, "Nobody", artists.cursor()), quill::Ok);
      artists.cursor().field(F_RefCount).set(5L);
      QCOMPARE(artists.cursor().flush(0), quill::Ok);
    }
    DB_Close();
    host().asked.clear();
    host().answers = {Answer::Yes, Answer::OK};
    shell.action(CShellDlg::CmdVerify)->trigger();
    QCOMPARE(host().asked.size(), size_t(2));
    QCOMPARE(shell.findChild<QLabel*>(QStringLiteral("outcome"))->text(),
             QStringLiteral("Verification complete: 1 problem corrected."));

    QVERIFY(QFile::remove(QStringLiteral("attr001.db1")));
    host().asked.clear();
    host().answers = {Answer::OK, Answer::OK, Answer::OK};
    shell.action(CShellDlg::CmdPack)->trigger();
    shell.action(CShellDlg::CmdReindex)->trigger();
    shell.action(CShellDlg::CmdVerify)->trigger();
    QCOMPARE(host().titles(), (std::vector<std::string>{"Failure", "Failure", "Failure"}));
    QCOMPARE(host().asked[0].text, std::string("Pack failed. Check if a file is open or locked"));
    QCOMPARE(host().asked[1].text, std::string("Reindex failed. Check if a file is open or locked"));
    QCOMPARE(host().asked[2].text,
             std::string("Verification failed. Check if a file is open or locked"));
    QVERIFY(host().asked[0].icon == Icon::Exclamation);
    QCOMPARE(uitest::reports().size(), size_t(3));
    checkStatus(shell, false);
  }

  void theProgressCallbackShowsLineAndPercentage() {
    CProgressWnd window(nullptr);
    QCOMPARE(child<QLabel>(&window, 1023)->text(), QStringLiteral("Please wait...."));
    window.bar()->setRange(0, 100);
    ProgressContext context;
    context.label = window.label();
    context.bar = window.bar();
    context.text = "Packing table 3 of 5 [rel001]";
    progressCallback(&context, 42);
    QCOMPARE(window.label()->text(), QStringLiteral("Packing table 3 of 5 [rel001]"));
    QCOMPARE(child<QProgressBar>(&window, 1049)->value(), 42);
  }

  void exitAsksFirst() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Not Now")));
    CShellDlg shell;
    shell.show();
    uitest::reset();
    host().answers = {Answer::Cancel};
    shell.action(CShellDlg::CmdExit)->trigger();
    QCOMPARE(host().asked.at(0).text, std::string("Do you really want to exit the program?"));
    QCOMPARE(host().asked.at(0).title, std::string("Confirm exit"));
    QVERIFY(host().asked.at(0).buttons == Buttons::OKCancel);
    QVERIFY(shell.isVisible());
    host().answers = {Answer::Cancel};
    QTest::keyClick(&shell, Qt::Key_Escape);
    QVERIFY(shell.isVisible());
    host().answers = {Answer::Cancel};
    QVERIFY(!shell.close());
    QVERIFY(shell.isVisible());
    // Enter in the directory line does nothing at all.
    QLineEdit* directory = child<QLineEdit>(&shell, 1008);
    QTest::keyClick(directory, Qt::Key_Return);
    QVERIFY(shell.isVisible());
    QCOMPARE(host().asked.size(), size_t(3));
    host().answers = {Answer::OK};
    QVERIFY(shell.close());
    QCOMPARE(shell.result(), int(QDialog::Rejected));
  }

  void browseLoopFollowsTheXrefChain() {
    uitest::TempDatabase db;
    QVERIFY(db.ok());
    const int32_t album = db.add(TitleTable, "Abbey Road");
    const int32_t other = db.add(TitleTable, "Let It Be");
    const int32_t artist = db.add(ArtistTable, "The Beatles");
    const int32_t song = db.add(SongTable, "Something");
    db.link(album, 0, artist);
    db.link(album, 1, song);
    db.link(other, 0, artist);
    DB_Close();
    CShellDlg shell;
    checkStatus(shell, true);
    QStringList titles;
    int first = -1;
    // Browse: to the artists, X-ref on the Beatles.
    uitest::scripts().push_back([&](QDialog& d) {
      auto& browse = dynamic_cast<CMainDlg&>(d);
      first = browse.kind();
      child<QPushButton>(&d, 1005)->click();
      QTest::keyClicks(browse.list(), "the");
      QTest::keyClick(browse.list(), Qt::Key_Return);
      return d.result();
    });
    // The albums of the Beatles: view Abbey Road ...
    uitest::scripts().push_back([&](QDialog& d) {
      titles << d.windowTitle();
      child<QPushButton>(&d, 1036)->click();
      return d.result();
    });
    // ... whose song is X-ref'd from the album.
    uitest::scripts().push_back([&](QDialog& d) {
      titles << d.windowTitle();
      child<QPushButton>(&d, 1028)->click();
      return d.result();
    });
    // The albums of the song; closed.
    uitest::scripts().push_back([&](QDialog& d) {
      titles << d.windowTitle();
      return IDCANCEL;
    });
    child<QPushButton>(&shell, 1013)->click();
    QVERIFY(uitest::scripts().empty());
    QCOMPARE(first, 0);
    QCOMPARE(titles, (QStringList{QStringLiteral("Albums containing artist \"The Beatles\" [2]"),
                                  QStringLiteral("Abbey Road * / The Beatles"),
                                  QStringLiteral("Albums containing song \"Something\" [1]")}));
    QCOMPARE(shell.lastKind(), 1);
    // The next browse starts on the kind shown last; Open starts over.
    int kind = -1;
    uitest::scripts().push_back([&](QDialog& d) {
      kind = dynamic_cast<CMainDlg&>(d).kind();
      return IDCANCEL;
    });
    shell.action(CShellDlg::CmdBrowse)->trigger();
    QCOMPARE(kind, 1);
    shell.action(CShellDlg::CmdClose)->trigger();
    shell.action(CShellDlg::CmdOpen)->trigger();
    QCOMPARE(shell.lastKind(), 0);
  }

  void everyMnemonicOfTheWindowIsItsOwn() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Not Now")));
    CShellDlg shell;
    uitest::reset();
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

  void aboutBox() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    uitest::scripts().push_back(noDatabase(QStringLiteral("&Not Now")));
    CShellDlg shell;
    QString title;
    QStringList texts;
    uitest::scripts().push_back([&](QDialog& d) {
      title = d.windowTitle();
      for (QLabel* l : d.findChildren<QLabel*>())
        if (!l->text().isEmpty()) texts << l->text();
      d.findChild<QPushButton*>(ctlid(IDOK))->click();
      return d.result();
    });
    shell.action(CShellDlg::CmdAbout)->trigger();
    QCOMPARE(title, QStringLiteral("About Tracklore"));
    QCOMPARE(texts, (QStringList{QStringLiteral("Tracklore"),
                                 QStringLiteral("Your music collection's database"),
                                 QStringLiteral("Powered by Quillstore")}));
  }
};

QTEST_MAIN(ShellDlgTest)
#include "shelldlg_test.moc"
