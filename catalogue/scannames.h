// The names a scan meets: each tag's text made a full name once, and the
// report of the names whose stored form is not simply the full one.
//
// A scan of 100,000 files meets the same artist and album names thousands
// of times: the ledger keeps one copy of each full name (the grouping holds
// pointers to them, which stay valid while the ledger lives) and derives its
// stored form once. A name is reported when its stored form was
// transliterated, cut or is a stand-in, or when the given text had to be
// mended (malformed UTF-8, control characters, longer than a full name may
// be): one line per name, with every place it was used.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/kind.h"
#include "catalogue/scan.h"
#include "engine/noncopyable.h"

namespace tracklore {

// Equal for two names exactly when DB_SameName says they are the same
// name: the full Unicode case folding, for keys of hash maps.
std::string foldedname(std::string_view full);

class NameLedger : quill::NonCopyable {
 public:
  // The full name of a given text of kind 0..2 (album, artist, song); place
  // (a file or a folder) is where it was used, kept for the report.
  const std::string* full(Kind kind, const std::string& given, const std::string& place);

  // One line for each reported name to the notes, in the order first met,
  // and their counts.
  void report(ScanNotes& notes) const;

 private:
  struct Entry {
    std::string full;
    std::string stored;  // only for a reported name
    int issues = 0;      // bits of Issue
    std::vector<std::string> places;
  };
  enum Issue { Transliterated = 1, Cut = 2, StandIn = 4, Mended = 8 };
  std::unordered_map<std::string, Entry> names_[3];  // by the given text
  std::vector<std::pair<Kind, const Entry*>> reported_;

  Entry& make(Kind kind, const std::string& given);
};

}  // namespace tracklore
