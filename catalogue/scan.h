// Grouping the audio files of a music folder into albums.
//
// A TagSource hands over the files' tags one file at a time, in the order
// of a walk that visits each folder's files and then its sub-folders (so
// that an album's files come close together); the folder reader of tags/
// reads them with TagLib, tests give them from a table. The grouping makes
// albums of them:
//  - an album is the set of files that share the album tag and the album
//    artist (the artist where there is none), also across sub-folders (CD1,
//    Disc 2: the disc number orders them); files without an album tag form
//    an album named after their folder;
//  - songs go in order of disc, then track number, then file name; files
//    without a track number follow the numbered ones of their disc; a title
//    repeated in one album is linked twice; a file without a title is named
//    from its file name without extension and without leading digits,
//    blanks, dots, dashes and underscores;
//  - artists: the album artist first, then every track artist in song
//    order, each once;
//  - names become storable names (scantext.h); a song or artist whose name
//    cannot be stored is left out, an album whose name cannot be stored is
//    skipped whole; each is reported, and so is every cut or transliterated
//    name.
// Memory stays bounded by the largest folder, not by the library: an album
// is handed on as soon as the walk has left its home folder (the folder of
// its first file, or that folder's parent when its name is a disc folder's,
// "CD2", "Disc 1"), since no later file can belong to it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tracklore {

// The tags of one audio file, as read (UTF-8). 0 for a missing number.
struct TrackTags {
  std::string path;    // for the report
  std::string folder;  // the folder's path as walked (names a tagless album)
  std::string filename;
  std::string title, album, artist, albumartist;
  int track = 0;
  int disc = 0;
};

// What the scan tells its user about single files and names: one line each
// (path, then what happened), and counts for the summary.
class ScanNotes {
 public:
  using LineSink = std::function<void(const std::string& line)>;
  explicit ScanNotes(LineSink sink = {}) : sink_(std::move(sink)) {}

  void skipped(const std::string& path, const std::string& reason);
  void nameissue(const std::string& path, const std::string& text);

  int skippedfiles = 0;
  int cutnames = 0;
  int transliterated = 0;
  int leftout = 0;  // songs, artists and whole albums left out for their names

 private:
  LineSink sink_;
  void line(const std::string& text);
};

class TagSource {
 public:
  enum class Step { File, Skipped, End };
  virtual ~TagSource() = default;
  // The next audio file's tags (File), a file that was skipped and already
  // reported to notes (Skipped), or the end of the walk.
  virtual Step next(TrackTags* tags, ScanNotes& notes) = 0;
};

// An album ready to be catalogued: stored names (Windows-1252).
struct ScannedAlbum {
  std::string name;
  std::vector<std::string> artists;
  std::vector<std::string> songs;
  std::string folder;  // where its first file lies, for messages
};

// Reads the source to its end and hands every album to sink as soon as it is
// complete; the walk stops when sink returns false. Returns false when it
// stopped early.
bool groupalbums(TagSource& source, ScanNotes& notes,
                 const std::function<bool(ScannedAlbum& album)>& sink);

// The song name of a file without a title tag: "03 - Intro.flac" -> "Intro".
std::string titlefromfilename(const std::string& filename);

// A folder name like "CD1", "Disc 2", "disk_3".
bool isdiscfolder(const std::string& name);

}  // namespace tracklore
