// tracklore-cli export / import: every album with its ordered lists as CSV
// (albumcsv.h).
//
// Export writes the header record and then the albums in name order, each
// album's artists and then its songs in their order, all in UTF-8, with
// the album's code as album_code.
//
// Import reads and checks the whole file before anything changes, then
// creates every album of it; an artist or song is reused when one of
// exactly that name exists (or was made earlier in the import), else one
// whose name compares equal in the catalogue's order (case, accents and
// punctuation aside), otherwise created. A failure while writing stops the
// import and says how far it got.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tools/cli/commands.h"
#include "tools/cli/albumcsv.h"
#include "tools/cli/cp1252.h"
#include "tools/cli/csv.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

// ---- export -------------------------------------------------------------------

// The records of one album; *missing counts rows whose entry has gone.
std::string albumrecords(const Record& album, int* missing) {
  const std::string title = toutf8(album.name);
  const std::string code = std::to_string(album.code);
  std::string out;
  for (int r = 0; r < kRelations; ++r) {
    const int kind = attrtable(r);
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album.code);
    int position = 0;
    for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
      Rlist& entry = list->cursor();
      if (!entry.valid()) {
        ++*missing;
        std::fprintf(stderr, "tracklore-cli: %s has a row for the missing %s #%ld; left out\n",
                     describe(TitleTable, album).c_str(), KindNames[kind][SingularForm],
                     static_cast<long>(list->rows().field(F_Attr).aslong()));
        continue;
      }
      out += csvrecord({title, KindNames[kind][SingularForm], std::to_string(position++),
                        toutf8(storedname(entry)), code});
    }
  }
  if (out.empty()) out = csvrecord({title, "", "", "", code});
  return out;
}

bool writefile(const std::string& path, const std::string& text) {
  if (path == "-") return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// ---- import ---------------------------------------------------------------------

// Albums per journalled batch: one sync of the journal for each.
constexpr int kImportBatch = 64;

struct Tally {
  int albums = 0;
  int links[3] = {0, 0, 0};
  int created[3] = {0, 0, 0};
  int similar[3] = {0, 0, 0};  // reused under a name that compares equal
};

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
int32_t existingcode(int kind, const std::string& name, Tally* tally) {
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
ErrorCode attributecode(const Link& link, std::map<std::string, int32_t> known[3], Tally* tally,
                        int32_t* code) {
  auto it = known[link.kind].find(link.name);
  if (it != known[link.kind].end()) {
    *code = it->second;
    return Ok;
  }
  *code = existingcode(link.kind, link.name, tally);
  if (*code < 0) {
    Rlist cursor(&DB_Table(link.kind));
    ErrorCode rc = DB_InsertRecord(link.kind, link.name.c_str(), cursor);
    if (rc != Ok) return rc;
    *code = cursor.field(F_Code).aslong();
    ++tally->created[link.kind];
  }
  known[link.kind][link.name] = *code;
  return Ok;
}

// One album with its lists; 0, or the failing step's code with *step named.
ErrorCode importalbum(const PlannedAlbum& album, std::map<std::string, int32_t> known[3],
                      Tally* tally, const char** step) {
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

std::string counted(int n, int kind) {
  return std::to_string(n) + " " + KindNames[kind][n == 1 ? SingularForm : PluralForm];
}

}  // namespace

int cmd_export(const Options& options, TerminalHost&) {
  const std::string path = options.operands.empty() ? "-" : options.operands[0];
  Session session(false);
  if (!session.ok()) return 1;
  std::string text = csvrecord(kAlbumColumns);
  int missing = 0;
  {
    FullTable albums(DB_Table(TitleTable));
    albums.select(T_Name);
    for (ErrorCode rc = albums.first(); rc == Ok; rc = albums.skip(1))
      text += albumrecords(current(albums.cursor()), &missing);
  }
  if (!writefile(path, text))
    return failure("cannot write " + quotedtext(path) + ": " + std::strerror(errno));
  if (missing > 0)
    return failure(std::to_string(missing) + " row" + (missing == 1 ? "" : "s") +
                   " left out for entries that are missing; tracklore-cli verify repairs them");
  return 0;
}

int cmd_import(const Options& options, TerminalHost&) {
  const std::string& path = options.operands[0];
  std::FILE* in = openinput(path);
  if (in == nullptr) return 1;
  Plan plan;
  const bool planned = makeplan(in, &plan);
  if (in != stdin) std::fclose(in);
  if (!planned) return 1;

  Session session(true);
  if (!session.ok()) return 1;
  notealbums(plan.albums);
  std::map<std::string, int32_t> known[3];
  Tally tally;
  // All-or-nothing per batch: a crash takes back the unfinished batch only.
  BatchIntent batch("import", kImportBatch);
  for (const PlannedAlbum& album : plan.albums) {
    const char* step = "Journalling";
    ErrorCode rc = batch.next();
    if (rc == Ok) rc = importalbum(album, known, &tally, &step);
    if (rc != Ok)
      return failure("import stopped at album " + inquotes(album.name) + " (line " +
                     std::to_string(album.line) + "): " + step + " failed; returned " +
                     DB_ResultName(batch.end(rc)) + ". The database holds a partial import: the " +
                     std::to_string(tally.albums) +
                     " albums before it, and this one as far as it got (tracklore-cli recover "
                     "takes back the unfinished batch)");
    ++tally.albums;
  }
  if (ErrorCode rc = batch.end(Ok); rc != Ok)
    return failure(std::string("the import could not be marked complete; returned ") +
                   DB_ResultName(rc));
  std::printf("imported %s with %d artist and %d song entries; created %s and %s\n",
              counted(tally.albums, TitleTable).c_str(), tally.links[ArtistTable],
              tally.links[SongTable], counted(tally.created[ArtistTable], ArtistTable).c_str(),
              counted(tally.created[SongTable], SongTable).c_str());
  if (tally.similar[ArtistTable] + tally.similar[SongTable] > 0)
    std::printf("reused %s and %s whose names differ from the file's only in case, accents or "
                "punctuation\n",
                counted(tally.similar[ArtistTable], ArtistTable).c_str(),
                counted(tally.similar[SongTable], SongTable).c_str());
  return 0;
}

}  // namespace tracklore::cli
