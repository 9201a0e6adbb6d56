#include "engine/multifile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "engine/bytes.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using MultiFileTest = InTempDir;

// A new store held exclusively, H = 12, with slots of these page sizes and 8-byte areas.
void create_store(MultiFile& m, const char* path, const std::vector<int>& pagesizes) {
  std::vector<SlotSetup> slots;
  for (int size : pagesizes) slots.push_back({size, 8});
  ASSERT_EQ(m.create(path, Sharing::Exclusive), Ok);
  ASSERT_EQ(m.setupwr(12, slots), Ok);
}

// Opens a store read-write and reads its layout.
void open_store(MultiFile& m, const char* path, Sharing sharing = Sharing::Exclusive) {
  ASSERT_EQ(m.open(path, Access::ReadWrite, sharing), Ok);
  ASSERT_EQ(m.setuprd(), Ok);
}

TEST_F(MultiFileTest, IndexLikeStoreIs88BytesWithAreasAt68And78AndDamageIsRefused) {
  MultiFile m;
  create_store(m, "t.idx", {1024, 1018});  // as an index file with two trees
  ASSERT_EQ(m.close(), Ok);
  // Two slots, header length 12 and zero; slot 0 at 16 (page size 1024,
  // area 8 at 68, empty tree, no pages) with its mark "EB" at 40; slot 1 at
  // 42 (1018, area at 78), mark at 66; the list's end; each area's mark.
  EXPECT_EQ(hex(read_all("t.idx")),
            "02000c0000000000000000000000000000040800ffffffff00000000ffffffff00000000440000004542fa03"
            "0800ffffffff00000000ffffffff000000004e00000045420000000000000000454200000000000000004542");
  open_store(m, "t.idx");
  EXPECT_EQ(m.pagebase(), 88);

  // Each field set wrong, and a short store, are refused; the header length is read from the
  // file, and one other than the store's is refused, not read into a short buffer.
  const std::vector<unsigned char> good = read_all("t.idx");
  struct Damage { const char* what; size_t at; int width; int32_t value; };
  const Damage damages[] = {
      {"negative slot count", 0, 2, -3},
      {"absurd slot count", 0, 2, 30000},
      {"negative header length", 2, 2, -12},
      {"no header length", 2, 2, 0},
      {"header length short by one", 2, 2, 11},
      {"header length long by one", 2, 2, 13},
      {"header length past the file", 2, 2, 4000},
      {"page size below the minimum", 16, 2, 8},
      {"negative page size", 16, 2, -1024},
      {"area offset off the layout", 36, 4, 70},
      {"area length past the file", 18, 2, 4000},
      {"root past the file", 20, 4, 88 + 1024},
      {"root inside the areas", 20, 4, 40},
      {"free head without count", 28, 4, 88},
      {"negative in-use count", 24, 4, -5},
      {"pages claimed but missing", 24, 4, 3},
      {"slot mark", 40, 2, 0x5845},
      {"area mark", 86, 2, 0x5845},
      {"store cut short", 80, 0, 0},
  };
  for (auto [what, at, width, value] : damages) {
    std::vector<unsigned char> b = good;
    if (width == 0) b.resize(at);
    if (width == 2) putle16(&b[at], static_cast<uint16_t>(value));
    if (width == 4) putle32(&b[at], static_cast<uint32_t>(value));
    write_all("bad.idx", b);
    MultiFile bad;
    ASSERT_EQ(bad.open("bad.idx", Access::ReadOnly, Sharing::Shared), 0);
    EXPECT_EQ(bad.setuprd(), BadIndex) << what;
  }
}

// New pages interleave between slots and join their slot's free list: last freed, first reused.
TEST_F(MultiFileTest, PagesGrowOnTheGridBelowTwoGigabytesAndAreReusedLastFreedFirst) {
  MultiFile m;
  create_store(m, "t.idx", {256, 128});
  const int32_t base = m.pagebase();
  for (int slot : {0, 1, 0}) ASSERT_EQ(m.addpage(slot), Ok);
  EXPECT_EQ(std::make_pair(m.length(), m.slot(1).freehead),
            std::make_pair(base + 256 + 128 + 256, base + 256));
  std::vector<int32_t> list;
  EXPECT_EQ(m.walkfree(0, &list, nullptr), Ok);
  EXPECT_EQ(list, (std::vector<int32_t>{base + 384, base}));
  const int32_t a = m.use_free_page(0), b = m.use_free_page(0);
  EXPECT_EQ(std::tie(m.slot(0).inuse, m.slot(0).freehead), std::make_tuple(2, -1));
  ASSERT_EQ(m.freepage(0, a), Ok);
  ASSERT_EQ(m.freepage(0, b), Ok);
  EXPECT_EQ(m.slot(0).nfree, 2);
  EXPECT_EQ(m.use_free_page(0), b);
  EXPECT_EQ(m.use_free_page(0), a);
  // Pages stay on the grid of their sizes, inside the file.
  ASSERT_EQ(m.close(), Ok);
  create_store(m, "t.idx", {256, 384});  // grid of 128
  const int32_t start = m.pagebase();
  ASSERT_EQ(m.addpage(0), 0);
  ASSERT_EQ(m.addpage(1), 0);
  // On the grid of 128 and inside; off the grid; before the pages; past the end.
  for (auto [at, ok] : {std::pair{384, true}, {10, false}, {-128, false}, {640, false}})
    EXPECT_EQ(m.pageok(start + at, 256), ok) << at;

  // A file cut short mid-page is padded back onto the grid when it grows.
  ASSERT_TRUE(m.writeslot(0) == Ok && m.writeslot(1) == Ok && m.close() == Ok);
  std::filesystem::resize_file("t.idx", std::filesystem::file_size("t.idx") + 100);
  open_store(m, "t.idx");
  const int32_t len = m.length();
  ASSERT_EQ(m.addpage(0), 0);
  EXPECT_EQ((m.slot(0).freehead - start) % 128, 0);
  EXPECT_GE(m.slot(0).freehead, len);
  ASSERT_EQ(m.close(), Ok);

  // A sparse file whose next page would reach 2 GiB gets none.
  create_store(m, "big.idx", {1024});
  ASSERT_EQ(m.close(), Ok);
  const int64_t head = 4 + 12 + 26 + 10;  // one slot with an 8-byte area
  const int64_t pages = (int64_t{INT32_MAX} - head) / 1024;
  std::filesystem::resize_file("big.idx", static_cast<uintmax_t>(head + pages * 1024));
  open_store(m, "big.idx");
  const int32_t before = m.length();
  EXPECT_EQ(m.addpage(0), BadParam);
  EXPECT_EQ(std::make_tuple(m.length(), m.slot(0).nfree), std::make_tuple(before, 0));
}

