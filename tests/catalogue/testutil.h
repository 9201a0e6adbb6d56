// Helpers of the catalogue tests: a scripted Host, a progress log, tags from a table, and a fixture
// with a fresh database in a scratch directory whose engine reports are captured.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/edits.h"
#include "catalogue/host.h"
#include "catalogue/relation.h"
#include "catalogue/scan.h"
#include "catalogue/scanrun.h"
#include "engine/errors.h"
#include "engine/file.h"
#include "engine/noncopyable.h"
#include "engine/rlist.h"
#include "tests/engine/testutil.h"

namespace tracklore::test {

// The call's result, with every write to a file whose name holds part failing.
template <class Call>
auto withfailingwrites(const char* part, Call call) {
  quill::File::set_write_fault([part](const quill::File& f, int32_t, int32_t) {
    return f.name().find(part) != std::string::npos;
  });
  auto result = call();
  quill::File::set_write_fault({});
  return result;
}

// Counts the data syncs that reach the file system while it lives.
class SyncCounter : public quill::File::Observer {
 public:
  SyncCounter() { quill::File::set_observer(this); }
  ~SyncCounter() override { quill::File::set_observer(nullptr); }
  int syncs = 0;
  void synced(const std::string&) override { ++syncs; }
  void created(const std::string&) override {}
  void wrote(const std::string&, int64_t, const char*, int32_t) override {}
  void truncated(const std::string&, int64_t) override {}
  void renamed(const std::string&, const std::string&) override {}
  void removed(const std::string&) override {}
  void dirsynced(const std::string&) override {}
};

// Scratch directories in memory: the engine's syncs there cost nothing.
struct TempDir : quill::test::TempDir {
  TempDir() : quill::test::TempDir(quill::test::TempPlace::Memory) {}
};
using quill::test::CapturedReports;

// While it lives, file modes bind this thread even as root (the overriding capabilities set aside),
// so that a file of mode 0444 really cannot be opened for writing.
class ModesBindRoot : quill::NonCopyable {
 public:
  ModesBindRoot();
  ~ModesBindRoot();

 private:
  bool dropped_ = false;
};

// Answers from a script and records everything it was asked.
class ScriptedHost : public Host {
 public:
  struct Message {
    std::string text, title;
    Buttons buttons;
    Icon icon;
    bool operator==(const Message&) const = default;
    friend void PrintTo(const Message& m, std::ostream* out) {
      *out << m.title << " (" << int(m.buttons) << "/" << int(m.icon) << "): " << m.text;
    }
  };
  struct Dialog {
    bool save;
    FileRequest request;
    std::vector<std::string> described() const {
      return {save ? "save" : "open", request.title, request.filter, request.defext, request.proposed};
    }
  };

  ScriptedHost();
  ~ScriptedHost() override;

