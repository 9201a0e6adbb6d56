#include "engine/rbuf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "engine/bytes.h"
#include "engine/datafile.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;

// A table of every field type, one record slot written by hand.
TEST(Rbuf, EmptyValuesConversionsSerialFieldsLocksFlushesAndAClosedTable) {
  TempDir dir;
  ASSERT_EQ(make_table("t", {{'C', 5, "C5"}, {'C', 3, "C3"}, {'L', 4, "L"}, {'S', 2, "S"},
                             {'X', 4, "X"}, {'D', 8, "D"}, {'F', 4, "F"}, {'B', 3, "B"}}),
            Ok);
  DataFile table;
  ASSERT_EQ(table.open("t"), Ok);
  Rbuf rec;
  rec.init(&table.header().fields, table.header().nfields, table.header().reclen,
           table.header().statlen, &table);
  EXPECT_EQ(std::memcmp(rec.field(0).data(), "????\0??\0", 8), 0);  // C 5 and C 3 side by side
  EXPECT_EQ(std::make_tuple(get4(rec.field(2).data()), rec.field(2).aslong(), rec.field(3).asint()),
            std::make_tuple(-1, -1, -1));
  EXPECT_EQ(std::make_pair(getdouble(rec.field(5).data()), getfloat(rec.field(6).data())), std::make_pair(-1.0, -1.0f));
  EXPECT_EQ(std::memcmp(rec.field(7).data(), "\xFF\xFF\xFF", 3), 0);
  EXPECT_EQ(rec.reclen(), 5 + 3 + 4 + 2 + 4 + 8 + 4 + 3 + 1);
  // Strings are cut or padded to their field.
  rec.field(0).set("abcdefg");
  EXPECT_TRUE(std::memcmp(rec.field(0).data(), "abcd\0", 5) == 0 && rec.field(0).isset());
  rec.field(0).set("ab");
  EXPECT_EQ(std::memcmp(rec.field(0).data(), "ab\0\0\0", 5), 0);
  CapturedReports reports;
  rec.field(2).set("12");  // not a string field: refused, yet flagged
  EXPECT_EQ(std::make_pair(rec.field(2).aslong(), rec.field(2).isset()), std::make_pair(-1, true));
  EXPECT_EQ(reports.text(), "Field::set: can't set 't[2]' (type 'L') with character string \"12\"\n");
  // Integers are cut to their field; other types refuse them.
  rec.field(2).set(65537L);
  EXPECT_EQ(std::make_tuple(rec.field(2).aslong(), rec.field(2).asint()), std::make_tuple(65537, 1));
  rec.field(3).set(65536L + 4);
  EXPECT_TRUE(std::memcmp(rec.field(3).data(), "\0\4", 2) == 0 && rec.field(3).asint() == 4);
  rec.field(3).set(-2);
  EXPECT_EQ(rec.field(3).aslong(), -2);
  reports.clear();
  EXPECT_EQ(rec.field(0).aslong(), -1);  // reported in this order
  EXPECT_EQ(rec.field(5).asint(), -1);
  rec.field(6).set(3L);
  rec.field(6).set(3);
  EXPECT_FALSE(rec.field(6).isset());
  EXPECT_EQ(reports.text(),
            "Field::aslong: field 't[0]' is not integer\n"
            "Field::asint: field 't[5]' is not integer\n"
            "Field::set: can't set 't[6]' (type 'F') with long 3\n"
            "Field::set: can't set 't[6]' (type 'F') with integer 3\n");
  // Serial fields are the engine's.
  table.header().serial = 41;
  rec.assign_serials();
  EXPECT_EQ(std::make_tuple(rec.field(4).aslong(), rec.field(4).isset()), std::make_tuple(41, true));
  reports.clear();
  rec.field(4).set(7L);
  rec.field(4).set("7");
  EXPECT_EQ(rec.field(4).aslong(), 41);
  EXPECT_EQ(reports.texts(), std::vector<std::string>(
                                2, "Field::can_write: cannot change serial field #4 in file 't'\n"));
  // Locks need a record.
  EXPECT_EQ(rec.lock(LockMode::Shared), NoCurrentRecord);
  EXPECT_EQ(rec.lock(LockMode::None), Ok);
  rec.setoffset(table.recoffset(0));
  EXPECT_EQ(rec.lock(LockMode::Shared), Ok);
  EXPECT_EQ(rec.lock(LockMode::Shared), TryAgain);
  EXPECT_TRUE(rec.unlock() == 0 && !rec.locked());
  // Flushes write only changed loaded records.
  rec.setoffset(table.recoffset(0));
  rec.field(2).set(5L);
  rec.setstatus(" ", 1);
  ASSERT_EQ(rec.flush(Rbuf::Force::Yes), Ok);  // forced: written although not loaded
  ASSERT_EQ(rec.load(Rbuf::Force::Yes), 0);
  EXPECT_EQ(std::make_tuple(rec.field(2).aslong(), rec.field(2).isset()), std::make_tuple(5, false));
  int writes = 0;  // through the file layer
  File::set_write_fault([&writes](const File&, int32_t, int32_t) { return ++writes < 0; });
  EXPECT_EQ(rec.flush(), Ok);
  EXPECT_EQ(writes, 0);
  rec.field(3).set(9);
  EXPECT_EQ(rec.flush(), Ok);
  File::set_write_fault({});
  EXPECT_EQ(std::make_pair(writes, rec.field(3).isset()), std::make_pair(1, false));
  ASSERT_EQ(rec.load(Rbuf::Force::Yes), 0);
  EXPECT_EQ(rec.field(3).asint(), 9);
  // A failed read empties the fields.
  rec.field(2).set(5L);
  rec.setoffset(table.recoffset(3));  // beyond the end of the file
  EXPECT_EQ(rec.load(Rbuf::Force::Yes), -1);
  EXPECT_EQ(std::make_tuple(rec.field(2).aslong(), rec.loaded()), std::make_tuple(-1, false));
  // A failed write keeps the change flags.
  rec.setoffset(table.recoffset(0));
  ASSERT_EQ(rec.flush(Rbuf::Force::Yes), Ok);
  ASSERT_EQ(rec.load(Rbuf::Force::Yes), 0);
  rec.field(2).set(6L);
  File::set_write_fault([](const File&, int32_t, int32_t) { return true; });
  EXPECT_EQ(rec.flush(), WriteFailed);
  File::set_write_fault({});
  EXPECT_TRUE(rec.field(2).isset());
  EXPECT_EQ(rec.flush(), Ok);
  // On a closed table reads and writes fail with a warning.
  (void)table.close();
  reports.clear();
  uint8_t buf[42];
  EXPECT_EQ(rec.readbuf(buf), -1);
  EXPECT_EQ(rec.writebuf(buf), -1);
  EXPECT_EQ(reports.text(),
            "Rbuf::readbuf: attempt to read from a closed DataFile\n"
            "Rbuf::writebuf: attempt to write to a closed DataFile\n");
}

}  // namespace
}  // namespace quill
