// Grouping a walk's audio files into albums, an album at a time.
#include "catalogue/scan.h"

#include <algorithm>
#include <cctype>
#include <list>
#include <utility>

#include "catalogue/scantext.h"
#include "catalogue/schema.h"

namespace tracklore {

void ScanNotes::line(const std::string& text) {
  if (sink_) sink_(text);
}

void ScanNotes::skipped(const std::string& path, const std::string& reason) {
  ++skippedfiles;
  line(path + ": skipped: " + reason);
}

void ScanNotes::nameissue(const std::string& path, const std::string& text) { line(path + ": " + text); }

std::string titlefromfilename(const std::string& filename) {
  std::string stem = filename.substr(0, filename.rfind('.'));
  const size_t begin = stem.find_first_not_of("0123456789 .-_");
  // A name that is all numbering keeps its numbers rather than vanish.
  return begin == std::string::npos ? stem : stem.substr(begin);
}

bool isdiscfolder(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t at;
  if (lower.rfind("cd", 0) == 0) at = 2;
  else if (lower.rfind("disc", 0) == 0 || lower.rfind("disk", 0) == 0) at = 4;
  else return false;
  while (at < lower.size() && (lower[at] == ' ' || lower[at] == '_' || lower[at] == '-')) ++at;
  if (at == lower.size() || !std::isdigit(static_cast<unsigned char>(lower[at]))) return false;
  while (at < lower.size() && std::isdigit(static_cast<unsigned char>(lower[at]))) ++at;
  return at == lower.size();
}

namespace {

std::string basename(const std::string& folder) {
  const size_t slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
  std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  if (!name.empty() && name.back() == '/') name.pop_back();
  return name;
}

std::string parent(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

bool within(const std::string& folder, const std::string& home) {
  return folder == home || home.empty() ||
         (folder.size() > home.size() && folder.compare(0, home.size(), home) == 0 &&
          folder[home.size()] == '/');
}

bool blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

struct PendingAlbum {
  bool tagless = false;
  std::string album;      // the album tag, or the folder of a tagless album
  std::string keyartist;  // the album artist, or the artist
  std::string home;
  std::vector<TrackTags> files;
};

const char* kindword(int kind) { return KindNames[kind][SingularForm]; }

// The stored form of one name, with its cut or transliteration reported;
// false (reported as left out) when it cannot be stored.
bool storable(int kind, const std::string& text, const std::string& where, ScanNotes& notes,
              std::string* stored) {
  StoredName name = storablename(kind, text);
  if (name.fate == NameFate::Unstorable) {
    ++notes.leftout;
    notes.nameissue(where, std::string(kind == TitleTable ? "album skipped" : std::string(kindword(kind)) + " left out") +
                               ": the " + kindword(kind) + " name \"" + text + "\" cannot be stored");
    return false;
  }
  if (name.fate == NameFate::Transliterated) {
    ++notes.transliterated;
    notes.nameissue(where, std::string(kindword(kind)) + " name \"" + text + "\" stored as \"" +
                               utf8fromstored(name.stored) + "\"");
  }
  if (name.cut) {
    ++notes.cutnames;
    notes.nameissue(where, std::string(kindword(kind)) + " name cut to " +
                               std::to_string(kNameLength[kind] - 1) + " characters: \"" +
                               utf8fromstored(name.stored) + "\"");
  }
  *stored = std::move(name.stored);
  return true;
}

bool songorder(const TrackTags& a, const TrackTags& b) {
  const int da = a.disc > 0 ? a.disc : 1, db = b.disc > 0 ? b.disc : 1;
  if (da != db) return da < db;
  if ((a.track == 0) != (b.track == 0)) return a.track != 0;
  if (a.track != b.track) return a.track < b.track;
  return a.filename < b.filename;
}

void addartist(const std::string& text, const std::string& where, ScanNotes& notes,
               std::vector<std::string>* artists) {
  std::string stored;
  if (blank(text) || !storable(ArtistTable, text, where, notes, &stored) || stored.empty()) return;
  if (std::find(artists->begin(), artists->end(), stored) == artists->end())
    artists->push_back(std::move(stored));
}

// The album's stored names; false when its name cannot be stored.
bool complete(PendingAlbum& pending, ScanNotes& notes, ScannedAlbum* album) {
  std::stable_sort(pending.files.begin(), pending.files.end(), songorder);
  const TrackTags& first = pending.files.front();
  album->folder = first.folder;
  const std::string name = pending.tagless ? basename(pending.album) : pending.album;
  if (!storable(TitleTable, name, first.folder, notes, &album->name)) return false;
  if (album->name.empty()) {
    ++notes.leftout;
    notes.nameissue(first.folder, "album skipped: it has no name");
    return false;
  }
  for (const TrackTags& file : pending.files)
    if (!blank(file.albumartist)) {
      addartist(file.albumartist, file.path, notes, &album->artists);
      break;
    }
  for (const TrackTags& file : pending.files) {
    addartist(file.artist, file.path, notes, &album->artists);
    std::string song;
    const std::string& title = blank(file.title) ? titlefromfilename(file.filename) : file.title;
    if (!storable(SongTable, title, file.path, notes, &song)) continue;
    if (song.empty()) storable(SongTable, file.filename, file.path, notes, &song);
    if (!song.empty()) album->songs.push_back(std::move(song));
  }
  return true;
}

}  // namespace

bool groupalbums(TagSource& source, ScanNotes& notes,
                 const std::function<bool(ScannedAlbum& album)>& sink) {
  std::list<PendingAlbum> pending;  // in the order of their first files
  const auto hand = [&](std::list<PendingAlbum>::iterator at) {
    ScannedAlbum album;
    const bool ok = complete(*at, notes, &album);
    pending.erase(at);
    return !ok || sink(album);
  };
  TrackTags tags;
  for (;;) {
    const TagSource::Step step = source.next(&tags, notes);
    if (step == TagSource::Step::Skipped) continue;
    if (step == TagSource::Step::End) break;
    for (auto at = pending.begin(); at != pending.end();) {
      auto following = std::next(at);
      if (!within(tags.folder, at->home) && !hand(at)) return false;
      at = following;
    }
    const bool tagless = blank(tags.album);
    const std::string album = tagless ? tags.folder : tags.album;
    const std::string& keyartist = blank(tags.albumartist) ? tags.artist : tags.albumartist;
    auto same = std::find_if(pending.begin(), pending.end(), [&](const PendingAlbum& p) {
      return p.tagless == tagless && p.album == album && (tagless || p.keyartist == keyartist);
    });
    if (same == pending.end()) {
      PendingAlbum fresh;
      fresh.tagless = tagless;
      fresh.album = album;
      fresh.keyartist = keyartist;
      fresh.home = !tagless && isdiscfolder(basename(tags.folder)) ? parent(tags.folder) : tags.folder;
      pending.push_back(std::move(fresh));
      same = std::prev(pending.end());
    }
    same->files.push_back(std::move(tags));
    tags = TrackTags();
  }
  while (!pending.empty())
    if (!hand(pending.begin())) return false;
  return true;
}

}  // namespace tracklore
