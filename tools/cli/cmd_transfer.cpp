// tracklore-cli export / import: every album with its ordered lists as CSV.
//
// One record per link: album, kind ("artist" or "song"), position in the
// album's list from 0, name; an album without links has one record whose
// kind, position and name are empty. The file starts with the header
// record album,kind,position,name. Export writes the albums in name order,
// each album's artists and then its songs in their order, all in UTF-8.
//
// Import takes such a file. An album's records stand together: a record
// begins a new album when its album name differs from the record before,
// when it repeats a kind and position already seen for the current album,
// or when it (or the record before) has an empty kind; so albums that share
// a name come back as separate albums. Every album of the file is created;
// an artist or song is reused when one of exactly that name exists (or was
// made earlier in the import), otherwise created. The whole file is checked
// before anything changes; a failure while writing stops the import and
// says how far it got.
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tools/cli/commands.h"
#include "tools/cli/cp1252.h"
#include "tools/cli/csv.h"
#include "tools/cli/database.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

const std::vector<std::string> kHeader = {"album", "kind", "position", "name"};

// ---- export -------------------------------------------------------------------

// The records of one album; *missing counts rows whose entry has gone.
std::string albumrecords(const Record& album, int* missing) {
  const std::string title = toutf8(album.name);
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
                        toutf8(storedname(entry))});
    }
  }
  if (out.empty()) out = csvrecord({title, "", "", ""});
  return out;
}

