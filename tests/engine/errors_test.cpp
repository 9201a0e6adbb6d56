#include "engine/errors.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quill
