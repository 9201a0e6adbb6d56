// The tables that creation makes, read back through the engine alone.
#include "catalogue/schema.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "engine/descr.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using quill::CF_COLLATE;
using quill::CF_VAR;

class SchemaTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    DB_Close();
  }
  // Opened with its index, as an application would.
  void open(quill::DataFile& table, const char* name) {
    ASSERT_EQ(table.open(name, 1, 0, 0), quill::Ok) << name;
  }
};

struct Field {
  const char* name;
  char type;
  int length;
};

void expect_fields(quill::DataFile& table, std::initializer_list<Field> fields) {
  const auto& actual = table.header().fields;
  ASSERT_EQ(actual.size(), fields.size());
  size_t k = 0;
  for (const Field& f : fields) {
    EXPECT_EQ(actual[k].name, f.name) << k;
    EXPECT_EQ(actual[k].type, f.type) << f.name;
    EXPECT_EQ(actual[k].length, f.length) << f.name;
    ++k;
  }
}

TEST_F(SchemaTest, TitleTableHasItsFieldsLengthsAndTags) {
  quill::DataFile table;
  open(table, "maindb");
  const quill::Header& h = table.header();
  EXPECT_EQ(h.reclen, 67);
  EXPECT_EQ(h.hdrlen, 186);
  EXPECT_EQ(h.datastart, 186);
  EXPECT_EQ(h.namelen, 16);
  EXPECT_EQ(h.nrecs, 0);
  expect_fields(table,
                {{"Name", 'C', 56}, {"Code", 'X', 4}, {"OK_field", 'C', 2}, {"Aux_attr", 'L', 4}});
  ASSERT_EQ(h.ntags, 2);
  EXPECT_EQ(h.tags[0].name, "Name");
  EXPECT_EQ(h.tags[1].name, "Code");
  // Stored as given: whole fields without flags.
  ASSERT_EQ(h.tags[0].comps.size(), 1u);
  EXPECT_EQ(h.tags[0].comps[0].field, 0);
  EXPECT_EQ(h.tags[0].comps[0].length, 0);
  EXPECT_EQ(h.tags[0].comps[0].flags, 0);
  EXPECT_EQ(h.tags[1].comps[0].field, 1);
  // Resolved by the engine: a collated variable-length text of the whole
  // field, and the code's 4 bytes.
  const auto& tinfo = table.tinfo();
  EXPECT_EQ(tinfo[0].keylen, 56);
  EXPECT_EQ(tinfo[0].varlen, 1);
  EXPECT_EQ(tinfo[0].comps[0].length, 56);
  EXPECT_EQ(tinfo[0].comps[0].flags, CF_VAR | CF_COLLATE);
  EXPECT_EQ(tinfo[1].keylen, 4);
  EXPECT_EQ(tinfo[1].varlen, 0);
}

TEST_F(SchemaTest, AttributeTablesDifferOnlyInTheNameLength) {
  struct Expected {
    const char* name;
    int namelen;
    int reclen;
  };
  for (Expected e : {Expected{"attr001", 51, 60}, Expected{"attr002", 61, 70}}) {
    SCOPED_TRACE(e.name);
    quill::DataFile table;
    open(table, e.name);
    const quill::Header& h = table.header();
    EXPECT_EQ(h.reclen, e.reclen);
    EXPECT_EQ(h.hdrlen, 166);
    expect_fields(table, {{"Name", 'C', e.namelen}, {"Code", 'X', 4}, {"Ref_count", 'L', 4}});
    ASSERT_EQ(h.ntags, 2);
    EXPECT_EQ(h.tags[0].name, "Name");
    EXPECT_EQ(h.tags[1].name, "Code");
    EXPECT_EQ(table.tinfo()[0].keylen, e.namelen);
    EXPECT_EQ(table.tinfo()[0].comps[0].flags, CF_VAR | CF_COLLATE);
    EXPECT_EQ(table.tinfo()[1].keylen, 4);
  }
}

TEST_F(SchemaTest, RelationTablesKeyOnTitleThenSeqAndOnAttr) {
  for (const char* name : {"rel001", "rel002"}) {
    SCOPED_TRACE(name);
    quill::DataFile table;
    open(table, name);
    const quill::Header& h = table.header();
    EXPECT_EQ(h.reclen, 11);
    EXPECT_EQ(h.hdrlen, 172);
    expect_fields(table, {{"Title", 'L', 4}, {"Seq", 'S', 2}, {"Attr", 'L', 4}});
    ASSERT_EQ(h.ntags, 2);
    EXPECT_EQ(h.tags[0].name, "Tit+Seq");
    ASSERT_EQ(h.tags[0].comps.size(), 2u);
    EXPECT_EQ(h.tags[0].comps[0].field, 0);
    EXPECT_EQ(h.tags[0].comps[1].field, 1);
    EXPECT_EQ(h.tags[1].name, "Attr");
    ASSERT_EQ(h.tags[1].comps.size(), 1u);
    EXPECT_EQ(h.tags[1].comps[0].field, 2);
    EXPECT_EQ(table.tinfo()[0].keylen, 6);
    EXPECT_EQ(table.tinfo()[0].varlen, 0);
    EXPECT_EQ(table.tinfo()[1].keylen, 4);
  }
}

TEST_F(SchemaTest, FreshDatabaseIsFiveEmptyTablesWithIndexes) {
  for (const char* name : {"maindb", "attr001", "attr002", "rel001", "rel002"}) {
    EXPECT_TRUE(std::filesystem::exists(dir_.file(std::string(name) + ".db1"))) << name;
    EXPECT_TRUE(std::filesystem::exists(dir_.file(std::string(name) + ".idx"))) << name;
    quill::DataFile table;
    open(table, name);
    EXPECT_EQ(table.nrecs(), 0);
    EXPECT_EQ(table.header().serial, 0);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            10);
}

}  // namespace
}  // namespace tracklore::test
