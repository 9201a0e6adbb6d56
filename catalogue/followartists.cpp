// An album's artists as its files' tags give them.
#include "catalogue/followartists.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;

namespace {

int32_t standin(size_t index) { return -2 - static_cast<int32_t>(index); }

}  // namespace

AlbumArtists::AlbumArtists(int32_t album) {
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(0, album);
  for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
    current_.push_back(list->rows().field(F_Attr).aslong());
    rows_.push_back(list->rows().recno());
    currentnames_.push_back(DB_CurrentFullName(list->cursor(), Kind::Artist));
  }
}

void AlbumArtists::remember(const FileEntry& entry) {
  for (const FileArtist& a : entry.artists)
    if (a.code >= 0) bytag_.emplace(a.tag, a.code);
}

int32_t AlbumArtists::code(const std::string& name) {
  auto known = bytag_.find(titlehash(name));
  if (known != bytag_.end() && lookup_.find(ArtistTable, known->second) == Ok) return known->second;
  for (size_t i = 0; i < current_.size(); ++i)
    if (DB_SameName(currentnames_[i], name)) return current_[i];
  const std::vector<int32_t> codes = finder_.same(Kind::Artist, name);
  if (!codes.empty()) return *std::min_element(codes.begin(), codes.end());
  for (size_t i = 0; i < fresh_.size(); ++i)
    if (DB_SameName(fresh_[i], name)) return standin(i);
  fresh_.push_back(name);
  return standin(fresh_.size() - 1);
}

FileEntry AlbumArtists::resolve(const std::string& albumartist, const std::vector<std::string>& artists) {
  FileEntry entry;
  entry.artistsknown = true;
  entry.albumartist = !albumartist.empty();
  if (entry.albumartist) entry.artists.push_back({code(albumartist), titlehash(albumartist)});
  for (const std::string& name : artists) entry.artists.push_back({code(name), titlehash(name)});
  return entry;
}

bool AlbumArtists::wanted(const std::vector<const FileEntry*>& files, const std::vector<bool>& makessong,
                          std::vector<int32_t>* codes) const {
  codes->clear();
  std::unordered_set<int32_t> added;
  const auto add = [&](int32_t code) {
    if (added.insert(code).second) codes->push_back(code);
  };
  for (const FileEntry* f : files)
    if (f->artistsknown && f->albumartist) {
      add(f->artists.front().code);
      break;
    }
  for (size_t i = 0; i < files.size(); ++i) {
    const FileEntry* f = files[i];
    if (!f->artistsknown) {
      *codes = current_;
      return false;
    }
    if (!makessong[i]) continue;
    for (size_t a = f->albumartist ? 1 : 0; a < f->artists.size(); ++a) add(f->artists[a].code);
  }
  // An artist no longer known (a copy's, the user's deletion) leaves the
  // list as it is.
  if (added.count(-1) != 0) {
    *codes = current_;
    return false;
  }
  return true;
}

std::vector<std::string> AlbumArtists::names(const std::vector<int32_t>& codes) {
  std::vector<std::string> out;
  for (int32_t c : codes) {
    if (c <= -2) out.push_back(fresh_[static_cast<size_t>(-2 - c)]);
    else if (lookup_.find(ArtistTable, c) == Ok) out.push_back(DB_CurrentFullName(lookup_.cursor(ArtistTable), Kind::Artist));
    else out.emplace_back();
  }
  return out;
}

ErrorCode AlbumArtists::make(const std::vector<std::string>& names, std::vector<int32_t>* codes,
                             const std::vector<FileEntry*>& entries) {
  std::unordered_map<int32_t, int32_t> made;  // stand-in or lost code -> code
  CodeLookup lookup;
  NameFinder finder;
  for (size_t i = 0; i < names.size() && i < codes->size(); ++i) {
    int32_t& code = (*codes)[i];
    if (code >= 0 && lookup.find(ArtistTable, code) == Ok) continue;
    const std::vector<int32_t> found = finder.same(Kind::Artist, names[i]);
    int32_t now;
    if (!found.empty()) {
      now = *std::min_element(found.begin(), found.end());
    } else {
      quill::Rlist cursor(&DB_Table(ArtistTable));
      const ErrorCode rc = DB_InsertRecord(Kind::Artist, names[i], cursor);
      if (rc != Ok) return rc;
      now = cursor.field(F_Code).aslong();
    }
    made[code] = now;
    code = now;
  }
  for (FileEntry* e : entries)
    for (FileArtist& a : e->artists) {
      auto at = made.find(a.code);
      if (at != made.end()) a.code = at->second;
      else if (a.code <= -2) a.code = -1;
    }
  return Ok;
}

}  // namespace tracklore
