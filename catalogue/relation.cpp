#include "catalogue/relation.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/errors.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

constexpr const char* kNotFound = "<not found>";
constexpr int kMissesBeforeSearching = 8;

int relationof(const quill::DataFile& rows) {
  if (&rows == &DB_Table(ArtistRows)) return 0;
  if (&rows == &DB_Table(SongRows)) return 1;
  return -1;
}

}  // namespace

Relation::Relation(quill::DataFile& rows, quill::DataFile& other, int32_t code, Direction direction)
    : rowscursor_(rows, direction == Direction::ByAttribute ? T_Attr : T_TitSeq),
      othercursor_(other, T_Code),
      rows_(*rowscursor_),
      other_(*othercursor_),
      code_(code),
      direction_(direction),
      relation_(relationof(rows)),
      // The last record bears the last serial handed out.
      shift_(other.isopen() ? other.header().serial - other.header().nrecs : 0) {
  quill::put4(key_, code);
}

int Relation::groupfield() const { return direction_ == Direction::ByAttribute ? F_Attr : F_Title; }
int Relation::linkfield() const { return direction_ == Direction::ByAttribute ? F_Title : F_Attr; }

bool Relation::valid() const {
  if (!rows_.valid()) return false;
  return const_cast<Rlist&>(rows_).field(groupfield()).aslong() == code_;
}

void Relation::align() {
  // Without an index nothing can be sought: the item then reads as missing.
  ErrorCode rc = quill::NotFound;
  if (rows_.valid()) rc = alignto(rows_.field(linkfield()).aslong());
  if (rc != Ok) {
    other_.unset();
    (void)other_.clear();  // clearing fields cannot fail
  }
}

ErrorCode Relation::alignto(int32_t code) {
  if (other_.selected() != T_Code) return quill::NotFound;
  // After a run of misses (a packed table read out of order) the reads are
  // only tried now and then, in case the shift settles again.
  if (misses_ < kMissesBeforeSearching || misses_ % kMissesBeforeSearching == 0) {
    if (other_.gorecord(code - shift_) == Ok && other_.field(F_Code).aslong() == code) {
      misses_ = 0;
      return Ok;
    }
  }
  ++misses_;
  uint8_t key[4];
  quill::put4(key, code);
  const ErrorCode rc = other_.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::First);
  if (rc == Ok) shift_ = code - other_.recno();
  return rc;
}

ErrorCode Relation::seekgroup(quill::SeekWhich which) {
  moved_ = 0;
  if (rows_.selected() < 0) return quill::GeneralError;  // tables opened without their index
  if (rows_.seek(key_, 4, quill::SeekMode::Prefix, which) != Ok) return quill::GeneralError;
  align();
  return Ok;
}

ErrorCode Relation::first() { return seekgroup(quill::SeekWhich::First); }
ErrorCode Relation::last() { return seekgroup(quill::SeekWhich::Last); }

// A list that has just appended stands on its group's last row: one
// bounded step that finds nothing after it costs less than a seek.
ErrorCode Relation::lastrow() {
  moved_ = 0;
  // A pending change may move the row, as a seek would save it; one that
  // cannot be saved stays pending, as after a seek.
  (void)rows_.flush();
  const quill::DataFile* table = rows_.datafile();
  if (lastrecno_ >= 0 && rows_.recno() == lastrecno_ && table->exclusive() &&
      table->header().stamp == laststamp_ && valid())
    return Ok;
  if (valid() && rows_.skip(1, quill::KeyLead{key_, sizeof key_}) == quill::TooFar &&
      rows_.moved() == 0 && valid())
    return Ok;
  if (rows_.selected() < 0) return quill::GeneralError;
  return rows_.seek(key_, 4, quill::SeekMode::Prefix, quill::SeekWhich::Last) == Ok
             ? Ok
             : quill::GeneralError;
}

// The group's rows are the entries whose keys begin with its code, so the
// tree alone tells where the group ends: no row beyond it is read.
ErrorCode Relation::skip(int n) {
  moved_ = 0;
  if (n == 0) return Ok;
  if (!valid()) return quill::GeneralError;
  const ErrorCode rc = rows_.skip(n, quill::KeyLead{key_, sizeof key_});
  moved_ = rows_.moved();
  align();
  return rc;
}

void Relation::notelast() {
  lastrecno_ = rows_.recno();
  laststamp_ = rows_.datafile()->header().stamp;
}

int32_t Relation::grouprank(quill::SeekWhich which) {
  if (rows_.selected() < 0) return -1;
  Rlist edge(rows_);
  (void)edge.select(rows_.selected());  // the tag rows_ stands in
  if (edge.seek(key_, 4, quill::SeekMode::Prefix, which) != Ok) return -1;
  return edge.before();
}

int32_t Relation::span() {
  const int32_t head = grouprank(quill::SeekWhich::First);
  if (head < 0) return head;
  return grouprank(quill::SeekWhich::Last) - head + 1;
}

