// CRecListBox: the record list of every dialog.
//
// It never holds a whole table: it shows a window of at most 12 consecutive
// records of a BrowseSource, keeps the source's cursor on the record of the
// selected row and scrolls by moving that cursor, so browsing costs the same
// for any table size. It searches incrementally by name as the user types,
// and reports to its owner through one notification callback:
//
//   0  the search text changed and matches (or is empty), or a key moved the
//      cursor (then with an empty text)
//   1  the search text changed and no record matches it
//   2  Enter
//   3  a key moved the cursor (always after a 0)
//   4  Insert, or a printable character typed while not searching (the
//      character as a one-byte text)
//   5  Delete
//
// It replaces the list widget's own keyboard and mouse handling completely.
// Texts are stored bytes (Windows-1252).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QListWidget>

#include "catalogue/browse.h"

namespace tracklore {

class CRecListBox : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 12;

  enum Action { Found = 0, NotFound = 1, EnterKey = 2, Moved = 3, InsertKey = 4, DeleteKey = 5 };
  using Notify = std::function<void(int action, const std::string& text)>;
  // The text of the row of the source's current record.
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
  // The window around the cursor's record, which lands on row 4 to 7 (the
  // given one, -1 the selected one, else 5) or higher near the beginning.
  void refill(int row);
  // Seeks the key (when given) and refills; clears the search if asked.
  void reposition(const std::string* key, bool clearsearch, int row);

  BrowseSource* source() const { return source_; }
  bool hasRows() const { return count() > 0; }
  int currentRowIndex() const { return row_; }
  int32_t position() const { return position_; }
  const std::string& searchText() const { return search_; }
  // Field 1 and field 0 of the current record.
  int32_t currentCode() const;
  std::string currentName() const;
  // The text of the selected row ("" when none).
  QString selectedRowText() const;

  // Key and character handling, as if typed in the list; the owners step
  // lists with Up and Down, and the picker hands over a first character.
  void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void typeChar(unsigned char c);

  // The height of one row and of the whole window.
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

 private:
  BrowseSource* source_ = nullptr;
  int limit_ = 0;            // most characters the search text holds
  std::string search_;
  bool searchable_ = false;
  int second_ = 0;
  int row_ = 0;
  int32_t position_ = -1;
  bool control_ = false;
  Notify notify_;
  Formatter formatter_;

  void notify(int action, const std::string& text);
  std::string rowtext() const;
  void addrow();
  void insertrow(int index);
  void selectrow(int row);
  void step(int n);
  void search();
  void clearsearch();
  bool vanished(ErrorCode r);
};

}  // namespace tracklore
