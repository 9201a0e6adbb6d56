// The scan file table's entries, read whole and kept as they are written.
#include "catalogue/scanfiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

// FNV-1a: a fingerprint, not a defence; a collision only hides an edit.
uint32_t mix(uint32_t hash, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

constexpr uint32_t kSeed = 2166136261u;

std::string textof(Rlist& cursor) {
  const quill::Field& field = cursor.field(F_FileText);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

int64_t wide(Rlist& cursor, int high) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(cursor.field(high).aslong())) << 32) |
                              static_cast<uint32_t>(cursor.field(high + 1).aslong()));
}

void setwide(Rlist& cursor, int high, int64_t value) {
  cursor.field(high).set(static_cast<long>(static_cast<int32_t>(static_cast<uint64_t>(value) >> 32)));
  cursor.field(high + 1).set(static_cast<long>(static_cast<int32_t>(value & 0xFFFFFFFF)));
}

void setfile(Rlist& cursor, const FileEntry& e) {
  cursor.field(F_FileAlbum).set(static_cast<long>(e.album));
  cursor.field(F_FileSong).set(static_cast<long>(e.song));
  cursor.field(F_FileSeq).set(e.seq);
  cursor.field(F_FileDisc).set(e.disc);
  cursor.field(F_FileTrack).set(e.track);
  cursor.field(F_FileTitle).set(static_cast<long>(static_cast<int32_t>(e.title)));
  cursor.field(F_FileGroup).set(static_cast<long>(static_cast<int32_t>(e.group)));
  setwide(cursor, F_FileSizeHi, e.stat.size);
  setwide(cursor, F_FileTimeHi, e.stat.seconds);
  cursor.field(F_FileNsec).set(static_cast<long>(e.stat.nanoseconds));
}

void readfile(Rlist& cursor, FileEntry* e) {
  e->album = cursor.field(F_FileAlbum).aslong();
  e->song = cursor.field(F_FileSong).aslong();
  e->seq = cursor.field(F_FileSeq).asint();
  e->disc = cursor.field(F_FileDisc).asint();
  e->track = cursor.field(F_FileTrack).asint();
  e->title = static_cast<uint32_t>(cursor.field(F_FileTitle).aslong());
  e->group = static_cast<uint32_t>(cursor.field(F_FileGroup).aslong());
  e->stat.size = wide(cursor, F_FileSizeHi);
  e->stat.seconds = wide(cursor, F_FileTimeHi);
  e->stat.nanoseconds = cursor.field(F_FileNsec).aslong();
}

// Kind 3's text (scanfiles.h).
std::string artiststext(const FileEntry& e) {
  std::string text = e.albumartist ? "A" : "T";
  for (const FileArtist& a : e.artists) text += textf(" %d:%08x", a.code, a.tag);
  return text;
}

// False for a text that is not one: the file's artists are then not known.
bool readartists(const std::string& text, FileEntry* e) {
  if (text.empty() || (text[0] != 'A' && text[0] != 'T')) return false;
  std::vector<FileArtist> artists;
  for (size_t at = 1; at < text.size();) {
    long code = 0;
    unsigned long tag = 0;
    int used = 0;
    if (std::sscanf(text.c_str() + at, " %ld:%8lx%n", &code, &tag, &used) != 2 || used <= 0) return false;
    artists.push_back({static_cast<int32_t>(code), static_cast<uint32_t>(tag)});
    at += static_cast<size_t>(used);
  }
  e->albumartist = text[0] == 'A' && !artists.empty();
  e->artists = std::move(artists);
  e->artistsknown = true;
  return true;
}

std::vector<std::string> parts(const std::string& text) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size(); at += kNamePartBytes) out.push_back(text.substr(at, kNamePartBytes));
  if (out.empty()) out.emplace_back();
  return out;
}

}  // namespace

uint32_t albumfingerprint(const std::vector<int32_t>& artists, const std::vector<int32_t>& songs) {
  uint32_t hash = kSeed;
  for (const std::vector<int32_t>* list : {&artists, &songs}) {
    for (int32_t code : *list) hash = mix(hash, &code, sizeof code);
    hash = mix(hash, "|", 1);
  }
  return hash;
}

