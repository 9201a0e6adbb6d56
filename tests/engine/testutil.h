// Helpers shared by the engine tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "engine/datafile.h"
#include "engine/descr.h"
#include "engine/errors.h"
#include "engine/file.h"
#include "engine/header.h"

#include <gtest/gtest.h>

namespace quill { class Btree; class Rlist; struct WalkSummary; }

namespace quill::test {

// Where a TempDir lies: the system's temporary directory, or memory where offered (free syncs).
enum class TempPlace { System, Memory };

// How much of the long sweeps (power cuts, cuts at every write) runs: all by default;
// TRACKLORE_SWEEP=reduced (the sanitizer pass) tries one seed and every eighth cut, since memory
// faults show as well in a few. TRACKLORE_POWERCUT_SEEDS overrides the seeds either way.
struct SweepSet {
  int seeds;   // per cut point and mode
  int stride;  // every stride-th cut point, the last one always
};
SweepSet sweepset();
// The cuts of a sweep that sweepset() takes from points, in order.
std::vector<int64_t> sweeppoints(const std::vector<int64_t>& points);

// A fresh empty directory, removed with everything in it at destruction and the current
// directory while it lives (the engine's temporary files go there).
class TempDir {
 public:
  explicit TempDir(TempPlace place = TempPlace::System);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
};

class InTempDir : public ::testing::Test {
 protected:
  TempDir dir;
};

// Collects every message the engine reports while it lives.
class CapturedReports {
 public:
  struct Message { ReportLevel level; std::string title, text; };
  CapturedReports();
  ~CapturedReports();
  const std::vector<Message>& messages() const;
  std::string text() const;  // all texts joined, for a quick EXPECT on contents
  std::vector<std::string> texts() const;
  void clear();

 private:
  Reporter saved_;
};

// The example table's fields: "C" 56, "X", "C" 2, "L".
extern const std::vector<FieldDescr> kExampleFields;

// Writes a table file with these fields and tags and no records, as the structure change would
// leave it (without an index file: DataFile::reindex makes its empty one).
ErrorCode make_table(const std::string& base, const std::vector<FieldDescr>& fields,
                     const std::vector<TagNode>& tags = {}, int namelen = 0, int pagesize = 0);

// The names table of the cursor tests, with its empty index: "Name" C 30,
// "Code" X 4 (serial), "Mark" C 4, "Aux" L 4; tags on Name and on Code.
ErrorCode make_names(const std::string& base, int pagesize = 0);
// Appends a record of the names table; renames the current one.
ErrorCode add(Rlist& r, const std::string& name, long aux = 0);
ErrorCode rename(Rlist& r, const std::string& name);

// How table `base` opens (read-only unless told), closed again at once.
ErrorCode opens(const std::string& base, OpenMode mode = {.readonly = true});

// The integrity check of table `base` passes (its notes, and only they, in *notes if given).
::testing::AssertionResult sound(const std::string& base, std::vector<std::string>* notes = nullptr);

// Appends whole records (status byte last) as they lie on disk and counts them in the header as
// the cursor would; no index is touched.
void append_raw(const std::string& base, const std::vector<std::vector<unsigned char>>& records);

// A number as the engine stores it in keys and record numbers (big-endian).
std::vector<uint8_t> be32(int32_t v);
// A text and its NUL: a stored key of a CF_VAR component and a search key alike.
std::vector<uint8_t> textkey(const std::string& s);

std::vector<unsigned char> read_all(const std::string& path);
// Bytes as lower-case hex, two digits each, for golden-bytes fixtures.
std::string hex(const std::vector<unsigned char>& bytes);
void write_all(const std::string& path, const std::vector<unsigned char>& bytes);

// The header of table `base` as its file holds it (descriptors included where the table opens;
// the fixed head alone where it does not).
Header header_of(const std::string& base);

// Record n of table `base` straight from its file, status byte included; empty past the end.
std::vector<unsigned char> record_at(const std::string& base, int n);

// The names in the current directory.
std::set<std::string> entries();

// Every file of the current directory with its bytes: what a refused or failed change must leave
// exactly as it found it.
using DirContents = std::map<std::string, std::vector<unsigned char>>;
DirContents dir_contents();

// Runs body in a child process (for what may end the process) and waits:
// the child's exit code (0 when body returns), or -1 when it did not exit.
int run_child(const std::function<void()>& body);

// Keeps every value a Progress reports, in order (its report and argument).
struct ProgressLog {
  std::vector<int> values;
  static void add(void* log, int value) { static_cast<ProgressLog*>(log)->values.push_back(value); }
  int last() const { return values.empty() ? -1 : values.back(); }  // -1: nothing reported
};

// One page of a tree as its structure walk shows it (level 1: the root).
struct PageView {
  int32_t offset, parent;
  int level;
  bool halffull;
  std::vector<std::pair<std::vector<uint8_t>, int32_t>> entries;  // key, record number
  std::vector<int32_t> children;
};
// Every page of `tree`, root first, as its walk shows it; the walk's problems go to *problems.
std::vector<PageView> pageviews(Btree& tree, std::vector<std::string>* problems, WalkSummary* summary = nullptr);

// Makes writes to the temporary files (those ending in `extension`, if given) fail from a byte
// position on; undone when it goes out of scope.
struct WriteFault {
  explicit WriteFault(int32_t from, const std::string& extension = "");
  ~WriteFault();
  WriteFault(const WriteFault&) = delete;
  WriteFault& operator=(const WriteFault&) = delete;
};

// While it lives the system refuses calls of one kind with `error` (ENOSPC: a full disk), from the
// `from`-th of them on (counted from 1), in files whose name holds `part`; it stays refused, as a
// full disk stays full, unless `once`: then only that call is refused (space freed at once).
class RefusedCalls {
 public:
  RefusedCalls(File::Call call, int error, int from = 1, std::string part = "", bool once = false);
  ~RefusedCalls();
  RefusedCalls(const RefusedCalls&) = delete;
  RefusedCalls& operator=(const RefusedCalls&) = delete;
  bool met() const { return *seen_ >= from_; }

 private:
  std::shared_ptr<int> seen_;
  int from_;
};

}  // namespace quill::test