int32_t Relation::before() {
  if (!valid()) return -1;
  const int32_t head = grouprank(quill::SeekWhich::First);
  const int32_t tail = grouprank(quill::SeekWhich::Last);
  if (head < 0 || tail < head) return -1;
  return std::clamp(rows_.before(), head, tail) - head;
}

ErrorCode Relation::seekrank(int32_t n) {
  const int32_t head = grouprank(quill::SeekWhich::First);
  const int32_t tail = grouprank(quill::SeekWhich::Last);
  if (head < 0 || tail < head) return quill::GeneralError;
  if (n <= 0) return first();
  if (n >= tail - head) return last();
  moved_ = 0;
  const ErrorCode rc = rows_.seekrank(head + n);
  // An estimate that strays out of the group ends at its nearer end.
  if (rc != Ok || !valid()) return n < (tail - head) / 2 ? first() : last();
  align();
  return Ok;
}

ErrorCode Relation::removecurrent() {
  ErrorCode rc = rows_.del();
  if (rc != Ok) return rc;
  if (!valid() && rows_.seek(key_, 4, quill::SeekMode::Prefix, quill::SeekWhich::Last) != Ok)
    return Ok;
  align();
  return Ok;
}

std::unique_ptr<Relation> DB_GetArticleAttributes(int r, int32_t title) {
  std::unique_ptr<Relation> list(new (std::nothrow) Relation(
      DB_Table(rowtable(r)), DB_Table(attrtable(r)), title, Relation::Direction::ByTitle));
  quill::chkalloc(list.get(), "DB_GetArticleAttributes");
  return list;
}

std::unique_ptr<Relation> DB_GetArticlesFromAttribute(int r, int32_t attr) {
  std::unique_ptr<Relation> list(new (std::nothrow) Relation(
      DB_Table(rowtable(r)), DB_Table(TitleTable), attr, Relation::Direction::ByAttribute));
  quill::chkalloc(list.get(), "DB_GetArticlesFromAttribute");
  return list;
}

ErrorCode DB_GetName(char* buffer, int table, int32_t code) {
  CodeLookup lookup;
  return lookup.name(buffer, table, code);
}

int DB_CountRelations(int32_t title) {
  uint8_t key[4];
  quill::put4(key, title);
  int count = 0;
  for (int table : {SongRows, ArtistRows}) {
    Rlist rows(&DB_Table(table));
    (void)rows.select(T_TitSeq);  // a tag of the schema
    if (rows.selected() == T_TitSeq &&
        rows.seek(key, 4, quill::SeekMode::Prefix, quill::SeekWhich::Any) == Ok)
      ++count;
  }
  return count;
}

int DB_CountRows(int r, int32_t title) {
  uint8_t key[4];
  quill::put4(key, title);
  Rlist rows(&DB_Table(rowtable(r)));
  (void)rows.select(T_TitSeq);  // a tag of the schema
  int count = 0;
  if (rows.selected() != T_TitSeq) return count;
  for (ErrorCode rc = rows.seek(key, 4, quill::SeekMode::Prefix, quill::SeekWhich::First);
       rc == Ok; rc = rows.skip(1, quill::KeyLead{key, 4}))
    ++count;
  return count;
}

std::string DB_FirstArtistName(Rlist& titlecursor) {
  const int32_t artist = titlecursor.field(F_AuxAttr).aslong();
  char name[kNameBuffer];
  if (artist == -1 || DB_GetName(name, ArtistTable, artist) != Ok) return {};
  return DB_FullName(Kind::Artist, artist, name);
}

CodeLookup::CodeLookup() = default;
CodeLookup::~CodeLookup() = default;

Rlist& CodeLookup::cursor(int table) {
  std::unique_ptr<Rlist>& cursor = cursors_[static_cast<size_t>(table)];
  if (!cursor) {
    cursor.reset(new (std::nothrow) Rlist(&DB_Table(table)));
    quill::chkalloc(cursor.get(), "CodeLookup::cursor");
    (void)cursor->select(T_Code);  // a tag of the schema
  }
  return *cursor;
}

ErrorCode CodeLookup::find(int table, int32_t code) {
  if (table < TitleTable || table > SongTable) return quill::BadParam;
  uint8_t key[4];
  quill::put4(key, code);
  Rlist& records = cursor(table);
  if (records.selected() != T_Code) return quill::NotFound;  // no index open
  return records.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

ErrorCode CodeLookup::name(char* buffer, int table, int32_t code) {
  ErrorCode rc = find(table, code);
  if (rc == Ok) {
    const quill::Field& name = cursor(table).field(F_Name);
    std::memcpy(buffer, name.data(), static_cast<size_t>(name.length()));
    buffer[name.length() - 1] = '\0';
  } else {
    std::strcpy(buffer, kNotFound);
  }
  return rc;
}

}  // namespace tracklore
