// The word search: each kind's folded names, read once and kept up to date
// with every change, and the finds with their full names.
#include "catalogue/search.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/searchfold.h"
#include "catalogue/searchindex.h"
#include "catalogue/searchwatch.h"
#include "catalogue/sparecursors.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "catalogue/utf8.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

using quill::Ok;

std::string storedname(quill::Rlist& cursor) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

// The full names of the records whose name-table entries begin with the
// lead (a kind, or a kind and a code), read in one walk of the name table;
// a name whose parts are not 0, 1, 2, ... is left out, as DB_FullName then
// shows the stored name.
std::unordered_map<int32_t, std::string> fullnames(const uint8_t* lead, int leadlength) {
  std::unordered_map<int32_t, std::string> full;
  quill::DataFile& table = DB_Table(NameTable);
  if (!table.isopen() || table.nlive() == 0) return full;
  SpareCursor spare(table, T_KindCodePart);
  quill::Rlist& cursor = *spare;
  const quill::KeyLead bound{lead, leadlength};
  std::unordered_map<int32_t, int> nextpart;
  for (ErrorCode rc = cursor.seek(lead, leadlength, quill::SeekMode::Prefix, quill::SeekWhich::First);
       rc == Ok; rc = cursor.skip(1, bound)) {
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

std::unordered_map<int32_t, std::string> fullnamesofkind(Kind kind) {
  uint8_t lead[2];
  quill::put2(lead, kindtable(kind));
  return fullnames(lead, 2);
}

// The full name of one record when the name table holds one; "" if not.
std::string fullnameof(Kind kind, int32_t code) {
  uint8_t lead[6];
  quill::put2(lead, kindtable(kind));
  quill::put4(lead + 2, code);
  std::unordered_map<int32_t, std::string> full = fullnames(lead, 6);
  const auto entry = full.find(code);
  return entry == full.end() ? std::string() : std::move(entry->second);
}

// At least as many bytes as the stored form of a full name takes before it
// is cut: a Latin letter becomes at most two ("ß" "ss"), a Greek or Cyrillic
// one at most four ("Щ" "Shch"), any other character at most eight (a Han
// character's syllable and its blank).
size_t transliteratedbound(std::string_view full) {
  size_t bytes = 0;
  for (size_t i = 0; i < full.size();) {
    const char32_t c = utf8next(full, &i);
    bytes += c < 0x250 ? 2 : (c >= 0x370 && c < 0x530) ? 4 : 8;
  }
  return bytes;
}

// The folded words of the record under the cursor, whose full name (""
// for none kept) is given.
std::string foldedname(quill::Rlist& cursor, const std::string& full) {
  std::string folded;
  // The stored form is the full name's transliteration: it serves unless
  // it may have been cut to the field or is the stand-in, where the name
  // kept in full is transliterated again (the slow part, so only then).
  const std::string stored = storedname(cursor);
  const bool whole = full.empty() ||
                     (transliteratedbound(full) < static_cast<size_t>(cursor.field(F_Name).length()) &&
                      stored != kStandIn);
  DB_FoldWords(whole ? stored : DB_SeekForm(full), &folded);
  return folded;
}

void build(Kind kind, SearchIndex* index) {
  index->clear();
  const std::unordered_map<int32_t, std::string> full = fullnamesofkind(kind);
  const std::string none;
  quill::Rlist cursor(&DB_Table(kindtable(kind)));
  (void)cursor.select(T_Name);  // a tag of the schema
  for (ErrorCode rc = cursor.first(); rc == Ok; rc = cursor.skip(1)) {
    const int32_t code = cursor.field(F_Code).aslong();
    const auto entry = full.find(code);
    index->add(code, cursor.recno(), foldedname(cursor, entry == full.end() ? none : entry->second));
  }
  index->shrink();
}

// The records of the kind whose names may have changed: those the watch
// told of, and the owners of the name-table entries it told of.
std::vector<int32_t> changedrecords(Kind kind, const KindChanges& changes) {
  std::vector<int32_t> records = changes.records();
  if (!changes.entries().empty() && DB_Table(NameTable).isopen()) {
    quill::Rlist entry(&DB_Table(NameTable));
    CodeLookup lookup;
    for (int32_t recno : changes.entries()) {
      // A deleted entry keeps its bytes: its owner is still read.
      if (entry.go(quill::GoHow::Absolute, recno) != Ok || entry.field(F_Kind).asint() != kindtable(kind))
        continue;
      if (lookup.find(kindtable(kind), entry.field(F_NameCode).aslong()) == Ok)
        records.push_back(lookup.cursor(kindtable(kind)).recno());
    }
  }
  std::sort(records.begin(), records.end());
  records.erase(std::unique(records.begin(), records.end()), records.end());
  return records;
}

// Where a record read again goes among the names kept: after the nearest
// record before it in name order that did not change (its anchor), found
// by walking back through those that did; each record walked through is
// given its place on the way, so that no stretch of changed records is
// walked twice.
class Placer {
 public:
  struct Spot {
    int32_t anchor = -1;  // the record it follows, -1 for the start
    uint32_t rank = 0;    // 1 right after the anchor, 2 after that, ...
  };

  Placer(Kind kind, const std::vector<int32_t>& changed)
      : changed_(changed), walker_(&DB_Table(kindtable(kind))) {
    (void)walker_.select(T_Name);  // a tag of the schema
  }

  // Ok with the spot of a live record.
  ErrorCode place(int32_t recno, Spot* spot) {
    if (const auto known = spots_.find(recno); known != spots_.end()) {
      *spot = known->second;
      return Ok;
    }
    if (ErrorCode rc = walker_.gorecord(recno); rc != Ok) return rc;
    std::vector<int32_t> path{recno};
    Spot at;
    while (walker_.skip(-1) == Ok) {
      const int32_t before = walker_.recno();
      if (const auto known = spots_.find(before); known != spots_.end()) {
        at = known->second;
        break;
      }
      if (!std::binary_search(changed_.begin(), changed_.end(), before)) {
        at.anchor = before;
        break;
      }
      path.push_back(before);
    }
    for (auto step = path.rbegin(); step != path.rend(); ++step) {
      ++at.rank;
      spots_[*step] = at;
    }
    *spot = at;
    return Ok;
  }

 private:
  const std::vector<int32_t>& changed_;
  quill::Rlist walker_;
  std::unordered_map<int32_t, Spot> spots_;
};

// Reads again the names of the records that changed and puts them in
// their places. False when an anchor has no name kept (nothing changed).
bool patch(Kind kind, const std::vector<int32_t>& changed, SearchIndex* index) {
  struct Read {
    Placer::Spot spot;
    SearchIndex::Placed name;
  };
  std::vector<Read> reads;
  Placer placer(kind, changed);
  quill::Rlist cursor(&DB_Table(kindtable(kind)));
  std::vector<int32_t> known = changed;  // the records whose slots are needed
  for (int32_t recno : changed) {
    Read read;
    // A record deleted is only taken out.
    if (cursor.go(quill::GoHow::Absolute, recno) != Ok || cursor.isdeleted() ||
        placer.place(recno, &read.spot) != Ok)
      continue;
    read.name.code = cursor.field(F_Code).aslong();
    read.name.recno = recno;
    read.name.rank = read.spot.rank;
    read.name.folded = foldedname(cursor, fullnameof(kind, read.name.code));
    if (read.spot.anchor >= 0) known.push_back(read.spot.anchor);
    reads.push_back(std::move(read));
  }
  std::sort(known.begin(), known.end());
  known.erase(std::unique(known.begin(), known.end()), known.end());
  const std::vector<uint32_t> slots = index->slotsof(known);
  auto slotof = [&](int32_t recno) {
    return slots[static_cast<size_t>(std::lower_bound(known.begin(), known.end(), recno) - known.begin())];
  };
  std::vector<uint32_t> dropped;
  for (int32_t recno : changed)
    if (const uint32_t slot = slotof(recno); slot != SearchIndex::kNoSlot) dropped.push_back(slot);
  std::vector<SearchIndex::Placed> placed;
  for (Read& read : reads) {
    if (read.spot.anchor >= 0) {
      const uint32_t slot = slotof(read.spot.anchor);
      if (slot == SearchIndex::kNoSlot) return false;
      read.name.follows = slot + 1;
    }
    placed.push_back(std::move(read.name));
  }
  index->patch(std::move(dropped), std::move(placed));
  return true;
}

SearchIndex& kept(Kind kind) {
  static SearchIndex names[3];
  return names[kindtable(kind)];
}

const SearchIndex& namesof(Kind kind) {
  SearchIndex& index = kept(kind);
  KindChanges& changes = DB_SearchChanges(kind);
  const bool changed = !changes.records().empty() || !changes.entries().empty();
  if (changes.complete() && (!changed || patch(kind, changedrecords(kind, changes), &index))) {
    changes.settled();
    return index;
  }
  changes.start();
  build(kind, &index);
  return index;
}

}  // namespace

ErrorCode DB_SearchCodes(const std::vector<std::string>& words, Kind kind,
                         std::vector<int32_t>* codes) {
  codes->clear();
  if (!validkind(kind)) return quill::BadParam;
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
  for (const Kind kind : kKinds) {
    const int table = kindtable(kind);
    if (!(kinds & (1u << table))) continue;
    std::vector<int32_t> codes;
    if (ErrorCode rc = DB_SearchCodes(words, kind, &codes); rc != Ok) return rc;
    std::vector<SearchHit>& hits = results->found[table];
    hits.reserve(codes.size());
    for (int32_t code : codes) {
      if (lookup.find(table, code) != Ok) continue;
      quill::Rlist& cursor = lookup.cursor(table);
      SearchHit hit{code, DB_CurrentFullName(cursor, kind), {}};
      if (kind == Kind::Album) hit.firstartist = DB_FirstArtistName(cursor);
      hits.push_back(std::move(hit));
    }
  }
  return Ok;
}

size_t DB_SearchMemory() {
  return kept(Kind::Album).bytes() + kept(Kind::Artist).bytes() + kept(Kind::Song).bytes();
}

}  // namespace tracklore
