// The record list's steps: the cursor moves n records and the window
// follows by the row rules. Forward, the selection walks down to the lowest
// row that keeps kContext rows below it, then stays there while the window
// scrolls; backward, it walks up to row kContext and stays there, moving on
// towards row 0 only at the beginning of the source. A long step forward
// lays the window out afresh instead of scrolling it row by row.
#include "ui/reclistbox.h"

#include <algorithm>

#include "ui/platform.h"

namespace tracklore {

void CRecListBox::step(int n) {
  if (source_ == nullptr || n == 0) return;
  const ErrorCode r = source_->skip(n);
  position_ = source_->recno();
  if (vanished(r)) return;
  const int d = source_->moved();
  if (d == 0) {
    beep();
    return;
  }
  if (n > 0)
    stepforward(n, d);
  else
    stepback(d);
  updatebar();
}

void CRecListBox::stepforward(int n, int d) {
  const int limit = std::min(count() - 1, lowestrow());
  if (row_ + d <= limit) {
    row_ += d;
    selectrow(row_);
  } else if (n >= longstep()) {
    showfrom(limit);
  } else {
    scrolldown(d, limit);
  }
}

void CRecListBox::stepback(int d) {
  if (row_ + d >= kContext) {
    row_ += d;
    selectrow(row_);
  } else {
    scrollup(d);
  }
}

// The current record, d rows below the selection, goes to row `limit`: the
// rows that pass it leave at the top and as many are read in at the bottom.
// Near the end of the source fewer are read: the smallest window scrolls on
// all the same and leaves its last rows empty; one that fills scrolls only
// as far as there are records, and the selection walks on below `limit`.
void CRecListBox::scrolldown(int d, int limit) {
  const int leaving = row_ - limit + d;
  // From the current record to the record of the window's last row.
  // How far the moves here go is what counts (moved()), not their codes.
  (void)source_->skip(rows_ - 1 - row_ - d);
  int m = source_->moved();
  int read = 0;
  while (read < leaving && source_->skip(1) == 0) {
    addrow();
    ++read;
  }
  m += read;
  const int gone = fills() ? read : leaving;
  for (int i = 0; i < gone; ++i) delete takeItem(0);
  (void)source_->skip(-m);
  row_ += d - gone;
  selectrow(row_);
  position_ = source_->recno();
}

// The current record, d rows above the selection (d < 0), goes to row
// kContext, or keeps the selected row when that already lies above it:
// rows are read in at the top and as many leave at the bottom. At the
// beginning of the source fewer rows come in and the selection moves up.
void CRecListBox::scrollup(int d) {
  const int next = row_ + d;
  int incoming = row_ > kContext ? kContext - row_ - d : -d;
  // To the record that becomes the new top row.
  (void)source_->skip(-(incoming + next));
  const int m = source_->moved();
  incoming -= m + incoming + next;
  int i = 0;
  while (i < incoming) {
    if (count() == rows_) delete takeItem(count() - 1);
    insertrow(i);
    if (source_->skip(1) != 0) break;
    ++i;
  }
  row_ = next + i;
  (void)source_->skip(-(i + m));
  selectrow(row_);
  position_ = source_->recno();
}

// The window with the cursor's record on the given row, or higher when
// fewer records come before it.
void CRecListBox::showfrom(int row) {
  int k = 0;
  if (source_ != nullptr && source_->valid()) {
    while (k < row && source_->skip(-1) == 0) ++k;
  }
  row_ = k;
  fill(false, k);
}

}  // namespace tracklore
