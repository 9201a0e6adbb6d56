// tracklore-cli search: albums, artists and songs by the words of their names.
#include <cstdio>
#include <string>

#include "catalogue/schema.h"
#include "catalogue/search.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

int cmd_search(const Options& options, TerminalHost&) {
  unsigned kinds = kSearchAll;
  if (options.kind) {
    const std::optional<Kind> kind = kindof(*options.kind);
    if (!kind) return usageerror("--kind takes album, artist or song");
    kinds = 1u << kindtable(*kind);
  }
  std::string text;
  for (const std::string& word : options.operands) text += (text.empty() ? "" : " ") + word;

  Session session(false);
  if (!session.ok()) return 1;
  SearchResults results;
  const ErrorCode rc = DB_Search(text, kinds, &results);
  if (rc == EmptySearch) return usageerror("search needs a word with a letter or a digit");
  if (rc != quill::Ok) return failure("the search failed (" + DB_FailureText(rc) + ")");
  if (results.total() == 0) return failure("nothing is named with " + quotedtext(text));
  for (const Kind kind : kKinds) {
    const std::vector<SearchHit>& hits = results.found[kindtable(kind)];
    if (hits.empty()) continue;
    std::printf("%s (%zu):\n", kindword(kind, CapPluralForm), hits.size());
    for (const SearchHit& hit : hits) {
      std::printf("#%ld\t%s", static_cast<long>(hit.code), hit.name.c_str());
      if (kind == Kind::Album)
        std::printf("\t%s", hit.firstartist.empty() ? "--" : hit.firstartist.c_str());
      std::printf("\n");
    }
  }
  return 0;
}

}  // namespace tracklore::cli
