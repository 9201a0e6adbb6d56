// Verification's questions during recovery, answered and counted by kind.
#include "catalogue/correctiontally.h"

namespace tracklore {

namespace {

// 59127 -> "59,127": a count of a large catalogue stays readable.
std::string grouped(long n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

}  // namespace

Answer CorrectionTally::message(const char* text, const char* title, Buttons buttons, Icon) {
  if (buttons == Buttons::OK) {
    note(unmended_, title, text);
    return Answer::OK;
  }
  note(corrected_, title, "");
  return buttons == Buttons::OKCancel ? Answer::OK : Answer::Yes;
}

void CorrectionTally::note(std::vector<Kind>& kinds, const char* title, const char* text) {
  for (Kind& kind : kinds)
    if (kind.title == title) {
      ++kind.count;
      return;
    }
  kinds.push_back({title, 1, text});
}

// "59,127 reference counts corrected": what verification's question of
// that title corrects, counted.
std::string CorrectionTally::counted(const Kind& kind) {
  struct Phrase {
    const char* title;
    const char* one;
    const char* many;
  };
  static constexpr Phrase kPhrases[] = {
      {"Invalid title code", "row of no album deleted", "rows of no album deleted"},
      {"Invalid attr code", "row of no artist or song deleted", "rows of no artist or song deleted"},
      {"Sequencing error", "sequence number corrected", "sequence numbers corrected"},
      {"Invalid reference count", "reference count corrected", "reference counts corrected"},
      {"Invalid aux attr", "first artist corrected", "first artists corrected"},
      {"Invalid full name", "full name removed", "full names removed"},
      {"Damaged index", "damaged index rebuilt", "damaged indexes rebuilt"},
  };
  for (const Phrase& phrase : kPhrases)
    if (kind.title == phrase.title)
      return grouped(kind.count) + " " + (kind.count == 1 ? phrase.one : phrase.many);
  return grouped(kind.count) + " corrected: " + kind.title;
}

std::vector<std::string> CorrectionTally::lines() const {
  std::vector<std::string> lines;
  for (const Kind& kind : corrected_) lines.push_back("verification: " + counted(kind));
  for (const Kind& kind : unmended_)
    lines.push_back("verification found what it cannot correct: " + kind.title + ": " +
                    kind.first +
                    (kind.count > 1 ? " (and " + grouped(kind.count - 1) + " more)" : ""));
  return lines;
}

}  // namespace tracklore
