// tracklore-cli export / import: every album with its ordered lists as CSV
// (albumcsv.h).
//
// Export writes the header record and then the albums in name order, each
// album's artists and then its songs in their order, all in UTF-8, with
// the album's code as album_code, every name the full name, so that an
// import into an empty database and a second export give the same file.
//
// Import reads and checks the whole file before anything changes, then
// creates every album of it (importplan.h). A failure while writing stops
// the import and says how far it got.
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
#include "catalogue/wholestep.h"
#include "tools/cli/commands.h"
#include "tools/cli/albumcsv.h"
#include "tools/cli/csv.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/importplan.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

// ---- export -------------------------------------------------------------------

// The records of one album; *missing counts rows whose entry has gone.
std::string albumrecords(const Record& album, int* missing) {
  const std::string& title = album.name;
  const std::string code = std::to_string(album.code);
  std::string out;
  for (int r = 0; r < kRelations; ++r) {
    const Kind kind = attrkind(r);
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album.code);
    int position = 0;
    for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
      Rlist& entry = list->cursor();
      if (!entry.valid()) {
        ++*missing;
        std::fprintf(stderr, "tracklore-cli: %s has a row for the missing %s #%ld; left out\n",
                     describe(Kind::Album, album).c_str(), kindword(kind, SingularForm),
                     static_cast<long>(list->rows().field(F_Attr).aslong()));
        continue;
      }
      out += csvrecord({title, kindword(kind, SingularForm), std::to_string(position++),
                        current(entry, kind).name, code});
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

std::string counted(int n, Kind kind) {
  return std::to_string(n) + " " + kindword(kind, n == 1 ? SingularForm : PluralForm);
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
    (void)albums.select(T_Name);  // a tag of the schema
    for (ErrorCode rc = albums.first(); rc == Ok; rc = albums.skip(1))
      text += albumrecords(current(albums.cursor(), Kind::Album), &missing);
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
  ImportTally tally;
  ImportStop stop;
  // The whole import is one step that undo takes back.
  WholeStep whole("import");
  if (importplan(plan, &tally, &stop) != Ok) {
    const std::string where =
        stop.album == nullptr ? std::string("after its last album")
                              : "at album " + quotedtext(stop.album->name) + " (line " +
                                    std::to_string(stop.album->line) + ")";
    const bool all = stop.album == nullptr && stop.kept == tally.albums;
    return failure("import stopped " + where + ": " + stop.step + " failed: " + DB_FailureText(stop.rc) +
                   ". The database holds a partial import: tracklore-cli recover keeps " +
                   counted(stop.kept, Kind::Album) +
                   (all ? ", all of the file's" : " of finished batches and takes back the rest"));
  }
  whole.finish(wholesteptext("import", {path == "-" ? std::string("standard input") : path},
                             counted(tally.albums, Kind::Album)));
  std::printf("imported %s with %d artist and %d song entries; created %s and %s\n",
              counted(tally.albums, Kind::Album).c_str(), tally.links[ArtistTable],
              tally.links[SongTable], counted(tally.created[ArtistTable], Kind::Artist).c_str(),
              counted(tally.created[SongTable], Kind::Song).c_str());
  if (tally.similar[ArtistTable] + tally.similar[SongTable] > 0)
    std::printf("reused %s and %s whose names differ from the file's only in letter case\n",
                counted(tally.similar[ArtistTable], Kind::Artist).c_str(),
                counted(tally.similar[SongTable], Kind::Song).c_str());
  return 0;
}

}  // namespace tracklore::cli