bool writefile(const std::string& path, const std::string& text) {
  if (path == "-") return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// ---- import: reading and checking the file ------------------------------------

struct Link {
  int kind;
  long position;
  std::string name;  // stored form
};

struct PlannedAlbum {
  std::string name;  // stored form
  int line;
  bool bare = false;  // written as an album without links
  std::vector<Link> links;
  std::set<std::pair<int, long>> seen;
};

bool readfile(const std::string& path, std::string* text) {
  if (path == "-") {
    text->assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return !in.bad();
}

bool isheader(const CsvRecord& record) {
  if (record.fields.size() != kHeader.size()) return false;
  for (size_t i = 0; i < kHeader.size(); ++i)
    if (strcasecmp(record.fields[i].c_str(), kHeader[i].c_str()) != 0) return false;
  return true;
}

// Collects the problems of the file, so that all of them are told at once.
class Problems {
 public:
  void add(int line, const std::string& text) {
    if (count_++ < kShown) std::fprintf(stderr, "tracklore-cli: line %d: %s\n", line, text.c_str());
  }
  int count() const { return count_; }
  void finish() const {
    if (count_ > kShown) std::fprintf(stderr, "tracklore-cli: ... and %d more\n", count_ - kShown);
  }

 private:
  static constexpr int kShown = 20;
  int count_ = 0;
};

// One record into the plan; false (with the problem told) when it is wrong.
bool planrecord(const CsvRecord& record, std::vector<PlannedAlbum>* plan, Problems* problems) {
  const std::vector<std::string>& f = record.fields;
  if (f.size() != kHeader.size()) {
    problems->add(record.line, "4 fields expected (album,kind,position,name), found " +
                                   std::to_string(f.size()));
    return false;
  }
  std::string album, message;
  if (!storedform(TitleTable, f[0], &album, &message)) {
    problems->add(record.line, message);
    return false;
  }
  Link link{-1, -1, {}};
  if (f[1].empty()) {
    if (!f[2].empty() || !f[3].empty()) {
      problems->add(record.line, "an album without links has an empty position and name");
      return false;
    }
  } else {
    link.kind = attributekind(f[1]);
    if (link.kind < 0) {
      problems->add(record.line, "the kind is artist, song or empty, not '" + f[1] + "'");
      return false;
    }
    if (!parsecount(f[2], &link.position)) {
      problems->add(record.line, "the position is a number from 0 on, not '" + f[2] + "'");
      return false;
    }
    if (!storedform(link.kind, f[3], &link.name, &message)) {
      problems->add(record.line, message);
      return false;
    }
  }
  const auto key = std::make_pair(link.kind, link.position);
  const bool another = plan->empty() || plan->back().name != album || plan->back().bare ||
                       link.kind < 0 || plan->back().seen.count(key) != 0;
  if (another) plan->push_back({album, record.line, link.kind < 0, {}, {}});
  if (link.kind >= 0) {
    plan->back().seen.insert(key);
    plan->back().links.push_back(std::move(link));
  }
  return true;
}

bool makeplan(const std::string& text, std::vector<PlannedAlbum>* plan) {
  std::vector<CsvRecord> records;
  std::string error;
  if (!parsecsv(text, &records, &error)) {
    failure(error + "; nothing was imported");
    return false;
  }
  Problems problems;
  for (size_t i = 0; i < records.size(); ++i) {
    const CsvRecord& record = records[i];
    if (i == 0 && isheader(record)) continue;
    if (record.fields.size() == 1 && record.fields[0].empty()) continue;  // a blank line
    planrecord(record, plan, &problems);
  }
  problems.finish();
  if (problems.count() > 0) {
    failure(std::to_string(problems.count()) + " record" + (problems.count() == 1 ? "" : "s") +
            " cannot be imported; nothing was imported");
    return false;
  }
  for (PlannedAlbum& album : *plan)
    std::stable_sort(album.links.begin(), album.links.end(), [](const Link& a, const Link& b) {
      return a.kind != b.kind ? a.kind < b.kind : a.position < b.position;
    });
  return true;
}

// ---- import: writing ------------------------------------------------------------

// Albums per journalled batch: one sync of the journal for each.
constexpr int kImportBatch = 64;

struct Tally {
  int albums = 0;
  int links[3] = {0, 0, 0};
  int created[3] = {0, 0, 0};
};

// The artists and songs of the file that exist already, by stored name: the
// one with the lowest code when several share the name.
void findexisting(const std::vector<PlannedAlbum>& plan, std::map<std::string, int32_t> known[3]) {
  for (const PlannedAlbum& album : plan) {
    for (const Link& link : album.links) {
      if (known[link.kind].count(link.name) != 0) continue;
      std::vector<Record> exact = findname(link.kind, link.name).exact;
      if (exact.empty()) continue;
      auto lowest = std::min_element(exact.begin(), exact.end(),
                                     [](const Record& a, const Record& b) { return a.code < b.code; });
      known[link.kind][link.name] = lowest->code;
      if (exact.size() > 1)
        std::fprintf(stderr, "tracklore-cli: note: several %s are named %s; #%ld is used\n",
                     KindNames[link.kind][PluralForm], inquotes(link.name).c_str(),
                     static_cast<long>(lowest->code));
    }
  }
  for (const PlannedAlbum& album : plan) {
    std::vector<Record> exact = findname(TitleTable, album.name).exact;
    if (!exact.empty())
      std::fprintf(stderr, "tracklore-cli: note: album %s exists already (#%ld); the file's is added beside it\n",
                   inquotes(album.name).c_str(), static_cast<long>(exact.front().code));
  }
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
  Rlist cursor(&DB_Table(link.kind));
  ErrorCode rc = DB_InsertRecord(link.kind, link.name.c_str(), cursor);
  if (rc != Ok) return rc;
  *code = cursor.field(F_Code).aslong();
  known[link.kind][link.name] = *code;
  ++tally->created[link.kind];
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
  std::string text = csvrecord(kHeader);
  int missing = 0;
  {
    FullTable albums(DB_Table(TitleTable));
    albums.select(T_Name);
    for (ErrorCode rc = albums.first(); rc == Ok; rc = albums.skip(1))
      text += albumrecords(current(albums.cursor()), &missing);
  }
  if (!writefile(path, text)) return failure("cannot write " + path + ": " + std::strerror(errno));
  if (missing > 0)
    return failure(std::to_string(missing) + " row" + (missing == 1 ? "" : "s") +
                   " left out for entries that are missing; tracklore-cli verify repairs them");
  return 0;
}

int cmd_import(const Options& options, TerminalHost&) {
  const std::string& path = options.operands[0];
  std::string text;
  if (!readfile(path, &text)) return failure("cannot read " + path + ": " + std::strerror(errno));
  std::vector<PlannedAlbum> plan;
  if (!makeplan(text, &plan)) return 1;

  Session session(true);
  if (!session.ok()) return 1;
  std::map<std::string, int32_t> known[3];
  findexisting(plan, known);
  Tally tally;
  // All-or-nothing per batch: a crash takes back the unfinished batch only.
  BatchIntent batch("import", kImportBatch);
  for (const PlannedAlbum& album : plan) {
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
  return 0;
}

}  // namespace tracklore::cli
