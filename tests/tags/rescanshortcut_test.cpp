// The rescan's shortcut on real files: a file whose path, size and
// modification time are those the last scan saw is not opened (its bytes
// spoiled behind the same stat go unnoticed), and one whose time moved is
// read again.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/scanrun.h"
#include "tags/folderreader.h"
#include "tests/catalogue/testutil.h"
#include "tests/tags/audiofiles.h"

namespace tracklore::test {
namespace {

class RescanShortcutTest : public CatalogueTest {
 protected:
  ScanSummary scan(const std::string& root) {
    tags::FolderReader reader({root});
    ScanNotes notes;
    ScanSummary summary;
    ScanRunOptions options;
    options.folders = {root};
    EXPECT_EQ(DB_ScanMusic(reader, notes, options, &summary), 0);
    return summary;
  }
};

TEST_F(RescanShortcutTest, AnUnchangedFileIsNotOpenedAChangedOneIsRead) {
  const std::string root = dir_.file("music");
  std::filesystem::create_directories(root + "/A");
  std::string problem;
  for (const char* track : {"1", "2"}) {
    const std::string path = root + "/A/" + track + ".flac";
    ASSERT_TRUE(makeaudio("flac", path, &problem)) << problem;
    ASSERT_TRUE(writetags(path, {std::string("Song ") + track, "A", "X", "", track, ""}));
  }
  ASSERT_EQ(scan(root).counts.filesread, 2);

  // File 1 overwritten with as many other bytes, its times put back.
  const std::string spoilt = root + "/A/1.flac";
  struct stat st;
  ASSERT_EQ(stat(spoilt.c_str(), &st), 0);
  std::ofstream(spoilt, std::ios::binary | std::ios::trunc) << std::string(static_cast<size_t>(st.st_size), 'x');
  const timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, spoilt.c_str(), times, 0), 0);
  const ScanSummary unchanged = scan(root);
  EXPECT_EQ(unchanged.counts.filesknown, 2);
  EXPECT_EQ(unchanged.counts.filesread, 0);
  EXPECT_FALSE(unchanged.changed());

  // File 2's time moved: read again.
  const timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (root + "/A/2.flac").c_str(), later, 0), 0);
  const ScanSummary touched = scan(root);
  EXPECT_EQ(touched.counts.filesknown, 1);
  EXPECT_EQ(touched.counts.filesread, 1);
}

}  // namespace
}  // namespace tracklore::test
