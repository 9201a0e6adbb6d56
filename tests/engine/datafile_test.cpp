#include "engine/datafile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/bytes.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using DataFileTest = InTempDir;
using Bytes = std::vector<unsigned char>;

// The example table with a tag on the name, one on the code.
const std::vector<FieldDescr>& kFields = test::kExampleFields;
const std::vector<TagNode> kTags = {{{{0, 0, 0}}, "ByName"}, {{{1, 0, 0}}, "ByCode"}};

TEST_F(DataFileTest, CreatedLayoutRoundTripNamesCutAndOpenRefusals) {
  ASSERT_EQ(DataFile::create("t", 0, 0), Ok);
  // Magic, no records, name length 16, page size 1024, data and header at 58, record and status
  // length 1, CR LF.
  Bytes empty = read_all("t.db1");
  std::fill(empty.begin() + 16, empty.begin() + 20, 0);  // the creation time
  EXPECT_EQ(hex(empty),
            "454202000000000000000000000000000000000000000000100000043a00000000000100010000003a000000"
            "0000000000000000000000000d0a");
  DataFile table;
  // Names are cut to the name length.
  ASSERT_EQ(make_table("n", {{'C', 5, "ExactlySixteen!!"}, {'L', 4, "MuchTooLongANameForIt"}}), Ok);
  const Header named = header_of("n");
  EXPECT_EQ(named.fields[0].name + named.fields[1].name, "ExactlySixteen!!MuchTooLongAName");
  EXPECT_EQ(table.open("nothing", {.readonly = true}), DataOpen);
  EXPECT_FALSE(table.isopen());
  // The example table read and written again is the same file: the descriptors on disk keep
  // the flags as written, not the resolved ones.
  ASSERT_EQ(make_table("g", kFields, kTags), Ok);
  ASSERT_EQ(table.open("g", {.readonly = true, .noindex = true}), Ok);
  const Header& h = table.header();
  const Bytes original = read_all("g.db1");
  File copy;
  ASSERT_EQ(copy.create("copy.db1", Sharing::Exclusive), 0);
  FileBuffer buffer(copy);
  ASSERT_EQ(h.write(buffer), 0);
  ASSERT_EQ(buffer.close(), 0);
  ASSERT_EQ(copy.close(), 0);
  EXPECT_EQ(read_all("copy.db1"), original);
}

TEST(DataFileTagsDeathTest, ResolutionKeyAssemblyAndOverlongOrDamagedTags) {
  TempDir dir;
  ASSERT_EQ(make_table("t", {{'C', 12, "Short"}, {'C', 56, "Long"}, {'L', 4, "N"}},
                       {{{{0, 0, 0}}, "S"},
                        {{{1, 20, CF_FIXED | CF_BINARY}}, "F"},
                        {{{1, 0, CF_VAR | CF_FIXED | CF_BINARY | CF_COLLATE}, {2, 0, CF_DESC}}, "B"}}),
            Ok);
  DataFile table;
  ASSERT_EQ(table.open("t", {.readonly = true, .noindex = true}), Ok);
  const auto& t = table.tinfo();
  // Each tag's first resolved flags, key length and variable part.
  const auto shape = [&t](int i) { return std::vector<int>{t[i].comps[0].flags, t[i].keylen, t[i].varlen}; };
  EXPECT_EQ(shape(0), (std::vector<int>{CF_COLLATE, 12, 0}));
  EXPECT_EQ(shape(1), (std::vector<int>{CF_FIXED | CF_BINARY, 20, 0}));
  EXPECT_EQ(shape(2), (std::vector<int>{CF_VAR | CF_COLLATE, 60, 1}));
  EXPECT_EQ(std::make_pair(int{t[2].comps[1].flags}, int{t[2].keyoff}), std::make_pair(int{CF_DESC}, 32));
  // A variable text takes its NUL or exactly its length in a key; a number all its bytes
  // whatever its flags (a zero byte is part of its value).
  ASSERT_EQ(make_table("k", {{'C', 20, "Name"}, {'L', 4, "N"}},
                       {{{{0, 0, 0}, {1, 0, 0}}, "NameN"}, {{{0, 14, CF_VAR}}, "Part"},
                        {{{1, 0, CF_VAR}}, "N"}}),
            Ok);
  DataFile keyed;
  ASSERT_EQ(keyed.open("k", {.readonly = true, .noindex = true}), Ok);
  uint8_t record[25] = {};
  std::memcpy(record, "Blue Moon", 9);
  put4(record + 20, 7);
  uint8_t key[64];
  EXPECT_EQ(keyed.makekey(0, record, key), 14);  // "Blue Moon\0" + 4
  EXPECT_EQ(std::memcmp(key, "Blue Moon\0\0\0\0\7", 14), 0);
  std::memcpy(record, "A very long name of it", 19);  // no NUL within 14
  EXPECT_EQ(keyed.makekey(1, record, key), 14);
  EXPECT_EQ(std::memcmp(key, "A very long na", 14), 0);
  EXPECT_EQ(keyed.makekey(2, record, key), 4);
  EXPECT_EQ(std::memcmp(key, "\0\0\0\7", 4), 0);
  // A tag whose keys pass a quarter of the page (257 bytes with 1024-byte pages; a table with
  // 256-byte keys opens in the structure test), and one naming a missing field, are fatal.
  ASSERT_EQ(make_table("big", {{'C', 200, "A"}, {'C', 57, "B"}}, {{{{0, 0, 0}, {1, 0, 0}}, "T"}}), Ok);
  ASSERT_EQ(make_table("bad", {{'C', 10, "A"}}, {{{{0, 0, 0}}, "T"}}), Ok);
  Bytes b = read_all("bad.db1");
  putle16(&b[56 + 20 + 16 + 2], 3);  // after the field descriptor, tag name and count
  write_all("bad.db1", b);
  const std::pair<const char*, std::string> cases[] = {
      {"big", "Total length of tag #0 \\(257 bytes\\) is too long; should not exceed 256 bytes"},
      {"bad", "Bad tag descriptor in file bad.db1 \\(tag #0 refers to nonexistent field 3\\)"}};
  for (const auto& [base, message] : cases)
    EXPECT_EXIT((void)DataFile().open(base, {.readonly = true, .noindex = true}), testing::ExitedWithCode(255),
                message);
}

