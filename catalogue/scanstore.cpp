// Scanned albums into the catalogue: find, compare, then add or complete.
#include "catalogue/scanstore.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "catalogue/edits.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

std::string namefield(Rlist& cursor) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

ErrorCode seekcode(Rlist& cursor, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  cursor.select(T_Code);
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

// The stored names of an album's relation r, in order.
std::vector<std::string> listnames(int r, int32_t album) {
  std::vector<std::string> names;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album);
  for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) names.push_back(namefield(list->cursor()));
  return names;
}

bool beginning(const std::vector<std::string>& stored, const std::vector<std::string>& scanned) {
  return stored.size() <= scanned.size() && std::equal(stored.begin(), stored.end(), scanned.begin());
}

struct StoredAlbum {
  int32_t code = -1;
  std::vector<std::string> lists[kRelations];
};

// The stored album that the scanned one is, if any: the first of that name
// whose lists both begin the scanned ones, else the first of that name and
// first artist (which then differs and is left alone).
bool findalbum(const ScannedAlbum& album, NameFinder& names, StoredAlbum* found) {
  bool any = false;
  for (int32_t code : names.exact(TitleTable, album.name)) {
    StoredAlbum candidate;
    candidate.code = code;
    for (int r = 0; r < kRelations; ++r) candidate.lists[r] = listnames(r, code);
    const auto& artists = candidate.lists[0];
    const bool prefix = beginning(artists, album.artists) && beginning(candidate.lists[1], album.songs);
    // An album without artists is this one only as the beginning that an
    // interrupted scan left; otherwise the first artist tells them apart.
    if (artists.empty() ? !prefix : album.artists.empty() || artists[0] != album.artists[0]) continue;
    if (prefix) {
      *found = std::move(candidate);
      return true;
    }
    if (!any) *found = std::move(candidate);
    any = true;
  }
  return any;
}

// The code of an attribute of that name, made when there is none.
ErrorCode attribute(int kind, const std::string& name, NameFinder& names, CatalogueTally* tally,
                    int32_t* code) {
  std::vector<int32_t> codes = names.exact(kind, name);
  if (!codes.empty()) {
    *code = *std::min_element(codes.begin(), codes.end());
    return Ok;
  }
  Rlist cursor(&DB_Table(kind));
  ErrorCode rc = DB_InsertRecord(kind, name.c_str(), cursor);
  if (rc != Ok) return rc;
  *code = cursor.field(F_Code).aslong();
  ++tally->created[kind];
  return Ok;
}

// Appends the names from position `from` on to the album's relation r.
ErrorCode appendlinks(int r, int32_t album, const std::vector<std::string>& list_names, size_t from,
                      Rlist& titles, NameFinder& names, CatalogueTally* tally) {
  if (from >= list_names.size()) return Ok;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album);
  for (size_t i = from; i < list_names.size(); ++i) {
    int32_t code;
    ErrorCode rc = attribute(attrtable(r), list_names[i], names, tally, &code);
    if (rc == Ok) rc = DB_AddLink(*list, album, -1, code, titles);
    if (rc != Ok) return rc;
  }
  return Ok;
}

}  // namespace

ErrorCode DB_StoreScannedAlbum(const ScannedAlbum& album, WriteMode mode, NameFinder& names,
                               CatalogueTally* tally, AlbumOutcome* outcome) {
  StoredAlbum stored;
  const bool exists = findalbum(album, names, &stored);
  if (!exists) *outcome = AlbumOutcome::Added;
  else if (!beginning(stored.lists[0], album.artists) || !beginning(stored.lists[1], album.songs))
    *outcome = AlbumOutcome::LeftAlone;
  else if (stored.lists[0].size() == album.artists.size() && stored.lists[1].size() == album.songs.size())
    *outcome = AlbumOutcome::Unchanged;
  else
    *outcome = AlbumOutcome::Completed;
  ++tally->outcomes[static_cast<int>(*outcome)];
  if (mode == WriteMode::DryRun) {
    // What would be made, counted without making it (a name new to the
    // catalogue that several albums share is counted for each).
    if (*outcome == AlbumOutcome::Added || *outcome == AlbumOutcome::Completed)
      for (int r = 0; r < kRelations; ++r) {
        const auto& wanted = r == 0 ? album.artists : album.songs;
        for (size_t i = stored.lists[r].size(); i < wanted.size(); ++i)
          if (names.exact(attrtable(r), wanted[i]).empty()) ++tally->created[attrtable(r)];
      }
    return Ok;
  }
  if (*outcome == AlbumOutcome::Unchanged || *outcome == AlbumOutcome::LeftAlone) return Ok;

  Rlist titles(&DB_Table(TitleTable));
  ErrorCode rc;
  if (exists) {
    rc = seekcode(titles, stored.code);
  } else {
    rc = DB_InsertRecord(TitleTable, album.name.c_str(), titles);
    stored.code = titles.field(F_Code).aslong();
  }
  if (rc != Ok) return rc;
  if ((rc = appendlinks(0, stored.code, album.artists, stored.lists[0].size(), titles, names, tally)) != Ok)
    return rc;
  if ((rc = appendlinks(1, stored.code, album.songs, stored.lists[1].size(), titles, names, tally)) != Ok)
    return rc;
  return DB_UpdateOKField(titles, nullptr);
}

}  // namespace tracklore
