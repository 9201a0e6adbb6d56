// Structure change: fields and tags added to a closed table.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/maintain.h"
#include "engine/rlist.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using Bytes = std::vector<unsigned char>;

const std::vector<FieldDescr>& kFour = kExampleFields;

// Suites whose every test runs in a temporary directory.
using InsertField = test::InTempDir;
using InsertTag = test::InTempDir;

// What a structure change keeps: the counters and the creation time.
void expect_same_counters(const Header& before, const Header& after) {
  EXPECT_EQ(std::tie(after.nrecs, after.serial, after.ndeleted, after.created),
            std::tie(before.nrecs, before.serial, before.ndeleted, before.created));
}
std::vector<Bytes> three_records(const std::string& base) {
  return {record_at(base, 0), record_at(base, 1), record_at(base, 2)};
}
// Nine bytes of fields ("C" 5, "L" 4) and the status byte.
void make_ten(const std::string& base) {
  ASSERT_EQ(make_table(base, {{'C', 5, "Name"}, {'L', 4, "Num"}}), Ok);
  append_raw(base, {{'a', 'b', 'c', 'd', 0, 0x01, 0x02, 0x03, 0x04, ' '},
                    {'e', 'f', 0, 0, 0, 0xFF, 0xFE, 0xFD, 0xFC, '*'},
                    {'g', 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x07, ' '}});
}

