#include "tools/cli/importplan.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/batch.h"
#include "catalogue/edits.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/tableset.h"
#include "tools/cli/database.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

void notealbums(const std::vector<PlannedAlbum>& plan) {
  for (const PlannedAlbum& album : plan) {
    std::vector<Record> exact = findname(TitleTable, album.name).exact;
    if (!exact.empty())
      std::fprintf(stderr, "tracklore-cli: note: album %s exists already (#%ld); the file's is added beside it\n",
                   inquotes(album.name).c_str(), static_cast<long>(exact.front().code));
  }
}

Record lowestcode(const std::vector<Record>& records) {
  return *std::min_element(records.begin(), records.end(),
                           [](const Record& a, const Record& b) { return a.code < b.code; });
}

// The artist or song that a name of the file stands for, when one exists
// (or was made earlier in the import): one of exactly that name, else one
// whose name compares equal, the lowest code among several; -1 when none.
int32_t existingcode(int kind, const std::string& name, ImportTally* tally) {
  NameMatches matches = findname(kind, name);
  if (!matches.exact.empty()) {
    const Record found = lowestcode(matches.exact);
    if (matches.exact.size() > 1)
      std::fprintf(stderr, "tracklore-cli: note: several %s are named %s; #%ld is used\n",
                   KindNames[kind][PluralForm], inquotes(name).c_str(), static_cast<long>(found.code));
    return found.code;
  }
  if (matches.similar.empty()) return -1;
  const Record found = lowestcode(matches.similar);
  ++tally->similar[kind];
  std::fprintf(stderr, "tracklore-cli: note: %s %s is taken as %s\n", KindNames[kind][SingularForm],
               inquotes(name).c_str(), describe(kind, found).c_str());
  return found.code;
}

// The code of a link's artist or song, made when it is new; 0 or the code
// of the failed creation.
ErrorCode attributecode(const Link& link, std::map<std::string, int32_t> known[3],
                        ImportTally* tally, int32_t* code) {
  auto it = known[link.kind].find(link.name);
  if (it != known[link.kind].end()) {
    *code = it->second;
    return Ok;
  }
  *code = existingcode(link.kind, link.name, tally);
  if (*code < 0) {
    SpareCursor cursor(DB_Table(link.kind), -1);
    ErrorCode rc = DB_InsertRecord(link.kind, link.name.c_str(), *cursor);
    if (rc != Ok) return rc;
    *code = (*cursor).field(F_Code).aslong();
    ++tally->created[link.kind];
  }
  known[link.kind][link.name] = *code;
  return Ok;
}

// One album with its lists; 0, or the failing step's code with *step named.
ErrorCode importalbum(const PlannedAlbum& album, std::map<std::string, int32_t> known[3],
                      ImportTally* tally, const char** step) {
  Rlist titles(&DB_Table(TitleTable));
  *step = "Record creation";
  ErrorCode rc = DB_InsertRecord(TitleTable, album.name.c_str(), titles);
  if (rc != Ok) return rc;
  const int32_t code = titles.field(F_Code).aslong();
  std::unique_ptr<Relation> lists[kRelations] = {DB_GetArticleAttributes(0, code),
                                                 DB_GetArticleAttributes(1, code)};
  for (const Link& link : album.links) {
    int32_t attr;
    *step = "Record creation";
    if ((rc = attributecode(link, known, tally, &attr)) != Ok) return rc;
    *step = "Insertion";
    if ((rc = DB_AddLink(*lists[link.kind - 1], code, -1, attr, titles)) != Ok) return rc;
    ++tally->links[link.kind];
  }
  *step = "Updating the album's mark";
  return DB_UpdateOKField(titles, nullptr);
}

}  // namespace

ErrorCode importplan(const Plan& plan, ImportTally* tally, ImportStop* stop) {
  notealbums(plan.albums);
  std::map<std::string, int32_t> known[3];
  // All-or-nothing per batch: a crash takes back the unfinished batch only.
  BatchOptions options;
  options.operation = "import";
  CatalogueBatch batch(options);
  for (const PlannedAlbum& album : plan.albums) {
    const char* step = "Journalling";
    ErrorCode rc = batch.error();
    if (rc == Ok) rc = importalbum(album, known, tally, &step);
    if (rc == Ok) {
      step = "Saving the batch";
      rc = batch.unitdone();
    }
    if (rc != Ok) {
      *stop = {&album, step, batch.finish(rc)};
      return stop->rc;
    }
    ++tally->albums;
  }
  if (ErrorCode rc = batch.finish(); rc != Ok) {
    *stop = {nullptr, "Marking the import complete", rc};
    return rc;
  }
  return Ok;
}

}  // namespace tracklore::cli
