#include "catalogue/merge.h"

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

// One row of an album's list: its position and what it links.
struct Row {
  int seq;
  int32_t attr;
};

std::vector<Row> rowsof(int r, int32_t title) {
  std::vector<Row> rows;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, title);
  for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1))
    rows.push_back({list->rows().field(F_Seq).asint(), list->rows().field(F_Attr).aslong()});
  return rows;
}

// The list of the album standing on its row at seq.
ErrorCode standat(Relation& list, int seq) {
  for (ErrorCode rc = list.first(); rc == Ok; rc = list.skip(1))
    if (list.rows().field(F_Seq).asint() == seq) return Ok;
  return quill::NotFound;
}

// The albums whose relation r links attr, each once.
std::vector<int32_t> albumsusing(int r, int32_t attr) {
  std::vector<int32_t> albums;
  std::unique_ptr<Relation> uses = DB_GetArticlesFromAttribute(r, attr);
  for (ErrorCode rc = uses->first(); rc == Ok; rc = uses->skip(1))
    albums.push_back(uses->rows().field(F_Title).aslong());
  std::sort(albums.begin(), albums.end());
  albums.erase(std::unique(albums.begin(), albums.end()), albums.end());
  return albums;
}

int32_t countuses(int r, int32_t attr) {
  int32_t n = 0;
  std::unique_ptr<Relation> uses = DB_GetArticlesFromAttribute(r, attr);
  for (ErrorCode rc = uses->first(); rc == Ok; rc = uses->skip(1)) ++n;
  return n;
}

// One album's rows of OTHER come to link KEEP; of an artist's repeats only
// the first place stays. Removals go from the last position up, so that the
// positions still to visit do not move.
ErrorCode relinkalbum(int r, int32_t title, int32_t keep, int32_t other, MergeOutcome* out) {
  std::vector<int> relink, drop;
  bool seen = false;
  for (const Row& row : rowsof(r, title)) {
    if (row.attr != keep && row.attr != other) continue;
    if (r == 0 && seen)
      drop.push_back(row.seq);
    else if (row.attr == other)
      relink.push_back(row.seq);
    seen = true;
  }
  // Rows of an album that is gone (verify's to repair) are relinked all
  // the same; only a live album has a first artist to follow.
  CodeLookup album;
  const bool live = album.find(TitleTable, title) == Ok;
  Rlist& titlecursor = album.cursor(TitleTable);
  ErrorCode rc = Ok;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, title);
  for (auto seq = drop.rbegin(); seq != drop.rend(); ++seq) {
    if ((rc = standat(*list, *seq)) != Ok) return rc;
    if ((rc = DB_RemoveLink(*list, titlecursor, PurgeMode::Keep)) != Ok) return rc;
    ++out->dropped;
  }
  for (int seq : relink) {
    if ((rc = standat(*list, seq)) != Ok) return rc;
    Rlist& rows = list->rows();
    rows.field(F_Attr).set(static_cast<long>(keep));
    if ((rc = rows.flush()) != Ok) return rc;
    ++out->moved;
    if (r == 0 && seq == 0 && live) {
      titlecursor.field(F_AuxAttr).set(static_cast<long>(keep));
      if ((rc = titlecursor.flush()) != Ok) return rc;
    }
  }
  return Ok;
}

// KEEP's count is recounted from its rows: the removals lowered it for the
// repeats that were KEEP's own, the relinks raised it by none. OTHER is then
// deleted, which the edits refuse while any row still uses it.
ErrorCode settlecounts(Kind kind, int32_t keep, int32_t other) {
  CodeLookup lookup;
  const int table = kindtable(kind);
  Rlist& cursor = lookup.cursor(table);
  ErrorCode rc = lookup.find(table, keep);
  if (rc != Ok) return rc;
  cursor.field(F_RefCount).set(static_cast<long>(countuses(relationof(kind), keep)));
  if ((rc = cursor.flush()) != Ok) return rc;
  if ((rc = lookup.find(table, other)) != Ok) return rc;
  cursor.field(F_RefCount).set(0L);
  if ((rc = cursor.flush()) != Ok) return rc;
  return DB_DeleteAttribute(cursor, kind);
}

