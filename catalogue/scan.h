// Grouping the audio files of a scan into albums.
//
// A TagSource hands over the files' tags one file at a time; the folder
// reader of tags/ reads them with TagLib, tests give them from a table. The
// grouping reads the whole source first (every tag of the scan is held in
// memory, names interned once), because an album's files may lie anywhere
// in the scan: split over folders, copied into a playlist folder, reached
// through a link. Then:
//  - an album is every file that shares the album tag and the album artist
//    (letter case aside). The album artist is the file's album artist tag;
//    without one a compilation flag makes it "Various Artists"; without
//    either, the files of one folder that share an album tag are one album
//    (their artist, when they all have the same first one, joins them with
//    files of that album artist elsewhere);
//  - a file without an album tag (or with a ripper's "Unknown Album") takes
//    the album name from its folder; a folder named like a disc ("CD1",
//    "Disc Two", "Name (Disc 2)") gives the disc number, and its parent (or
//    the rest of its name) the album name.
//    Files without an album tag are one album per such folder;
//  - songs go in order of disc, then track number, then file name; files
//    without a track number follow the numbered ones of their disc. A file
//    whose disc, track and title repeat one before it in the album is a copy
//    (FLAC and MP3 side by side, a playlist folder): linked once, reported;
//  - artists: the album artist first, then every value of every track's
//    artist tag in song order, each once;
//  - names are full names (storedform.h: DB_FullForm); nothing is left out
//    for its characters. Every name whose stored form is transliterated,
//    cut or a stand-in is reported once, with the places it was used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tracklore {

// What a stat of an audio file says of it: a file whose path and stat are
// those the last scan saw is taken as unchanged and not opened again.
struct FileStat {
  int64_t size = -1;
  int64_t seconds = 0;  // modification time
  int32_t nanoseconds = 0;
  bool operator==(const FileStat&) const = default;
};

// The tags of one audio file, as read (UTF-8). 0 for a missing number.
struct TrackTags {
  std::string path;    // for the report
  std::string folder;  // the folder's path as walked (names a tagless album)
  std::string filename;
  std::string title, album;
  std::vector<std::string> artists;  // every value of the artist tag, in order
  std::string albumartist;
  int track = 0;
  int disc = 0;
  bool compilation = false;
  FileStat stat;
};

// What the scan tells its user about files and names: one line each (path,
// then what happened) to the sink, and counts for the summary.
class ScanNotes {
 public:
  using LineSink = std::function<void(const std::string& line)>;
  explicit ScanNotes(LineSink sink = {}) : sink_(std::move(sink)) {}

  // An audio file or a folder that could not be read.
  void skipped(const std::string& path, const std::string& reason);
  // A file that is not audio (cover.jpg): counted, not reported.
  void notaudio() { ++notaudiofiles; }
  // A file or folder not read because its name begins with a dot.
  void hidden() { ++hiddenentries; }
  void line(const std::string& text);

  int skippedfiles = 0;
  int notaudiofiles = 0;
  int hiddenentries = 0;
  int copies = 0;  // files linked once as copies of another
  // Names reported for their stored form, each counted once.
  int transliterated = 0, cut = 0, standins = 0, mended = 0;

 private:
  LineSink sink_;
};

class TagSource {
 public:
  enum class Step { File, Known, Skipped, End };
  using KnownTest = std::function<bool(const std::string& path, const FileStat& stat)>;
  virtual ~TagSource() = default;
  // The next audio file's tags (File), a file that known() took as
  // unchanged and that was not opened (Known: path, folder, filename and
  // stat only), a file or folder that was skipped and already noted
  // (Skipped), or the end of the walk.
  virtual Step next(TrackTags* tags, ScanNotes& notes) = 0;
  // A rescan's test of a file's path and stat, made before it is opened.
  void setknown(KnownTest known) { known_ = std::move(known); }

 protected:
  bool known(const std::string& path, const FileStat& stat) const { return known_ && known_(path, stat); }

 private:
  KnownTest known_;
};

// An album ready to be catalogued: full names (UTF-8).
struct ScannedAlbum {
  std::string name;
  std::vector<std::string> artists;
  std::vector<std::string> songs;
  std::string folder;  // where its first file lies, for messages
  // Every file of the album with the song it gave (a copy the song it
  // repeats), in song order.
  struct Source {
    std::string path;
    int song = 0;  // index into songs
    int disc = 0, track = 0;
    FileStat stat;
    uint32_t group = 0;  // hash of the file's album and album artist tags as read
    // Its album artist (empty without one) and artists, as full names: a
    // rescan makes an album's artists those of all its files.
    std::string albumartist;
    std::vector<std::string> artists;
  };
  std::vector<Source> sources;
  // The album's tag identity (folded name and album artist or first
  // artist): a rescan finds by it the album its files went to, whatever
  // the album was renamed to since.
  std::string identity;
};

// Reads the source to its end, then hands every album to sink in the order
// of their first files; stops when sink returns false. Returns false when it
// stopped early.
bool groupalbums(TagSource& source, ScanNotes& notes,
                 const std::function<bool(ScannedAlbum& album)>& sink);

}  // namespace tracklore