// Records by number, as the catalogue's journal and recovery read and write them: spans outside a
// file's positions are refused, a tail past the counted records is cut back to them.
TEST_F(DataFileTest, RecordsByNumberWithOddSpansRefusedAndTheTailCutBack) {
  ASSERT_EQ(make_table("t", kFields, kTags), Ok);
  test::append_raw("t", {Bytes(67, 'a'), Bytes(67, 'b')});
  DataFile table;
  ASSERT_EQ(table.opendata("t", {}), Ok);
  const int32_t counted = table.recoffset(2);
  const Bytes tail(67, 'c');
  ASSERT_EQ(table.writerecord(2, tail.data()), Ok);
  Bytes two(2 * 67);
  ASSERT_EQ(table.readrecords(1, 2, two.data()), Ok);
  EXPECT_EQ(two[0], 'b');
  EXPECT_EQ(Bytes(two.begin() + 67, two.end()), tail);
  EXPECT_EQ(table.readrecord(3, two.data()), GeneralError);  // past the file's end
  for (auto [first, n] : {std::pair{-1, 1}, {0, -1}, {INT32_MAX, 1}, {0, INT32_MAX / 60}}) {
    EXPECT_EQ(table.readrecords(first, n, two.data()), GeneralError) << first << " " << n;
    EXPECT_EQ(table.writerecords(first, n, two.data()), WriteFailed) << first << " " << n;
  }
  EXPECT_EQ(table.cuttail(), Ok);
  EXPECT_EQ(table.length(), counted);
  EXPECT_TRUE(table.cuttail() == Ok && table.close() == Ok);
  EXPECT_EQ(read_all("t.db1").size(), static_cast<size_t>(counted));
}

// Each damage gives BadData and leaves the object closed.
TEST_F(DataFileTest, DamageGivesBadDataAndLeavesTheTableClosed) {
  ASSERT_EQ(make_table("t", kFields, kTags), Ok);
  const Bytes good = read_all("t.db1");
  const std::pair<const char*, std::function<void(Bytes&)>> damages[] = {
      {"trailer", [](Bytes& b) { b[185] = 'x'; }},
      {"descriptors cut off", [](Bytes& b) { b.resize(120); }},
      {"header cut off", [](Bytes& b) { b.resize(40); }},
      {"absurd field count", [](Bytes& b) { putle16(&b[32], 0xFFFF); }},
      {"absurd tag count", [](Bytes& b) { putle16(&b[52], 0x7FFF); }},
      {"no name length", [](Bytes& b) { putle16(&b[24], 0); }},
      {"zero-length field", [](Bytes& b) { putle16(&b[56 + 18], 0); }},
      {"\"X\" of 2 bytes", [](Bytes& b) { putle16(&b[56 + 20 + 18], 2); }},
      {"unknown type", [](Bytes& b) { b[56 + 16] = 'Q'; }},
      {"reclen not the sum", [](Bytes& b) { putle16(&b[34], 66); }},
      {"statlen not 1", [](Bytes& b) { putle16(&b[36], 2); }},
      {"datastart off the formula", [](Bytes& b) { putle32(&b[28], 190); }},
      {"negative nrecs", [](Bytes& b) { putle32(&b[4], static_cast<uint32_t>(-5)); }},
      {"records beyond 2 GiB", [](Bytes& b) { putle32(&b[4], 40000000); }},
      {"component count beyond the file", [](Bytes& b) { putle16(&b[56 + 80 + 16], 0x7000); }},
      {"ncomps not the sum", [](Bytes& b) { putle16(&b[54], 3); }},
  };
  for (const auto& [what, damage] : damages) {
    Bytes b = good;
    damage(b);
    write_all("t.db1", b);
    DataFile table;
    EXPECT_EQ(table.open("t", {.readonly = true, .noindex = true}), BadData) << what;
    EXPECT_FALSE(table.isopen() || table.has_header()) << what;
  }
}

}  // namespace
}  // namespace quill
