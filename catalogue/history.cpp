#include "catalogue/history.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "catalogue/historytext.h"
#include "catalogue/tableset.h"
#include "catalogue/undotail.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/file.h"

namespace tracklore {

namespace {

constexpr char kMagic[4] = {'T', 'L', 'H', '1'};
constexpr size_t kHeadLength = 12 + sizeof(TableState::values);

void put32(std::vector<uint8_t>& out, int32_t v) {
  uint8_t b[4];
  quill::putle32(b, static_cast<uint32_t>(v));
  out.insert(out.end(), b, b + 4);
}

// The length of the encoded intent entry at the front of the bytes (its
// head says), or 0 when they are too short for it.
size_t entrylength(const uint8_t* p, size_t left) {
  if (left < 12) return 0;
  const size_t length = 12 + static_cast<size_t>(quill::getle32(p + 4));
  return length > left ? 0 : length;
}

// The state the tables had when the outermost intent began.
TableState before_;
bool gathering_ = false;

// What the edit left: its imaged records as they are now, the counts of
// its counted tables and the records it appended. False when one cannot
// be read.
bool afterstate(const IntentEntry& before, IntentEntry* after) {
  std::memcpy(after->created, before.created, sizeof after->created);
  for (const IntentEntry::Image& image : before.images) {
    IntentEntry::Image now{image.table, image.recno, {}};
    if (!readrecord(image.table, image.recno, &now.bytes)) return false;
    after->images.push_back(std::move(now));
  }
  for (const IntentEntry::Counts& c : before.counts) {
    quill::DataFile& t = DB_Table(c.table);
    after->counts.push_back({c.table, t.nrecs(), t.header().ndeleted});
    for (int32_t recno = c.nrecs; recno < t.nrecs(); ++recno) {
      IntentEntry::Image added{c.table, recno, {}};
      if (!readrecord(c.table, recno, &added.bytes)) return false;
      after->images.push_back(std::move(added));
    }
  }
  return true;
}

// A completeness mark set on leaving an album belongs to the edit made
// there: one undo takes both back. The mark's record joins the edit's
// before-state (unless the edit imaged or appended it) and the edit's
// after-state is read again. False when there is no such edit.
bool foldmark(History& history, const IntentEntry& mark) {
  HistoryStep last;
  if (history.steps.empty() || !decodestep(history.steps.back(), &last) || !last.undoable() ||
      last.whole())
    return false;
  for (const IntentEntry::Image& image : mark.images) {
    bool known = false;
    for (const IntentEntry::Image& had : last.before.images)
      known = known || (had.table == image.table && had.recno == image.recno);
    for (const IntentEntry::Counts& c : last.before.counts)
      known = known || (c.table == image.table && image.recno >= c.nrecs);
    if (!known) last.before.images.push_back(image);
  }
  last.after = {};
  if (!afterstate(last.before, &last.after)) return false;
  last.after.operation = describestep(last);
  history.steps.back() = encodestep(last);
  return true;
}

void forget() {
  std::error_code ignored;
  std::filesystem::remove(DB_HistoryName(), ignored);
}

// The history an edit that began with the tables in state `from` adds to,
// without its undone steps (and the records kept aside for them). One that
// does not end at that state missed a change: its steps could no longer be
// undone, so it starts anew.
History continued(const TableState& from) {
  History history;
  if (!loadhistory(&history)) return {};
  for (size_t place = history.position; place < history.steps.size(); ++place) DB_DropTail(place);
  if (!(history.tables == from)) return {};
  history.steps.resize(history.position);
  return history;
}

// Keeps the last kHistorySteps, fewer when they pass kHistoryBytes, and
// writes the history ending at the tables as they are now.
void store(History& history) {
  size_t bytes = 0, keep = 0;
  for (auto step = history.steps.rbegin(); step != history.steps.rend(); ++step, ++keep) {
    bytes += step->size();
    if (keep == kHistorySteps || (keep > 0 && bytes > kHistoryBytes)) break;
  }
  history.steps.erase(history.steps.begin(), history.steps.end() - static_cast<long>(keep));
  history.position = history.steps.size();
  history.tables = currenttablestate();
  if (savehistory(history) != 0) forget();
}

}  // namespace

bool HistoryStep::undoable() const {
  static const char* const kinds[] = {"link",  "unlink", "move", "rename", "add",
                                      "delete", "delete album", "merge", "mark", "purge"};
  for (const char* kind : kinds)
    if (before.operation == kind) return true;
  return whole();
}

bool HistoryStep::whole() const {
  return (before.operation == "scan" || before.operation == "import") && !before.counts.empty();
}

bool readrecord(int table, int32_t recno, std::vector<uint8_t>* bytes) {
  quill::DataFile& t = DB_Table(table);
  bytes->resize(t.header().reclen);
  return t.readrecord(recno, bytes->data()) == quill::Ok;
}

bool TableState::operator==(const TableState& other) const {
  return std::memcmp(values, other.values, sizeof values) == 0;
}

TableState currenttablestate() {
  TableState state;
  int32_t created[kAllTables];
  tablescreated(created);
  for (int t = 0; t < kAllTables; ++t) {
    state.values[t][0] = created[t];
    quill::DataFile closed;
    quill::DataFile* table = &DB_Table(t);
    if (!table->isopen()) {
      if (closed.opendata(DB_TableName(t), {.readonly = true, .shared = true}) != quill::Ok)
        continue;
      table = &closed;
    }
    state.values[t][1] = table->header().nrecs;
    state.values[t][2] = table->header().ndeleted;
    state.values[t][3] = table->header().stamp;
  }
  return state;
}

std::string DB_HistoryName() { return std::string(DB_MainName()) + ".hst"; }

std::vector<uint8_t> encodestep(const HistoryStep& step) {
  std::vector<uint8_t> bytes = encodeintent(step.before);
  const std::vector<uint8_t> after = encodeintent(step.after);
  bytes.insert(bytes.end(), after.begin(), after.end());
  return bytes;
}

bool decodestep(const std::vector<uint8_t>& bytes, HistoryStep* step) {
  const size_t first = entrylength(bytes.data(), bytes.size());
  return first != 0 && decodeintent(bytes.data(), first, &step->before) &&
         decodeintent(bytes.data() + first, bytes.size() - first, &step->after);
}

bool loadhistory(History* history) {
  quill::File file;
  if (file.open(DB_HistoryName().c_str(), quill::Access::ReadOnly, quill::Sharing::Shared,
                quill::Links::Refuse) != 0)
    return false;
  const int32_t size = file.size();
  if (size < static_cast<int32_t>(kHeadLength)) return false;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (file.readat(0, bytes.data(), size) != 0 || std::memcmp(bytes.data(), kMagic, 4) != 0)
    return false;
  History h;
  h.position = quill::getle32(bytes.data() + 4);
  const uint32_t nsteps = quill::getle32(bytes.data() + 8);
  std::memcpy(h.tables.values, bytes.data() + 12, sizeof h.tables.values);
  size_t at = kHeadLength;
  for (uint32_t i = 0; i < nsteps && i < kHistorySteps; ++i) {
    const size_t first = entrylength(bytes.data() + at, bytes.size() - at);
    if (first == 0) return false;
    const size_t second = entrylength(bytes.data() + at + first, bytes.size() - at - first);
    if (second == 0) return false;
    h.steps.emplace_back(bytes.begin() + static_cast<long>(at),
                         bytes.begin() + static_cast<long>(at + first + second));
    at += first + second;
  }
  if (at != bytes.size() || h.steps.size() != nsteps || h.position > nsteps) return false;
  *history = std::move(h);
  return true;
}

int savehistory(const History& history) {
  std::vector<uint8_t> bytes(kMagic, kMagic + 4);
  put32(bytes, static_cast<int32_t>(history.position));
  put32(bytes, static_cast<int32_t>(history.steps.size()));
  const auto* state = reinterpret_cast<const uint8_t*>(history.tables.values);
  bytes.insert(bytes.end(), state, state + sizeof history.tables.values);
  for (const std::vector<uint8_t>& step : history.steps)
    bytes.insert(bytes.end(), step.begin(), step.end());
  const std::string name = DB_HistoryName(), fresh = name + ".new";
  quill::File file;
  if (file.create(fresh.c_str(), quill::Sharing::Exclusive, quill::Links::Refuse) != 0) return -1;
  if (file.writeat(0, bytes.data(), static_cast<int32_t>(bytes.size())) != 0 || file.sync() != 0 ||
      file.close() != 0)
    return -1;
  return std::rename(fresh.c_str(), name.c_str()) == 0 ? 0 : -1;
}

void historybegin() { before_ = currenttablestate(); }

void historygathering(bool on) { gathering_ = on; }
bool historygathering() { return gathering_; }

void historyadd(const HistoryStep& step, const TableState& from) {
  History history = continued(from);
  history.steps.push_back(encodestep(step));
  store(history);
}

void historyrecord(const IntentEntry& before) {
  if (gathering_) return;
  History history = continued(before_);
  if (before.operation == "mark" && foldmark(history, before)) {
    history.tables = currenttablestate();
    if (savehistory(history) != 0) forget();
    return;
  }
  HistoryStep step;
  step.before.operation = before.operation;
  if (step.undoable()) {
    step.before = before;
    if (!afterstate(before, &step.after)) return forget();
    step.after.operation = describestep(step);
  } else {
    // A barrier needs no records (verification's corrections rewrite
    // thousands): nothing is ever put back from it.
    step.after.operation = before.operation;
  }
  // The batches of one verification (or of a scan or import made outside
  // a whole step) make one barrier.
  HistoryStep last;
  const bool repeat = !step.undoable() && !history.steps.empty() &&
                      decodestep(history.steps.back(), &last) && !last.undoable() &&
                      last.before.operation == before.operation;
  if (!repeat) history.steps.push_back(encodestep(step));
  store(history);
}

}  // namespace tracklore
