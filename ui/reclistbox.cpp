#include "ui/reclistbox.h"

#include <algorithm>

#include <QKeyEvent>
#include <QList>
#include <QScrollBar>

#include "catalogue/storedform.h"
#include "catalogue/text.h"
#include "catalogue/utf8.h"
#include "engine/rlist.h"
#include "ui/codec.h"
#include "ui/platform.h"

namespace tracklore {

CRecListBox::CRecListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The list's own bars would scroll the rows it holds; the window's own
  // bar scrolls the source.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setUniformItemSizes(true);
  setTextElideMode(Qt::ElideRight);
  setFocusPolicy(Qt::StrongFocus);
  // The list takes the room a larger window gives.
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->setEnabled(false);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) { onbaraction(action); });
  connect(bar_, &QScrollBar::sliderReleased, this, [this] { updatebar(); });
  placebar();
}

int CRecListBox::rowHeight() const { return fontMetrics().height() + 4; }

QSize CRecListBox::sizeHint() const {
  return QSize(fontMetrics().averageCharWidth() * 58 + bar_->sizeHint().width(),
               kMinRows * rowHeight() + 2 * frameWidth());
}

QSize CRecListBox::minimumSizeHint() const {
  return QSize(fontMetrics().averageCharWidth() * 30, kMinRows * rowHeight() + 2 * frameWidth());
}

void CRecListBox::bind(BrowseSource* source, bool searchable, int second) {
  search_.clear();
  source_ = source;
  searchable_ = searchable;
  second_ = second;
  row_ = 0;
  control_ = false;
  position_ = -1;
  updatebar();
}

void CRecListBox::notify(ListAction action, const std::string& text) {
  if (notify_) notify_(action, text);
}

std::string CRecListBox::rowtext() const {
  if (formatter_) return formatter_();
  quill::Rlist& cursor = source_->cursor();
  std::string name = shownName(cursor);
  if (second_ <= 0 || second_ >= cursor.nfields()) return name;
  quill::Field& field = cursor.field(second_);
  if (field.type() == 'C')
    return textf("%s  %s", name.c_str(), DB_StoredToUtf8(fieldText(field)).c_str());
  return textf("%s  (%ld)", name.c_str(), static_cast<long>(field.aslong()));
}

void CRecListBox::addrow() {
  auto* item = new QListWidgetItem(QString::fromStdString(rowtext()));
  item->setSizeHint(QSize(0, rowHeight()));
  addItem(item);
}

void CRecListBox::insertrow(int index) {
  auto* item = new QListWidgetItem(QString::fromStdString(rowtext()));
  item->setSizeHint(QSize(0, rowHeight()));
  insertItem(index, item);
}

void CRecListBox::selectrow(int row) {
  if (row >= 0 && row < count())
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  else
    setCurrentRow(-1);
}

int32_t CRecListBox::currentCode() const {
  if (source_ == nullptr) return -1;
  return source_->cursor().field(1).aslong();
}

std::string CRecListBox::currentName() const {
  if (source_ == nullptr) return {};
  return shownName(source_->cursor());
}

QString CRecListBox::selectedRowText() const {
  QListWidgetItem* item = currentItem();
  return item != nullptr ? item->text() : QString();
}

void CRecListBox::fill(bool force, int row) {
  if (source_ == nullptr || ((!source_->valid() || force) && source_->first() != 0)) {
    clear();
    position_ = -1;
  } else {
    layout(row);
  }
  updatebar();
}

// The rows from the cursor's record on; the cursor then goes to the record
// of the given row. A window that fills (see fills) and meets the end of
// the source first takes the records before its top in as well, and the
// given row moves down with its record.
void CRecListBox::layout(int row) {
  clear();
  int s = 0;  // the row of the record the cursor stands on
  for (int i = 0; i < rows_; ++i) {
    addrow();
    if (source_->skip(1) != 0) break;
    ++s;
  }
  if (fills() && count() < rows_) {
    // Moves that stop short stop at an end, which moved() then tells.
    (void)source_->skip(-s);
    (void)source_->skip(count() - rows_);
    const int above = -source_->moved();
    for (int i = 0; i < above; ++i) {
      insertrow(i);
      (void)source_->skip(1);
    }
    row += above;
    s = above;
  }
  // A move that stops short stops at an end; selectrow keeps within the rows.
  if (row - s != 0) (void)source_->skip(row - s);
  row_ = row;
  selectrow(row);
  position_ = source_->recno();
}