uint32_t albumfingerprint(int32_t album) {
  std::vector<int32_t> lists[kRelations];
  for (int r = 0; r < kRelations; ++r) {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album);
    for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) lists[r].push_back(list->rows().field(F_Attr).aslong());
  }
  return albumfingerprint(lists[0], lists[1]);
}

uint32_t identityhash(const std::string& identity) { return mix(kSeed, identity.data(), identity.size()); }

uint32_t titlehash(const std::string& title) {
  const std::string folded = foldedname(title);
  return mix(kSeed, folded.data(), folded.size());
}

bool ScanFiles::there() const { return DB_Table(ScanFileTable).isopen(); }

ErrorCode ScanFiles::load() {
  files_.clear();
  marks_.clear();
  byidentity_.clear();
  folderpaths_.clear();
  nextid_ = 0;
  if (!there() || DB_Table(ScanFileTable).nlive() <= 0) return Ok;
  Rlist cursor(&DB_Table(ScanFileTable));
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  int entrykind = -1;
  int32_t id = -1;
  auto held = std::make_unique<Held>();
  AlbumMark mark;
  std::vector<int32_t> recnos;
  std::string text;
  // The files in the order of their ids (key order), for their artists'
  // entries, which come after them all.
  std::vector<std::pair<int32_t, Held*>> byid;
  // Entries come in key order, their parts together: each is whole when
  // the next begins.
  const auto settle = [&] {
    if (entrykind == FileEntryKind && !recnos.empty()) {
      held->entry.path = std::move(text);
      held->recnos = std::move(recnos);
      byid.emplace_back(held->id, held.get());
      const std::string_view key = held->entry.path;
      files_[key] = std::move(held);
    } else if (entrykind == FolderEntryKind && !text.empty()) {
      folderpaths_.push_back(text);
    } else if (entrykind == AlbumEntryKind && !recnos.empty()) {
      mark.name = std::move(text);
      byidentity_.emplace(mark.identity, mark.album);
      marks_[mark.album] = {std::move(mark), std::move(recnos)};
    } else if (entrykind == ArtistsEntryKind && !recnos.empty()) {
      auto file = std::lower_bound(byid.begin(), byid.end(), id,
                                   [](const std::pair<int32_t, Held*>& f, int32_t i) { return f.first < i; });
      if (file != byid.end() && file->first == id && readartists(text, &file->second->entry))
        file->second->artistrecnos = std::move(recnos);
    }
    held = std::make_unique<Held>();
    mark = AlbumMark();
    recnos.clear();
    text.clear();
  };
  ErrorCode rc;
  for (rc = cursor.first(); rc == Ok; rc = cursor.skip(1)) {
    if (cursor.isdeleted()) continue;
    const int k = cursor.field(F_Kind).asint();
    const int32_t i = cursor.field(F_FileId).aslong();
    const int part = cursor.field(F_Part).asint();
    if (k != entrykind || i != id) {
      settle();
      entrykind = k;
      id = i;
    }
    if (k != AlbumEntryKind) nextid_ = std::max(nextid_, i + 1);
    // A part out of place (verify drops such entries): the entry is taken
    // as far as it is whole.
    if (part != static_cast<int>(recnos.size())) continue;
    if (part == 0 && k == FileEntryKind) readfile(cursor, &held->entry);
    if (part == 0 && k == AlbumEntryKind)
      mark = {i, static_cast<uint32_t>(cursor.field(F_FileAlbum).aslong()),
              static_cast<uint32_t>(cursor.field(F_FileSong).aslong()), {}};
    held->id = i;
    recnos.push_back(cursor.recno());
    text += textof(cursor);
  }
  settle();
  return rc == quill::NotFound || rc == quill::TooFar ? Ok : rc;
}

ErrorCode ScanFiles::loadfolders() {
  folderpaths_.clear();
  if (!there() || DB_Table(ScanFileTable).nlive() <= 0) return Ok;
  Rlist cursor(&DB_Table(ScanFileTable));
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  uint8_t lead[2];
  quill::put2(lead, FolderEntryKind);
  const quill::KeyLead bound{lead, sizeof lead};
  int32_t id = -1;
  ErrorCode rc;
  for (rc = cursor.seek(lead, sizeof lead, quill::SeekMode::Prefix, quill::SeekWhich::First); rc == Ok;
       rc = cursor.skip(1, bound)) {
    const int32_t i = cursor.field(F_FileId).aslong();
    if (i != id || folderpaths_.empty()) folderpaths_.emplace_back();
    id = i;
    folderpaths_.back() += textof(cursor);
  }
  return rc == quill::NotFound || rc == quill::TooFar ? Ok : rc;
}

