// Gathering a whole scan or import into one step of the undo history.
#include "catalogue/wholestep.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "catalogue/journal.h"
#include "catalogue/tableset.h"
#include "catalogue/utf8.h"

namespace tracklore {

namespace {

// The longest operation text an intent entry keeps.
constexpr size_t kMostText = 255;

// The text cut to at most n bytes, not inside a character.
std::string cut(std::string text, size_t n) {
  if (text.size() <= n) return text;
  while (n > 0 && utf8continues(text, n)) --n;
  text.resize(n);
  return text;
}

// What an image costs beyond its bytes, in the history and in memory.
constexpr size_t kImageOverhead = 16;

}  // namespace

WholeStep::WholeStep(const char* operation, size_t most) : most_(most) {
  before_.operation = operation;
  active_ = !historygathering() && DB_IsOpen() && !DB_IsReadOnly() && DB_Table(TitleTable).exclusive();
  if (!active_) return;
  historygathering(true);
  from_ = currenttablestate();
  tablescreated(before_.created);
  for (int t = 0; t < kAllTables; ++t) {
    quill::DataFile& table = DB_Table(t);
    if (!table.isopen()) continue;
    started_[static_cast<size_t>(t)] = table.nrecs();
    before_.counts.push_back({t, table.nrecs(), table.header().ndeleted});
    Watch& watch = watches_[static_cast<size_t>(t)];
    watch.step = this;
    watch.table = t;
    table.setwatch(&watch);
  }
}

WholeStep::~WholeStep() {
  if (active_) stop();
}

void WholeStep::stop() {
  for (int t = 0; t < kAllTables; ++t) DB_Table(t).setwatch(nullptr);
  historygathering(false);
  active_ = false;
}

void WholeStep::image(int table, int32_t recno) {
  // Appended in this step: the counts put back take it away.
  if (overflow_ || recno >= started_[static_cast<size_t>(table)]) return;
  if (!imaged_.insert(static_cast<uint64_t>(table) << 32 | static_cast<uint32_t>(recno)).second) return;
  IntentEntry::Image image{table, recno, {}};
  // Unreadable, it cannot be put back: the step becomes a barrier.
  if (!readrecord(table, recno, &image.bytes)) bytes_ = most_;
  bytes_ += image.bytes.size() + kImageOverhead;
  if (bytes_ > most_) {
    overflow_ = true;
    before_.images = {};
    imaged_ = {};
    return;
  }
  before_.images.push_back(std::move(image));
}

void WholeStep::finish(const std::string& description) {
  if (!active_) return;
  stop();
  // A rescan that found nothing to do is no step.
  if (currenttablestate() == from_) return;
  HistoryStep step;
  step.before = std::move(before_);
  step.after.operation = description;
  std::copy(std::begin(step.before.created), std::end(step.before.created), step.after.created);
  bool whole = !overflow_;
  for (const IntentEntry::Counts& c : step.before.counts) {
    quill::DataFile& table = DB_Table(c.table);
    step.after.counts.push_back({c.table, table.nrecs(), table.header().ndeleted});
  }
  for (const IntentEntry::Image& was : step.before.images) {
    IntentEntry::Image now{was.table, was.recno, {}};
    whole = whole && readrecord(was.table, was.recno, &now.bytes);
    step.after.images.push_back(std::move(now));
  }
  if (!whole) {
    // A barrier keeps no records: nothing is ever put back from it.
    step.before.counts.clear();
    step.before.images.clear();
    step.after = IntentEntry();
    step.after.operation = description;
  }
  historyadd(step, from_);
}

std::string wholesteptext(const std::string& operation, const std::vector<std::string>& names,
                          const std::string& counts) {
  const std::string head = operation + " of ", end = " (" + counts + ")";
  std::string all;
  for (const std::string& name : names) all += (all.empty() ? "'" : ", '") + name + "'";
  if (head.size() + all.size() + end.size() <= kMostText) return head + all + end;
  const std::string more = names.size() > 1 ? " and " + std::to_string(names.size() - 1) + " more" : "";
  const size_t room = kMostText - std::min(kMostText, head.size() + end.size() + more.size() + 5);
  return cut(head + "'" + cut(names.empty() ? "" : names.front(), room) + "...'" + more + end, kMostText);
}

}  // namespace tracklore
