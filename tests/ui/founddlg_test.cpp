// The found list (albums of one artist or song) with its rows and the X-ref
// chain, and the name editor with and without the rename confirmation.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "catalogue/schema.h"
#include "engine/file.h"
#include "catalogue/tableset.h"
#include "harness.h"
#include "ui/articledlg.h"
#include "ui/founddlg.h"
#include "ui/help.h"
#include "ui/maindlg.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"

using namespace tracklore;
using uitest::button;
using uitest::child;
using uitest::host;
using uitest::row;

class FoundDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<uitest::TempDatabase> db_;
  int32_t abbey_ = 0, letitbe_ = 0, songsonly_ = 0;
  int32_t beatles_ = 0, solo_ = 0, together_ = 0, octopus_ = 0;

 private slots:
  void initTestCase() { uitest::init(); }

  void init() {
    uitest::reset();
    db_ = std::make_unique<uitest::TempDatabase>();
    QVERIFY(db_->ok());
    abbey_ = db_->add(TitleTable, "Abbey Road");
    letitbe_ = db_->add(TitleTable, "Let It Be");
    songsonly_ = db_->add(TitleTable, "Songs Only");
    beatles_ = db_->add(ArtistTable, "The Beatles");
    solo_ = db_->add(ArtistTable, "Billy Preston");
    together_ = db_->add(SongTable, "Come Together");
    octopus_ = db_->add(SongTable, "Octopus's Garden");
    db_->link(abbey_, 0, beatles_);
    db_->link(abbey_, 1, together_);
    db_->link(letitbe_, 0, solo_);
    db_->link(letitbe_, 0, beatles_);
    db_->link(letitbe_, 1, together_);
    db_->link(songsonly_, 1, together_);
    db_->link(songsonly_, 1, octopus_);
  }
  void cleanup() {
    QCOMPARE(host().unexpected, 0);
    QCOMPARE(uitest::unscripted(), 0);
    QVERIFY(uitest::scripts().empty());
    db_.reset();
  }

  void rowsShowMarkAndMainArtist() {
    // Abbey Road is complete.
    {
      CMainDlg browse(nullptr, TitleTable, false);
      CArticleDlg d(browse.list(), browse.list()->source()->cursor(), 1, nullptr);
      d.reject();
    }
    CFoundDlg found(1, together_, nullptr);
    QCOMPARE(found.windowTitle(), QStringLiteral("Albums containing song \"Come Together\" [3]"));
    QCOMPARE(child<QLabel>(&found, 1023)->text(), QStringLiteral("Albums found:"));
    QCOMPARE(uitest::rows(*child<CRecListBox>(&found, 1035)),
             (std::vector<std::string>{"Abbey Road  / The Beatles", "Let It Be * / Billy Preston",
                                       "Songs Only * / --"}));
    QVERIFY(button(&found, 1036)->isEnabled());
    QVERIFY(button(&found, 1036)->isDefault());
    // Formatting leaves the album records as they are.
    QCOMPARE(db_->text(TitleTable, letitbe_, F_OKField), std::string("*"));
  }

  void f1OpensTheHelpAtTheFoundList() {
    // The page is looked for in the current directory too.
    QFile page(QStringLiteral("index.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    QList<QUrl> opened;
    setHelpOpener([&opened](const QUrl& url) {
      opened << url;
      return true;
    });
    CFoundDlg found(1, together_, nullptr);
    found.show();
    QApplication::setActiveWindow(&found);
    QVERIFY(QTest::qWaitForWindowActive(&found));
    QTest::keyClick(child<CRecListBox>(&found, 1035), Qt::Key_F1);
    setHelpOpener({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].fragment(), QStringLiteral("found"));
  }

  void aMissingTargetGivesAnEmptyList() {
    CFoundDlg found(0, 4711, nullptr);
    QCOMPARE(found.windowTitle(), QStringLiteral("Albums containing artist \"<not found>\" [0]"));
    QCOMPARE(child<CRecListBox>(&found, 1035)->count(), 0);
    QVERIFY(!button(&found, 1036)->isEnabled());
  }

  void viewOpensTheAlbumAndItsXrefChains() {
    CFoundDlg found(0, beatles_, nullptr);
    CRecListBox* list = child<CRecListBox>(&found, 1035);
    QTest::keyClick(list, Qt::Key_Down);
    QString title;
    uitest::scripts().push_back([&](QDialog& d) {
      title = d.windowTitle();
      QTest::keyClick(child<CRecListBox>(&d, 1009), Qt::Key_Return);  // X-Ref on the song
      return d.result();
    });
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(title, QStringLiteral("Let It Be * / Billy Preston"));
    QCOMPARE(found.result(), int(ResultTarget));
    QCOMPARE(found.resultAttr(), 1);
    QCOMPARE(found.resultCode(), together_);
    // Closed without X-Ref, the found list stays.
    CFoundDlg again(1, octopus_, nullptr);
    uitest::scripts().push_back([](QDialog& d) {
      d.reject();
      return d.result();
    });
    button(&again, 1036)->click();
    QCOMPARE(again.result(), 0);
    QVERIFY(button(&again, 1036)->isEnabled());
    button(&again, IDCANCEL)->click();
    QCOMPARE(again.result(), int(IDCANCEL));
  }

  void renamingWithoutAndWithConfirmation() {
    CMainDlg browse(nullptr, ArtistTable, false);
    CRecListBox* list = browse.list();
    QCOMPARE(list->currentName(), std::string("Billy Preston"));
    CNameDlg d(list, list->source()->cursor(), ArtistTable, nullptr);
    d.show();
    QLineEdit* edit = child<QLineEdit>(&d, 1038);
    QCOMPARE(child<QLabel>(&d, 1039)->text(), QStringLiteral("Edit artist name:"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Billy Preston  (1)"));
    QCOMPARE(edit->text(), QStringLiteral("Billy Preston"));
    // Shown, the caret stands at the end and typing adds to the name.
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(edit->cursorPosition(), edit->text().size());
    // Used once: no question.
    edit->selectAll();
    QTest::keyClicks(edit, "billy preston & friends");
    QTest::keyClick(edit, Qt::Key_Return);  // Modify is the default button
    QCOMPARE(host().asked.size(), size_t(0));
    QCOMPARE(db_->name(ArtistTable, solo_), std::string("Billy Preston & Friends"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Billy Preston & Friends  (1)"));
    QVERIFY(!edit->isModified());
    // Used twice: asked; Cancel keeps the edit as typed.
    button(&d, 1002)->click();
    QCOMPARE(edit->text(), QStringLiteral("The Beatles"));
    QTest::keyClicks(edit, "!");
    host().answers = {Answer::Cancel};
    button(&d, 1043)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Confirm rename"));
    QCOMPARE(host().asked.at(0).text,
             std::string("This artist has 2 album(s) referencing to it. Are you sure you want rename it?"));
    QCOMPARE(db_->name(ArtistTable, beatles_), std::string("The Beatles"));
    QVERIFY(edit->isModified());
    host().answers = {Answer::OK};
    button(&d, 1043)->click();
    QCOMPARE(db_->name(ArtistTable, beatles_), std::string("The Beatles!"));
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("The Beatles!  (2)"));
  }

  void steppingAndLeaving() {
    CMainDlg browse(nullptr, SongTable, false);
    CRecListBox* list = browse.list();
    CNameDlg d(list, list->source()->cursor(), SongTable, nullptr);
    QLineEdit* edit = child<QLineEdit>(&d, 1038);
    QCOMPARE(child<QLabel>(&d, 1039)->text(), QStringLiteral("Edit song name:"));
    button(&d, 1002)->click();
    QCOMPARE(edit->text(), QStringLiteral("Octopus's Garden"));
    QCOMPARE(uitest::beeps(), 0);
    button(&d, 1002)->click();
    QCOMPARE(uitest::beeps(), 1);
    QCOMPARE(edit->text(), QStringLiteral("Octopus's Garden"));
    // A changed name: Cancel stays, No moves on without saving.
    QTest::keyClicks(edit, "s");
    host().answers = {Answer::Cancel};
    button(&d, 1033)->click();
    QCOMPARE(edit->text(), QStringLiteral("Octopus's Gardens"));
    host().answers = {Answer::No};
    button(&d, 1033)->click();
    QCOMPARE(edit->text(), QStringLiteral("Come Together"));
    QCOMPARE(db_->name(SongTable, octopus_), std::string("Octopus's Garden"));
    // Yes saves before closing (the song is used three times).
    QTest::keyClicks(edit, " again");
    host().answers = {Answer::Yes, Answer::OK};
    d.reject();
    QCOMPARE(host().titles().back(), std::string("Confirm rename"));
    QCOMPARE(d.result(), int(IDCANCEL));
    QCOMPARE(db_->name(SongTable, together_), std::string("Come Together Again"));
  }

  void aFailedWriteIsReported() {
    CMainDlg browse(nullptr, ArtistTable, false);
    CRecListBox* list = browse.list();
    CNameDlg d(list, list->source()->cursor(), ArtistTable, nullptr);
    QTest::keyClicks(child<QLineEdit>(&d, 1038), "x");
    quill::File::set_write_fault([](const quill::File&, int32_t, int32_t) { return true; });
    button(&d, 1043)->click();
    quill::File::set_write_fault({});
    QCOMPARE(uitest::reports().size(), size_t(1));
    QVERIFY(uitest::reports()[0].find("Record update failed; returned ") != std::string::npos);
    QCOMPARE(db_->name(ArtistTable, solo_), std::string("Billy Preston"));
    QCOMPARE(child<QLineEdit>(&d, 1038)->text(), QStringLiteral("Billy Prestonx"));
    // A name longer than artists' names is refused with the limit, not cut.
    child<QLineEdit>(&d, 1038)->setText(QString(51, QLatin1Char('b')));
    host().answers = {Answer::OK};
    button(&d, 1043)->click();
    QCOMPARE(host().asked.at(0).text,
             std::string("The name has 51 characters, but artist names hold at most 50.\nNothing "
                         "has been changed."));
    QCOMPARE(db_->name(ArtistTable, solo_), std::string("Billy Preston"));
  }

  void aReadOnlyDatabaseOffersNoEditing() {
    DB_Close();
    QCOMPARE(DB_Open({.readonly = true}), 0);
    CMainDlg browse(nullptr, ArtistTable, false);
    CRecListBox* list = browse.list();
    CNameDlg d(list, list->source()->cursor(), ArtistTable, nullptr);
    QLineEdit* edit = child<QLineEdit>(&d, 1038);
    QVERIFY(edit->isReadOnly());
    QVERIFY(!button(&d, 1043)->isEnabled());
    QTest::keyClicks(edit, "x");
    QTest::keyClick(edit, Qt::Key_Return);
    d.reject();
    QCOMPARE(d.result(), int(IDCANCEL));
    QVERIFY(host().asked.empty());
    QVERIFY(uitest::reports().empty());
    QCOMPARE(edit->text(), QStringLiteral("Billy Preston"));
  }
};

QTEST_MAIN(FoundDlgTest)
#include "founddlg_test.moc"
