#include "catalogue/namecheck.h"

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/text.h"
#include "catalogue/utf8.h"

namespace tracklore {

std::string DB_NameEntriesProblem(const NameEntries& entries,
                                  const std::optional<std::string>& stored) {
  if (entries.storedkind < TitleTable || entries.storedkind > SongTable)
    return textf("it names kind %d, which is not an album, an artist or a song", entries.storedkind);
  if (!stored) return "its record is gone";
  for (size_t i = 0; i < entries.parts.size(); ++i) {
    const int part = entries.parts[i];
    if (part == static_cast<int>(i)) continue;
    if (part < static_cast<int>(i)) return textf("part %d is there twice", part);
    return textf("part %zu is missing", i);
  }
  // Parts are cut between characters: each is well-formed on its own.
  std::string full;
  for (const std::string& text : entries.texts) {
    if (text.empty() || !utf8wellformed(text)) return "a part is empty or not well-formed UTF-8";
    full += text;
  }
  if (utf8chars(full) > kFullNameChars) return textf("it is longer than %zu characters", kFullNameChars);
  if (!DB_NeedsFullName(*stored, full)) return "it is the stored name itself";
  if (DB_StoredForm(kindoftable(entries.storedkind), full).stored != *stored)
    return "the stored name is no longer made from it";
  return "";
}

}  // namespace tracklore
