// The command table, the usage text and the checks every command shares.
#include "tools/cli/commands.h"

#include <cstring>

#include "catalogue/schema.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

// The options besides -C, --main, --yes and --no that a command takes.
enum : unsigned {
  TakesPrefix = 1, TakesAt = 2, TakesPurge = 4, TakesScanOptions = 8, TakesKind = 16
};

struct Command {
  const char* name;
  int least;  // operands
  int most;
  unsigned takes;
  CommandFn run;
  const char* synopsis;
  const char* summary;
};

const Command kCommands[] = {
    {"create", 0, 0, 0, cmd_create, "create", "make a new, empty database"},
    {"list", 1, 1, TakesPrefix, cmd_list, "list albums|artists|songs [--prefix TEXT]",
     "code, name and mark (albums, then their first artist and number of songs) or\n"
     "      number of uses (artists, songs), in name order"},
    {"search", 1, 1000, TakesKind, cmd_search, "search WORDS... [--kind album|artist|song]",
     "the albums (with their first artist), artists and songs whose names hold every\n"
     "      word at the start of one of theirs (\"wall\" finds \"The Wall\", not\n"
     "      \"Stonewall\"), letter case, accents and script aside; exit status 1 when\n"
     "      nothing is found"},
    {"stats", 0, 0, TakesPurge, cmd_stats, "stats [--purge]",
     "counts of albums, artists, songs and links; albums without artists or songs;\n"
     "      artists and songs no album uses (--purge deletes them, as one edit that\n"
     "      undo takes back); the ten artists on the most albums"},
    {"show", 1, 1, 0, cmd_show, "show ALBUM", "an album with its artists and songs in order"},
    {"add", 2, 2, 0, cmd_add, "add album|artist|song NAME", "a new album, artist or song"},
    {"link", 3, 3, TakesAt, cmd_link, "link ALBUM artist|song NAME [--at SEQ]",
     "put an artist or song on an album (one of that name, letter case aside, or\n"
     "      made new; after asking when one of a name alike but for accents exists)"},
    {"unlink", 3, 3, TakesPurge, cmd_unlink, "unlink ALBUM artist|song SEQ [--purge|--keep]",
     "take the entry at SEQ off the album"},
    {"move", 4, 4, 0, cmd_move, "move ALBUM artist|song SEQ up|down",
     "move the entry at SEQ one place"},
    {"rename", 3, 3, 0, cmd_rename, "rename album|artist|song ITEM NAME",
     "give a record a new name; the name of another artist or song is refused (see merge)"},
    {"delete", 2, 2, 0, cmd_delete, "delete album|artist|song ITEM",
     "delete a record (an artist or song only when no album uses it)"},
    {"merge", 3, 3, 0, cmd_merge, "merge album|artist|song KEEP OTHER",
     "make two records one: OTHER's albums use KEEP (an album merge appends OTHER's\n"
     "      artists and songs that KEEP lacks), then OTHER is deleted"},
    {"duplicates", 0, 1, 0, cmd_duplicates, "duplicates [albums|artists|songs]",
     "groups of records whose names are alike but for case, accents, punctuation and\n"
     "      blanks: group, code, name, then uses (albums: first artist, songs)"},
    {"undo", 0, 0, 0, cmd_undo, "undo",
     "take back the last edit (add, link, unlink, move, rename, delete, merge, purge, a\n"
     "      whole scan or import), up to the last 50; not past a verification's corrections"},
    {"redo", 0, 0, 0, cmd_redo, "redo", "do again the last edit undone, until a new edit"},
    {"xref", 2, 2, 0, cmd_xref, "xref artist|song ITEM", "the albums that use an artist or song"},
    {"pack", 0, 0, 0, cmd_pack, "pack", "rewrite the tables without deleted records"},
    {"reindex", 0, 0, 0, cmd_reindex, "reindex", "rebuild the index files"},
    {"verify", 0, 0, 0, cmd_verify, "verify [--yes|--no]",
     "check the database and repair it (read-only when nothing can be answered Yes);\n"
     "      exit status 0 when no problem remains, 1 when some do, 2 when it could not run"},
    {"recover", 0, 0, 0, cmd_recover, "recover",
     "after a crash: undo an unfinished edit, reindex, verify (answering yes), check"},
    {"export", 0, 1, 0, cmd_export, "export [FILE]",
     "write every album as CSV (album,kind,position,name,album_code) to FILE, or to stdout"},
    {"import", 1, 1, 0, cmd_import, "import FILE", "add the albums of such a CSV file (- reads standard input)"},
    {"scan", 0, 1000, TakesScanOptions, cmd_scan,
     "scan [DIR...] [--dry-run] [--hidden] [--report FILE] [--prefer-files ALBUM]...",
     "catalogue the music files below DIR from their tags; without DIR rescan the folders\n"
     "      scanned before. Unchanged files are not opened; the albums scans made follow\n"
     "      their files, except those edited since (--prefer-files takes the files' version)"},
};

}  // namespace