const FileEntry* ScanFiles::file(const std::string& path) const {
  auto at = files_.find(path);
  return at == files_.end() ? nullptr : &at->second->entry;
}

void ScanFiles::visit(const std::function<void(const FileEntry& entry, bool seen)>& visitor) const {
  for (const auto& [path, held] : files_) visitor(held->entry, held->seen);
}

void ScanFiles::markseen(const std::string& path) {
  auto at = files_.find(path);
  if (at != files_.end()) at->second->seen = true;
}

const AlbumMark* ScanFiles::mark(int32_t album) const {
  auto at = marks_.find(album);
  return at == marks_.end() ? nullptr : &at->second.mark;
}

std::vector<int32_t> ScanFiles::albumsof(const std::string& identity) const {
  std::vector<int32_t> out;
  const auto [from, to] = byidentity_.equal_range(identityhash(identity));
  for (auto at = from; at != to; ++at) out.push_back(at->second);
  std::sort(out.begin(), out.end());
  return out;
}

void ScanFiles::declarefile(Intent& intent, const std::string& path) const {
  if (!there()) return;
  intent.counts(ScanFileTable);
  auto at = files_.find(path);
  if (at == files_.end()) return;
  for (int32_t recno : at->second->recnos) intent.record(ScanFileTable, recno);
  for (int32_t recno : at->second->artistrecnos) intent.record(ScanFileTable, recno);
}

void ScanFiles::declaremark(Intent& intent, int32_t album) const {
  if (!there()) return;
  intent.counts(ScanFileTable);
  auto at = marks_.find(album);
  if (at != marks_.end())
    for (int32_t recno : at->second.recnos) intent.record(ScanFileTable, recno);
}

ErrorCode ScanFiles::append(int entrykind, int32_t id, const std::string& text, const FileEntry* file,
                            const AlbumMark* mark, std::vector<int32_t>* recnos) {
  Rlist cursor(&DB_Table(ScanFileTable));
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  const std::vector<std::string> texts = parts(text);
  for (size_t p = 0; p < texts.size(); ++p) {
    cursor.field(F_Kind).set(entrykind);
    cursor.field(F_FileId).set(static_cast<long>(id));
    cursor.field(F_Part).set(static_cast<int>(p));
    FileEntry none;
    setfile(cursor, p == 0 && file != nullptr ? *file : none);
    if (mark != nullptr) {
      cursor.field(F_FileAlbum).set(static_cast<long>(static_cast<int32_t>(mark->made)));
      cursor.field(F_FileSong).set(static_cast<long>(static_cast<int32_t>(mark->identity)));
    }
    cursor.field(F_FileText).set(texts[p].c_str());
    const ErrorCode rc = cursor.append();
    if (rc != Ok) return rc;
    if (recnos != nullptr) recnos->push_back(cursor.recno());
  }
  return Ok;
}

ErrorCode ScanFiles::drop(const std::vector<int32_t>& recnos) {
  Rlist cursor(&DB_Table(ScanFileTable));
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  for (int32_t recno : recnos) {
    ErrorCode rc = cursor.gorecord(recno);
    if (rc == Ok) rc = cursor.del();
    if (rc != Ok) return rc;
  }
  return Ok;
}

// The file's artists' entry made what the entry says: written anew when
// they changed (their parts may number otherwise), dropped when not known.
ErrorCode ScanFiles::putartists(Held& held, const FileEntry& entry) {
  FileEntry& kept = held.entry;
  const bool same = kept.artistsknown == entry.artistsknown && kept.albumartist == entry.albumartist &&
                    kept.artists == entry.artists;
  if (same && (!entry.artistsknown || !held.artistrecnos.empty())) return Ok;
  ErrorCode rc = drop(held.artistrecnos);
  if (rc != Ok) return rc;
  held.artistrecnos.clear();
  kept.artistsknown = false;
  if (entry.artistsknown &&
      (rc = append(ArtistsEntryKind, held.id, artiststext(entry), nullptr, nullptr, &held.artistrecnos)) != Ok)
    return rc;
  kept.artistsknown = entry.artistsknown;
  kept.albumartist = entry.albumartist;
  kept.artists = entry.artists;
  return Ok;
}

