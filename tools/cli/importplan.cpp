#include "tools/cli/importplan.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/batch.h"
#include "catalogue/edits.h"
#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

// The full name of the album's first artist, "" for none.
std::string firstartist(const PlannedAlbum& album) {
  for (const Link& link : album.links)
    if (link.kind == Kind::Artist) return link.name;
  return {};
}

std::string firstartist(int32_t album) {
  Rlist cursor(&DB_Table(TitleTable));
  if (seekcode(cursor, album) != Ok) return {};
  const int32_t artist = cursor.field(F_AuxAttr).aslong();
  char name[kNameBuffer];
  if (artist == -1 || DB_GetName(name, ArtistTable, artist) != Ok) return {};
  return DB_FullName(Kind::Artist, artist, name);
}

// An album of the same name and first artist is the same album: the
// file's is still added, but the user should know.
void notealbums(const std::vector<PlannedAlbum>& plan) {
  for (const PlannedAlbum& album : plan) {
    const std::string artist = firstartist(album);
    for (const Record& found : samenamed(Kind::Album, album.name)) {
      if (!DB_SameName(firstartist(found.code), artist)) continue;
      std::fprintf(stderr,
                   "tracklore-cli: note: album %s exists already (#%ld); the file's is added beside it\n",
                   quotedtext(album.name).c_str(), static_cast<long>(found.code));
      break;
    }
  }
}

// The artist or song that a name of the file stands for, when one exists
// (or was made earlier in the import): one that bears the name, letter
// case aside, the lowest code among several; -1 when none.
int32_t existingcode(Kind kind, const std::string& name, ImportTally* tally) {
  const std::vector<int32_t> same = DB_FindSameName(kind, name);
  if (same.empty()) return -1;
  const int32_t code = *std::min_element(same.begin(), same.end());
  if (same.size() > 1)
    std::fprintf(stderr, "tracklore-cli: note: several %s are named %s; #%ld is used\n",
                 kindword(kind, PluralForm), quotedtext(name).c_str(), static_cast<long>(code));
  Record found;
  if (readrecord(kind, code, &found) && found.name != name) {
    ++tally->similar[kindtable(kind)];
    std::fprintf(stderr, "tracklore-cli: note: %s %s is taken as %s\n", kindword(kind, SingularForm),
                 quotedtext(name).c_str(), describe(kind, found).c_str());
  }
  return code;
}

// The code of a link's artist or song, made when it is new; 0 or the code
// of the failed creation.
ErrorCode attributecode(const Link& link, std::map<std::string, int32_t> known[3],
                        ImportTally* tally, int32_t* code) {
  std::map<std::string, int32_t>& made = known[kindtable(link.kind)];
  auto it = made.find(link.name);
  if (it != made.end()) {
    *code = it->second;
    return Ok;
  }
  *code = existingcode(link.kind, link.name, tally);
  if (*code < 0) {
    SpareCursor cursor(DB_Table(kindtable(link.kind)), -1);
    ErrorCode rc = DB_InsertRecord(link.kind, link.name, *cursor);
    if (rc != Ok) return rc;
    *code = (*cursor).field(F_Code).aslong();
    ++tally->created[kindtable(link.kind)];
  }
  made[link.name] = *code;
  return Ok;
}

// One album with its lists; 0, or the failing step's code with *step named.
ErrorCode importalbum(const PlannedAlbum& album, std::map<std::string, int32_t> known[3],
                      ImportTally* tally, const char** step) {
  Rlist titles(&DB_Table(TitleTable));
  *step = "Record creation";
  ErrorCode rc = DB_InsertRecord(Kind::Album, album.name, titles);
  if (rc != Ok) return rc;
  const int32_t code = titles.field(F_Code).aslong();
  std::unique_ptr<Relation> lists[kRelations] = {DB_GetArticleAttributes(0, code),
                                                 DB_GetArticleAttributes(1, code)};
  for (const Link& link : album.links) {
    int32_t attr;
    *step = "Record creation";
    if ((rc = attributecode(link, known, tally, &attr)) != Ok) return rc;
    *step = "Insertion";
    if ((rc = DB_AddLink(*lists[relationof(link.kind)], code, -1, attr, titles)) != Ok) return rc;
    ++tally->links[kindtable(link.kind)];
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
    const int points = batch.durablepoints();
    if (rc == Ok) {
      step = "Saving the batch";
      rc = batch.unitdone();
    }
    // The album whose durable point was reached is kept, though the next
    // batch could not begin.
    if (rc != Ok && batch.durablepoints() != points) stop->kept = tally->albums + 1;
    if (rc != Ok) {
      *stop = {&album, step, batch.finish(rc), stop->kept};
      return stop->rc;
    }
    ++tally->albums;
    if (batch.durablepoints() != points) stop->kept = tally->albums;
  }
  if (ErrorCode rc = batch.finish(); rc != Ok) {
    *stop = {nullptr, "Saving the last batch", rc, stop->kept};
    return rc;
  }
  return Ok;
}

}  // namespace tracklore::cli
