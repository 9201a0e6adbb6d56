#include "engine/errors.h"

#include <gtest/gtest.h>

#include "tests/engine/testutil.h"

namespace quill {
namespace {

TEST(Reporting, ErrorNamesAndLevelsWithTheirTitlesLongTextCut) {
  const std::pair<int, const char*> names[] = {{TryAgain, "TryAgain"}, {4352, "TryAgain"}, {-1, "General error (-1)"},
      {0, "0 (Ok)"}, {IndexOutOfDate, "IndexOutOfDate"}, {DiskFull, "DiskFull (the disk is full)"}, {5, "Unknown"}};
  for (auto [code, name] : names) EXPECT_STREQ(errname(static_cast<ErrorCode>(code)), name) << code;
  test::CapturedReports reports;
  warning("a %s", "warning");
  information("info %d", 7);
  warning("%s", std::string(2000, 'x').c_str());
  ASSERT_EQ(reports.messages().size(), 3u);
  const auto& m = reports.messages();
  EXPECT_EQ(std::tie(m[0].title, m[0].text, m[1].title, m[1].text),
            std::make_tuple("Warning", "a warning", "Information", "info 7"));
  EXPECT_EQ(m[2].text.size(), 1023u);
}

TEST(ReportingDeathTest, FatalEndsWithStatusMinusOne) {
  EXPECT_EXIT(fatal("boom %d\n", 3), testing::ExitedWithCode(255),
              "Fatal error \\(aborting\\): boom 3");
  EXPECT_EXIT(chkalloc(nullptr, "Page::init"), testing::ExitedWithCode(255),
              "Fatal error \\(aborting\\): Error allocating memory \\(Page::init\\)");
}

}  // namespace
}  // namespace quill
