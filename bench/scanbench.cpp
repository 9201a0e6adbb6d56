// scanbench: the music-folder scan on generated libraries of tagged files.
// usage: scanbench [N [LIBDIR [DBDIR [ROUNDS]]]] (defaults 10000,
// /tmp/scanbench, LIBDIR, 1); both are removed at the end.
//
// It makes a library of N tiny tagged files (silence made by the same code
// that the tag tests use; one template per format, copied and tagged
// through TagLib) under a temporary directory, in folders Artist/Album of
// ten tracks, one file in fifty copied into a playlist folder, song titles
// drawn from a pool so that songs are shared, names
// in four scripts (Latin, Cyrillic, Japanese, Vietnamese), and measures
// apart:
//   reading  the folder walk and TagLib over every file, page cache warm
//            (a first untimed pass warms it);
//   cataloguing  the grouping and the catalogue's edits in batch mode, fed
//            from the tags read before, into an empty catalogue, and then
//            of a second library into the catalogue that holds the first;
//   whole scan  reading and cataloguing together, with the peak resident
//            set: every tag of the scan is held until its albums are
//            made, so it grows with the library (under 150 MiB at 100,000);
//   rescans  the same folder again, unchanged (a stat of each file, none
//            opened), then with one file in a hundred retagged (a new
//            title), each with its peak resident set; ROUNDS times, the
//            same files retagged anew each round;
//   undo     each scan is one step of the undo history, whose size is
//            given after it: every rescan undone, then the whole scan,
//            then the whole scan redone.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "catalogue/history.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/scanrun.h"
#include "catalogue/tableset.h"
#include "catalogue/undo.h"
#include "engine/errors.h"
#include "tags/folderreader.h"
#include "tags/tagreader.h"
#include "tests/tags/audiofiles.h"

namespace {

namespace fs = std::filesystem;

// The process's processor time: on a machine shared with other work the
// wall clock says more about the others than about the scan.
double cpuseconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Timed {
  double wall = 0, cpu = 0;
};

class Clocks {
 public:
  Clocks() : cpu_(cpuseconds()) {}
  Timed elapsed() const { return {wall_.seconds(), cpuseconds() - cpu_}; }

