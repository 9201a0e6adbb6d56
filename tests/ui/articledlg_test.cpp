// The album detail: inserting, removing, moving and renaming its entries,
// the album's name with "Save changes?", stepping through the caller's list
// and the completeness mark.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "harness.h"
#include "ui/articledlg.h"
#include "ui/maindlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"

using namespace tracklore;
using uitest::button;
using uitest::child;
using uitest::host;
using uitest::row;

namespace {

// A picker script: types the text into the picker's list, then presses the
// given button (Enter when 0) and hands back how the picker ended.
uitest::Script pick(const char* text, int id, std::string* search = nullptr) {
  return [=](QDialog& d) {
    auto& picker = dynamic_cast<CMainDlg&>(d);
    if (search != nullptr) *search = picker.list()->searchText();
    QTest::keyClicks(picker.list(), text);
    if (id == 0)
      QTest::keyClick(picker.list(), Qt::Key_Return);
    else
      button(&d, id)->click();
    return d.result();
  };
}

}  // namespace

class ArticleDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<uitest::TempDatabase> db_;
  std::unique_ptr<CMainDlg> browse_;
  int32_t abbey_ = 0, letitbe_ = 0, songsonly_ = 0;
  int32_t beatles_ = 0, together_ = 0, something_ = 0, getback_ = 0, octopus_ = 0;

  CRecListBox* caller() { return browse_->list(); }
  std::unique_ptr<CArticleDlg> open() {
    auto d = std::make_unique<CArticleDlg>(caller(), caller()->source()->cursor(), 1, nullptr);
    d->show();
    return d;
  }
  // Puts the browse list on the album of that name.
  void onAlbum(const char* name) {
    std::string key = name;
    caller()->reposition(&key, true, -1);
    QCOMPARE(caller()->currentName(), key);
  }

 private slots:
  void initTestCase() { uitest::init(); }

  void init() {
    uitest::reset();
    CMainDlg::setEnterAppends(true);
    db_ = std::make_unique<uitest::TempDatabase>();
    QVERIFY(db_->ok());
    abbey_ = db_->add(TitleTable, "Abbey Road");
    letitbe_ = db_->add(TitleTable, "Let It Be");
    songsonly_ = db_->add(TitleTable, "Songs Only");
    beatles_ = db_->add(ArtistTable, "The Beatles");
    together_ = db_->add(SongTable, "Come Together");
    something_ = db_->add(SongTable, "Something");
    getback_ = db_->add(SongTable, "Get Back");
    octopus_ = db_->add(SongTable, "Octopus's Garden");
    db_->link(abbey_, 0, beatles_);
    db_->link(abbey_, 1, together_);
    db_->link(abbey_, 1, something_);
    db_->link(letitbe_, 0, beatles_);
    db_->link(letitbe_, 1, getback_);
    db_->link(letitbe_, 1, together_);
    db_->link(songsonly_, 1, octopus_);
    browse_ = std::make_unique<CMainDlg>(nullptr, TitleTable, false);
  }
  void cleanup() {
    QCOMPARE(host().unexpected, 0);
    QCOMPARE(uitest::unscripted(), 0);
    QVERIFY(uitest::scripts().empty());
    QCOMPARE(host().waitdepth, 0);
    browse_.reset();
    db_.reset();
  }

  void showsTheAlbumAndItsSongs() {
    auto d = open();
    QCOMPARE(d->windowTitle(), QStringLiteral("Abbey Road  *"));
    QCOMPARE(child<QLineEdit>(d.get(), 1001)->text(), QStringLiteral("Abbey Road"));
    QCOMPARE(child<QComboBox>(d.get(), 1032)->currentText(), QStringLiteral("Songs"));
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    QCOMPARE(uitest::rows(*list),
             (std::vector<std::string>{"Come Together  (2)", "Something  (1)"}));
    QVERIFY(!button(d.get(), 1006)->isEnabled());  // Up on the top row
    QVERIFY(button(d.get(), 1005)->isEnabled());
    QVERIFY(button(d.get(), 1028)->isDefault());
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(button(d.get(), 1006)->isEnabled());
    QVERIFY(!button(d.get(), 1005)->isEnabled());
  }

  void insertAppendsAndInsertsBefore() {
    auto d = open();
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    uitest::scripts().push_back(pick("get", ResultAppend));
    button(d.get(), 1031)->click();
    QCOMPARE(db_->contents(abbey_, 1), (std::vector<int32_t>{together_, something_, getback_}));
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(row(*list, 2), QStringLiteral("Get Back  (2)"));
    QCOMPARE(host().drains, 1);
    // Before the selected entry, with a song created in the picker.
    QTest::keyClick(list, Qt::Key_Up);
    CMainDlg::setEnterAppends(false);
    uitest::scripts().push_back([](QDialog& dlg) {
      auto& picker = dynamic_cast<CMainDlg&>(dlg);
      QTest::keyClicks(picker.list(), "because");
      host().answers = {Answer::OK};
      QTest::keyClick(picker.list(), Qt::Key_Return);
      button(&dlg, ResultInsert)->click();
      return dlg.result();
    });
    button(d.get(), 1031)->click();
    const std::vector<int32_t> now = db_->contents(abbey_, 1);
    QCOMPARE(now.size(), size_t(4));
    QCOMPARE(db_->name(SongTable, now[1]), std::string("Because"));
    QCOMPARE(now[2], something_);
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("Because  (1)"));
  }

  void aTypedLetterOpensThePickerSearching() {
    auto d = open();
    std::string search;
    uitest::scripts().push_back(pick("", IDCANCEL, &search));
    QTest::keyClicks(child<CRecListBox>(d.get(), 1009), "g");
    QCOMPARE(search, std::string("g"));
    QCOMPARE(db_->contents(abbey_, 1).size(), size_t(2));
    // The Insert key opens it without a letter.
    uitest::scripts().push_back(pick("", IDCANCEL, &search));
    QTest::keyClick(child<CRecListBox>(d.get(), 1009), Qt::Key_Insert);
    QCOMPARE(search, std::string());
  }

  void removeWithAndWithoutPurge() {
    auto d = open();
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    // Still used elsewhere: one question.
    host().answers = {Answer::OK};
    button(d.get(), 1029)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Confirm delete"));
    QCOMPARE(host().asked.at(0).text,
             std::string("Are you sure you want do remove song \"Come Together\" from this album?"));
    QCOMPARE(host().asked.size(), size_t(1));
    QCOMPARE(db_->contents(abbey_, 1), std::vector<int32_t>{something_});
    QCOMPARE(db_->number(SongTable, together_, F_RefCount), 1L);
    QCOMPARE(uitest::rows(*list), std::vector<std::string>{"Something  (1)"});
    // The last use: the purge question, answered Cancel keeps the song.
    host().asked.clear();
    host().answers = {Answer::OK, Answer::Cancel};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(host().titles(), (std::vector<std::string>{"Confirm delete", "Confirm purge"}));
    // Enter must not remove or purge: both default to Cancel.
    QVERIFY(host().asked[0].preset == DefaultButton::Refuse);
    QVERIFY(host().asked[1].preset == DefaultButton::Refuse);
    QCOMPARE(db_->number(SongTable, something_, F_RefCount), 0L);
    QCOMPARE(list->count(), 0);
    QVERIFY(!button(d.get(), 1029)->isEnabled());
    QVERIFY(!button(d.get(), 1028)->isEnabled());
    // Answered OK, the song goes.
    uitest::scripts().push_back(pick("something", ResultAppend));
    button(d.get(), 1031)->click();
    host().answers = {Answer::OK, Answer::OK};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(db_->number(SongTable, something_, F_RefCount), -999L);
    // Cancel at the first question changes nothing.
    onAlbum("Let It Be");
    auto other = open();
    host().answers = {Answer::Cancel};
    QTest::keyClick(child<CRecListBox>(other.get(), 1009), Qt::Key_Delete);
    QCOMPARE(db_->contents(letitbe_, 1).size(), size_t(2));
  }

  void upAndDownReorder() {
    auto d = open();
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    uitest::scripts().push_back(pick("get", ResultAppend));
    button(d.get(), 1031)->click();
    QCOMPARE(list->currentRow(), 2);
    button(d.get(), 1006)->click();
    QCOMPARE(db_->contents(abbey_, 1), (std::vector<int32_t>{together_, getback_, something_}));
    QCOMPARE(row(*list, list->currentRow()), QStringLiteral("Get Back  (2)"));
    QCOMPARE(list->currentRow(), 1);
    button(d.get(), 1006)->click();
    QCOMPARE(db_->contents(abbey_, 1), (std::vector<int32_t>{getback_, together_, something_}));
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(!button(d.get(), 1006)->isEnabled());
    button(d.get(), 1005)->click();
    button(d.get(), 1005)->click();
    QCOMPARE(db_->contents(abbey_, 1), (std::vector<int32_t>{together_, something_, getback_}));
    QCOMPARE(list->currentRow(), 2);
    QVERIFY(!button(d.get(), 1005)->isEnabled());
    QCOMPARE(db_->number(SongTable, getback_, F_RefCount), 2L);
  }

  void modifyStoresTheCapitalisedName() {
    auto d = open();
    QLineEdit* name = child<QLineEdit>(d.get(), 1001);
    name->selectAll();
    QTest::keyClicks(name, "abbey road (remastered)");
    name->setCursorPosition(3);
    button(d.get(), 1043)->click();
    QCOMPARE(db_->name(TitleTable, abbey_), std::string("Abbey Road (Remastered)"));
    QCOMPARE(name->text(), QStringLiteral("Abbey Road (Remastered)"));
    QCOMPARE(name->cursorPosition(), 3);
    QVERIFY(!name->isModified());
    QCOMPARE(row(*caller(), caller()->currentRow()), QStringLiteral("Abbey Road (Remastered)  *"));
    QCOMPARE(d->windowTitle(), QStringLiteral("Abbey Road (Remastered)  *"));
    // Nothing to ask when leaving now.
    button(d.get(), IDCANCEL)->click();
    QCOMPARE(d->result(), int(IDCANCEL));
    QCOMPARE(host().asked.size(), size_t(0));
  }

  void aNameThatCannotBeStoredIsRefusedWithItsReason() {
    auto d = open();
    QLineEdit* name = child<QLineEdit>(d.get(), 1001);
    // Too long: every key is taken, and Modify says what the limit is.
    name->clear();
    QTest::keyClicks(name, QString(60, QLatin1Char('a')));
    QCOMPARE(name->text().size(), 60);
    host().answers = {Answer::OK};
    button(d.get(), 1043)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Invalid name"));
    QCOMPARE(host().asked.at(0).text,
             std::string("The name has 60 characters, but album names hold at most 55.\nNothing "
                         "has been changed."));
    // A character outside the stored ones, and blanks only.
    name->setText(QStringLiteral("Abbey \u65e5"));
    name->setModified(true);
    host().answers = {Answer::OK};
    button(d.get(), 1043)->click();
    QCOMPARE(host().asked.at(1).title, std::string("Invalid name"));
    name->setText(QStringLiteral("   "));
    name->setModified(true);
    host().answers = {Answer::OK};
    button(d.get(), 1043)->click();
    QCOMPARE(host().asked.at(2).text,
             std::string("A name cannot be empty or consist of blanks only.\nNothing has been "
                         "changed."));
    QVERIFY(uitest::reports().empty());
    QCOMPARE(db_->name(TitleTable, abbey_), std::string("Abbey Road"));
  }

  void saveChangesAnswers() {
    auto d = open();
    QLineEdit* name = child<QLineEdit>(d.get(), 1001);
    QTest::keyClicks(name, " Live");
    // Cancel: the dialog stays on the album.
    host().answers = {Answer::Cancel};
    button(d.get(), 1002)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Save changes?"));
    QCOMPARE(host().asked.at(0).text,
             std::string("Changes have been made to current record. Do you want to save them?"));
    QVERIFY(host().asked.at(0).buttons == Buttons::YesNoCancel);
    QCOMPARE(caller()->currentName(), std::string("Abbey Road"));
    host().answers = {Answer::Cancel};
    d->reject();
    QCOMPARE(d->result(), 0);
    QVERIFY(d->isVisible());
    // No: the edit is dropped and the next album shown.
    host().answers = {Answer::No};
    button(d.get(), 1002)->click();
    QCOMPARE(caller()->currentName(), std::string("Let It Be"));
    QCOMPARE(name->text(), QStringLiteral("Let It Be"));
    QCOMPARE(db_->name(TitleTable, abbey_), std::string("Abbey Road"));
    // Yes: saved, then the previous album shown.
    QTest::keyClicks(name, " naked");
    host().answers = {Answer::Yes};
    button(d.get(), 1033)->click();
    QCOMPARE(db_->name(TitleTable, letitbe_), std::string("Let It Be Naked"));
    QCOMPARE(caller()->currentName(), std::string("Abbey Road"));
    QCOMPARE(name->text(), QStringLiteral("Abbey Road"));
  }

  void previousAndNextFollowTheCallerList() {
    auto d = open();
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    button(d.get(), 1003)->click();  // artists
    QCOMPARE(child<QComboBox>(d.get(), 1032)->currentText(), QStringLiteral("Artists"));
    button(d.get(), 1002)->click();
    QCOMPARE(d->windowTitle(), QStringLiteral("Let It Be  *"));
    QCOMPARE(uitest::rows(*list), std::vector<std::string>{"The Beatles  (2)"});
    button(d.get(), 1002)->click();
    QCOMPARE(d->windowTitle(), QStringLiteral("Songs Only  *"));
    QCOMPARE(list->count(), 0);
    QCOMPARE(uitest::beeps(), 0);
    button(d.get(), 1002)->click();
    QCOMPARE(uitest::beeps(), 1);
    button(d.get(), 1033)->click();
    button(d.get(), 1033)->click();
    // Both albums left had artists and songs: their marks are cleared.
    QCOMPARE(d->windowTitle(), QStringLiteral("Abbey Road   "));
    QCOMPARE(db_->text(TitleTable, letitbe_, F_OKField), std::string(" "));
    QCOMPARE(db_->text(TitleTable, songsonly_, F_OKField), std::string("*"));
  }

  void theCompletenessMarkFollowsTheContents() {
    onAlbum("Songs Only");
    {
      auto d = open();
      button(d.get(), IDCANCEL)->click();
    }
    QCOMPARE(db_->text(TitleTable, songsonly_, F_OKField), std::string("*"));
    {
      auto d = open();
      button(d.get(), 1004)->click();  // artists
      QCOMPARE(child<QComboBox>(d.get(), 1032)->currentIndex(), 0);
      uitest::scripts().push_back(pick("the b", ResultAppend));
      button(d.get(), 1031)->click();
      QCOMPARE(db_->number(TitleTable, songsonly_, F_AuxAttr), long(beatles_));
      button(d.get(), IDCANCEL)->click();
    }
    QCOMPARE(db_->text(TitleTable, songsonly_, F_OKField), std::string(" "));
    QCOMPARE(row(*caller(), caller()->currentRow()), QStringLiteral("Songs Only   "));
    {
      auto d = open();
      button(d.get(), 1004)->click();
      host().answers = {Answer::OK};
      button(d.get(), 1029)->click();
      QCOMPARE(host().asked.at(0).text,
               std::string("Are you sure you want do remove artist \"The Beatles\" from this album?"));
      button(d.get(), IDCANCEL)->click();
    }
    QCOMPARE(db_->text(TitleTable, songsonly_, F_OKField), std::string("*"));
    QCOMPARE(db_->number(TitleTable, songsonly_, F_AuxAttr), -1L);
    QCOMPARE(row(*caller(), caller()->currentRow()), QStringLiteral("Songs Only  *"));
  }

  void renameOpensTheNameEditorOfTheKindShown() {
    auto d = open();
    button(d.get(), 1003)->click();
    QString prompt, title;
    uitest::scripts().push_back([&](QDialog& dlg) {
      prompt = child<QLabel>(&dlg, 1039)->text();
      title = dlg.windowTitle();
      return IDCANCEL;
    });
    button(d.get(), 1014)->click();
    QCOMPARE(prompt, QStringLiteral("Edit artist name:"));
    QCOMPARE(title, QStringLiteral("The Beatles  (2)"));
  }

  void xrefEndsWithTheEntry() {
    auto d = open();
    CRecListBox* list = child<CRecListBox>(d.get(), 1009);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(d->result(), int(ResultTarget));
    QCOMPARE(d->resultAttr(), 1);
    QCOMPARE(d->resultCode(), something_);
  }

  void aReadOnlyDatabaseOnlyNavigates() {
    browse_.reset();
    DB_Close();
    QCOMPARE(DB_Open({.readonly = true}), 0);
    browse_ = std::make_unique<CMainDlg>(nullptr, TitleTable, false);
    auto d = open();
    for (int id : {1043, 1031, 1029, 1014, 1006, 1005})
      QVERIFY2(!button(d.get(), id)->isEnabled(), qPrintable(QString::number(id)));
    QVERIFY(button(d.get(), 1028)->isEnabled());
    QVERIFY(button(d.get(), 1002)->isEnabled());
    QVERIFY(child<QLineEdit>(d.get(), 1001)->isReadOnly());
    QTest::keyClicks(child<CRecListBox>(d.get(), 1009), "x");
    QTest::keyClick(child<CRecListBox>(d.get(), 1009), Qt::Key_Delete);
    button(d.get(), 1002)->click();
    QCOMPARE(d->windowTitle(), QStringLiteral("Let It Be  *"));
  }
};

QTEST_MAIN(ArticleDlgTest)
#include "articledlg_test.moc"
