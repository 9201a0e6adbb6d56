// tracklore-cli duplicates / merge: finding entries catalogued twice under
// names alike, and making two of them one.
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/duplicates.h"
#include "catalogue/merge.h"
#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

// "3 links", "1 link".
std::string counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// One line per entry: group number, code, name, then an artist's or song's
// number of uses, or an album's first artist and number of songs.
void printgroups(Kind kind, const std::vector<DuplicateGroup>& groups) {
  if (groups.empty()) {
    std::printf("%s alike: none\n", kindword(kind, CapPluralForm));
    return;
  }
  std::printf("%s alike:\n", kindword(kind, CapPluralForm));
  int number = 0;
  for (const DuplicateGroup& group : groups) {
    ++number;
    for (const Duplicate& d : group) {
      if (kind == Kind::Album)
        std::printf("%d\t%ld\t%s\t%s\t%d\n", number, static_cast<long>(d.code), d.name.c_str(),
                    d.artist.empty() ? "-" : d.artist.c_str(), d.uses);
      else
        std::printf("%d\t%ld\t%s\t%d\n", number, static_cast<long>(d.code), d.name.c_str(), d.uses);
    }
  }
}

}  // namespace

int cmd_duplicates(const Options& options, TerminalHost&) {
  std::vector<Kind> kinds(std::begin(kKinds), std::end(kKinds));
  if (!options.operands.empty()) {
    const std::optional<Kind> named = kindof(options.operands[0]);
    if (!named) return usageerror("duplicates takes albums, artists or songs");
    kinds = {*named};
  }
  Session session(false);
  if (!session.ok()) return 1;
  bool any = false;
  for (const Kind kind : kinds) {
    const std::vector<DuplicateGroup> groups = DB_FindDuplicates(kind);
    printgroups(kind, groups);
    any = any || !groups.empty();
  }
  if (any)
    std::fprintf(stderr, "tracklore-cli: merge KIND '#KEEP' '#OTHER' makes two of a group one\n");
  return 0;
}

int cmd_merge(const Options& options, TerminalHost&) {
  const std::optional<Kind> named = kindof(options.operands[0]);
  if (!named) return usageerror("merge takes album, artist or song");
  const Kind kind = *named;
  Session session(true);
  if (!session.ok()) return 1;
  Record keep, other;
  if (!resolve(kind, options.operands[1], &keep) || !resolve(kind, options.operands[2], &other))
    return 1;
  if (keep.code == other.code)
    return failure(describe(kind, keep) + " is named twice; merge takes two " +
                   kindword(kind, PluralForm));
  MergeOutcome outcome;
  const ErrorCode rc = DB_MergeRecords(kind, keep.code, other.code, &outcome);
  if (rc == ListFull)
    return failure(describe(kind, keep) + " cannot take more entries after position " +
                   std::to_string(kMaxSeq) + "; nothing changed");
  if (rc != quill::Ok)
    return failure(std::string("Merge failed; ") + DB_ReturnedText(rc) + ".");
  std::string what;
  if (kind == Kind::Album)
    what = counted(outcome.moved, "entry", "entries") + " appended, " +
           std::to_string(outcome.dropped) + " it had already";
  else
    what = counted(outcome.moved, "link", "links") + " moved" +
           (outcome.dropped > 0
                ? ", " + std::to_string(outcome.dropped) + " repeated on an album dropped"
                : std::string());
  std::printf("merged %s into %s: %s; %s deleted\n", describe(kind, other).c_str(),
              describe(kind, keep).c_str(), what.c_str(), quotedtext(other.name).c_str());
  return 0;
}

}  // namespace tracklore::cli
