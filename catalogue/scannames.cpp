// Full names of a scan, derived once each, and their report.
#include "catalogue/scannames.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"

namespace tracklore {

std::string foldedname(std::string_view full) {
  std::string out(full);
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ascii) return out;
  out.clear();
  icu::UnicodeString::fromUTF8(icu::StringPiece(full.data(), static_cast<int32_t>(full.size())))
      .foldCase(U_FOLD_CASE_DEFAULT)
      .toUTF8String(out);
  return out;
}

namespace {

// The given text with only blanks trimmed: what DB_FullForm gives unless it
// had to mend the text.
std::string_view trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

NameLedger::Entry& NameLedger::make(Kind kind, const std::string& given) {
  auto [at, fresh] = names_[kindtable(kind)].try_emplace(given);
  Entry& entry = at->second;
  if (!fresh) return entry;
  FullForm full = DB_FullForm(given);
  entry.full = std::move(full.text);
  if (full.cut || entry.full != trimmed(given)) entry.issues |= Mended;
  if (!entry.full.empty()) {
    StoredForm stored = DB_StoredForm(kind, entry.full);
    if (stored.transliterated) entry.issues |= Transliterated;
    if (stored.cut) entry.issues |= Cut;
    if (stored.standin) entry.issues |= StandIn;
    if (entry.issues != 0) entry.stored = std::move(stored.stored);
  }
  if (entry.issues != 0) reported_.push_back({kind, &entry});
  return entry;
}

const std::string* NameLedger::full(Kind kind, const std::string& given, const std::string& place) {
  Entry& entry = make(kind, given);
  if (entry.issues != 0 && (entry.places.empty() || entry.places.back() != place))
    entry.places.push_back(place);
  return &entry.full;
}

void NameLedger::report(ScanNotes& notes) const {
  for (const auto& [kind, reported] : reported_) {
    const auto* entry = reported;  // a lambda may not capture a structured binding everywhere
    std::string what;
    const auto add = [&](int issue, const char* word, int* count) {
      if ((entry->issues & issue) == 0) return;
      ++*count;
      what += what.empty() ? word : std::string(", ") + word;
    };
    add(Transliterated, DB_Tr("Catalogue", "transliterated"), &notes.transliterated);
    add(Cut, DB_Tr("Catalogue", "cut"), &notes.cut);
    add(StandIn, DB_Tr("Catalogue", "a stand-in"), &notes.standins);
    add(Mended, DB_Tr("Catalogue", "mended"), &notes.mended);
    std::string line = textf(DB_Tr("Catalogue", "%s name \"%s\" stored as \"%s\" (%s), used in "),
                             DB_Tr("Kind", kindword(kind, CapSingularForm)), entry->full.c_str(),
                             DB_StoredToUtf8(entry->stored).c_str(), what.c_str());
    for (size_t i = 0; i < entry->places.size(); ++i) line += (i > 0 ? "; " : "") + entry->places[i];
    notes.line(line);
  }
}

}  // namespace tracklore
