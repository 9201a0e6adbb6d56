// The record list under the pointer and as a window of the source: its
// height decides how many rows it holds, its scroll bar shows where the
// window stands in the source (from the source's estimates, so nothing is
// counted) and moves it, the wheel scrolls it, a click selects the clicked
// row where it stands, a double click is Enter, and a frame shows that the
// list has the keyboard.
#include <algorithm>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "ui/reclistbox.h"

namespace tracklore {

namespace {

// One notch of a wheel, in the units of QWheelEvent::angleDelta.
constexpr int kWheelNotch = 120;
constexpr int kFocusFrameWidth = 2;

}  // namespace

int CRecListBox::fittingrows() const {
  return std::max(kMinRows, contentsRect().height() / std::max(rowHeight(), 1));
}

void CRecListBox::placebar() {
  const int width = bar_->sizeHint().width();
  setViewportMargins(0, 0, width, 0);
  const QRect inside = contentsRect();
  bar_->setGeometry(inside.right() + 1 - width, inside.top(), width, inside.height());
}

// The bar counts records: its value is the estimated number before the
// window's top row, its page the rows the window holds.
void CRecListBox::updatebar() {
  const int32_t span = source_ != nullptr && count() > 0 ? source_->span() : -1;
  const int32_t at = span > 0 ? source_->before() : -1;
  if (at < 0) {
    bar_->setRange(0, 0);
    bar_->setEnabled(false);
    return;
  }
  const int maximum = std::max(span - rows_, 0);
  bar_->setRange(0, maximum);
  bar_->setPageStep(rows_);
  bar_->setSingleStep(1);
  bar_->setEnabled(maximum > 0);
  // A dragged thumb follows the pointer; it settles on the estimate when
  // released.
  if (!bar_->isSliderDown()) bar_->setValue(std::clamp(at - row_, 0, maximum));
}

void CRecListBox::onbaraction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: scrollby(1); break;
    case QAbstractSlider::SliderSingleStepSub: scrollby(-1); break;
    case QAbstractSlider::SliderPageStepAdd: scrollby(pagerows()); break;
    case QAbstractSlider::SliderPageStepSub: scrollby(-pagerows()); break;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
    case QAbstractSlider::SliderMove: seektop(bar_->sliderPosition()); break;
    default: return;
  }
  // What the bar shows is where the window went, not where it was asked to.
  updatebar();
}

// The window moves by delta rows (negative: up) and the selection keeps its
// row; it goes no further than the first record on the top row or the last
// on the bottom row.
void CRecListBox::scrollby(int delta) {
  if (source_ == nullptr || !source_->valid() || count() == 0 || delta == 0) return;
  // From the selection to the window's edge on that side and on by delta:
  // what lies past the edge is how far the window can go.
  const int edge = delta < 0 ? -row_ : count() - 1 - row_;
  const ErrorCode r = source_->skip(edge + delta);
  if (vanished(r)) return;
  const int moved = source_->moved();
  if (moved == edge) {
    // Moves back over rows just passed, which are there: counted by moved().
    (void)source_->skip(-moved);
    return;
  }
  // Down, the cursor stands on the new bottom row; up, on the new top row.
  if (delta > 0) (void)source_->skip(-(count() - 1));
  layout(row_);
  updatebar();
}

// The window from about `top` records into the source; near the end it ends
// on the last record instead, and the selection keeps its row where it can.
void CRecListBox::seektop(int32_t top) {
  if (source_ == nullptr || count() == 0) return;
  if (top >= bar_->maximum()) top = std::max(source_->span(), top);
  if (source_->seekrank(std::max(top, 0)) != 0) return;
  // How far these go is what counts (moved()), not whether they reach.
  (void)source_->skip(rows_ - 1);
  (void)source_->skip(-(rows_ - 1));
  const int below = -source_->moved();  // records from the top to the bottom row
  row_ = std::min(row_, below);
  layout(row_);
}

void CRecListBox::selectat(int row) {
  const int d = row - row_;
  if (source_ == nullptr || d == 0) return;
  const ErrorCode r = source_->skip(d);
  position_ = source_->recno();
  if (vanished(r)) return;
  row_ += source_->moved();
  selectrow(row_);
  updatebar();
}

void CRecListBox::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid()) selectat(index.row());
}

// Opens the row, as Enter does; a search left unfinished would make Enter
// create an item instead, so the click ends it.
void CRecListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  const QModelIndex index = indexAt(event->position().toPoint());
  if (!index.isValid()) return;
  selectat(index.row());
  if (!search_.empty()) clearsearch();
  notify(ListAction::EnterKey, {});
}

void CRecListBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void CRecListBox::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void CRecListBox::wheelEvent(QWheelEvent* event) {
  event->accept();
  // Fine-grained wheels and touchpads send parts of a notch.
  wheel_ += event->angleDelta().y();
  const int notches = wheel_ / kWheelNotch;
  wheel_ -= notches * kWheelNotch;
  if (notches != 0) scrollby(-notches * QApplication::wheelScrollLines());
}

void CRecListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  placebar();
  const int fit = fittingrows();
  if (fit == rows_) return;
  rows_ = fit;
  if (source_ != nullptr && source_->valid() && count() > 0)
    showfrom(std::min(row_, lowestrow()));
  else
    updatebar();
}

void CRecListBox::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(viewport());
  QPen pen(palette().color(QPalette::Highlight));
  pen.setWidth(kFocusFrameWidth);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  const int inset = kFocusFrameWidth / 2;
  painter.drawRect(viewport()->rect().adjusted(inset, inset, -inset, -inset));
}

void CRecListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  viewport()->update();
}

void CRecListBox::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  viewport()->update();
}

}  // namespace tracklore
