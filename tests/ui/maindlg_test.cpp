// The browse dialog: kinds, search, creating and deleting, in browse and
// pick mode, and the choices it hands back.
#include <QApplication>
#include <QKeyEvent>

#include "harness.h"
#include "ui/browseplace.h"

using namespace tracklore;
using Ids = CMainDlg;

namespace {

CRecListBox* listOf(CMainDlg& dialog) { return child<CRecListBox>(&dialog, Ids::IdList); }
QString selected(CMainDlg& dialog) { return uitest::selected(*listOf(dialog)); }
bool enabled(CMainDlg& dialog, int id) { return button(&dialog, id)->isEnabled(); }
bool shown(CMainDlg& dialog, int id) { return child<QWidget>(&dialog, id)->isVisibleTo(&dialog); }

}  // namespace

class MainDlgTest : public uitest::CatalogueTest {
  Q_OBJECT

 private slots:
  void theKindsWithTheirCountsAndRows() {
    CMainDlg dialog(nullptr, Kind::Artist, false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Artists available in database [3]"));
    QCOMPARE(uitest::rows(*listOf(dialog)),
             (Strings{"Billy Preston  (1)", "Orphan  (0)", "The Beatles  (2)"}));
    QVERIFY(!shown(dialog, Ids::IdAppends) && !shown(dialog, Ids::IdAppend));
    QVERIFY(enabled(dialog, Ids::IdXref));
    // Albums show their completeness mark; they have no X-ref.
    button(&dialog, Ids::IdPrevKind)->click();
    QCOMPARE(dialog.kind(), Kind::Album);
    QCOMPARE(child<QComboBox>(&dialog, Ids::IdKindBox)->currentText(), QStringLiteral("Albums"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Albums available in database [3]"));
    QCOMPARE(row(*listOf(dialog), 0), QStringLiteral("Abbey Road * / The Beatles  (2 songs)"));
    QVERIFY(!shown(dialog, Ids::IdXref));
    button(&dialog, Ids::IdPrevKind)->click();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Songs available in database [4]"));
    button(&dialog, Ids::IdNextKind)->click();
    QCOMPARE(dialog.kind(), Kind::Album);
    // Closed, it hands back the kind shown.
    button(&dialog, IDCANCEL)->click();
    QCOMPARE(dialog.result(), int(IDCANCEL));
    QCOMPARE(dialog.kind(), Kind::Album);
  }

  void aMismatchShowsNewItemAndDisablesTheActions() {
    CMainDlg dialog(nullptr, Kind::Artist, false);
    dialog.show();
    CRecListBox* list = listOf(dialog);
    QLabel* display = child<QLabel>(&dialog, Ids::IdSearchView);
    QTest::keyClicks(list, "the b");
    QCOMPARE(display->property("searchText").toString(), QStringLiteral("the_b"));
    QVERIFY(!shown(dialog, Ids::IdNewItem));
    QTest::keyClicks(list, "xy");
    QVERIFY(shown(dialog, Ids::IdNewItem) && dialog.newItem());
    QCOMPARE(display->property("mismatch").toInt(), 6);
    QVERIFY(display->text().contains(QStringLiteral("font-weight:bold\">xy<")));
    QVERIFY(display->palette().color(QPalette::Disabled, QPalette::Window) !=
            dialog.palette().color(QPalette::Base));
    for (int id : {Ids::IdView, Ids::IdXref, Ids::IdDelete}) QVERIFY(!enabled(dialog, id));
    QVERIFY(enabled(dialog, Ids::IdCreate));
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClick(list, Qt::Key_Backspace);
    QVERIFY(!shown(dialog, Ids::IdNewItem) && !dialog.newItem());
    QCOMPARE(display->property("mismatch").toInt(), -1);
    QVERIFY(enabled(dialog, Ids::IdView));
    // What the search cannot take is explained.
    auto* notice = dialog.findChild<QLabel*>(CMainDlg::kNoticeName);
    list->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    QTest::keyClicks(list, QString(255, QLatin1Char('z')));
    QVERIFY(!notice->isVisibleTo(&dialog));
    QTest::keyClicks(list, "z");
    QCOMPARE(list->searchText().size(), size_t(255));
    QCOMPARE(notice->text(), QStringLiteral("Names hold at most 255 characters."));
    QVERIFY(notice->isVisibleTo(&dialog));
    QTest::keyClick(list, Qt::Key_Backspace);
    QVERIFY(!notice->isVisibleTo(&dialog));
  }

  void enterOnANewNameCreatesIt() {
    CMainDlg dialog(nullptr, Kind::Artist, false);
    CRecListBox* list = listOf(dialog);
    QTest::keyClicks(list, "Pink Floyd");
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(host().titles(), Strings{"Confirm insert"});
    QCOMPARE(host().asked[0].text, std::string("Do you want to create a new artist \"Pink Floyd\"?"));
    QVERIFY(host().asked[0].buttons == Buttons::OKCancel);
    QCOMPARE(selected(dialog), QStringLiteral("Pink Floyd  (0)"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Artists available in database [4]"));
    QCOMPARE(list->searchText(), std::string());
    QCOMPARE(dialog.result(), 0);  // browse mode goes on
    // Cancel creates nothing; no name, or blanks only, is refused at once.
    QTest::keyClicks(list, "queen");
    host().askanew({Answer::Cancel, Answer::OK, Answer::OK});
    QTest::keyClick(list, Qt::Key_Insert);
    for (const char* typed : {"", "   "}) {
      list->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
      QTest::keyClicks(list, typed);
      button(&dialog, Ids::IdCreate)->click();
    }
    QCOMPARE(host().titles(), (Strings{"Confirm insert", "Nothing to do", "Nothing to do"}));
    QCOMPARE(host().asked.back().text,
             std::string("Cannot create an empty artist; type its name before inserting."));
    QCOMPARE(DB_Table(ArtistTable).nlive(), 4);
  }

  // Typed text is sought as stored names are made: Cyrillic finds the
  // transliterated stored name, and the row shows the full one. Letter case
  // aside, "the beatles!" sorts equal to "The Beatles" and after it: the
  // search lands there first.
  void aNameAnEntryBearsSelectsItAndInsertNeverMakesItAgain() {
    const int32_t troll = c_->db.add(ArtistTable, "\u041c\u0443\u043c\u0438\u0439 \u0422\u0440\u043e\u043b\u043b\u044c");
    c_->db.add(ArtistTable, "the beatles!");
    CMainDlg dialog(nullptr, Kind::Artist, false);
    uitest::typeText(listOf(dialog), QStringLiteral("\u043c\u0443\u043c"));  // мум
    QVERIFY(!dialog.newItem());
    QCOMPARE(listOf(dialog)->currentCode(), troll);
    QCOMPARE(selected(dialog),
             QStringLiteral("\u041c\u0443\u043c\u0438\u0439 \u0422\u0440\u043e\u043b\u043b\u044c  (0)"));
    listOf(dialog)->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    QTest::keyClicks(listOf(dialog), "THE BEATLES!");
    QTest::keyClick(listOf(dialog), Qt::Key_Insert);
    QCOMPARE(selected(dialog), QStringLiteral("the beatles!  (0)"));
    // An album too; only Create New offers a second one of the name.
    button(&dialog, Ids::IdPrevKind)->click();
    QTest::keyClicks(listOf(dialog), "let it be");
    QTest::keyClick(listOf(dialog), Qt::Key_Insert);
    QCOMPARE(selected(dialog), QStringLiteral("Let It Be * / Billy Preston  (2 songs)"));
    QTest::keyClicks(listOf(dialog), "let it be");
    host().answers = {Answer::Cancel};
    button(&dialog, Ids::IdCreate)->click();
    QCOMPARE(host().asked.at(0).text,
             std::string("An album named \"let it be\" exists already; it is selected now.\nDo you "
                         "want to create a second album of that name?"));
    QCOMPARE(DB_Table(TitleTable).nlive(), 3);
  }

  // The first Merge chooses the entry that goes, the second the one kept.
  void mergeTakesTwoEntries() {
    CMainDlg dialog(nullptr, Kind::Artist, false);
    CRecListBox* list = listOf(dialog);
    QTest::keyClicks(list, "orphan");
    button(&dialog, Ids::IdMerge)->click();
    auto* note = dialog.findChild<QLabel*>(CMainDlg::kMergeNoteName);
    QVERIFY(note->isVisibleTo(&dialog));
    QTest::keyClick(list, Qt::Key_Up);
    host().answers = {Answer::OK};
    button(&dialog, Ids::IdMerge)->click();
    QCOMPARE(host().titles(), Strings{"Confirm merge"});
    QCOMPARE(host().asked[0].text,
             std::string("Merge artist \"Orphan\" (used 0 times) into \"Billy Preston\" (used 1 "
                         "time)?\nThe albums that use the artist merged then use the one kept, and "
                         "the one merged is deleted.\nEdit > Undo takes a merge back."));
    QVERIFY(!note->isVisibleTo(&dialog));
    QCOMPARE(DB_Table(ArtistTable).nlive(), 2);
    QCOMPARE(selected(dialog), QStringLiteral("Billy Preston  (1)"));
  }

  void deletingAnArtistAsksOrRefuses() {
    CMainDlg dialog(nullptr, Kind::Artist, false);
    CRecListBox* list = listOf(dialog);
    QTest::keyClicks(list, "the");
    host().answers = {Answer::OK};
    button(&dialog, Ids::IdDelete)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Cannot delete"));
    QCOMPARE(host().asked.at(0).text,
             std::string("This artist \"The Beatles\" is referenced by 2 album(s). It cannot be deleted."));
    QTest::keyClick(list, Qt::Key_Up);
    host().askanew({Answer::Cancel});
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(host().asked.at(0).text, std::string("Are you sure you want to delete artist \"Orphan\"?"));
    QVERIFY(host().asked[0].preset == DefaultButton::Refuse);
    QCOMPARE(DB_Table(ArtistTable).nlive(), 3);
    host().answers = {Answer::OK};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(DB_Table(ArtistTable).nlive(), 2);
    QCOMPARE(selected(dialog), QStringLiteral("The Beatles  (2)"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Artists available in database [2]"));
  }

  // Across starts (the settings stay): the kind, the entry left and the size
  // of the window, whose list grows with it.
  void browsingOpensWhereItWasLeft() {
    QSize size;
    {
      CMainDlg dialog(nullptr, Kind::Artist, false);
      dialog.show();
      const QSize before = listOf(dialog)->size();
      dialog.resize(dialog.width() + 200, dialog.height() + 150);
      QCoreApplication::processEvents();
      QVERIFY(listOf(dialog)->width() > before.width());
      QVERIFY(listOf(dialog)->height() > before.height());
      size = dialog.size();
      QTest::keyClicks(listOf(dialog), "orp");
      dialog.reject();
    }
    QCOMPARE(rememberedBrowsePlace().kind, Kind::Artist);
    {
      CMainDlg again(nullptr, rememberedBrowsePlace().kind, false);
      QCOMPARE(selected(again), QStringLiteral("Orphan  (0)"));
      CMainDlg picker(nullptr, Kind::Song, true);  // leaves no place of its own
    }
    QCOMPARE(rememberedBrowsePlace().code, c_->orphan);
    // A code means nothing in another database.
    uitest::TempDatabase other;
    QCOMPARE(rememberedBrowsePlace().kind, Kind::Album);
    QCOMPARE(rememberedBrowsePlace().code, -1);
    QCOMPARE(CMainDlg(nullptr, Kind::Album, false).size(), size);
  }

  void deletingAnAlbumAsksAgainWhenItHasContents() {
    CMainDlg dialog(nullptr, Kind::Album, false);
    host().answers = {Answer::OK, Answer::Cancel};
    button(&dialog, Ids::IdDelete)->click();
    QCOMPARE(host().titles(), (Strings{"Confirm deletion", "Not empty"}));
    // Enter must not delete: both questions default to Cancel.
    for (const uitest::Asked& asked : host().asked) QVERIFY(asked.preset == DefaultButton::Refuse);
    QCOMPARE(host().asked[1].text,
             std::string("Attention: album \"Abbey Road\" is not empty.\nAre you really sure you "
                         "want to delete the album and all its contents?"));
    QCOMPARE(DB_Table(TitleTable).nlive(), 3);
    host().answers = {Answer::OK, Answer::OK};
    button(&dialog, Ids::IdDelete)->click();
    QCOMPARE(DB_Table(TitleTable).nlive(), 2);
    QCOMPARE(selected(dialog), QStringLiteral("Let It Be * / Billy Preston  (2 songs)"));
    // An album without contents needs no second question.
    const int32_t bare = c_->db.add(TitleTable, "Bare");
    listOf(dialog)->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    QTest::keyClicks(listOf(dialog), "bare");
    QCOMPARE(listOf(dialog)->currentCode(), bare);
    host().askanew({Answer::OK});
    QTest::keyClick(listOf(dialog), Qt::Key_Delete);
    QCOMPARE(host().titles(), Strings{"Confirm deletion"});
    QCOMPARE(DB_Table(TitleTable).nlive(), 2);
    // A failed delete is reported and the album stays selected.
    listOf(dialog)->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    quill::File::set_write_fault(
        [](const quill::File& file, int32_t, int32_t) { return file.name().find("rel0") != std::string::npos; });
    host().answers = {Answer::OK, Answer::OK};
    button(&dialog, Ids::IdDelete)->click();
    quill::File::set_write_fault({});
    QCOMPARE(uitest::reports().size(), size_t(1));
    QCOMPARE(listOf(dialog)->currentName(), std::string("Let It Be"));
    QVERIFY(dialog.isEnabled());
  }

  void enterOpensAnAlbumsDetailAnArtistsNameASongsAlbums() {
    CMainDlg dialog(nullptr, Kind::Album, false);
    QStringList titles;
    uitest::scripts().push_back(uitest::noteTitle(&titles));
    QTest::keyClick(listOf(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), 0);
    button(&dialog, Ids::IdNextKind)->click();
    QString prompt;
    uitest::scripts().push_back([&](QDialog& d) {
      prompt = child<QLabel>(&d, CNameDlg::IdPrompt)->text();
      return IDCANCEL;
    });
    button(&dialog, Ids::IdView)->click();
    QCOMPARE(prompt, QStringLiteral("Edit artist name:"));
    // Enter on a song is its X-ref: its found list opens over this dialog,
    // which stays open on the same song.
    button(&dialog, Ids::IdNextKind)->click();
    QTest::keyClicks(listOf(dialog), "some");
    QWidget* over = nullptr;
    uitest::scripts().push_back([&](QDialog& d) {
      over = d.parentWidget();
      return uitest::noteTitle(&titles)(d);
    });
    QTest::keyClick(listOf(dialog), Qt::Key_Return);
    QCOMPARE(titles, (QStringList{QStringLiteral("Abbey Road * / The Beatles"),
                                  QStringLiteral("Albums containing song \"Something\" [1]")}));
    QCOMPARE(over, &dialog);
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(listOf(dialog)->currentCode(), c_->something);
    QCOMPARE(dialog.kind(), Kind::Song);
  }

  void pickModeCreatesAndAppendsOrSelects() {
    CMainDlg dialog(nullptr, Kind::Song, true, "h");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pickup song"));
    QCOMPARE(listOf(dialog)->searchText(), std::string("h"));
    QVERIFY(dialog.newItem());
    QVERIFY(child<QCheckBox>(&dialog, Ids::IdAppends)->isChecked());
    QVERIFY(!child<QComboBox>(&dialog, Ids::IdKindBox)->isEnabled());
    QVERIFY(!enabled(dialog, Ids::IdPrevKind));
    QVERIFY(!shown(dialog, Ids::IdDelete));
    QVERIFY(shown(dialog, Ids::IdAppend) && !enabled(dialog, Ids::IdAppend));
    QTest::keyClicks(listOf(dialog), "ere comes the sun");
    host().answers = {Answer::OK};
    QTest::keyClick(listOf(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(ResultAppend));
    QCOMPARE(c_->db.name(SongTable, dialog.resultCode()), std::string("Here Comes The Sun"));

    // Without appending on Enter, a picker selects, or creates and stays.
    CMainDlg::setEnterAppends(false);
    CMainDlg artists(nullptr, Kind::Artist, true);
    QVERIFY(!child<QCheckBox>(&artists, Ids::IdAppends)->isChecked());
    QTest::keyClicks(listOf(artists), "orph");
    QTest::keyClick(listOf(artists), Qt::Key_Return);
    QCOMPARE(artists.result(), int(ResultAppend));
    QCOMPARE(artists.resultCode(), c_->orphan);
    artists.setResult(0);
    listOf(artists)->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    QTest::keyClicks(listOf(artists), "Zappa");
    host().answers = {Answer::OK};
    QTest::keyClick(listOf(artists), Qt::Key_Return);
    QCOMPARE(artists.result(), 0);  // created, the picker stays
    QCOMPARE(selected(artists), QStringLiteral("Zappa  (0)"));
    button(&artists, Ids::IdInsert)->click();
    QCOMPARE(artists.result(), int(ResultInsert));
    QCOMPARE(c_->db.name(ArtistTable, artists.resultCode()), std::string("Zappa"));
    // The setting is the program's, shared by every picker.
    child<QCheckBox>(&artists, Ids::IdAppends)->setChecked(true);
    QVERIFY(CMainDlg::enterAppends());
  }

  // Read-only, nothing that changes is offered; an empty table acts only on
  // the kinds.
  void aReadOnlyDatabaseOrAnEmptyTableOffersLittle() {
    uitest::reopenReadOnly();
    {
      CMainDlg dialog(nullptr, Kind::Artist, false);
      QVERIFY(!enabled(dialog, Ids::IdCreate) && !enabled(dialog, Ids::IdDelete));
      QVERIFY(enabled(dialog, Ids::IdView));
      QTest::keyClick(listOf(dialog), Qt::Key_Delete);
      QTest::keyClicks(listOf(dialog), "new");
      QTest::keyClick(listOf(dialog), Qt::Key_Insert);
    }
    c_.reset();
    uitest::TempDatabase empty;
    CMainDlg dialog(nullptr, Kind::Album, false);
    QVERIFY(!enabled(dialog, Ids::IdView) && !enabled(dialog, Ids::IdDelete));
    QVERIFY(enabled(dialog, Ids::IdCreate));
    QTest::keyClick(listOf(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), 0);
  }
};

QTEST_MAIN(MainDlgTest)
#include "maindlg_test.moc"
