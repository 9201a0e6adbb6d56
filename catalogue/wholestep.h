// A whole scan or import as one step of the undo history (history.h).
//
// A scan writes in batches (batch.h) whose intents image nothing, and a
// rescan then brings the albums it made in step under an intent of its
// own; undo takes all of it back at once. While a WholeStep lives, the
// intents inside it add no step of their own, and each counted record of
// the open tables is imaged the first time it is about to be written over
// (an engine RecordWatch): the reference counts and first artists a batch
// raises, the albums, rows, names and file entries a rescan rewrites.
// finish() then adds one step: the tables' counts and those records as
// they were and as they are now. The records appended are not imaged (a
// first scan of 100,000 files appends hundreds of thousands): undo keeps
// them aside (undotail.h). Images past kStepBytes make the step a barrier that
// undo does not pass, and stop costing memory.
//
// Made before the first write of the scan or import, on the open
// database; finished or destroyed before the tables close. Inactive
// (nothing is recorded or watched) unless the database is open for
// writing, held exclusively, and no other WholeStep is active.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/history.h"
#include "engine/datafile.h"
#include "engine/noncopyable.h"

namespace tracklore {

class WholeStep : quill::NonCopyable {
 public:
  // operation: "scan" or "import"; most: the bytes of images kept at most.
  explicit WholeStep(const char* operation, size_t most = kStepBytes);
  ~WholeStep();

  // The scan or import ran to its end, or was cancelled with what it did
  // kept: its step is added, described for the messages ("scan of 'Music'
  // (12 albums added)"). Without it nothing is added: a failed one leaves
  // its last batch to recovery, which the history then sees as a change
  // not its own.
  void finish(const std::string& description);

 private:
  struct Watch : quill::RecordWatch {
    WholeStep* step = nullptr;
    int table = 0;
    void beforewrite(quill::DataFile&, int32_t recno) override { step->image(table, recno); }
  };
  bool active_ = false;
  bool overflow_ = false;  // the images passed most_ and were let go
  size_t most_;
  size_t bytes_ = 0;
  TableState from_;
  IntentEntry before_;
  std::array<int32_t, kAllTables> started_{};  // each table's records at the start
  std::array<Watch, kAllTables> watches_;
  std::unordered_set<uint64_t> imaged_;  // (table << 32 | recno)

  void image(int table, int32_t recno);
  void stop();
};

// "scan of 'Music', 'Old' (12 albums added)": the step's text for the
// messages, within the 255 bytes the history keeps of it; names that do
// not fit are counted ("'Music' and 3 more"), one too long is cut.
std::string wholesteptext(const std::string& operation, const std::vector<std::string>& names,
                          const std::string& counts);

}  // namespace tracklore