TEST_F(InsertField, IntoTheRecordsAtEitherEndAndIntoTheHeaderRecord) {
  make_ten("t");
  const Header before = header_of("t");
  const std::vector<Bytes> old = three_records("t");
  ProgressLog log;
  Progress progress{ProgressLog::add, &log, 0, 0, 0};
  ASSERT_EQ(insert_field("t", -1, {'L', 0, "New"}, FieldGroup::Record, &progress), Ok);
  EXPECT_EQ(std::make_pair(progress.done, log.last()), std::make_pair(3, 100));
  const Header after = header_of("t");
  EXPECT_EQ(std::tie(after.reclen, after.nfields), std::make_tuple(14, 3));
  EXPECT_EQ(std::tie(after.fields[2].type, after.fields[2].length, after.fields[2].name),
            std::make_tuple('L', int16_t{4}, std::string("New")));
  expect_same_counters(before, after);
  EXPECT_EQ(after.stamp, before.stamp);
  std::vector<Bytes> want = old;
  for (Bytes& r : want) r.insert(r.begin() + 9, 4, 0);  // the new field, zeros before the status
  EXPECT_EQ(three_records("t"), want);
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1"}));

  // A serial field numbers the records.
  ASSERT_EQ(insert_field("t", 0, {'X', 0, "Code"}, FieldGroup::Record), Ok);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(get4(record_at("t", n).data()), n);
  EXPECT_EQ(record_at("t", 1)[17], '*');  // the deleted record stays deleted
  EXPECT_EQ(header_of("t").ndeleted, 1);
  EXPECT_EQ(record_at("t", 0)[4], 'a');
  // Header-record fields convert the header record only.
  ASSERT_EQ(insert_field("t", -1, {'L', 0, "Total"}, FieldGroup::Header), Ok);
  const Header h = header_of("t");
  ASSERT_EQ(std::tie(h.arealen, h.nareas), std::make_tuple(4, 1));
  Bytes b = read_all("t.db1");
  put4(&b[h.hdrlen], 0x11223344);
  write_all("t.db1", b);
  const std::vector<Bytes> kept = three_records("t");
  ASSERT_EQ(insert_field("t", 0, {'S', 0, "Flags"}, FieldGroup::Header), Ok);
  const Header areas = header_of("t");
  EXPECT_EQ(std::tie(areas.arealen, areas.areas[0].name, areas.areas[1].name),
            std::make_tuple(6, std::string("Flags"), std::string("Total")));
  const Bytes a = read_all("t.db1");
  EXPECT_EQ(Bytes(a.begin() + areas.hdrlen, a.begin() + areas.hdrlen + 6),
            (Bytes{0, 0, 0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(three_records("t"), kept);
  EXPECT_EQ(a.size(), static_cast<size_t>(areas.datastart + 3 * areas.reclen));
}

TEST_F(InsertField, AtPositionZeroTagsFollowTheirFieldsAndTheIndexStaysValid) {
  ASSERT_EQ(make_table("t", kFour, {{{{2, 0, 0}}, "ByMark"}, {{{0, 0, 0}}, "ByName"}}), Ok);
  Bytes r(67, 0);
  for (int i = 0; i < 4; ++i) {
    r[0] = static_cast<unsigned char>('a' + i);
    r[60] = static_cast<unsigned char>('z' - i);
    r[66] = i == 2 ? '*' : ' ';
    append_raw("t", {r});
  }
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  const Bytes idx = read_all("t.idx");
  const int32_t stamp = header_of("t").stamp;
  ASSERT_EQ(insert_field("t", 0, {'S', 0, "First"}, FieldGroup::Record), Ok);
  const Header h = header_of("t");
  EXPECT_EQ(h.fields[3].name, "Mark");
  // The field at the position itself moves too.
  EXPECT_EQ(std::tie(h.tags[0].comps[0].field, h.tags[1].comps[0].field, h.stamp), std::make_tuple(3, 1, stamp));
  EXPECT_EQ(read_all("t.idx"), idx);
  EXPECT_TRUE(sound("t"));  // the trees match the records through the moved tags
  DataFile table;
  ASSERT_EQ(table.open("t", {.readonly = true}), Ok);
  Rlist cursor(&table);
  ASSERT_EQ(cursor.first(), Ok);
  EXPECT_EQ(cursor.field(3).data()[0], 'z');
  EXPECT_EQ(cursor.field(0).asint(), 0);
}

// Positions out of range, bad fields and tag components, a missing table, records beyond their
// length and keys beyond a quarter of a page are refused with a warning and change nothing; the
// last position, the longest record and key, and tags whatever their flags are taken.
TEST_F(InsertField, PositionsFieldsTagsAndLengthsOutOfRangeAreRefused) {
  ASSERT_EQ(make_table("t", kFour, {{{{0, 0, 0}}, "A"}, {{{1, 0, 0}}, "B"}}), Ok);
  ASSERT_EQ(make_table("big", {{'B', 32000, "Big"}}), Ok);
  ASSERT_EQ(make_table("k", {{'C', 200, "A"}, {'C', 57, "B"}}), Ok);
  const DirContents before = dir_contents();
  CapturedReports reports;
  for (int at : {7, -2})
    EXPECT_EQ(insert_field("t", at, {'L', 0, "Late"}, FieldGroup::Record), BadParam) << at;
  EXPECT_EQ(insert_field("t", 1, {'L', 0, "Area"}, FieldGroup::Header), BadParam);  // no header-record fields yet
  for (const FieldDescr& bad : {FieldDescr{'Q', 4, "Odd"}, FieldDescr{'C', 0, "Name"}, FieldDescr{'B', -3, "Raw"}})
    EXPECT_EQ(insert_field("t", 0, bad, FieldGroup::Record), BadParam) << bad.name;
  EXPECT_EQ(insert_field("missing", -1, {'L', 0, "New"}, FieldGroup::Record), DataOpen);
  for (const TagNode& bad : {TagNode{{}, "Empty"}, TagNode{{{0, 0, 0}, {4, 0, 0}}, "Far"},
                             TagNode{{{-1, 0, 0}}, "Neg"}, TagNode{{{0, 60, 0}}, "ByName"},
                             TagNode{{{1, 0, 0}, {2, -1, 0}}, "Short"}})
    EXPECT_EQ(insert_tag("t", -1, bad), BadParam) << bad.name;
  EXPECT_EQ(insert_tag("t", 3, {{{3, 0, 0}}, "C"}), BadParam);
  EXPECT_EQ(insert_tag("missing", -1, {{{3, 0, 0}}, "C"}), DataOpen);
  EXPECT_EQ(insert_tag("k", -1, {{{0, 0, 0}, {1, 0, 0}}, "Both"}), BadParam);
  EXPECT_EQ(dir_contents(), before);
  EXPECT_EQ(reports.messages().at(0).level, ReportLevel::Warning);
  ASSERT_EQ(insert_field("t", 4, {'L', 0, "Late"}, FieldGroup::Record), Ok);
  EXPECT_EQ(header_of("t").fields[4].name, "Late");
  EXPECT_EQ(insert_tag("t", -1, {{{0, 56, 0}, {3, 0, CF_DESC}}, "Good"}), Ok);
  EXPECT_EQ(insert_tag("t", -1, {{{2, 2, 0xFFFF}}, "Flags"}), Ok);  // flags are not examined
  EXPECT_EQ(insert_field("big", -1, {'B', 32000, "Bigger"}, FieldGroup::Record), Ok);
  EXPECT_EQ(insert_field("big", -1, {'B', 32000, "Too"}, FieldGroup::Record), BadParam);
  EXPECT_EQ(header_of("big").reclen, 64001);
  EXPECT_EQ(insert_tag("k", -1, {{{0, 0, 0}, {1, 56, 0}}, "Both"}), Ok);
  EXPECT_EQ(opens("k", {.readonly = true, .noindex = true}), Ok);
  EXPECT_EQ(reports.texts(),
            (std::vector<std::string>{
                "insert_field: bad field position 7 (use 0~4)",
                "insert_field: bad field position -2 (use 0~4)",
                "insert_field: bad field position 1 (use 0~0)",
                "normalize: invalid type 'Q' supplied for field 'Odd'",
                "normalize: invalid length 0 supplied for field 'Name'",
                "normalize: invalid length -3 supplied for field 'Raw'",
                "normalizetag: tag 'Empty' has no components",
                "normalizetag: tag 'Far', component 1: invalid field number 4",
                "normalizetag: tag 'Neg', component 0: invalid field number -1",
                "normalizetag: tag 'ByName', component 0: invalid length 60 (use 0~56)",
                "normalizetag: tag 'Short', component 1: invalid length -1 (use 0~2)",
                "insert_tag: bad tag position 3 (use 0~2)",
                "normalizetag: tag 'Both': keys of 257 bytes are too long; should not exceed 256 bytes",
                "insert_field: field 'Too' of length 32000 makes the record too long"}));
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1", "big.db1", "k.db1"}));
}

// A write failing anywhere in the new file of a field or a tag change leaves the table as it was.
// (A failed move and a damaged header meet the copy that the pack shares, and are tried there.)
TEST_F(InsertField, AFailedWriteLeavesTheTableAsItWas) {
  make_ten("t");
  const DirContents before = dir_contents();
  const Header h = header_of("t");
  CapturedReports reports;
  const auto field = [] { return insert_field("t", 1, {'L', 0, "New"}, FieldGroup::Record); };
  const auto tag = [] { return insert_tag("t", -1, {{{0, 0, 0}}, "ByName"}); };
  // The new file's header lies 20 bytes further on for a field (one more descriptor), 24 for a tag.
  const std::pair<std::function<ErrorCode()>, std::vector<int32_t>> changes[] = {
      {field, {0, kHeadLen + 1, h.hdrlen + 20, h.datastart + 20 + 14 + 3}},
      {tag, {0, h.hdrlen + 10, h.datastart + 24 + 15}}};
  for (const auto& [change, points] : changes)
    for (int32_t from : points) {
      WriteFault fault(from);
      EXPECT_EQ(change(), WriteFailed) << from;
      EXPECT_EQ(dir_contents(), before) << from;
    }
}

TEST_F(InsertTag, RecordsAndCountersStayTheStampRisesAndDatesTheIndex) {
  make_ten("t");
  const Header before = header_of("t");
  const std::vector<Bytes> old = three_records("t");
  ASSERT_EQ(insert_tag("t", 0, {{{1, 0, CF_DESC}}, "ByNum"}), Ok);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  const Bytes idx = read_all("t.idx");
  ASSERT_EQ(insert_tag("t", 0, {{{0, 3, 0}, {1, 0, 0}}, "ByName"}), Ok);
  const Header after = header_of("t");
  EXPECT_EQ(std::tie(after.ncomps, after.tags[0].name, after.tags[1].name, after.tags[1].comps[0].flags),
            std::make_tuple(3, std::string("ByName"), std::string("ByNum"), uint16_t{CF_DESC}));
  expect_same_counters(before, after);
  EXPECT_EQ(after.stamp, before.stamp + 2);
  EXPECT_EQ(three_records("t"), old);
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1", "t.idx"}));
  EXPECT_EQ(read_all("t.idx"), idx);
  // The stamp has moved past the index's: the index built for one tag is out of date, not damaged.
  DataFile table;
  EXPECT_EQ(table.open("t", {.readonly = true}), IndexOutOfDate);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  EXPECT_TRUE(sound("t"));
}

}  // namespace
}  // namespace quill
