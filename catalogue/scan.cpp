// Grouping a whole scan's audio files into albums.
#include "catalogue/scan.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "catalogue/scanfilenames.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"

namespace tracklore {

void ScanNotes::line(const std::string& text) {
  if (sink_) sink_(text);
}

void ScanNotes::skipped(const std::string& path, const std::string& reason) {
  ++skippedfiles;
  line(textf(DB_Tr("Catalogue", "%s: skipped: %s"), path.c_str(), reason.c_str()));
}

namespace {

constexpr const char* kVariousArtists = "Various Artists";
constexpr const char* kUntitled = "Untitled";

// What a folder says of the albums of its files.
struct Folder {
  std::string path;
  std::string home;                   // the album's folder: a disc folder's parent
  std::string given;                  // the album name of files without an album tag,
  const std::string* name = nullptr;  // and its full form once a file needs it
  int disc = 0;                       // from a disc folder's name
};

// One file as read, its names interned in the ledger.
struct File {
  uint32_t folder;
  std::string filename;
  const std::string* title;        // tag, else from the file name
  const std::string* album;        // empty when the file has no album tag
  const std::string* albumartist;  // tag, else "Various Artists" for a compilation, else empty
  std::vector<const std::string*> artists;
  int track, disc;
  FileStat stat;
};

// What rippers write when they found no album ("Unknown Album", Windows
// Media Player's "Unknown album (12/7/2026 4:31 PM)"): two such rips are not
// one album, so their folders name them.
bool placeholderalbum(const std::string& album) {
  const size_t begin = album.find_first_not_of(" \t");
  return begin != std::string::npos && foldedname(album.substr(begin, 13)) == "unknown album";
}

std::string parentof(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::string lastname(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

class Grouping {
 public:
  explicit Grouping(ScanNotes& notes) : notes_(notes) {}

  void add(TrackTags& tags);
  // The albums, in the order of their first files.
  bool handon(const std::function<bool(ScannedAlbum& album)>& sink);

 private:
  ScanNotes& notes_;
  NameLedger names_;
  std::vector<Folder> folders_;
  std::unordered_map<std::string, uint32_t> folderindex_;
  std::vector<File> files_;

  uint32_t folder(const std::string& path);
  std::string path(const File& file) const { return folders_[file.folder].path + "/" + file.filename; }
  const std::string& albumname(const File& file) const {
    return file.album->empty() ? *folders_[file.folder].name : *file.album;
  }
  std::vector<std::vector<uint32_t>> albums() const;
  const std::string& order(std::vector<uint32_t>& album) const;
  ScannedAlbum complete(std::vector<uint32_t>& album);
};

uint32_t Grouping::folder(const std::string& path) {
  auto [at, fresh] = folderindex_.try_emplace(path, static_cast<uint32_t>(folders_.size()));
  if (!fresh) return at->second;
  Folder f;
  f.path = path;
  std::string name = lastname(path);
  const DiscFolder disc = discfolder(name);
  f.home = path;
  if (disc.disc > 0) {
    f.disc = disc.disc;
    // Discs of one album lie side by side: they share a home, their parent
    // for "CD1", a folder of the name without the disc for "Name (Disc 1)".
    const std::string parent = parentof(path);
    if (disc.album.empty()) {
      f.home = parent;
      name = lastname(parent);
    } else {
      name = disc.album;
      f.home = parent + "/" + disc.album;
    }
  }
  f.given = std::move(name);
  folders_.push_back(std::move(f));
  return at->second;
}

void Grouping::add(TrackTags& tags) {
  File file;
  file.folder = folder(tags.folder);
  Folder& where = folders_[file.folder];
  file.filename = std::move(tags.filename);
  const std::string here = where.path + "/" + file.filename;
  file.title = names_.full(Kind::Song, tags.title, here);
  if (file.title->empty()) file.title = names_.full(Kind::Song, titlefromfilename(file.filename), here);
  // A catalogued name is never empty ("   .mp3" has no name but its file's).
  if (file.title->empty()) file.title = names_.full(Kind::Song, kUntitled, here);
  file.album = names_.full(Kind::Album, placeholderalbum(tags.album) ? std::string() : tags.album, where.path);
  // Only a name that an album bears is reported.
  if (file.album->empty() && where.name == nullptr) {
    where.name = names_.full(Kind::Album, where.given, where.path);
    if (where.name->empty()) where.name = names_.full(Kind::Album, kUntitled, where.path);
  }
  file.albumartist = names_.full(Kind::Artist, tags.albumartist, where.path);
  if (file.albumartist->empty() && tags.compilation)
    file.albumartist = names_.full(Kind::Artist, kVariousArtists, where.path);
  for (const std::string& value : tags.artists) {
    const std::string* artist = names_.full(Kind::Artist, value, where.path);
    if (!artist->empty()) file.artists.push_back(artist);
  }
  file.track = tags.track;
  file.stat = tags.stat;
  file.disc = tags.disc > 0 ? tags.disc : where.disc;
  files_.push_back(std::move(file));
}

// The files of each album, albums in the order of their first files.
std::vector<std::vector<uint32_t>> Grouping::albums() const {
  // Files without an album artist are first taken together by folder and
  // album name; such a unit whose files all have one first artist is that
  // artist's album, to be joined with its files elsewhere.
  std::unordered_map<std::string, std::string> unitartist;  // unit -> folded artist, "\n" for mixed
  const auto unitof = [&](const File& f) {
    return folders_[f.folder].home + '\n' + (f.album->empty() ? "" : "\x01") + foldedname(albumname(f));
  };
  for (const File& f : files_) {
    if (!f.album->empty() && !f.albumartist->empty()) continue;
    const std::string artist = f.artists.empty() ? "\n" : foldedname(*f.artists.front());
    auto [at, fresh] = unitartist.try_emplace(unitof(f), artist);
    if (!fresh && at->second != artist) at->second = "\n";
  }
  std::unordered_map<std::string, uint32_t> index;
  std::vector<std::vector<uint32_t>> out;
  for (uint32_t i = 0; i < files_.size(); ++i) {
    const File& f = files_[i];
    std::string key;
    if (f.album->empty()) {
      // Without an album tag, the folder is the album.
      key = "\x02" + unitof(f);
    } else if (!f.albumartist->empty()) {
      key = foldedname(*f.album) + '\n' + foldedname(*f.albumartist);
    } else {
      const std::string& artist = unitartist.at(unitof(f));
      key = artist == "\n" ? "\x02" + unitof(f) : foldedname(*f.album) + '\n' + artist;
    }
    auto [at, fresh] = index.try_emplace(std::move(key), static_cast<uint32_t>(out.size()));
    if (fresh) out.emplace_back();
    out[at->second].push_back(i);
  }
  return out;
}

// Sorts an album's files into song order; returns the home that holds most
// of them. Of files with the same disc and track, those of that home come
// first, so that a copy elsewhere (a playlist folder) is the one left out.
const std::string& Grouping::order(std::vector<uint32_t>& album) const {
  std::unordered_map<std::string_view, int> homes;
  const std::string* main = &folders_[files_[album.front()].folder].home;
  for (uint32_t i : album) {
    const std::string& home = folders_[files_[i].folder].home;
    if (++homes[home] > homes[*main]) main = &home;
  }
  const auto before = [&](uint32_t x, uint32_t y) {
    const File& a = files_[x];
    const File& b = files_[y];
    const int da = a.disc > 0 ? a.disc : 1, db = b.disc > 0 ? b.disc : 1;
    if (da != db) return da < db;
    if ((a.track == 0) != (b.track == 0)) return a.track != 0;
    if (a.track != b.track) return a.track < b.track;
    const bool ahome = folders_[a.folder].home == *main, bhome = folders_[b.folder].home == *main;
    if (ahome != bhome) return ahome;
    if (a.filename != b.filename) return a.filename < b.filename;
    return folders_[a.folder].path < folders_[b.folder].path;
  };
  std::stable_sort(album.begin(), album.end(), before);
  return *main;
}

ScannedAlbum Grouping::complete(std::vector<uint32_t>& files) {
  ScannedAlbum album;
  album.name = albumname(files_[files.front()]);
  album.folder = order(files);
  album.identity = foldedname(album.name);
  std::unordered_set<std::string> artists;
  const auto addartist = [&](const std::string* name) {
    if (artists.insert(foldedname(*name)).second) album.artists.push_back(*name);
  };
  for (uint32_t i : files)
    if (!files_[i].albumartist->empty()) {
      addartist(files_[i].albumartist);
      break;
    }
  const auto source = [&](const File& f, size_t song) {
    const std::string group = foldedname(*f.album) + '\n' + foldedname(*f.albumartist);
    uint32_t hash = 2166136261u;
    for (unsigned char c : group) hash = (hash ^ c) * 16777619u;
    ScannedAlbum::Source& made = album.sources.emplace_back(
        ScannedAlbum::Source{path(f), static_cast<int>(song), f.disc, f.track, f.stat, hash, *f.albumartist, {}});
    for (const std::string* artist : f.artists) made.artists.push_back(*artist);
  };
  // A copy repeats a song's disc, track and title; the first is kept.
  std::unordered_map<std::string, uint32_t> songs;
  std::unordered_map<uint32_t, int> songof;  // file -> its song's index
  for (uint32_t i : files) {
    const File& f = files_[i];
    const int disc = f.disc > 0 ? f.disc : 1;
    auto [kept, fresh] = songs.try_emplace(textf("%d.%d.", disc, f.track) + foldedname(*f.title), i);
    if (!fresh) {
      source(f, static_cast<size_t>(songof[kept->second]));
      ++notes_.copies;
      notes_.line(textf(
          DB_Tr("Catalogue", "%s: a copy of %s (disc %d, track %d, \"%s\"): linked once"),
          path(f).c_str(), path(files_[kept->second]).c_str(), disc, f.track, f.title->c_str()));
      continue;
    }
    for (const std::string* artist : f.artists) addartist(artist);
    songof[i] = static_cast<int>(album.songs.size());
    source(f, album.songs.size());
    album.songs.push_back(*f.title);
  }
  if (!album.artists.empty()) album.identity += "\n" + foldedname(album.artists.front());
  return album;
}

bool Grouping::handon(const std::function<bool(ScannedAlbum& album)>& sink) {
  names_.report(notes_);
  std::vector<std::vector<uint32_t>> all = albums();
  for (std::vector<uint32_t>& files : all) {
    ScannedAlbum album = complete(files);
    std::vector<uint32_t>().swap(files);
    if (!sink(album)) return false;
  }
  return true;
}

}  // namespace

bool groupalbums(TagSource& source, ScanNotes& notes,
                 const std::function<bool(ScannedAlbum& album)>& sink) {
  Grouping grouping(notes);
  TrackTags tags;
  for (;;) {
    const TagSource::Step step = source.next(&tags, notes);
    if (step == TagSource::Step::End) break;
    if (step == TagSource::Step::File) grouping.add(tags);
    tags = TrackTags();
  }
  return grouping.handon(sink);
}

}  // namespace tracklore
