// CRecListBox: the record list of every dialog.
//
// It never holds a whole table: it shows a window of consecutive records of
// a BrowseSource, as many as its height holds and at least 12, keeps the
// source's cursor on the record of the selected row and scrolls by moving
// that cursor, so browsing costs the same for any table size. Its scroll
// bar stands where the source estimates the window to be, and dragging it
// seeks there. It searches incrementally by name as the user types, and
// reports to its owner through one notification callback (ListAction).
//
// It replaces the list widget's own keyboard and mouse handling completely:
// keys step the cursor by the row rules below; a click selects the clicked
// row where it stands; the wheel and the scroll bar move the window and keep
// the selected row; a double click ends the search and is Enter. Moves by
// the pointer are not reported (owners that care watch the selected row).
// Rows show full names (codec.h, shownName); texts are UTF-8. The search
// text is kept as typed and sought through DB_SeekForm, so that typing
// "мум" finds "Мумий Тролль", whose stored name is "Mumij Troll'".
//
// Row rules (with 12 rows: the selection walks down to row 7 and up to row
// 4, then the window scrolls; a sought record lands on row 4 to 7, else 5):
// the selection keeps kContext rows in view above and below it, so a taller
// window lets it walk further down, and Page Up / Page Down move by the
// visible rows less one. Only a taller window always fills (see fills).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QListWidget>

#include "catalogue/browse.h"

class QScrollBar;

namespace tracklore {

// What the list reports to its owner.
enum class ListAction {
  Found,      // the search text changed and matches (or is empty), or a key
              // moved the cursor (then with an empty text)
  NotFound,   // the search text changed and no record matches it
  EnterKey,   // Enter, or a double click on a row
  Moved,      // a key moved the cursor (always after a Found)
  InsertKey,  // Insert, or a printable character typed while not searching
              // (the character as its UTF-8 text)
  DeleteKey,  // Delete
};

class CRecListBox : public QListWidget {
  Q_OBJECT

 public:
  // The fewest rows the window holds, whatever the control's height.
  static constexpr int kMinRows = 12;
  // Rows kept in view above and below the selection while keys scroll.
  static constexpr int kContext = 4;
  // Where a record lands when the window is laid out afresh around it and
  // the selected row lies outside the rows the keys keep it in.
  static constexpr int kLandingRow = kContext + 1;
  // The lowest row the keys keep the selection in, in the smallest window.
  static constexpr int kLowestKeptRow = kMinRows - 1 - kContext;

  using Notify = std::function<void(ListAction action, const std::string& text)>;
  // The text of the row of the source's current record, UTF-8.
  using Formatter = std::function<std::string()>;

  explicit CRecListBox(QWidget* parent = nullptr);

  // Takes the source (not owned; null unbinds); searchable lets typed
  // characters build the search text; second is the field shown after the
  // name (0 for none).
  void bind(BrowseSource* source, bool searchable, int second);
  void setNotify(Notify notify) { notify_ = std::move(notify); }
  void setFormatter(Formatter formatter) { formatter_ = std::move(formatter); }

  // The window from the cursor's record (from the first with force, or when
  // the cursor has none), that record on the given row.
  void fill(bool force, int row);
  // The window around the cursor's record, which lands on the given row (-1
  // the selected one) when the keys could have left it there, else on
  // kLandingRow, or higher near the beginning.
  void refill(int row);
  // Seeks the key (when given: stored bytes, a prefix of the Name tag)
  // and refills, landing on row as refill does (kSelectedRow: the selected
  // one); clears the search if asked.
  enum class Search { Keep, Clear };
  static constexpr int kSelectedRow = -1;
  void reposition(const std::string* key, Search search, int row);

  BrowseSource* source() const { return source_; }
  bool hasRows() const { return count() > 0; }
  int currentRowIndex() const { return row_; }
  int32_t position() const { return position_; }
  const std::string& searchText() const { return search_; }
  // Field 1 of the current record, and its full name.
  int32_t currentCode() const;
  std::string currentName() const;
  // The text of the selected row ("" when none).
  QString selectedRowText() const;
  // How many rows the window holds now.
  int windowRows() const { return rows_; }
  QScrollBar* positionBar() const { return bar_; }

  // Key and character handling, as if typed in the list; the owners step
  // lists with Up and Down, and the picker hands over a first character.
  void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void typeChar(char32_t c);

  // The height of one row and of the smallest window.
  int rowHeight() const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  BrowseSource* source_ = nullptr;
  std::string search_;      // as typed, UTF-8
  bool searchable_ = false;
  int second_ = 0;
  int row_ = 0;
  int32_t position_ = -1;
  bool control_ = false;
  int rows_ = kMinRows;      // rows the window holds
  int wheel_ = 0;            // wheel turn not yet worth a row
  QScrollBar* bar_ = nullptr;
  Notify notify_;
  Formatter formatter_;

  void notify(ListAction action, const std::string& text);
  std::string rowtext() const;
  void addrow();
  void insertrow(int index);
  void selectrow(int row);
  void layout(int row);
  void search();
  ErrorCode seeksearch();
  void clearsearch();
  bool vanished(ErrorCode r);

  // The row rules, for the rows the window holds now. The smallest window
  // keeps them as they always were, with its last rows left empty at the
  // end of the source; a taller one fills: it shows as many records as it
  // holds whenever the source has them, the last on its bottom row at the
  // end.
  bool fills() const { return rows_ > kMinRows; }
  int lowestrow() const { return rows_ - 1 - kContext; }  // forward steps stop here
  int pagerows() const { return rows_ - 1; }
  int longstep() const { return rows_ / 2; }  // from here on a step refills
  int landing(int row) const;

  // Steps (reclistbox_step.cpp).
  void step(int n);
  void stepforward(int n, int d);
  void stepback(int d);
  void scrolldown(int d, int limit);
  void scrollup(int d);
  void showfrom(int row);

  // The pointer and the scroll bar (reclistbox_pointer.cpp).
  int fittingrows() const;
  void placebar();
  void updatebar();
  void onbaraction(int action);
  void scrollby(int delta);
  void seektop(int32_t top);
  void selectat(int row);
};

}  // namespace tracklore
