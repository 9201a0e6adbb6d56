// The browse dialog: kinds, the search display and "New item", creating and
// deleting in browse and pick mode, and the choices it hands back.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "engine/file.h"

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "harness.h"
#include "ui/articledlg.h"
#include "ui/maindlg.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"

using namespace tracklore;
using uitest::button;
using uitest::child;
using uitest::host;
using uitest::row;

class MainDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<uitest::TempDatabase> db_;
  int32_t abbey_ = 0, letitbe_ = 0, empty_ = 0;
  int32_t beatles_ = 0, orphan_ = 0, trio_ = 0;
  int32_t together_ = 0, something_ = 0, getback_ = 0;

 private slots:
  void initTestCase() { uitest::init(); }

  void init() {
    uitest::reset();
    CMainDlg::setEnterAppends(true);
    db_ = std::make_unique<uitest::TempDatabase>();
    QVERIFY(db_->ok());
    abbey_ = db_->add(TitleTable, "Abbey Road");
    letitbe_ = db_->add(TitleTable, "Let It Be");
    empty_ = db_->add(TitleTable, "Empty Album");
    beatles_ = db_->add(ArtistTable, "The Beatles");
    orphan_ = db_->add(ArtistTable, "Orphan");
    trio_ = db_->add(ArtistTable, "Trio");
    together_ = db_->add(SongTable, "Come Together");
    something_ = db_->add(SongTable, "Something");
    getback_ = db_->add(SongTable, "Get Back");
    db_->link(abbey_, 0, beatles_);
    db_->link(abbey_, 1, together_);
    db_->link(abbey_, 1, something_);
    db_->link(letitbe_, 0, beatles_);
    db_->link(letitbe_, 1, getback_);
    for (int32_t album : {abbey_, letitbe_, empty_}) db_->link(album, 0, trio_);
  }
  void cleanup() {
    QCOMPARE(host().unexpected, 0);
    QCOMPARE(uitest::unscripted(), 0);
    db_.reset();
  }

  void populateShowsTheKindWithItsCount() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Artists available in database [3]"));
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QCOMPARE(uitest::rows(*list),
             (std::vector<std::string>{"Orphan  (0)", "The Beatles  (2)", "Trio  (3)"}));
    QVERIFY(!child<QCheckBox>(&dialog, 1053)->isVisibleTo(&dialog));
    QVERIFY(button(&dialog, 1012)->isEnabled());
    QVERIFY(!button(&dialog, 1041)->isVisibleTo(&dialog));
    // Albums show their completeness mark; they have no X-ref.
    button(&dialog, 1006)->click();
    QCOMPARE(dialog.kind(), 0);
    button(&dialog, 1006)->click();
    QCOMPARE(dialog.kind(), 2);
    button(&dialog, 1005)->click();
    QCOMPARE(dialog.kind(), 0);
    QCOMPARE(child<QComboBox>(&dialog, 1010)->currentText(), QStringLiteral("Albums"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Albums available in database [3]"));
    QCOMPARE(row(*list, 0), QStringLiteral("Abbey Road  *"));
    QVERIFY(!button(&dialog, 1012)->isVisibleTo(&dialog));
    button(&dialog, 1006)->click();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Songs available in database [3]"));
  }

  void aMismatchShowsNewItemAndDisablesTheActions() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    dialog.show();
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QLabel* display = child<QLabel>(&dialog, 1022);
    QLabel* newitem = child<QLabel>(&dialog, 1023);
    QTest::keyClicks(list, "the b");
    QCOMPARE(display->property("searchText").toString(), QStringLiteral("the_b"));
    QVERIFY(!newitem->isVisible());
    QVERIFY(button(&dialog, 1034)->isEnabled());
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("The Beatles  (2)"));
    QTest::keyClicks(list, "xy");
    QVERIFY(newitem->isVisible());
    QVERIFY(dialog.newItem());
    QCOMPARE(display->property("mismatch").toInt(), 6);
    QVERIFY(display->text().contains(QStringLiteral("font-weight:bold\">xy<")));
    QCOMPARE(display->palette().color(QPalette::Disabled, QPalette::Window), QColor(0xB0, 0xFF, 0xFF));
    QVERIFY(!button(&dialog, 1034)->isEnabled());
    QVERIFY(!button(&dialog, 1012)->isEnabled());
    QVERIFY(!button(&dialog, 1029)->isEnabled());
    QVERIFY(button(&dialog, 1007)->isEnabled());
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClick(list, Qt::Key_Backspace);
    QVERIFY(!newitem->isVisible());
    QVERIFY(!dialog.newItem());
    QCOMPARE(display->property("mismatch").toInt(), -1);
    QVERIFY(button(&dialog, 1034)->isEnabled());
  }

  void enterOnANewNameCreatesItCapitalised() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QTest::keyClicks(list, "pink floyd");
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(host().asked.size(), size_t(1));
    QCOMPARE(host().asked[0].title, std::string("Confirm insert"));
    QCOMPARE(host().asked[0].text, std::string("Do you want to create a new artist \"Pink Floyd\"?"));
    QVERIFY(host().asked[0].buttons == Buttons::OKCancel);
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("Pink Floyd  (0)"));
    QCOMPARE(list->searchText(), std::string());
    QCOMPARE(DB_Table(ArtistTable).nlive(), 4);
    QCOMPARE(dialog.result(), 0);  // browse mode goes on
    // Cancel creates nothing.
    QTest::keyClicks(list, "queen");
    host().answers = {Answer::Cancel};
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(DB_Table(ArtistTable).nlive(), 4);
  }

  void creatingAnEmptyNameIsRefused() {
    CMainDlg dialog(nullptr, SongTable, false);
    host().answers = {Answer::OK};
    button(&dialog, 1007)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Nothing to do"));
    QCOMPARE(host().asked.at(0).text,
             std::string("Cannot create an empty song; type its name before inserting."));
    // Blanks only are no name either.
    QTest::keyClicks(child<CRecListBox>(&dialog, 1017), "   ");
    host().answers = {Answer::OK};
    button(&dialog, 1007)->click();
    QCOMPARE(host().titles(), (std::vector<std::string>{"Nothing to do", "Nothing to do"}));
    QCOMPARE(DB_Table(SongTable).nlive(), 3);
  }

  void whatTheSearchCannotTakeIsExplained() {
    CMainDlg dialog(nullptr, TitleTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QLabel* notice = dialog.findChild<QLabel*>(QStringLiteral("notice"));
    QVERIFY(notice != nullptr);
    QTest::keyClicks(list, "ab");
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u65e5"));
    QApplication::sendEvent(list, &typed);
    QCOMPARE(list->searchText(), std::string("ab"));
    QCOMPARE(notice->text(), QStringLiteral("The character \u201c\u65e5\u201d cannot be stored in "
                                            "a name: names hold only Western European characters."));
    QVERIFY(notice->isVisibleTo(&dialog));
    QTest::keyClick(list, Qt::Key_Backspace);
    QCOMPARE(notice->text(), QString());
    QVERIFY(!notice->isVisibleTo(&dialog));
    QTest::keyClicks(list, QString(60, QLatin1Char('z')));
    QCOMPARE(list->searchText().size(), size_t(55));
    QCOMPARE(notice->text(), QStringLiteral("Album names hold at most 55 characters."));
  }

  void aReferencedArtistCannotBeDeleted() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QTest::keyClicks(list, "trio");
    host().answers = {Answer::OK};
    button(&dialog, 1029)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Cannot delete"));
    QCOMPARE(host().asked.at(0).text,
             std::string("This artist \"Trio\" is referenced by 3 album(s). It cannot be deleted."));
    QCOMPARE(DB_Table(ArtistTable).nlive(), 3);
  }

  void anUnusedArtistIsDeletedAfterConfirmation() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    host().answers = {Answer::Cancel};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(host().asked.at(0).text, std::string("Are you sure you want to delete artist \"Orphan\"?"));
    QCOMPARE(DB_Table(ArtistTable).nlive(), 3);
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(DB_Table(ArtistTable).nlive(), 2);
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("The Beatles  (2)"));
    QCOMPARE(host().waitdepth, 0);
  }

  void anArtistThatARowStillUsesIsKeptWhateverItsCount() {
    CMainDlg dialog(nullptr, ArtistTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QTest::keyClicks(list, "trio");
    // A count gone wrong must not let the artist go while an album names it.
    quill::Rlist& cursor = list->source()->cursor();
    cursor.field(F_RefCount).set(0L);
    QCOMPARE(cursor.flush(0), quill::Ok);
    host().answers = {Answer::OK};
    button(&dialog, 1029)->click();
    QCOMPARE(host().titles(), std::vector<std::string>{"Confirm deletion"});
    QCOMPARE(uitest::reports(),
             std::vector<std::string>{"Warning: Delete failed; returned StillReferenced."});
    QCOMPARE(db_->name(ArtistTable, trio_), std::string("Trio"));
    QVERIFY(dialog.isEnabled());
  }

  void anAlbumWhoseLinksCannotBeRemovedIsKept() {
    CMainDlg dialog(nullptr, TitleTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QCOMPARE(list->currentName(), std::string("Abbey Road"));
    quill::File::set_write_fault(
        [](const quill::File& file, int32_t, int32_t) { return file.name().find("rel0") != std::string::npos; });
    host().answers = {Answer::OK, Answer::OK};
    button(&dialog, 1029)->click();
    quill::File::set_write_fault({});
    QVERIFY(!uitest::reports().empty());
    QCOMPARE(uitest::reports().back(), std::string("Warning: Delete failed; returned WriteFailed."));
    QCOMPARE(DB_Table(TitleTable).nlive(), 3);
    QCOMPARE(list->currentName(), std::string("Abbey Road"));
    QVERIFY(dialog.isEnabled());
    QCOMPARE(host().waitdepth, 0);
  }

  void deletingAnAlbumWithContents() {
    CMainDlg dialog(nullptr, TitleTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QCOMPARE(list->currentName(), std::string("Abbey Road"));
    host().answers = {Answer::OK, Answer::Cancel};
    button(&dialog, 1029)->click();
    QCOMPARE(host().titles(), (std::vector<std::string>{"Confirm deletion", "Not empty"}));
    // Enter must not delete: both questions default to Cancel.
    QVERIFY(host().asked[0].preset == DefaultButton::Refuse);
    QVERIFY(host().asked[1].preset == DefaultButton::Refuse);
    QCOMPARE(host().asked[1].text,
             std::string("Attention: album \"Abbey Road\" is not empty.\nAre you really sure you "
                         "want to delete the album and all its contents?"));
    QVERIFY(host().asked[1].icon == Icon::Exclamation);
    QVERIFY(dialog.isEnabled());
    QCOMPARE(host().waitdepth, 0);
    QCOMPARE(DB_Table(TitleTable).nlive(), 3);
    host().answers = {Answer::OK, Answer::OK};
    button(&dialog, 1029)->click();
    QCOMPARE(DB_Table(TitleTable).nlive(), 2);
    // Songs only this album used are gone; shared artists lose a reference.
    QCOMPARE(DB_Table(SongTable).nlive(), 1);
    QCOMPARE(db_->number(ArtistTable, beatles_, F_RefCount), 1L);
    QCOMPARE(db_->number(ArtistTable, trio_, F_RefCount), 2L);
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("Empty Album  *"));
    QVERIFY(dialog.isEnabled());
    // An album without contents needs no second question.
    const int32_t bare = db_->add(TitleTable, "Bare");
    list->reposition(nullptr, true, -1);
    QTest::keyClicks(list, "bare");
    QCOMPARE(list->currentCode(), bare);
    host().asked.clear();
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(host().titles(), std::vector<std::string>{"Confirm deletion"});
    QCOMPARE(DB_Table(TitleTable).nlive(), 2);
  }

  void xrefHandsBackTheTarget() {
    CMainDlg dialog(nullptr, SongTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QTest::keyClicks(list, "some");
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(ResultTarget));
    QCOMPARE(dialog.resultAttr(), 1);
    QCOMPARE(dialog.resultCode(), something_);
    QCOMPARE(dialog.kind(), 2);
  }

  void enterOnAnAlbumOpensItsDetail() {
    CMainDlg dialog(nullptr, TitleTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QString title;
    uitest::scripts().push_back([&](QDialog& d) {
      title = d.windowTitle();
      d.done(IDCANCEL);
      return IDCANCEL;
    });
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(title, QStringLiteral("Abbey Road  *"));
    QCOMPARE(dialog.result(), 0);
    // View/Modify on an artist opens the name editor.
    button(&dialog, 1005)->click();
    QCOMPARE(dialog.kind(), 1);
    QString prompt;
    uitest::scripts().push_back([&](QDialog& d) {
      prompt = child<QLabel>(&d, 1039)->text();
      return IDCANCEL;
    });
    button(&dialog, 1034)->click();
    QCOMPARE(prompt, QStringLiteral("Edit artist name:"));
  }

  void pickModeCreatesAndAppendsAtOnce() {
    CMainDlg dialog(nullptr, SongTable, true, 'h');
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pickup song"));
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QCOMPARE(list->searchText(), std::string("h"));
    QVERIFY(dialog.newItem());
    QVERIFY(child<QCheckBox>(&dialog, 1053)->isChecked());
    QVERIFY(!child<QComboBox>(&dialog, 1010)->isEnabled());
    QVERIFY(!button(&dialog, 1006)->isEnabled());
    QVERIFY(!button(&dialog, 1029)->isVisibleTo(&dialog));
    QVERIFY(button(&dialog, 1041)->isVisibleTo(&dialog));
    QVERIFY(!button(&dialog, 1041)->isEnabled());
    QTest::keyClicks(list, "ere comes the sun");
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(host().asked.at(0).text,
             std::string("Do you want to create a new song \"Here Comes The Sun\"?"));
    QCOMPARE(dialog.result(), int(ResultAppend));
    QCOMPARE(db_->name(SongTable, dialog.resultCode()), std::string("Here Comes The Sun"));
  }

  void pickModeSelectsWithoutCreating() {
    CMainDlg::setEnterAppends(false);
    {
      CMainDlg dialog(nullptr, ArtistTable, true);
      QVERIFY(!child<QCheckBox>(&dialog, 1053)->isChecked());
      CRecListBox* list = child<CRecListBox>(&dialog, 1017);
      QTest::keyClicks(list, "trio");
      QTest::keyClick(list, Qt::Key_Return);
      QCOMPARE(dialog.result(), int(ResultAppend));
      QCOMPARE(dialog.resultCode(), trio_);
    }
    {
      CMainDlg dialog(nullptr, ArtistTable, true);
      CRecListBox* list = child<CRecListBox>(&dialog, 1017);
      QTest::keyClicks(list, "zappa");
      host().answers = {Answer::OK};
      QTest::keyClick(list, Qt::Key_Return);
      QCOMPARE(dialog.result(), 0);  // created, the picker stays
      QCOMPARE(row(*list, list->currentRow()), QStringLiteral("Zappa  (0)"));
      button(&dialog, 1040)->click();
      QCOMPARE(dialog.result(), int(ResultInsert));
      QCOMPARE(db_->name(ArtistTable, dialog.resultCode()), std::string("Zappa"));
      // The setting is the program's, shared by every picker.
      child<QCheckBox>(&dialog, 1053)->setChecked(true);
    }
    QVERIFY(CMainDlg::enterAppends());
  }

  void closeEndsWithTheKindShown() {
    CMainDlg dialog(nullptr, SongTable, false);
    button(&dialog, 1005)->click();
    button(&dialog, IDCANCEL)->click();
    QCOMPARE(dialog.result(), int(IDCANCEL));
    QCOMPARE(dialog.kind(), 0);
  }

  void aReadOnlyDatabaseOffersNoChanges() {
    DB_Close();
    QCOMPARE(DB_Open({.readonly = true}), 0);
    CMainDlg dialog(nullptr, ArtistTable, false);
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QVERIFY(!button(&dialog, 1007)->isEnabled());
    QVERIFY(!button(&dialog, 1029)->isEnabled());
    QVERIFY(button(&dialog, 1034)->isEnabled());
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClicks(list, "new");
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(host().asked.size(), size_t(0));
  }

  void theListGrowsWithTheWindowWhichKeepsItsSize() {
    QSize size;
    {
      CMainDlg dialog(nullptr, ArtistTable, false);
      dialog.show();
      CRecListBox* list = child<CRecListBox>(&dialog, 1017);
      const QSize before = list->size();
      dialog.resize(dialog.width() + 200, dialog.height() + 150);
      QCoreApplication::processEvents();
      QVERIFY(list->width() > before.width());
      QVERIFY(list->height() > before.height());
      size = dialog.size();
      dialog.reject();
    }
    CMainDlg again(nullptr, TitleTable, false);
    QCOMPARE(again.size(), size);
  }

  void anEmptyTableActsOnlyOnKinds() {
    DB_Close();
    db_.reset();
    db_ = std::make_unique<uitest::TempDatabase>();
    CMainDlg dialog(nullptr, TitleTable, false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Albums available in database [0]"));
    CRecListBox* list = child<CRecListBox>(&dialog, 1017);
    QCOMPARE(list->count(), 0);
    QVERIFY(!button(&dialog, 1034)->isEnabled());
    QVERIFY(!button(&dialog, 1029)->isEnabled());
    QVERIFY(button(&dialog, 1007)->isEnabled());
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.result(), 0);
  }
};

QTEST_MAIN(MainDlgTest)
#include "maindlg_test.moc"
