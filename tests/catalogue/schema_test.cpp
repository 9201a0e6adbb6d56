// The tables that creation makes, byte for byte.
#include "catalogue/schema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

class SchemaTest : public CatalogueTest {};

// The fields, their lengths and the tags of every table (stored as given:
// whole fields without flags); the creation time set aside.
const char* const kTitles =
    "45420200000000000000000000000000000000000200000010000004ba0000000400430001000000ba000000"
    "0000000000000000020002004e616d6500000000000000000000000043003800436f64650000000000000000"
    "00000000580004004f4b5f6669656c640000000000000000430002004175785f617474720000000000000000"
    "4c0004004e616d650000000000000000000000000100000000000000436f6465000000000000000000000000"
    "01000100000000000d0a";
// The attribute tables differ only in the name's length.
const char* const kArtists =
    "45420200000000000000000000000000000000000200000010000004a600000003003c0001000000a6000000"
    "0000000000000000020002004e616d6500000000000000000000000043003300436f64650000000000000000"
    "00000000580004005265665f636f756e74000000000000004c0004004e616d65000000000000000000000000"
    "0100000000000000436f646500000000000000000000000001000100000000000d0a";
const char* const kSongs =
    "45420200000000000000000000000000000000000200000010000004a60000000300460001000000a6000000"
    "0000000000000000020002004e616d6500000000000000000000000043003d00436f64650000000000000000"
    "00000000580004005265665f636f756e74000000000000004c0004004e616d65000000000000000000000000"
    "0100000000000000436f646500000000000000000000000001000100000000000d0a";
const char* const kRelations =
    "45420200000000000000000000000000000000000200000010000004ac00000003000b0001000000ac000000"
    "0000000000000000020003005469746c6500000000000000000000004c000400536571000000000000000000"
    "0000000053000200417474720000000000000000000000004c0004005469742b536571000000000000000000"
    "02000000000000000100000000004174747200000000000000000000000001000200000000000d0a";

TEST_F(SchemaTest, FreshDatabaseIsFiveEmptyTablesWithIndexes) {
  DB_Close();
  const std::pair<const char*, const char*> golden[] = {{"maindb", kTitles},
                                                        {"attr001", kArtists},
                                                        {"attr002", kSongs},
                                                        {"rel001", kRelations},
                                                        {"rel002", kRelations}};
  for (const auto& [name, bytes] : golden) {
    std::vector<unsigned char> b = quill::test::read_all(dir_.file(std::string(name) + ".db1"));
    ASSERT_GE(b.size(), 20u) << name;
    std::fill(b.begin() + 16, b.begin() + 20, 0);
    EXPECT_EQ(quill::test::hex(b), bytes) << name;
    EXPECT_TRUE(std::filesystem::exists(dir_.file(std::string(name) + ".idx"))) << name;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            10);
  EXPECT_EQ(DB_Open(), 0);
}

}  // namespace
}  // namespace tracklore::test
