// The word search: each kind's folded names kept while the tables stay as
// they were, and the finds with their full names.
#include "catalogue/search.h"

#include <cstring>
#include <unordered_map>

#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/searchfold.h"
#include "catalogue/searchindex.h"
#include "catalogue/sparecursors.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

using quill::Ok;

// What tells that a table changed: every append, delete and change of a
// key moves its counters or its stamp. A name is always written with its
// tagged field set (a record's Name, an entry's Part), and setting a tagged
// field raises the stamp even when its bytes stay: so a full name
// rewritten in place past the stored field is seen too.
struct TableState {
  bool open = false;
  int32_t created = 0, nrecs = 0, ndeleted = 0, serial = 0, stamp = 0;
  bool operator==(const TableState&) const = default;
};

TableState stateof(quill::DataFile& table) {
  TableState s;
  if (!table.isopen() || table.refresh() != Ok) return s;
  const quill::Header& h = table.header();
  return {true, h.created, h.nrecs, h.ndeleted, h.serial, h.stamp};
}

// The tables' state that one kind's names were read in.
struct Snapshot {
  uint32_t generation = 0;
  TableState table, names;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(int kind) {
  return {DB_TablesGeneration(), stateof(DB_Table(kind)), stateof(DB_Table(NameTable))};
}

struct KeptNames {
  bool built = false;
  Snapshot taken;
  SearchIndex index;
};

KeptNames& kept(int kind) {
  static KeptNames names[3];
  return names[kind];
}

std::string storedname(quill::Rlist& cursor) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

// The full names of a kind's records that have entries, read in one walk
// of the name table; a name whose parts are not 0, 1, 2, ... is left out,
// as DB_FullName then shows the stored name.
std::unordered_map<int32_t, std::string> fullnames(int kind) {
  std::unordered_map<int32_t, std::string> full;
  quill::DataFile& table = DB_Table(NameTable);
  if (!table.isopen() || table.nlive() == 0) return full;
  SpareCursor spare(table, T_KindCodePart);
  quill::Rlist& cursor = *spare;
  uint8_t lead[2];
  quill::put2(lead, kind);
  std::unordered_map<int32_t, int> nextpart;
  for (ErrorCode rc = cursor.seek(lead, 2, quill::SeekMode::Prefix, quill::SeekWhich::First);
       rc == Ok; rc = cursor.skip(1, quill::KeyLead{lead, 2})) {
    const int32_t code = cursor.field(F_NameCode).aslong();
    auto [next, fresh] = nextpart.try_emplace(code, 0);
    if (next->second < 0) continue;
    if (cursor.field(F_Part).asint() != next->second) {
      next->second = -1;
      full.erase(code);
      continue;
    }
    ++next->second;
    const quill::Field& text = cursor.field(F_Text);
    const char* data = reinterpret_cast<const char*>(text.data());
    full[code].append(data, strnlen(data, static_cast<size_t>(text.length())));
  }
  return full;
}

// At least as many bytes as the stored form of a full name takes before it
// is cut: a Latin letter becomes at most two ("ß" "ss"), a Greek or Cyrillic
// one at most four ("Щ" "Shch"), any other character at most eight (a Han
// character's syllable and its blank).
size_t transliteratedbound(std::string_view full) {
  size_t bytes = 0;
  for (size_t i = 0; i < full.size();) {
    const auto lead = static_cast<uint8_t>(full[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = lead < 0x80 ? lead : lead < 0xE0 ? lead & 0x1F : lead < 0xF0 ? lead & 0x0F : lead & 0x07;
    for (size_t k = 1; k < length && i + k < full.size(); ++k)
      c = c << 6 | (static_cast<uint8_t>(full[i + k]) & 0x3F);
    bytes += c < 0x250 ? 2 : (c >= 0x370 && c < 0x530) ? 4 : 8;
    i += length;
  }
  return bytes;
}

void build(int kind, SearchIndex* index) {
  index->clear();
  const std::unordered_map<int32_t, std::string> full = fullnames(kind);
  quill::Rlist cursor(&DB_Table(kind));
  (void)cursor.select(T_Name);  // a tag of the schema
  std::string folded;
  for (ErrorCode rc = cursor.first(); rc == Ok; rc = cursor.skip(1)) {
    const int32_t code = cursor.field(F_Code).aslong();
    folded.clear();
    // The stored form is the full name's transliteration: it serves unless
    // it may have been cut to the field or is the stand-in, where the name
    // kept in full is transliterated again (the slow part, so only then).
    const std::string stored = storedname(cursor);
    const auto entry = full.find(code);
    const bool whole = entry == full.end() ||
                       (transliteratedbound(entry->second) < static_cast<size_t>(cursor.field(F_Name).length()) &&
                        stored != kStandIn);
    DB_FoldWords(whole ? stored : DB_SeekForm(entry->second), &folded);
    index->add(code, folded);
  }
  index->shrink();
}

const SearchIndex& namesof(int kind) {
  KeptNames& k = kept(kind);
  const Snapshot now = snapshot(kind);
  if (!k.built || k.taken != now) {
    build(kind, &k.index);
    k.taken = now;
    k.built = true;
  }
  return k.index;
}

}  // namespace

ErrorCode DB_SearchCodes(const std::vector<std::string>& words, int kind,
                         std::vector<int32_t>* codes) {
  codes->clear();
  if (kind < TitleTable || kind > SongTable) return quill::BadParam;
  if (words.empty()) return EmptySearch;
  if (!DB_IsOpen()) return quill::GeneralError;
  *codes = namesof(kind).find(words);
  return Ok;
}

ErrorCode DB_Search(std::string_view text, unsigned kinds, SearchResults* results) {
  *results = {};
  const std::vector<std::string> words = DB_SearchWords(text);
  if (words.empty()) return EmptySearch;
  CodeLookup lookup;
  for (int kind = TitleTable; kind <= SongTable; ++kind) {
    if (!(kinds & (1u << kind))) continue;
    std::vector<int32_t> codes;
    if (ErrorCode rc = DB_SearchCodes(words, kind, &codes); rc != Ok) return rc;
    std::vector<SearchHit>& hits = results->found[kind];
    hits.reserve(codes.size());
    for (int32_t code : codes) {
      if (lookup.find(kind, code) != Ok) continue;
      quill::Rlist& cursor = lookup.cursor(kind);
      SearchHit hit{code, DB_CurrentFullName(cursor, kind), {}};
      if (kind == TitleTable) hit.firstartist = DB_FirstArtistName(cursor);
      hits.push_back(std::move(hit));
    }
  }
  return Ok;
}

size_t DB_SearchMemory() {
  return kept(TitleTable).index.bytes() + kept(ArtistTable).index.bytes() +
         kept(SongTable).index.bytes();
}

}  // namespace tracklore