TEST(MultiFileDeathTest, AnEmptyLoopingOrOutsideLeadingFreeListIsFatal) {
  TempDir dir;
  {
    MultiFile m;
    create_store(m, "t.idx", {256});
    EXPECT_EXIT(m.use_free_page(0), testing::ExitedWithCode(255),
                "MultiFile::use_free_page: no free page available");
    ASSERT_TRUE(m.addpage(0) == Ok && m.addpage(0) == Ok && m.writeslot(0) == Ok);
  }
  std::vector<unsigned char> bytes = read_all("t.idx");
  // The head (the page added last) links to an offset inside the areas.
  putle32(&bytes[bytes.size() - 4], 40);
  write_all("t.idx", bytes);
  MultiFile outside;
  open_store(outside, "t.idx");
  EXPECT_EXIT(outside.use_free_page(0), testing::ExitedWithCode(255),
              "damaged free list of slot 0 at offset [0-9]+ in 't.idx' \\(link outside");
  // A free list that runs in a circle, a -> b -> a, with a count of 3.
  {
    MultiFile m;
    create_store(m, "loop.idx", {256});
    ASSERT_TRUE(m.addpage(0) == Ok && m.addpage(0) == Ok);
    const int32_t b = m.slot(0).freehead;  // added last
    std::vector<uint8_t> page(256);
    ASSERT_NE(m.readpage(0, b, page.data()), nullptr);
    uint8_t link[4];
    putle32(link, static_cast<uint32_t>(b));
    ASSERT_EQ(m.patchpage(getles32(&page[252]), 256, 252, link, 4), 0);
    m.slot(0).nfree = 3;
    m.slot(0).inuse = 0;
    ASSERT_EQ(m.writeslot(0), 0);
  }
  // Grow the file so that the counts fit; the loop remains.
  bytes = read_all("loop.idx");
  bytes.resize(bytes.size() + 256, 0);
  write_all("loop.idx", bytes);
  MultiFile looping;
  open_store(looping, "loop.idx");
  std::string problem;
  EXPECT_EQ(looping.walkfree(0, nullptr, &problem), BadIndex);
  EXPECT_NE(problem.find("longer than its count"), std::string::npos) << problem;

  EXPECT_EXIT(
      {
        const int32_t first = looping.use_free_page(0);
        // Taken pages are written on; the loop then leads back into one.
        std::vector<uint8_t> used(256, 0x11);
        looping.writepage(0, first, used.data());
        looping.use_free_page(0);
        looping.use_free_page(0);
      },
      testing::ExitedWithCode(255), "damaged free list of slot 0 at offset [0-9]+ in 'loop.idx'");
}

// A sharing opener reads a page once within an operation (what stays at
// hand across operations, the B-tree's descent shows).
TEST_F(MultiFileTest, ASharingOpenerReadsAPageOncePerOperation) {
  MultiFile m;
  create_store(m, "t.idx", {256, 256});
  ASSERT_EQ(m.close(), Ok);
  open_store(m, "t.idx", Sharing::Shared);
  ASSERT_EQ(m.addpage(1), 0);
  const long long reads = m.pagereads();
  m.beginop();
  ASSERT_NE(m.loadpage(m.slot(1).freehead, 256), nullptr);
  ASSERT_NE(m.loadpage(m.slot(1).freehead, 256), nullptr);
  EXPECT_EQ(m.pagereads(), reads + 1);
}

// What write-back still held when the close could not write it is the
// close's failure, not a silent loss.
TEST_F(MultiFileTest, ACloseThatCannotWriteWhatWriteBackHeldFails) {
  MultiFile m;
  create_store(m, "t.idx", {256});
  ASSERT_EQ(m.setwriteback(true), Ok);
  ASSERT_EQ(m.addpage(0), Ok);
  const std::vector<uint8_t> image(256, 7);
  ASSERT_EQ(m.savepage(m.use_free_page(0), image.data(), 256), Ok);
  test::RefusedCalls full(File::Call::Write, ENOSPC);
  EXPECT_NE(m.close(), Ok);
}

}  // namespace
}  // namespace quill