int CRecListBox::landing(int row) const {
  if (row == kSelectedRow) row = currentRow();
  return row < kContext || row > lowestrow() ? kLandingRow : row;
}

void CRecListBox::refill(int row) { showfrom(landing(row)); }

void CRecListBox::reposition(const std::string* key, Search search, int row) {
  if (key != nullptr && source_ != nullptr)
    // A key not found leaves the cursor where the seek stopped, or where it was.
    (void)source_->seek(reinterpret_cast<const uint8_t*>(key->data()), static_cast<int>(key->size()),
                  quill::SeekMode::Prefix, quill::SeekWhich::First);
  refill(row);
  if (search == Search::Clear) clearsearch();
}

void CRecListBox::clearsearch() {
  search_.clear();
  notify(ListAction::Found, {});
}

// The entry under the cursor went away and the cursor stands on its
// neighbour: show the list again around it.
bool CRecListBox::vanished(ErrorCode r) {
  if (r != quill::NextRecord && r != quill::PrevRecord) return false;
  reposition(nullptr, Search::Clear, kSelectedRow);
  return true;
}

void CRecListBox::search() {
  if (search_.empty()) {
    if (source_ != nullptr) (void)source_->first();
    refill(-1);
    notify(ListAction::Found, {});
    return;
  }
  if (source_ != nullptr && seeksearch() == 0) {
    refill(-1);
    notify(ListAction::Found, search_);
  } else {
    notify(ListAction::NotFound, search_);
  }
}

// The search text's stored form is sought, cut where stored names are cut;
// text with nothing to seek by ("🎉") matches from the first record on.
ErrorCode CRecListBox::seeksearch() {
  std::string key = DB_SeekForm(search_);
  const size_t most = static_cast<size_t>(std::max(source_->cursor().field(0).length() - 1, 0));
  if (key.size() > most) key.resize(most);
  if (key.empty()) return source_->first();
  return source_->seek(reinterpret_cast<const uint8_t*>(key.data()), static_cast<int>(key.size()),
                       quill::SeekMode::Prefix, quill::SeekWhich::First);
}

void CRecListBox::typeChar(char32_t c) {
  if (c == '\r') {
    notify(ListAction::EnterKey, {});
    return;
  }
  if (c == '\b') {
    if (!searchable_) return;
    if (search_.empty()) {
      beep();
      return;
    }
    // One character goes, with every byte of it.
    while (utf8continues(search_, search_.size() - 1)) search_.pop_back();
    if (!search_.empty()) search_.pop_back();
    search();
    return;
  }
  if (c < 32) {
    beep();
    return;
  }
  // What is typed may become a new record's full name.
  if (typedChars(search_) >= kFullNameChars) {
    beep();
    return;
  }
  const std::string character = QString::fromUcs4(&c, 1).toStdString();
  if (searchable_) {
    search_ += character;
    search();
  } else {
    notify(ListAction::InsertKey, character);
  }
}

void CRecListBox::pressKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool control = control_ || (modifiers & Qt::ControlModifier);
  switch (key) {
    case Qt::Key_PageUp:
      if (control) {
        if (source_ != nullptr) (void)source_->first();
        refill(-1);
      } else {
        step(-pagerows());
      }
      break;
    case Qt::Key_PageDown:
      if (control) {
        if (source_ != nullptr) (void)source_->last();
        refill(-1);
      } else {
        step(pagerows());
      }
      break;
    case Qt::Key_Up: step(-1); break;
    case Qt::Key_Down: step(1); break;
    case Qt::Key_Insert: notify(ListAction::InsertKey, {}); return;
    case Qt::Key_Delete: notify(ListAction::DeleteKey, {}); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: typeChar('\r'); return;
    default: return;
  }
  search_.clear();
  notify(ListAction::Found, {});
  notify(ListAction::Moved, {});
}

void CRecListBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  switch (key) {
    case Qt::Key_Control:
      control_ = true;
      return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter is the list's own: it never reaches the dialog's default button.
      pressKey(key, event->modifiers());
      event->accept();
      return;
    case Qt::Key_Escape:
      // The dialog's cancel.
      event->ignore();
      return;
    default: break;
  }
  const QString text = event->text();
  if (text.isEmpty() || (event->modifiers() & Qt::AltModifier)) {
    event->ignore();
    return;
  }
  for (const char32_t c : text.toUcs4()) typeChar(c);
  event->accept();
}

void CRecListBox::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Control) control_ = false;
  event->accept();
}

}  // namespace tracklore