void printusage(std::FILE* to) {
  std::fprintf(to,
               "usage: tracklore-cli [-C DIR] [--main STEM] [--yes|--no] COMMAND [ARGS...]\n"
               "\n"
               "Works on the music database in the current directory (or DIR), whose main\n"
               "table is maindb (or STEM).\n"
               "\n"
               "commands:\n");
  for (const Command& c : kCommands)
    std::fprintf(to, "  %s\n      %s\n", c.synopsis, c.summary);
  std::fprintf(to,
               "\n"
               "ALBUM and ITEM are a name (letter case aside) or #CODE. Names are UTF-8 in\n"
               "any script and kept as given; an empty one is refused. --prefix finds\n"
               "names by their start in any spelling of it (\"\xD0\xBC\xD1\x83\xD0\xBC\", "
               "\"mum\" and \"Mum\" all\n"
               "find \"\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9\"), as the catalogue orders "
               "them.\n"
               "SEQ is a position in an album's list, from 0 (see show). Put -- before\n"
               "a name that begins with '-'.\n"
               "\n"
               "Questions are answered by --yes or --no (--purge or --keep for purging an\n"
               "artist or song no album uses any more), at a prompt when standard input\n"
               "is a terminal, and otherwise with No or Cancel.\n"
               "\n"
               "Exit status: 0 done, 1 failed or refused, 2 wrong usage.\n"
               "255: stopped by a fatal error of the engine, a damaged file or no memory\n"
               "left (the message before says which); reindex rebuilds a damaged index.\n");
}

int usageerror(const std::string& text) {
  std::fprintf(stderr, "tracklore-cli: %s (see tracklore-cli --help)\n", text.c_str());
  return 2;
}

std::optional<Kind> kindof(const std::string& word) {
  for (const Kind kind : kKinds)
    if (word == kindword(kind, SingularForm) || word == kindword(kind, PluralForm)) return kind;
  return std::nullopt;
}

std::optional<Kind> attributekind(const std::string& word) {
  const std::optional<Kind> kind = kindof(word);
  return kind == Kind::Artist || kind == Kind::Song ? kind : std::nullopt;
}

int runcommand(const Options& options, TerminalHost& host) {
  for (const Command& c : kCommands) {
    if (options.command != c.name) continue;
    const int n = static_cast<int>(options.operands.size());
    if (n < c.least || n > c.most) return usageerror(std::string("usage: ") + c.synopsis);
    if (options.prefix && !(c.takes & TakesPrefix)) return usageerror("--prefix belongs to list");
    if (options.at && !(c.takes & TakesAt)) return usageerror("--at belongs to link");
    if (options.kind && !(c.takes & TakesKind)) return usageerror("--kind belongs to search");
    if (options.purge != Choice::Ask && !(c.takes & TakesPurge))
      return usageerror("--purge and --keep belong to unlink and stats");
    if ((options.dryrun || options.hidden || options.report || !options.preferfiles.empty()) &&
        !(c.takes & TakesScanOptions))
      return usageerror("--dry-run, --hidden, --report and --prefer-files belong to scan");
    return c.run(options, host);
  }
  return usageerror("unknown command " + quotedtext(options.command));
}

}  // namespace tracklore::cli
