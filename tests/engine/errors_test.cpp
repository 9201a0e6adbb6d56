#include "engine/errors.h"

#include <gtest/gtest.h>

#include "engine/bytes.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

TEST(Reporting, ErrorNamesAndLevelsWithTheirTitlesLongTextCut) {
  EXPECT_STREQ(errname(TryAgain), "TryAgain");
  EXPECT_STREQ(errname(static_cast<ErrorCode>(4352)), "TryAgain");
  EXPECT_STREQ(errname(static_cast<ErrorCode>(-1)), "General error (-1)");
  EXPECT_STREQ(errname(static_cast<ErrorCode>(0)), "0 (Ok)");
  EXPECT_STREQ(errname(IndexOutOfDate), "IndexOutOfDate");
  EXPECT_STREQ(errname(DiskFull), "DiskFull (the disk is full)");
  EXPECT_STREQ(errname(static_cast<ErrorCode>(5)), "Unknown");
  test::CapturedReports reports;
  warning("a %s", "warning");
  information("info %d", 7);
  std::string longtext(2000, 'x');
  warning("%s", longtext.c_str());
  ASSERT_EQ(reports.messages().size(), 3u);
  EXPECT_EQ(reports.messages()[0].title, "Warning");
  EXPECT_EQ(reports.messages()[0].text, "a warning");
  EXPECT_EQ(reports.messages()[1].title, "Information");
  EXPECT_EQ(reports.messages()[1].text, "info 7");
  EXPECT_EQ(reports.messages()[2].text.size(), 1023u);
}

TEST(ReportingDeathTest, FatalEndsWithStatusMinusOne) {
  EXPECT_EXIT(fatal("boom %d\n", 3), testing::ExitedWithCode(255),
              "Fatal error \\(aborting\\): boom 3");
  EXPECT_EXIT(chkalloc(nullptr, "Page::init"), testing::ExitedWithCode(255),
              "Fatal error \\(aborting\\): Error allocating memory \\(Page::init\\)");
  int x = 0;
  chkalloc(&x, "Page::init");  // silent
}

TEST(Numbers, BigEndianAndSignExtension) {
  uint8_t b[4];
  put4(b, -2);
  EXPECT_EQ(b[0], 0xFF); EXPECT_EQ(b[1], 0xFF); EXPECT_EQ(b[2], 0xFF); EXPECT_EQ(b[3], 0xFE);
  EXPECT_EQ(get4(b), -2);
  put2(b, -2);
  EXPECT_EQ(b[0], 0xFF); EXPECT_EQ(b[1], 0xFE);
  EXPECT_EQ(get2(b), -2);
  EXPECT_EQ(getbe(b, 2), 65534u);
  EXPECT_EQ(getbe(b, 0), 0u);
  uint8_t d[8];
  putdouble(d, -1.5);
  EXPECT_EQ(getdouble(d), -1.5);
  putfloat(d, 2.25f);
  EXPECT_EQ(getfloat(d), 2.25f);
}

}  // namespace
}  // namespace quill