  // The next answers to messages, in order; a message with none left fails the test and is refused.
  void answer(Answer a) { answers_.push_back(a); }
  void answer(std::initializer_list<Answer> list) { answers_.insert(answers_.end(), list); }
  void unscript() { answers_.clear(); }
  // The next file dialog's result: a path, or cancelled (nullopt).
  void choose(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  Answer message(const char* text, const char* title, Buttons buttons, Icon icon) override;
  bool openfile(const FileRequest& request, std::string* path) override;
  bool savefile(const FileRequest& request, std::string* path) override;
  void waitcursor(bool on) override;
  void drain() override {}
  void status(const char* text) override {
    statuses.emplace_back(text);
    if (onstatus) onstatus();
  }

  std::vector<Message> messages;
  std::vector<Dialog> dialogs;
  int waitdepth = 0;  // shown and not yet removed
  int waitshown = 0;  // times shown
  std::vector<std::string> statuses;
  // Run at each status line: what another program does while one waits.
  std::function<void()> onstatus;
  size_t unanswered() const { return answers_.size(); }

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  bool file(bool save, const FileRequest& request, std::string* path);
};

// Says Yes and OK to every question, counting them; a save dialog proposes maindb.db1 here.
class ConsentingHost : public Host {
 public:
  Answer message(const char*, const char*, Buttons b, Icon) override;
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest&, std::string* path) override;
  void waitcursor(bool) override {}
  void drain() override {}
  int asked = 0;
};

// Every live record of every table, as bytes, in a stable order; empty if the database won't open.
using Snapshot = std::vector<std::vector<std::string>>;
Snapshot snapshot();

// The current directory's regular files copied into dir (made if missing), or put back from it.
void savefiles(const std::string& dir);
void restorefiles(const std::string& dir);

// Which writes a cut counts: the tables' (the edit dies before one of them), the journal's, or all.
enum class Counted { Tables, Journal, All };
// Runs the step in a child (a consenting host) that ends before the n-th counted write (never, for
// 0); true if it was cut short. With open, on the database opened for writing and then closed.
bool runcut(const std::function<quill::ErrorCode()>& step, int n, Counted counted = Counted::Tables,
            bool open = true);

// The full names linked to an album in relation r, in order.
std::vector<std::string> linkednames(int r, int32_t album);

// A scan of the files given from a table, of the folder "m"; its error.
quill::ErrorCode scanfiles(std::vector<TrackTags> files);
// A scan of the files given from a table, which must succeed; note lines and files opened out.
ScanSummary scan(const std::vector<TrackTags>& files, ScanRunOptions options = {},
                 std::vector<std::string>* lines = nullptr, int* opened = nullptr);

// A fresh database "maindb" created in a scratch directory and opened for writing, with the
// scripted host installed and engine reports captured.
class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  int32_t add(int kind, const char* name);
  // A cursor over table 0..2 standing on the record with this code.
  std::unique_ptr<quill::Rlist> at(int table, int32_t code);
  // One field of the record with this code, read as an integer / a text.
  int32_t number(int table, int32_t code, int field);
  std::string text(int table, int32_t code, int field);
  bool exists(int table, int32_t code);
  // The rows of relation r for an album as (Seq, Attr), read past the catalogue's queries, by Seq.
  using Rows = std::vector<std::pair<int, int32_t>>;
  Rows rows(int r, int32_t title);
  // Links attribute attr at position through the catalogue; returns its code.
  quill::ErrorCode link(int r, int32_t title, int32_t attr, int position = -1);
  // Appends a row to relation r through the engine alone, bypassing the catalogue.
  void rawrow(int r, int32_t title, int seq, int32_t attr);
  // Removes the row at position of an album's relation r.
  quill::ErrorCode unlink(int r, int32_t title, int position, PurgeMode purge);
  // An album with artists (or songs) linked in this order.
  int32_t album_with(int r, const std::vector<int32_t>& attrs, const char* name = "Album");
  // n new records "item 0", "item 1"... of the kind (stored "Item 0", ...).
  std::vector<int32_t> some(int kind, int n);
  std::vector<int32_t> attrs(int r, int32_t title);
  // Albums sharing X0 and S0: the first has X0-X2 and S0-S2, the second X0, S0, S3; X3 is unused.
  void makesharedalbums();
  int32_t first_ = -1, second_ = -1;
  std::vector<int32_t> artists_, songs_;
  // Two more albums (or only the first) of a new song and S0 each, linked in batches of perbatch
  // units (an import's way); the second's names are Cyrillic, so the batch writes full names too.
  quill::ErrorCode importalbums(int perbatch, int albums = 2);
  // An album "Album" with "Gone" and "Kept" in relation r; Gone is deleted past the catalogue.
  struct Dangling { int32_t album, gone, kept; };
  Dangling dangling(int r);
  // An album's list of relation r standing on position, with its album cursor.
  struct Standing { std::unique_ptr<Relation> list; std::unique_ptr<quill::Rlist> album; };
  Standing stand(int r, int32_t title, int position);
  // The database made anew, empty, and opened for writing unless not open.
  void recreate(bool open = true);
  // The failure sweeps' single edits on makesharedalbums' albums (the unlink purges a song).
  struct NamedEdit { const char* name; std::function<quill::ErrorCode()> run; };
  std::vector<NamedEdit> singleedits();

  TempDir dir_;
  CapturedReports reports_;
  ScriptedHost host_;
  // Engine reports are a fault unless the test expects them.
  bool reports_expected_ = false;
};

// A progress context as the shell passes it (the text pointer first), logging each call with its text.
struct ProgressLog {
  const char* text = nullptr;  // set by the operation before each table
  std::vector<std::pair<std::string, int>> calls;

  static void callback(void* context, int percent) {
    auto* log = static_cast<ProgressLog*>(context);
    log->calls.emplace_back(log->text != nullptr ? log->text : "", percent);
  }
  // The lines in the order they were first shown.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& call : calls)
      if (out.empty() || out.back() != call.first) out.push_back(call.first);
    return out;
  }
  int last() const { return calls.empty() ? -1 : calls.back().second; }
  bool rising() const {
    return std::ranges::is_sorted(calls, {}, &std::pair<std::string, int>::second);
  }
};

// Tags given from a table instead of files: the TagSource of the scan tests.
// folder, file name, title, album, artist, album artist, track, disc.
inline TrackTags tagsof(const std::string& folder, const std::string& file,
                        const std::string& title, const std::string& album,
                        const std::string& artist, const std::string& albumartist = "",
                        int track = 0, int disc = 0) {
  TrackTags tags{folder + "/" + file, folder, file, title, album, {}, albumartist, track, disc};
  if (!artist.empty()) tags.artists.push_back(artist);
  return tags;
}

// Scan notes that keep every line, less its first `skip` characters (a scratch directory's path).
struct KeptNotes {
  std::vector<std::string> lines;
  ScanNotes notes;
  explicit KeptNotes(size_t skip = 0)
      : notes([this, skip](const std::string& line) { lines.push_back(line.substr(skip)); }) {}
};

class TableSource : public TagSource {
 public:
  explicit TableSource(std::vector<TrackTags> files) : files_(std::move(files)) {}
  // A file given a stat (the tests' file clock) a rescan may take as known, as the folder reader does.
  Step next(TrackTags* tags, ScanNotes&) override {
    if (at_ == files_.size()) return Step::End;
    const TrackTags& file = files_[at_++];
    if (file.stat.size >= 0 && known(file.path, file.stat)) {
      *tags = TrackTags{file.path, file.folder, file.filename};
      tags->stat = file.stat;
      return Step::Known;
    }
    ++opened_;
    *tags = file;
    return Step::File;
  }
  int opened() const { return opened_; }

 private:
  std::vector<TrackTags> files_;
  size_t at_ = 0;
  int opened_ = 0;
};

}  // namespace tracklore::test
