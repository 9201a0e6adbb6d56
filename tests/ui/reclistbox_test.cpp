// The record list: its window of at least 12 rows stepping by the row
// rules, the mouse, the scroll bar over thousands of records, the search.
#include <QScrollBar>
#include <cstdlib>
#include <optional>

#include "catalogue/browse.h"
#include "catalogue/relation.h"
#include "harness.h"

using namespace tracklore;
using uitest::beeps;

namespace {

QString artist(int n) { return QStringLiteral("Artist %1  (0)").arg(n, 2, 10, QLatin1Char('0')); }

constexpr int kArtists = 30;
constexpr int kAlbums = 5000;
// The number of the album on a row ("Album 0042  *").
int album(const CRecListBox& list, int index) { return row(list, index).mid(6, 4).toInt(); }

// What the window of artists shows: the artist on the top row, the selected
// row and, when given, how many rows it holds.
struct Window {
  int top = 0;
  int at = 0;
  std::optional<int> count;
};

// A window of that many rows over the artists, after each of the ways to the
// end described at the test.
struct Tall {
  int rows;
  Window end, nearend, walked, pageddown, pagedup;
};

// One step of a walk through the artists, and the window and the beeps so
// far after it.
enum StepKind { Key, Click, Wheel };
struct Step {
  StepKind kind = Key;
  int key = 0;
  bool ctrl = false;
  int row = 0;
  int turn = 0;  // in eighths of a degree
  int times = 1;
  Window then;
  int beeps = 0;
};

}  // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Tall)

class RecListBoxTest : public QObject {
  Q_OBJECT

  std::unique_ptr<uitest::TempDatabase> db_;
  std::unique_ptr<FullTable> source_;
  std::unique_ptr<CRecListBox> list_;
  using Note = std::pair<ListAction, std::string>;
  std::vector<Note> notes_;