 private:
  bench::Stopwatch wall_;
  double cpu_;
};

void line(const char* what, int count, const char* unit, const Timed& t, const std::string& note) {
  std::printf("%-12s %8.0f %s/s wall, %8.0f %s/s processor  (%s)\n", what, count / t.wall, unit,
              count / t.cpu, unit, note.c_str());
}

// Chooses the database's main file without asking.
class FixedHost : public tracklore::Host {
 public:
  std::string path;
  tracklore::Answer message(const char*, const char*, tracklore::Buttons, tracklore::Icon) override {
    return tracklore::Answer::OK;
  }
  bool openfile(const tracklore::FileRequest&, std::string* chosen) override {
    *chosen = path;
    return true;
  }
  bool savefile(const tracklore::FileRequest&, std::string* chosen) override {
    *chosen = path;
    return true;
  }
  void waitcursor(bool) override {}
  void drain() override {}
};

struct Library {
  std::string root;
  int files = 0;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Library makelibrary(const std::string& root, int n, const std::string& prefix, uint64_t seed) {
  std::vector<std::pair<std::string, std::string>> templates;  // extension, bytes
  for (const char* format : {"mp3", "flac", "ogg", "m4a", "wav"}) {
    const std::string path = root + ".template." + format;
    std::string problem;
    if (tracklore::test::makeaudio(format, path, &problem)) templates.push_back({format, slurp(path)});
    std::remove(path.c_str());
  }
  if (templates.empty()) {
    std::fprintf(stderr, "scanbench: no audio file could be made\n");
    std::exit(1);
  }
  std::mt19937_64 random(seed);
  Library lib{root, n};
  for (int i = 0; i < n; ++i) {
    const int album = i / 10, track = i % 10 + 1;
    // A quarter of the names in each script that the stored form
    // transliterates, so that the scan pays for ICU as a real collection does.
    static const char* const kArtists[] = {" Artist ", " Артист ", " アーティスト ", " Nghệ sĩ "};
    static const char* const kSongs[] = {"Song ", "Песня ", "歌 ", "Canción "};
    const std::string artist = prefix + kArtists[(album / 5) % 4] + std::to_string(album / 5);
    const std::string folder = root + "/" + artist + "/" + prefix + " Album " + std::to_string(album);
    if (track == 1) fs::create_directories(folder);
    const auto& [extension, bytes] = templates[static_cast<size_t>(album) % templates.size()];
    const std::string path = folder + "/" + std::to_string(track) + "." + extension;
    std::ofstream(path, std::ios::binary) << bytes;
    tracklore::test::Tags tags;
    const uint64_t song = random() % 20000;
    tags.title = kSongs[song % 4] + std::to_string(song);
    tags.album = prefix + " Album " + std::to_string(album);
    tags.artist = artist;
    tags.track = std::to_string(track) + "/10";
    tags.disc = "1";
    if (!tracklore::test::writetags(path, tags)) {
      std::fprintf(stderr, "scanbench: cannot tag %s\n", path.c_str());
      std::exit(1);
    }
    // One file in fifty is also copied into a playlist folder, as
    // collections have them: the scan links each such song once.
    if (i % 50 == 0) {
      fs::create_directories(root + "/Playlist");
      fs::copy_file(path, root + "/Playlist/" + std::to_string(i) + "." + extension);
      ++lib.files;
    }
  }
  return lib;
}

// The tags of a library in walk order, read once.
class RecordedSource : public tracklore::TagSource {
 public:
  std::vector<tracklore::TrackTags> files;
  size_t at = 0;
  Step next(tracklore::TrackTags* tags, tracklore::ScanNotes&) override {
    if (at == files.size()) return Step::End;
    *tags = files[at++];
    return Step::File;
  }
};

Timed readall(const Library& lib, RecordedSource* keep) {
  tracklore::tags::FolderReader reader({lib.root});
  tracklore::ScanNotes notes;
  tracklore::TrackTags tags;
  Clocks clock;
  int read = 0;
  for (tracklore::TagSource::Step step; (step = reader.next(&tags, notes)) != tracklore::TagSource::Step::End;)
    if (step == tracklore::TagSource::Step::File) {
      ++read;
      if (keep != nullptr) keep->files.push_back(tags);
    }
  const Timed t = clock.elapsed();
  if (read != lib.files) std::fprintf(stderr, "scanbench: read %d of %d files\n", read, lib.files);
  return t;
}

Timed catalogue(tracklore::TagSource& source, int* tracks) {
  tracklore::ScanNotes notes;
  tracklore::ScanSummary summary;
  Clocks clock;
  if (tracklore::DB_ScanMusic(source, notes, {}, &summary) != 0) {
    std::fprintf(stderr, "scanbench: the scan failed\n");
    std::exit(1);
  }
  const Timed t = clock.elapsed();
  *tracks = summary.counts.filesread;
  std::printf("%-12s %8d songs in %d albums of %d files (%d copies)\n", "found", summary.tally.songs,
              summary.tally.albums(), summary.counts.filesread, notes.copies);
  return t;
}

void newdatabase(FixedHost& host, const std::string& dir) {
  fs::create_directories(dir);
  host.path = dir + "/maindb.db1";
  tracklore::DB_Close();
  if (tracklore::DB_Create() != 0 || tracklore::DB_Open() != 0) {
    std::fprintf(stderr, "scanbench: cannot create the catalogue in %s\n", dir.c_str());
    std::exit(1);
  }
}

// The undo history's file: it is written whole at every edit.
std::string historysize() {
  std::error_code error;
  const auto bytes = fs::file_size(tracklore::DB_HistoryName(), error);
  return error ? std::string("no undo history") : "undo history " + std::to_string(bytes / 1024) + " KiB";
}

// A rescan of the library by the wall clock, with its peak resident set.
void rescan(const Library& lib, const tracklore::ScanRunOptions& options, const char* what) {
  bench::reset_peak();
  tracklore::tags::FolderReader reader({lib.root});
  tracklore::ScanNotes notes;
  tracklore::ScanSummary summary;
  Clocks clock;
  if (tracklore::DB_ScanMusic(reader, notes, options, &summary) != 0) {
    std::fprintf(stderr, "scanbench: the rescan failed\n");
    std::exit(1);
  }
  const Timed t = clock.elapsed();
  std::printf("%-12s %.2f s wall, %.2f s processor: %d files not opened, %d read, %d albums changed "
              "(%s; peak resident set %.1f MiB; %s)\n",
              "rescan", t.wall, t.cpu, summary.counts.filesknown, summary.counts.filesread,
              summary.follow.changed, what, bench::peak_mib(), historysize().c_str());
}

// Undoes (or redoes) the last step, with the database opened again after.
void undo(tracklore::UndoWay way) {
  std::string message;
  Clocks clock;
  const int rc = tracklore::DB_Undo(way, &message);
  const Timed t = clock.elapsed();
  if (rc != 0 || tracklore::DB_Open() != 0) {
    std::fprintf(stderr, "scanbench: %s\n", message.c_str());
    std::exit(1);
  }
  std::printf("%-12s %.2f s wall, %.2f s processor: %s\n", way == tracklore::UndoWay::Undo ? "undo" : "redo",
              t.wall, t.cpu, message.c_str());
}

// Gives one file in every `every` of the library a new title.
void retag(const Library& lib, int every, int round) {
  int n = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(lib.root)) {
    if (!entry.is_regular_file() || n++ % every != 0) continue;
    tracklore::TrackTags read;
    std::string reason;
    if (!tracklore::tags::readtags(entry.path().string(), &read, &reason)) continue;
    tracklore::test::Tags tags;
    tags.title = "Retagged " + std::to_string(round) + "." + std::to_string(n);
    tags.album = read.album;
    tags.artist = read.artists.empty() ? "" : read.artists.front();
    tags.albumartist = read.albumartist;
    tags.track = std::to_string(read.track);
    tags.disc = std::to_string(read.disc);
    if (!tracklore::test::writetags(entry.path().string(), tags)) {
      std::fprintf(stderr, "scanbench: cannot retag %s\n", entry.path().c_str());
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  quill::install_alloc_check();
  int n = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (n < 10) n = 10;
  const std::string base = argc > 2 ? argv[2] : (fs::temp_directory_path() / "scanbench").string();
  fs::remove_all(base);
  const std::string work = fs::absolute(base).string();
  fs::create_directories(work);
  // The catalogues on a disk (tmpfs would make its forced writes free),
  // the libraries wherever asked.
  const std::string dbs = argc > 3 ? fs::absolute(argv[3]).string() : work;
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
  fs::create_directories(dbs);
  FixedHost host;
  tracklore::DB_SetHost(&host);

  std::printf("library of %d files in %s\n", n, work.c_str());
  bench::Stopwatch making;
  const Library first = makelibrary(work + "/first", n, "First", 1);
  const Library second = makelibrary(work + "/second", 10000 < n ? 10000 : n, "Second", 2);
  std::printf("made in %.1f s\n", making.seconds());

  readall(first, nullptr);  // warms the page cache
  RecordedSource recorded;
  const Timed reading = readall(first, &recorded);
  line("reading tags", first.files, "files", reading, std::to_string(first.files) + " files, warm cache");

  newdatabase(host, dbs + "/db1");
  int tracks = 0;
  const Timed empty = catalogue(recorded, &tracks);
  line("cataloguing", tracks, "tracks", empty, std::to_string(tracks) + " tracks into an empty catalogue");
  RecordedSource more;
  readall(second, &more);
  const Timed full = catalogue(more, &tracks);
  line("cataloguing", tracks, "tracks", full,
       std::to_string(tracks) + " tracks into one of " + std::to_string(n) + "; " + historysize());
  tracklore::DB_Close();
  recorded.files.clear();
  recorded.files.shrink_to_fit();
  more.files.clear();
  more.files.shrink_to_fit();

  newdatabase(host, dbs + "/db2");
  bench::reset_peak();
  const double before = bench::rss_mib();
  tracklore::tags::FolderReader reader({first.root});
  tracklore::ScanNotes notes;
  tracklore::ScanSummary summary;
  Clocks whole;
  tracklore::ScanRunOptions options;
  options.folders = {first.root};
  if (tracklore::DB_ScanMusic(reader, notes, options, &summary) != 0) return 1;
  char memory[160];
  std::snprintf(memory, sizeof memory, "peak resident set %.1f MiB, %.1f MiB before; %s", bench::peak_mib(),
                before, historysize().c_str());
  line("whole scan", summary.counts.filesread, "files", whole.elapsed(), memory);
  // Each round retags the same files anew.
  for (int round = 1; round <= rounds; ++round) {
    rescan(first, options, "unchanged");
    retag(first, 100, round);
    rescan(first, options, "1% retagged");
  }
  for (int round = 1; round <= rounds; ++round) undo(tracklore::UndoWay::Undo);
  undo(tracklore::UndoWay::Undo);
  undo(tracklore::UndoWay::Redo);
  tracklore::DB_Close();
  fs::remove_all(work);
  fs::remove_all(dbs + "/db1");
  fs::remove_all(dbs + "/db2");
  return 0;
}