ErrorCode mergeattributes(Kind kind, int32_t keep, int32_t other, MergeOutcome* out) {
  const int r = relationof(kind);
  const std::vector<int32_t> albums = albumsusing(r, other);
  Intent intent("merge");
  for (int32_t title : albums) intent.album(r, title);
  intent.coded(kind, keep);
  intent.coded(kind, other);
  intent.counts(kindtable(kind));
  // Thousands of rows for a much-used artist: the intent takes them all
  // back together, so no row needs a forced write of its own.
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  ErrorCode rc = Ok;
  for (size_t i = 0; rc == Ok && i < albums.size(); ++i)
    rc = relinkalbum(r, albums[i], keep, other, out);
  if (rc == Ok) rc = settlecounts(kind, keep, other);
  return intent.end(rc);
}

// OTHER's attributes of relation r that KEEP lacks, in OTHER's order; a
// row whose attribute is missing has nothing to give.
std::vector<int32_t> lacking(int r, int32_t keep, int32_t other, int* repeats) {
  std::set<int32_t> has;
  for (const Row& row : rowsof(r, keep)) has.insert(row.attr);
  std::vector<int32_t> give;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, other);
  for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
    const int32_t attr = list->rows().field(F_Attr).aslong();
    if (list->cursor().valid() && !has.count(attr))
      give.push_back(attr);
    else
      ++*repeats;
  }
  return give;
}

ErrorCode mergealbums(int32_t keep, int32_t other, MergeOutcome* out) {
  std::vector<int32_t> give[kRelations];
  int repeats = 0;
  for (int r = 0; r < kRelations; ++r) {
    give[r] = lacking(r, keep, other, &repeats);
    // Refused before anything changes rather than half appended.
    const std::vector<Row> has = rowsof(r, keep);
    const int next = has.empty() ? 0 : has.back().seq + 1;
    if (!give[r].empty() && next + static_cast<int>(give[r].size()) - 1 > kMaxSeq) return ListFull;
  }
  Intent intent("merge");
  for (int r = 0; r < kRelations; ++r) {
    intent.album(r, keep);
    intent.album(r, other);
  }
  intent.counts(TitleTable);
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;

  CodeLookup keeping, going;
  Rlist& keeptitle = keeping.cursor(TitleTable);
  Rlist& othertitle = going.cursor(TitleTable);
  ErrorCode rc = keeping.find(TitleTable, keep);
  if (rc == Ok) rc = going.find(TitleTable, other);
  for (int r = 0; rc == Ok && r < kRelations; ++r) {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, keep);
    for (size_t i = 0; rc == Ok && i < give[r].size(); ++i) {
      rc = DB_AddLink(*list, keep, -1, give[r][i], keeptitle);
      if (rc == Ok) ++out->moved;
    }
  }
  // Every attribute OTHER used is now used by KEEP too: none is purged.
  if (rc == Ok) rc = DB_DeleteArticle(othertitle);
  if (rc == Ok) rc = DB_UpdateOKField(keeptitle, nullptr);
  if (rc == Ok) out->dropped = repeats;
  return intent.end(rc);
}

bool exists(Kind kind, int32_t code) { return CodeLookup().find(kindtable(kind), code) == Ok; }

}  // namespace

ErrorCode DB_MergeRecords(Kind kind, int32_t keep, int32_t other, MergeOutcome* outcome) {
  if (!validkind(kind) || keep == other) return quill::BadParam;
  if (!exists(kind, keep) || !exists(kind, other)) return quill::NotFound;
  MergeOutcome ignored;
  MergeOutcome* out = outcome != nullptr ? outcome : &ignored;
  *out = {};
  return kind == Kind::Album ? mergealbums(keep, other, out)
                            : mergeattributes(kind, keep, other, out);
}

}  // namespace tracklore
