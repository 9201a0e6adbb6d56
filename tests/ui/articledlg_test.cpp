// The album detail: the catalogue calls behind its buttons and keys, the
// album's name with "Save changes?", stepping through the caller's list and
// the completeness mark brought up to date on leaving.
#include "harness.h"

using namespace tracklore;
using Ids = CArticleDlg;

namespace {

// A picker script: types the text, presses the button of that id.
uitest::Script pick(const char* text, int id, std::string* search = nullptr) {
  return [=](QDialog& d) {
    auto& picker = dynamic_cast<CMainDlg&>(d);
    if (search != nullptr) *search = picker.list()->searchText();
    QTest::keyClicks(picker.list(), text);
    button(&d, id)->click();
    return d.result();
  };
}

}  // namespace

class ArticleDlgTest : public uitest::CatalogueTest {
  Q_OBJECT

  std::unique_ptr<CMainDlg> browse_;
  std::unique_ptr<CArticleDlg> d_;

  CRecListBox* caller() { return browse_->list(); }
  CRecListBox* list() { return child<CRecListBox>(d_.get(), Ids::IdList); }
  QLineEdit* name() { return child<QLineEdit>(d_.get(), Ids::IdName); }
  void click(int id) { button(d_.get(), id)->click(); }
  bool enabled(int id) { return button(d_.get(), id)->isEnabled(); }
  // The detail of the album of that name in the browse list.
  void open(const char* album = "Abbey Road") {
    d_.reset();
    std::string key = album;
    caller()->reposition(&key, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    QCOMPARE(caller()->currentName(), key);
    d_ = std::make_unique<CArticleDlg>(caller(), caller()->source()->cursor(), Rel::Songs, nullptr);
    d_->show();
  }
  std::vector<int32_t> songs() { return c_->db.contents(c_->abbey, 1); }
  void setUp() override {
    CatalogueTest::setUp();
    browse_ = std::make_unique<CMainDlg>(nullptr, Kind::Album, false);
    open();
  }
  void tearDown() override {
    d_.reset();
    browse_.reset();
    CatalogueTest::tearDown();
  }

 private slots:
  void showsTheAlbumAndMovesItsSongs() {
    QCOMPARE(name()->text(), QStringLiteral("Abbey Road"));
    QCOMPARE(child<QComboBox>(d_.get(), Ids::IdContentBox)->currentText(), QStringLiteral("Songs (2)"));
    QCOMPARE(uitest::rows(*list()), (Strings{"Come Together  (3)", "Something  (1)"}));
    QVERIFY(button(d_.get(), Ids::IdXref)->isDefault());
    QVERIFY(!enabled(Ids::IdUp) && enabled(Ids::IdDown));
    QTest::keyClick(list(), Qt::Key_Down);
    QVERIFY(enabled(Ids::IdUp) && !enabled(Ids::IdDown));
    click(Ids::IdUp);
    QCOMPARE(songs(), (std::vector<int32_t>{c_->something, c_->together}));
    QCOMPARE(uitest::selected(*list()), QStringLiteral("Something  (1)"));
    click(Ids::IdDown);
    QCOMPARE(songs(), (std::vector<int32_t>{c_->together, c_->something}));
    QCOMPARE(list()->currentRow(), 1);
    // Enter is X-Ref: the dialog ends with the entry.
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(d_->result(), int(ResultTarget));
    QCOMPARE(d_->resultAttr(), 1);
    QCOMPARE(d_->resultCode(), c_->something);
    // An empty list offers only Insert.
    open("Songs Only");
    click(Ids::IdNextContent);  // artists: none
    QCOMPARE(list()->count(), 0);
    QVERIFY(enabled(Ids::IdInsert));
    for (int id : {Ids::IdRemove, Ids::IdRename, Ids::IdXref, Ids::IdUp, Ids::IdDown})
      QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
  }

  void insertAppendsOrGoesBeforeTheSelectedEntryWithThePicker() {
    uitest::scripts().push_back(pick("get", CMainDlg::IdAppend));
    click(Ids::IdInsert);
    QCOMPARE(songs(), (std::vector<int32_t>{c_->together, c_->something, c_->getback}));
    QCOMPARE(uitest::selected(*list()), QStringLiteral("Get Back  (2)"));
    QCOMPARE(host().drains, 1);
    QTest::keyClick(list(), Qt::Key_Up);
    uitest::scripts().push_back(pick("oct", CMainDlg::IdInsert));
    click(Ids::IdInsert);
    QCOMPARE(songs(), (std::vector<int32_t>{c_->together, c_->octopus, c_->something, c_->getback}));
    QCOMPARE(uitest::selected(*list()), QStringLiteral("Octopus's Garden  (2)"));
    // A picker closed inserts nothing. A typed letter opens the picker
    // already searching; Insert, not.
    std::string search;
    uitest::scripts().push_back(pick("", IDCANCEL, &search));
    QTest::keyClicks(list(), "g");
    QCOMPARE(search, std::string("g"));
    uitest::scripts().push_back(pick("", IDCANCEL, &search));
    QTest::keyClick(list(), Qt::Key_Insert);
    QCOMPARE(search, std::string());
    QCOMPARE(songs().size(), size_t(4));
  }

  void removeAsksAndMayPurge() {
    host().answers = {Answer::Cancel};
    QTest::keyClick(list(), Qt::Key_Delete);
    QCOMPARE(songs().size(), size_t(2));
    QCOMPARE(host().texts(),
             Strings{"Are you sure you want to remove song \"Come Together\" from this album?"});
    // The last use of a song: the catalogue asks about the purge, and Enter
    // at either question must not remove.
    QTest::keyClick(list(), Qt::Key_Down);
    host().askanew({Answer::OK, Answer::Cancel});
    click(Ids::IdRemove);
    QCOMPARE(host().titles(), (Strings{"Confirm delete", "Confirm purge"}));
    for (const uitest::Asked& asked : host().asked) QVERIFY(asked.preset == DefaultButton::Refuse);
    QCOMPARE(uitest::rows(*list()), Strings{"Come Together  (3)"});
  }

  void modifyRefusesAnEmptyOrTooLongNameOrStoresIt() {
    const struct {
      QString typed;
      const char* message;
    } cases[] = {
        {QString(256, QLatin1Char('a')),
         "The name has 256 characters, but album names hold at most 255.\nNothing has been "
         "changed."},
        {QStringLiteral("   "),
         "A name cannot be empty or consist of blanks only.\nNothing has been changed."},
    };
    for (const auto& c : cases) {
      name()->setText(c.typed);
      host().askanew({Answer::OK});
      click(Ids::IdModify);
      QCOMPARE(host().titles(), Strings{"Invalid name"});
      QCOMPARE(host().asked[0].text, std::string(c.message));
    }
    QCOMPARE(c_->db.name(TitleTable, c_->abbey), std::string("Abbey Road"));
    name()->selectAll();
    QTest::keyClicks(name(), "Abbey Road (Remastered)");
    name()->setCursorPosition(3);
    click(Ids::IdModify);
    QCOMPARE(c_->db.name(TitleTable, c_->abbey), std::string("Abbey Road (Remastered)"));
    QCOMPARE(name()->cursorPosition(), 3);
    QCOMPARE(uitest::selected(*caller()), QStringLiteral("Abbey Road (Remastered) * / The Beatles  (2 songs)"));
    QCOMPARE(d_->windowTitle(), QStringLiteral("Abbey Road (Remastered) * / The Beatles"));
    // Saved: nothing to ask when leaving (a question would be unanswered).
    click(IDCANCEL);
    QCOMPARE(d_->result(), int(IDCANCEL));
  }

  void saveChangesAnswers() {
    QTest::keyClicks(name(), " Live");
    // Cancel: the dialog stays on the album, also when closed.
    host().answers = {Answer::Cancel, Answer::Cancel};
    click(Ids::IdNext);
    d_->reject();
    QCOMPARE(host().titles(), (Strings{"Save changes?", "Save changes?"}));
    QVERIFY(host().asked[0].buttons == Buttons::YesNoCancel);
    QCOMPARE(caller()->currentName(), std::string("Abbey Road"));
    QVERIFY(d_->isVisible());
    // No: the edit is dropped and the next album shown.
    host().answers = {Answer::No};
    click(Ids::IdNext);
    QCOMPARE(name()->text(), QStringLiteral("Let It Be"));
    QCOMPARE(c_->db.name(TitleTable, c_->abbey), std::string("Abbey Road"));
    // Yes: saved, then the previous album shown.
    QTest::keyClicks(name(), " naked");
    host().answers = {Answer::Yes};
    click(Ids::IdPrevious);
    QCOMPARE(c_->db.name(TitleTable, c_->letitbe), std::string("Let It Be Naked"));
    QCOMPARE(name()->text(), QStringLiteral("Abbey Road"));
  }

  void steppingFollowsTheCallerAndMarksTheAlbumsLeft() {
    click(Ids::IdPrevContent);
    QCOMPARE(child<QComboBox>(d_.get(), Ids::IdContentBox)->currentText(), QStringLiteral("Artists (1)"));
    click(Ids::IdNext);
    QCOMPARE(d_->windowTitle(), QStringLiteral("Let It Be * / Billy Preston"));
    QCOMPARE(uitest::rows(*list()), (Strings{"Billy Preston  (1)", "The Beatles  (2)"}));
    click(Ids::IdNext);
    QCOMPARE(d_->windowTitle(), QStringLiteral("Songs Only * / --"));
    QCOMPARE(uitest::beeps(), 0);
    click(Ids::IdNext);
    QCOMPARE(uitest::beeps(), 1);
    click(Ids::IdPrevious);
    click(Ids::IdPrevious);
    // The albums left had artists and songs: the caller's rows show them
    // complete; Songs Only stays marked.
    QCOMPARE(uitest::selected(*caller()), QStringLiteral("Abbey Road  / The Beatles  (2 songs)"));
    QCOMPARE(c_->db.text(TitleTable, c_->letitbe, F_OKField), std::string(" "));
    QCOMPARE(c_->db.text(TitleTable, c_->songsonly, F_OKField), std::string("*"));
    // Closing marks the album shown.
    open("Songs Only");
    uitest::scripts().push_back(pick("the b", CMainDlg::IdAppend));
    click(Ids::IdPrevContent);
    click(Ids::IdInsert);
    click(IDCANCEL);
    QCOMPARE(uitest::selected(*caller()), QStringLiteral("Songs Only  / The Beatles  (2 songs)"));
  }

  // Rename... opens the name editor of the kind shown. Billy Preston, Let It
  // Be's first artist, merged into The Beatles through it: the mark written
  // on leaving must not bring back the album's old first artist, which the
  // dialog's album cursor had read before.
  void aMergeByRenameLeavesTheAlbumsFirstArtistToTheOneKept() {
    open("Let It Be");
    click(Ids::IdPrevContent);
    QString title;
    uitest::scripts().push_back([&title](QDialog& dlg) {
      title = dlg.windowTitle();
      child<QLineEdit>(&dlg, CNameDlg::IdEdit)->setText(QStringLiteral("the beatles"));
      host().answers = {Answer::OK};
      button(&dlg, CNameDlg::IdModify)->click();
      return IDCANCEL;
    });
    click(Ids::IdRename);
    QCOMPARE(title, QStringLiteral("Billy Preston  (1)"));
    QCOMPARE(c_->db.contents(c_->letitbe, 0), std::vector<int32_t>{c_->beatles});
    d_->reject();  // marks Let It Be complete
    QCOMPARE(c_->db.text(TitleTable, c_->letitbe, F_OKField), std::string(" "));
    QCOMPARE(c_->db.number(TitleTable, c_->letitbe, F_AuxAttr), long(c_->beatles));
  }

  void aReadOnlyDatabaseOnlyNavigates() {
    d_.reset();
    browse_.reset();
    uitest::reopenReadOnly();
    browse_ = std::make_unique<CMainDlg>(nullptr, Kind::Album, false);
    open();
    for (int id : {Ids::IdModify, Ids::IdInsert, Ids::IdRemove, Ids::IdRename, Ids::IdUp, Ids::IdDown})
      QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
    QVERIFY(enabled(Ids::IdXref));
    QVERIFY(name()->isReadOnly());
    QTest::keyClicks(list(), "x");
    QTest::keyClick(list(), Qt::Key_Delete);
    click(Ids::IdNext);
    QCOMPARE(d_->windowTitle(), QStringLiteral("Let It Be * / Billy Preston"));
  }
};

QTEST_MAIN(ArticleDlgTest)
#include "articledlg_test.moc"