ErrorCode ScanFiles::putfile(const FileEntry& entry) {
  if (!there()) return Ok;
  auto at = files_.find(entry.path);
  if (at == files_.end()) {
    auto held = std::make_unique<Held>();
    held->id = nextid_++;
    ErrorCode rc = append(FileEntryKind, held->id, entry.path, &entry, nullptr, &held->recnos);
    if (rc != Ok) return rc;
    held->entry = entry;
    held->entry.artistsknown = false;
    held->seen = true;  // written by this scan, so met by it
    Held& made = *held;
    const std::string_view key = held->entry.path;
    files_[key] = std::move(held);
    return putartists(made, entry);
  }
  // The path is the same: only part 0's numbers change.
  Rlist cursor(&DB_Table(ScanFileTable));
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  ErrorCode rc = cursor.gorecord(at->second->recnos.front());
  if (rc != Ok) return rc;
  setfile(cursor, entry);
  rc = cursor.flush();
  if (rc != Ok) return rc;
  FileEntry& kept = at->second->entry;
  kept.stat = entry.stat;
  kept.album = entry.album;
  kept.song = entry.song;
  kept.seq = entry.seq;
  kept.disc = entry.disc;
  kept.track = entry.track;
  kept.title = entry.title;
  kept.group = entry.group;
  return putartists(*at->second, entry);
}

ErrorCode ScanFiles::dropfile(const std::string& path) {
  auto at = files_.find(path);
  if (!there() || at == files_.end()) return Ok;
  ErrorCode rc = drop(at->second->recnos);
  if (rc == Ok) rc = drop(at->second->artistrecnos);
  if (rc == Ok) files_.erase(at);
  return rc;
}

void ScanFiles::unindex(const Marked& marked) {
  const auto [from, to] = byidentity_.equal_range(marked.mark.identity);
  for (auto it = from; it != to; ++it)
    if (it->second == marked.mark.album) {
      byidentity_.erase(it);
      return;
    }
}

ErrorCode ScanFiles::putmark(const AlbumMark& mark) {
  if (!there()) return Ok;
  auto at = marks_.find(mark.album);
  if (at != marks_.end() && at->second.mark.name == mark.name) {
    // Only part 0's numbers change.
    Rlist cursor(&DB_Table(ScanFileTable));
    (void)cursor.select(T_KindIdPart);  // a tag of the schema
    ErrorCode rc = cursor.gorecord(at->second.recnos.front());
    if (rc != Ok) return rc;
    cursor.field(F_FileAlbum).set(static_cast<long>(static_cast<int32_t>(mark.made)));
    cursor.field(F_FileSong).set(static_cast<long>(static_cast<int32_t>(mark.identity)));
    if ((rc = cursor.flush()) != Ok) return rc;
    unindex(at->second);
    at->second.mark = mark;
  } else {
    if (at != marks_.end()) {
      const ErrorCode rc = dropmark(mark.album);
      if (rc != Ok) return rc;
    }
    std::vector<int32_t> recnos;
    const ErrorCode rc = append(AlbumEntryKind, mark.album, mark.name, nullptr, &mark, &recnos);
    if (rc != Ok) return rc;
    marks_[mark.album] = {mark, std::move(recnos)};
  }
  byidentity_.emplace(mark.identity, mark.album);
  return Ok;
}

ErrorCode ScanFiles::dropmark(int32_t album) {
  auto at = marks_.find(album);
  if (!there() || at == marks_.end()) return Ok;
  const ErrorCode rc = drop(at->second.recnos);
  if (rc != Ok) return rc;
  unindex(at->second);
  marks_.erase(at);
  return Ok;
}

ErrorCode ScanFiles::putfolder(const std::string& path) {
  if (!there() || std::find(folderpaths_.begin(), folderpaths_.end(), path) != folderpaths_.end())
    return Ok;
  const ErrorCode rc = append(FolderEntryKind, nextid_++, path, nullptr, nullptr, nullptr);
  if (rc == Ok) folderpaths_.push_back(path);
  return rc;
}

}  // namespace tracklore
