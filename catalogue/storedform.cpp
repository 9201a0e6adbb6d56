// Full names and their stored forms, through ICU's transliteration.
#include "catalogue/storedform.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>

#include "catalogue/cp1252.h"
#include "catalogue/schema.h"
#include "catalogue/utf8.h"
#include "engine/keys.h"

namespace tracklore {

namespace {

bool control(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

// Blanks that folding makes one space: every white space of Unicode.
bool blank(char32_t c) {
  return c == ' ' || c == '\t' || u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_WHITE_SPACE);
}

// What trimming takes off a full name's ends: blanks, and the invisible
// characters that only join or separate (a zero-width space inside a name
// is dropped from its stored form instead).
bool trimmable(char32_t c) {
  return blank(c) || c == 0x200B || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF;
}

// The Windows-1252 byte of a character, or -1 when it has none.
int cp1252byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int b = 0x80; b < 0xA0; ++b)
    if (cp1252char(static_cast<uint8_t>(b)) == c && !control(c)) return b;
  return -1;
}

// One transliterator a thread: making one costs milliseconds, using it
// microseconds.
icu::Transliterator* latin() {
  thread_local std::unique_ptr<icu::Transliterator> instance = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
        "Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) made.reset();
    return made;
  }();
  return instance.get();
}

// A run of characters that Windows-1252 lacks, as the bytes that stand for
// it: its Latin transliteration, and of what that still lacks the base
// letters; the rest is dropped.
void transliterate(const icu::UnicodeString& run, std::string* bytes) {
  icu::UnicodeString latinised = run;
  if (icu::Transliterator* t = latin()) t->transliterate(latinised);
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  for (int32_t i = 0; i < latinised.length(); i = latinised.moveIndex32(i, 1)) {
    const auto c = static_cast<char32_t>(latinised.char32At(i));
    int b = control(c) || blank(c) ? ' ' : cp1252byte(c);
    if (b < 0 && U_SUCCESS(status)) {
      icu::UnicodeString parts;
      UErrorCode partstatus = U_ZERO_ERROR;
      nfd->normalize(icu::UnicodeString(static_cast<UChar32>(c)), parts, partstatus);
      // The base letter when it is one Windows-1252 holds; accents go.
      if (U_SUCCESS(partstatus) && parts.length() > 0) {
        const int base = cp1252byte(static_cast<char32_t>(parts.char32At(0)));
        if (base > ' ' && u_isalnum(parts.char32At(0))) b = base;
      }
    }
    if (b >= 0) *bytes += static_cast<char>(b);
  }
}

struct Derived {
  std::string bytes;
  bool transliterated = false;
};

// Windows-1252 bytes of a full name, blanks folded and trimmed, not yet
// capitalised or cut.
Derived derive(std::string_view full) {
  Derived out;
  std::string raw;
  raw.reserve(full.size());
  icu::UnicodeString run;
  const auto flush = [&] {
    if (run.isEmpty()) return;
    transliterate(run, &raw);
    run.remove();
    out.transliterated = true;
  };
  for (size_t at = 0; at < full.size();) {
    const auto byte = static_cast<unsigned char>(full[at]);
    if (byte >= 0x20 && byte < 0x7F && run.isEmpty()) {
      raw += static_cast<char>(byte);
      ++at;
      continue;
    }
    const char32_t c = utf8next(full, &at);
    const int b = control(c) || blank(c) ? ' ' : cp1252byte(c);
    if (b >= 0) {
      flush();
      raw += static_cast<char>(b);
    } else {
      run.append(static_cast<UChar32>(c));
    }
  }
  flush();
  out.bytes.reserve(raw.size());
  bool gap = false;
  for (char b : raw) {
    if (b == ' ' || b == '\t') {
      gap = !out.bytes.empty();
      continue;
    }
    if (gap) out.bytes += ' ';
    gap = false;
    out.bytes += b;
  }
  return out;
}

}  // namespace

FullForm DB_FullForm(std::string_view given) {
  FullForm out;
  std::u32string chars;
  for (size_t at = 0; at < given.size();) {
    const char32_t c = utf8next(given, &at);
    chars += control(c) ? U' ' : c;
  }
  size_t begin = 0, end = chars.size();
  while (begin < end && trimmable(chars[begin])) ++begin;
  while (end > begin && trimmable(chars[end - 1])) --end;
  if (end - begin > kFullNameChars) {
    end = begin + kFullNameChars;
    out.cut = true;
    while (end > begin && trimmable(chars[end - 1])) --end;
  }
  out.text.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) utf8append(&out.text, chars[i]);
  return out;
}

StoredForm DB_StoredForm(Kind kind, std::string_view full) {
  StoredForm out;
  Derived derived = derive(full);
  out.transliterated = derived.transliterated;
  std::string& bytes = derived.bytes;
  const size_t room = static_cast<size_t>(kNameLength[kindtable(kind)] - 1);
  if (bytes.size() > room) {
    bytes.resize(room);
    // A cut that ends on a blank would store a name the user cannot see end.
    while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
    out.cut = true;
  }
  if (bytes.empty()) {
    // A name of emoji alone still needs something to sort and seek by.
    bool anything = false;
    for (size_t at = 0; at < full.size() && !anything;) {
      const char32_t c = utf8next(full, &at);
      anything = !trimmable(c) && !control(c);
    }
    if (anything) {
      bytes = kStandIn;
      out.standin = true;
    }
  }
  quill::capitalize(bytes.data(), 1);
  out.stored = std::move(bytes);
  return out;
}

std::string DB_SeekForm(std::string_view typed) {
  std::string bytes = derive(typed).bytes;
  quill::capitalize(bytes.data(), 1);
  return bytes;
}

bool DB_SameName(std::string_view a, std::string_view b) {
  if (a == b) return true;
  const icu::UnicodeString ua = icu::UnicodeString::fromUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())));
  const icu::UnicodeString ub = icu::UnicodeString::fromUTF8(icu::StringPiece(b.data(), static_cast<int32_t>(b.size())));
  return ua.caseCompare(ub, U_FOLD_CASE_DEFAULT) == 0;
}

std::string DB_StoredToUtf8(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (const char byte : stored) {
    if (byte == '\0') break;
    utf8append(&out, cp1252char(static_cast<uint8_t>(byte)));
  }
  return out;
}

}  // namespace tracklore