  CRecListBox& list() { return *list_; }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(list_.get(), static_cast<Qt::Key>(k), m);
  }
  void click(int index) {
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                      list().visualItemRect(list().item(index)).center());
  }
  void wheel(int delta) {
    const QPointF at = list().viewport()->rect().center();
    QWheelEvent event(at, list().viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list().viewport(), &event);
  }
  // The selected row and the record the source stands on agree.
  void checkCursor() {
    QCOMPARE(list().currentRow(), list().currentRowIndex());
    const std::string name = list().currentName();
    QVERIFY2(row(list(), list().currentRow()).startsWith(QString::fromStdString(name)), name.c_str());
  }
  // The window shows the artists from number top on (count rows, when
  // given), with the selection on row at.
  void window(int top, int at, int count = -1) {
    if (count >= 0) QCOMPARE(list().count(), count);
    QCOMPARE(row(list(), 0), artist(top));
    QCOMPARE(list().currentRow(), at);
    QCOMPARE(row(list(), at), artist(top + at));
    checkCursor();
  }
  void window(const Window& w) { window(w.top, w.at, w.count.value_or(-1)); }
  // A window of the given rows, from the first record.
  void restart(int rows) {
    list_->resize(list_->width(), list_->sizeHint().height() +
                                      (rows - CRecListBox::kMinRows) * list().rowHeight());
    QCOMPARE(list().windowRows(), rows);
    list().fill(true, 0);
  }

 private slots:
  void initTestCase() {
    uitest::init();
    db_ = std::make_unique<uitest::TempDatabase>();
    for (int n = kArtists; n >= 1; --n)
      db_->add(ArtistTable, QStringLiteral("Artist %1").arg(n, 2, 10, QLatin1Char('0')).toLatin1());
    for (const char* s : {"Blackbird", "Come Together", "Something"}) db_->add(SongTable, s);
    // Enough albums for a tree of several levels, where positions are
    // estimates, written straight into the table and indexed anew, as a
    // reindex leaves them: its last pages nearly empty.
    DB_Close();
    {
      quill::DataFile albums;
      QCOMPARE(albums.open(DB_MainName(), {.noindex = true}), quill::Ok);
      (void)albums.defersync(true);
      quill::Rlist cursor(&albums);
      for (int n = 1; n <= kAlbums; ++n) {
        const QByteArray name =
            QStringLiteral("Album %1").arg(n, 4, 10, QLatin1Char('0')).toLatin1();
        cursor.field(F_Name).set(name.constData());
        QCOMPARE(cursor.append(), quill::Ok);
      }
      (void)albums.defersync(false);
      QCOMPARE(albums.close(), quill::Ok);
    }
    QCOMPARE(quill::DataFile::reindex(DB_MainName()), quill::Ok);
    QCOMPARE(DB_Open(), 0);
  }
  void cleanupTestCase() { db_.reset(); }
  void init() {
    uitest::reset();
    notes_.clear();
    list_ = std::make_unique<CRecListBox>();
    list_->resize(list_->sizeHint());
    list_->show();
    source_ = std::make_unique<FullTable>(DB_Table(ArtistTable));
    (void)source_->select(T_Name);
    list_->bind(source_.get(), true, 2);
    list_->setNotify([this](ListAction a, const std::string& t) { notes_.push_back({a, t}); });
    list_->fill(true, 0);
  }
  void cleanup() {
    list_.reset();
    source_.reset();
  }

  // Filled, the window shows the first twelve records; Control may be held.
  void fillAndRepositionShowTheRecordsAroundTheOneSought() {
    window(1, 0, 12);
    QCOMPARE(list().position(), source_->recno());
    std::string key = "Artist 17";
    list().reposition(&key, CRecListBox::Search::Keep, CRecListBox::kSelectedRow);
    window(12, CRecListBox::kLandingRow);
    list().reposition(nullptr, CRecListBox::Search::Keep, CRecListBox::kLowestKeptRow);
    window(10, CRecListBox::kLowestKeptRow);
    QTest::keyPress(list_.get(), Qt::Key_Control);
    QTest::keyClick(list_.get(), Qt::Key_PageDown);
    QTest::keyRelease(list_.get(), Qt::Key_Control);
    QCOMPARE(row(list(), list().currentRow()), artist(30));
    QTest::keyClick(list_.get(), Qt::Key_PageUp);
    QCOMPARE(row(list(), list().currentRow()), artist(19));
  }

  // Steps in turn from the first record, each with the window it leaves
  // and the beeps so far.
  void theStepsFollowTheRowRules_data() {
    QTest::addColumn<QList<Step>>("steps");
    const int down = Qt::Key_Down, up = Qt::Key_Up, pgdn = Qt::Key_PageDown, pgup = Qt::Key_PageUp;
    QTest::newRow("down walks to row 7, then scrolls; at the end it stays there")
        << QList<Step>{{.key = down, .times = 7, .then = {1, 7, 12}},
                       {.key = down, .then = {2, 7, 12}},
                       {.key = down, .times = 21, .then = {23, 7, 8}},
                       {.key = down, .then = {23, 7, 8}, .beeps = 1}};
    QTest::newRow("up walks to row 4, then scrolls, then on to the top")
        << QList<Step>{{.key = pgdn, .ctrl = true, .then = {25, 5, 6}},
                       {.key = up, .then = {25, 4, 6}}, {.key = up, .then = {24, 4, 7}},
                       {.key = up, .times = 20, .then = {4, 4, 12}},
                       {.key = up, .times = 4, .then = {1, 3}},
                       {.key = up, .times = 3, .then = {1, 0}},
                       {.key = up, .then = {1, 0}, .beeps = 1}};
    QTest::newRow("control page keys go to the ends and keep the row")
        << QList<Step>{{.key = down, .times = 6, .then = {1, 6}},
                       {.key = pgdn, .ctrl = true, .then = {24, 6}},
                       {.key = pgup, .ctrl = true, .then = {1, 0, 12}}};
    QTest::newRow("page keys move eleven records")
        << QList<Step>{{.key = pgdn, .then = {5, 7}}, {.key = pgdn, .then = {16, 7}},
                       {.key = pgdn, .then = {23, 7, 8}},
                       {.key = pgdn, .then = {23, 7, 8}, .beeps = 1},
                       {.key = pgup, .then = {15, 4}, .beeps = 1},
                       {.key = pgup, .times = 2, .then = {1, 0}, .beeps = 1},
                       {.key = pgup, .then = {1, 0}, .beeps = 2}};
    // Below the rows the keys keep it in, the next step brings it back.
    QTest::newRow("a click selects the row where it stands")
        << QList<Step>{{.kind = Click, .row = 3, .then = {1, 3}},
                       {.kind = Click, .row = 10, .then = {1, 10, 12}},
                       {.kind = Click, .row = 10, .then = {1, 10}},
                       {.key = down, .then = {5, 7, 12}},
                       {.kind = Click, .row = 1, .then = {5, 1}}, {.key = up, .then = {4, 1}}};
    // Half notches add up; no further than the last record on the last row,
    // the first on the top.
    QTest::newRow("the wheel scrolls the window and keeps the row")
        << QList<Step>{{.key = down, .times = 2, .then = {1, 2}},
                       {.kind = Wheel, .turn = -120, .then = {4, 2}},
                       {.kind = Wheel, .turn = -60, .then = {4, 2}},
                       {.kind = Wheel, .turn = -60, .then = {7, 2}},
                       {.kind = Wheel, .turn = -1200, .then = {19, 2, 12}},
                       {.kind = Wheel, .turn = 360, .then = {10, 2}},
                       {.kind = Wheel, .turn = 1200, .then = {1, 2}}};
  }
  void theStepsFollowTheRowRules() {
    QApplication::setWheelScrollLines(3);
    QFETCH(QList<Step>, steps);
    for (const Step& s : steps) {
      if (s.kind == Click)
        click(s.row);
      else if (s.kind == Wheel)
        wheel(s.turn);
      else
        key(s.key, s.ctrl ? Qt::ControlModifier : Qt::NoModifier, s.times);
      window(s.then);
      QCOMPARE(beeps(), s.beeps);
    }
  }

  // Over the 30 artists, windows of twelve rows (the row rules as they
  // always were), of fewer rows than the artists, of as many and of more:
  // the end, the window around an entry near the end (as after Create New
  // there), walking down to the end, a page down from the top and a page up
  // from the end.
  void aTallerWindowFillsAndPagesByItsHeight_data() {
    QTest::addColumn<Tall>("tall");
    QTest::newRow("12 rows") << Tall{12,         {25, 5, 6}, {24, 5, 7},
                                     {23, 7, 8}, {5, 7, 12}, {15, 4, 12}};
    QTest::newRow("20 rows") << Tall{20,           {11, 19, 20}, {11, 18, 20},
                                     {11, 19, 20}, {5, 15, 20},  {7, 4, 20}};
    QTest::newRow("30 rows, as many as the artists")
        << Tall{30, {1, 29, 30}, {1, 28, 30}, {1, 29, 30}, {1, 29, 30}, {1, 0, 30}};
    QTest::newRow("34 rows, more than the artists")
        << Tall{34, {1, 29, 30}, {1, 28, 30}, {1, 29, 30}, {1, 29, 30}, {1, 0, 30}};
  }
  void aTallerWindowFillsAndPagesByItsHeight() {
    QFETCH(Tall, tall);
    restart(tall.rows);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    window(tall.end);
    restart(tall.rows);
    const std::string created = "Artist 29";
    list().reposition(&created, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    window(tall.nearend);
    restart(tall.rows);
    key(Qt::Key_Down, Qt::NoModifier, kArtists - 1);
    window(tall.walked);
    key(Qt::Key_PageUp);
    window(tall.pagedup);
    restart(tall.rows);
    key(Qt::Key_PageDown);
    window(tall.pageddown);
    QCOMPARE(beeps(), 0);
    // Smaller again: never below twelve rows, the selection back among them.
    list_->resize(list_->width(), list().rowHeight() * 5);
    QCOMPARE(list().windowRows(), 12);
    QVERIFY(list().currentRow() < 12);
    checkCursor();
  }

  void keysAndDoubleClicksReportAndClearTheSearch() {
    QTest::keyClicks(list_.get(), "art");
    QCOMPARE(list().searchText(), std::string("art"));
    notes_.clear();
    key(Qt::Key_Down);
    QCOMPARE(list().searchText(), std::string());
    QVERIFY(notes_ == (std::vector<Note>{{ListAction::Found, ""}, {ListAction::Moved, ""}}));
    notes_.clear();
    key(Qt::Key_Insert);
    key(Qt::Key_Delete);
    key(Qt::Key_Return);
    QVERIFY(notes_ == (std::vector<Note>{{ListAction::InsertKey, ""}, {ListAction::DeleteKey, ""},
                                         {ListAction::EnterKey, ""}}));
    // A double click opens the row and ends the search.
    QTest::keyClicks(list_.get(), "artist 2");
    notes_.clear();
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                       list().visualItemRect(list().item(8)).center());
    QCOMPARE(list().currentRow(), 8);
    QCOMPARE(list().searchText(), std::string());
    QVERIFY(notes_ == (std::vector<Note>{{ListAction::Found, ""}, {ListAction::EnterKey, ""}}));
    // A list that does not search hands characters over, and has nothing to
    // take back.
    list().bind(source_.get(), false, 2);
    list().fill(true, 0);
    notes_.clear();
    QTest::keyClicks(list_.get(), "b");
    key(Qt::Key_Backspace);
    QVERIFY(notes_ == (std::vector<Note>{{ListAction::InsertKey, "b"}}));
    QCOMPARE(list().searchText(), std::string());
    QCOMPARE(beeps(), 0);
  }

  void theListShowsWhenItHasTheKeyboard() {
    list_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(list_.get()));
    list_->setFocus();
    const QPoint edge(0, list().visualItemRect(list().item(10)).center().y());
    const QColor frame = list().palette().color(QPalette::Highlight);
    QCOMPARE(list().viewport()->grab().toImage().pixelColor(edge), frame);
    list_->clearFocus();
    QVERIFY(list().viewport()->grab().toImage().pixelColor(edge) != frame);
  }

  void theBarStandsWhereTheWindowIsAndMovesIt() {
    FullTable albums(DB_Table(TitleTable));
    (void)albums.select(T_Name);
    list().bind(&albums, true, 2);
    list().fill(true, 0);
    QScrollBar& bar = *list().positionBar();
    QVERIFY(bar.isEnabled());
    QCOMPARE(bar.maximum(), kAlbums - 12);
    QCOMPARE(bar.pageStep(), 12);
    QCOMPARE(bar.value(), 0);
    const std::string sought = "Album 2500";
    list().reposition(&sought, CRecListBox::Search::Keep, CRecListBox::kSelectedRow);
    QCOMPARE(album(list(), list().currentRow()), 2500);
    // The source's estimate for the selected record, less the rows above it.
    QCOMPARE(bar.value(), albums.before() - list().currentRow());
    key(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(bar.value(), bar.maximum());

    // Dragging the bar seeks, clicking it pages. Dragged forward over the
    // reindexed albums, the window lands within a hundredth of the table of
    // where the thumb asks, and neither goes back.
    list().bind(&albums, true, 2);
    list().fill(true, 0);
    key(Qt::Key_Down, Qt::NoModifier, 3);
    bar.setSliderDown(true);
    for (int asked = 0, lastlanded = 0; asked <= 3000; asked += 37) {
      bar.setSliderPosition(asked);
      QCOMPARE(bar.value(), asked);
      const int landed = album(list(), 0) - 1;
      QVERIFY2(std::abs(landed - asked) <= kAlbums / 100 && landed >= lastlanded,
               qPrintable(QStringLiteral("asked %1, landed %2").arg(asked).arg(landed)));
      lastlanded = landed;
    }
    QCOMPARE(list().count(), 12);
    bar.setSliderPosition(bar.maximum());
    QCOMPARE(album(list(), 11), kAlbums);
    QCOMPARE(list().currentRow(), 3);
    checkCursor();
    bar.setSliderPosition(0);
    bar.setSliderDown(false);
    QCOMPARE(album(list(), 0), 1);
    QCOMPARE(bar.value(), 0);
    // A click beside the thumb moves a page, one on an arrow a row.
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(album(list(), 0), 12);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(album(list(), 0), 11);
    QCOMPARE(album(list(), list().currentRow()), 14);
    checkCursor();
    QCOMPARE(beeps(), 0);
    list().bind(nullptr, false, 0);
  }

  void searchFindsByPrefixStopsAtAMismatchAndBeepsAtTheLimit() {
    QTest::keyClicks(list_.get(), "artist 2");
    QVERIFY(notes_.back() == Note(ListAction::Found, "artist 2"));
    // Numbers compare by value: "02" is 2.
    QCOMPARE(row(list(), list().currentRow()), artist(2));
    QTest::keyClicks(list_.get(), "7");
    QCOMPARE(row(list(), list().currentRow()), artist(27));
    QTest::keyClicks(list_.get(), "x");
    QVERIFY(notes_.back() == Note(ListAction::NotFound, "artist 27x"));
    QTest::keyClicks(list_.get(), "y");
    QCOMPARE(row(list(), list().currentRow()), artist(27));
    key(Qt::Key_Backspace, Qt::NoModifier, 2);
    QVERIFY(notes_.back() == Note(ListAction::Found, "artist 27"));
    key(Qt::Key_Backspace, Qt::NoModifier, 9);
    QVERIFY(notes_.back() == Note(ListAction::Found, ""));
    window(1, 0);
    QCOMPARE(beeps(), 0);
    key(Qt::Key_Backspace);
    QCOMPARE(beeps(), 1);
    // The search holds a full name's 255 characters, counted as characters;
    // control characters beep too.
    uitest::typeText(list_.get(), QString(254, QLatin1Char('a')) + QStringLiteral("\u0119"));
    QCOMPARE(list().searchText().size(), size_t(256));
    QCOMPARE(beeps(), 1);
    QTest::keyClicks(list_.get(), "a");
    QCOMPARE(beeps(), 2);
    key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(beeps(), 3);
    list().typeChar(0x1b);
    QCOMPARE(beeps(), 4);
    key(Qt::Key_Backspace);  // the whole of the last character
    QCOMPARE(list().searchText().size(), size_t(254));
  }

  void refillOfAThreeRecordSourceAndAnEmptyOne() {
    FullTable songs(DB_Table(SongTable));
    (void)songs.select(T_Name);
    list().bind(&songs, true, 2);
    list().fill(true, 0);
    QCOMPARE(list().count(), 3);
    (void)songs.last();
    list().refill(6);
    QCOMPARE(list().count(), 3);
    QCOMPARE(list().currentRow(), 2);
    QCOMPARE(row(list(), 2), QStringLiteral("Something  (0)"));
    key(Qt::Key_Down);
    QCOMPARE(beeps(), 1);
    // An empty source gives an empty list.
    auto none = DB_GetArticleAttributes(0, 12345);
    list().bind(none.get(), false, 2);
    list().fill(true, 0);
    QCOMPARE(list().count(), 0);
    QCOMPARE(list().position(), -1);
    key(Qt::Key_Down);
    QCOMPARE(beeps(), 2);
    list().bind(nullptr, false, 0);
  }
};

QTEST_MAIN(RecListBoxTest)
#include "reclistbox_test.moc"
