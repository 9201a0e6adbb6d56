// Scanned albums into the catalogue: find, compare, then add or complete.
#include "catalogue/scanstore.h"

#include <algorithm>
#include <memory>

#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

constexpr int32_t kPlanned = -1;

ErrorCode seekcode(Rlist& cursor, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  (void)cursor.select(T_Code);  // a tag of the schema
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

// The full names of an album's relation r, in order.
std::vector<std::string> listnames(int r, int32_t album) {
  std::vector<std::string> names;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album);
  for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1))
    names.push_back(DB_CurrentFullName(list->cursor(), kindoftable(attrtable(r))));
  return names;
}

// Where two lists first differ (the shorter one's length when one begins
// the other).
size_t firstdifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && DB_SameName(a[i], b[i])) ++i;
  return i;
}

bool beginning(const std::vector<std::string>& stored, const std::vector<std::string>& scanned) {
  return stored.size() <= scanned.size() && firstdifference(stored, scanned) == stored.size();
}

// How a stored list differs from the scanned one, for the report.
std::string difference(int r, const std::vector<std::string>& stored,
                       const std::vector<std::string>& scanned) {
  const size_t at = firstdifference(stored, scanned);
  const char* kind = kindword(attrkind(r), PluralForm);
  std::string text = std::string(kind) + " differ from position " + std::to_string(at + 1) + " (";
  text += at < stored.size() ? "\"" + stored[at] + "\" in the catalogue" : "none in the catalogue";
  text += ", ";
  text += at < scanned.size() ? "\"" + scanned[at] + "\" in the files" : "none in the files";
  return text + ")";
}

}  // namespace

struct ScanStore::Stored {
  int32_t code = -1;
  std::vector<std::string> lists[kRelations];
};

// The stored album that the scanned one is, if any: the first of that name
// whose lists both begin the scanned ones, else the first of that name and
// first artist (which then differs and is left alone).
bool ScanStore::findalbum(const ScannedAlbum& album, Stored* found) {
  bool any = false;
  for (int32_t code : names_.same(Kind::Album, album.name)) {
    if (claimed_.count(code) != 0) continue;
    Stored candidate;
    candidate.code = code;
    for (int r = 0; r < kRelations; ++r) candidate.lists[r] = listnames(r, code);
    const auto& artists = candidate.lists[0];
    const bool prefix = beginning(artists, album.artists) && beginning(candidate.lists[1], album.songs);
    // An album without artists is this one only as the beginning that an
    // interrupted scan left; otherwise the first artist tells them apart.
    if (artists.empty() ? !prefix : album.artists.empty() || !DB_SameName(artists[0], album.artists[0]))
      continue;
    if (prefix) {
      *found = std::move(candidate);
      return true;
    }
    if (!any) *found = std::move(candidate);
    any = true;
  }
  return any;
}

// The code of an artist or song of that name, made when there is none (in a
// dry run only remembered as planned).
ErrorCode ScanStore::attribute(Kind kind, const std::string& name, CatalogueTally* tally, int32_t* code) {
  const int table = kindtable(kind);
  auto [known, fresh] = known_[table].try_emplace(foldedname(name), kPlanned);
  if (!fresh) {
    *code = known->second;
    return Ok;
  }
  std::vector<int32_t> codes = names_.same(kind, name);
  if (!codes.empty()) {
    *code = known->second = *std::min_element(codes.begin(), codes.end());
    return Ok;
  }
  ++tally->created[table];
  if (mode_ == WriteMode::DryRun) {
    *code = kPlanned;
    return Ok;
  }
  Rlist cursor(&DB_Table(table));
  ErrorCode rc = DB_InsertRecord(kind, name, cursor);
  if (rc != Ok) {
    known_[table].erase(known);
    return rc;
  }
  *code = known->second = cursor.field(F_Code).aslong();
  return Ok;
}

// Appends the names from position `from` on to the album's relation r;
// titles stands on the album (none in a dry run).
ErrorCode ScanStore::append(int r, int32_t album, const std::vector<std::string>& names, size_t from,
                            Rlist* titles, CatalogueTally* tally) {
  if (from >= names.size()) return Ok;
  std::unique_ptr<Relation> list;
  if (titles != nullptr) list = DB_GetArticleAttributes(r, album);
  for (size_t i = from; i < names.size(); ++i) {
    int32_t code;
    ErrorCode rc = attribute(attrkind(r), names[i], tally, &code);
    if (rc == Ok && list) rc = DB_AddLink(*list, album, -1, code, *titles);
    if (rc != Ok) return rc;
  }
  return Ok;
}

ErrorCode ScanStore::store(const ScannedAlbum& album, CatalogueTally* tally, AlbumOutcome* outcome,
                           std::string* differs) {
  Stored stored;
  const bool exists = findalbum(album, &stored);
  const bool completable = !exists || !completable_ || completable_(stored.code);
  const bool equal = stored.lists[0].size() == album.artists.size() && stored.lists[1].size() == album.songs.size();
  // An album no scan made is completed by none: its lists are the user's.
  const bool artistsbegin =
      beginning(stored.lists[0], album.artists) && (completable || stored.lists[0].size() == album.artists.size());
  const bool songsbegin =
      beginning(stored.lists[1], album.songs) && (completable || stored.lists[1].size() == album.songs.size());
  if (!exists) *outcome = AlbumOutcome::Added;
  else if (!artistsbegin || !songsbegin) *outcome = AlbumOutcome::LeftAlone;
  else if (equal)
    *outcome = AlbumOutcome::Unchanged;
  else
    *outcome = AlbumOutcome::Completed;
  ++tally->outcomes[static_cast<int>(*outcome)];
  tally->songs += static_cast<int>(album.songs.size());
  if (exists) claimed_.insert(stored.code);
  lastalbum_ = stored.code;
  if (*outcome == AlbumOutcome::LeftAlone) {
    differs->clear();
    if (!artistsbegin) *differs = difference(0, stored.lists[0], album.artists);
    if (!songsbegin) *differs += (differs->empty() ? "" : "; ") + difference(1, stored.lists[1], album.songs);
  }
  if (*outcome == AlbumOutcome::Unchanged || *outcome == AlbumOutcome::LeftAlone) return Ok;

  if (mode_ == WriteMode::DryRun) {
    // A dry run writes nothing: it only counts.
    (void)append(0, stored.code, album.artists, stored.lists[0].size(), nullptr, tally);
    (void)append(1, stored.code, album.songs, stored.lists[1].size(), nullptr, tally);
    return Ok;
  }
  Rlist titles(&DB_Table(TitleTable));
  ErrorCode rc;
  if (exists) {
    rc = seekcode(titles, stored.code);
  } else {
    rc = DB_InsertRecord(Kind::Album, album.name, titles);
    if (rc == Ok) claimed_.insert(lastalbum_ = stored.code = titles.field(F_Code).aslong());
  }
  if (rc != Ok) return rc;
  if ((rc = append(0, stored.code, album.artists, stored.lists[0].size(), &titles, tally)) != Ok) return rc;
  if ((rc = append(1, stored.code, album.songs, stored.lists[1].size(), &titles, tally)) != Ok) return rc;
  // An album that had rows in both relations keeps its completeness mark.
  // Not rewriting it keeps the album's record as it was: in a batch, an
  // existing record changed in place would outlive a crash that takes the
  // appended rows back, and nothing recomputes the mark.
  if (exists && !stored.lists[0].empty() && !stored.lists[1].empty()) return Ok;
  return DB_UpdateOKField(titles, nullptr);
}

}  // namespace tracklore
