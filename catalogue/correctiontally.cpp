// Verification's questions during recovery, answered and counted by kind.
#include "catalogue/correctiontally.h"

#include "catalogue/text.h"
#include "catalogue/translate.h"

namespace tracklore {

namespace {

// 59127 -> "59,127": a count of a large catalogue stays readable.
std::string grouped(long n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
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
  // Verification titles its questions in the user's language.
  static constexpr Phrase kPhrases[] = {
      {QT_TRANSLATE_NOOP("Catalogue", "Invalid title code"),
       QT_TRANSLATE_NOOP("Catalogue", "row of no album deleted"),
       QT_TRANSLATE_NOOP("Catalogue", "rows of no album deleted")},
      {QT_TRANSLATE_NOOP("Catalogue", "Invalid attr code"),
       QT_TRANSLATE_NOOP("Catalogue", "row of no artist or song deleted"),
       QT_TRANSLATE_NOOP("Catalogue", "rows of no artist or song deleted")},
      {QT_TRANSLATE_NOOP("Catalogue", "Sequencing error"),
       QT_TRANSLATE_NOOP("Catalogue", "sequence number corrected"),
       QT_TRANSLATE_NOOP("Catalogue", "sequence numbers corrected")},
      {QT_TRANSLATE_NOOP("Catalogue", "Invalid reference count"),
       QT_TRANSLATE_NOOP("Catalogue", "reference count corrected"),
       QT_TRANSLATE_NOOP("Catalogue", "reference counts corrected")},
      {QT_TRANSLATE_NOOP("Catalogue", "Invalid aux attr"),
       QT_TRANSLATE_NOOP("Catalogue", "first artist corrected"),
       QT_TRANSLATE_NOOP("Catalogue", "first artists corrected")},
      {QT_TRANSLATE_NOOP("Catalogue", "Invalid full name"),
       QT_TRANSLATE_NOOP("Catalogue", "full name removed"),
       QT_TRANSLATE_NOOP("Catalogue", "full names removed")},
      {QT_TRANSLATE_NOOP("Catalogue", "Damaged index"),
       QT_TRANSLATE_NOOP("Catalogue", "damaged index rebuilt"),
       QT_TRANSLATE_NOOP("Catalogue", "damaged indexes rebuilt")},
  };
  for (const Phrase& phrase : kPhrases)
    if (kind.title == DB_Tr("Catalogue", phrase.title))
      return grouped(kind.count) + " " +
             DB_Tr("Catalogue", kind.count == 1 ? phrase.one : phrase.many);
  return textf(DB_Tr("Catalogue", "%s corrected: %s"), grouped(kind.count).c_str(),
               kind.title.c_str());
}

std::vector<std::string> CorrectionTally::lines() const {
  std::vector<std::string> lines;
  for (const Kind& kind : corrected_)
    lines.push_back(textf(DB_Tr("Catalogue", "verification: %s"), counted(kind).c_str()));
  for (const Kind& kind : unmended_) {
    const std::string more = kind.count > 1 ? textf(DB_Tr("Catalogue", " (and %s more)"),
                                                    grouped(kind.count - 1).c_str())
                                            : std::string();
    lines.push_back(textf(DB_Tr("Catalogue", "verification found what it cannot correct: %s: %s%s"),
                          kind.title.c_str(), kind.first.c_str(), more.c_str()));
  }
  return lines;
}

}  // namespace tracklore
