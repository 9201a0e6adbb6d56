// Real files through TagLib, one per format, and the walk of a folder with
// what a music folder also holds: covers, notes, empty and broken files,
// links back up the tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tags/folderreader.h"
#include "tags/tagreader.h"
#include "tests/catalogue/testutil.h"
#include "tests/tags/audiofiles.h"

namespace tracklore::test {
namespace {

std::string describe(const TrackTags& t) {
  return t.title + "|" + t.album + "|" + t.artist + "|" + t.albumartist + "|" + std::to_string(t.track) +
         "|" + std::to_string(t.disc);
}

TEST(TagReader, EveryFormatGivesTitleAlbumArtistsAndNumbers) {
  TempDir dir;
  const Tags tags{"Łódź Nights", "Album", "Artist", "Band", "3/12", "2/2"};
  for (const std::string& format : audioformats()) {
    const std::string path = dir.file("a." + format);
    std::string problem;
    ASSERT_TRUE(makeaudio(format, path, &problem)) << format << ": " << problem;
    ASSERT_TRUE(writetags(path, tags)) << format;
    TrackTags got;
    std::string reason;
    ASSERT_TRUE(tags::readtags(path, &got, &reason)) << format << ": " << reason;
    EXPECT_EQ(describe(got), "Łódź Nights|Album|Artist|Band|3|2") << format;
  }
}

TEST(FolderReader, WalksOnceAndSkipsWhatIsNotAudioWithItsReason) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directories(dir.file("m/B/CD1"));
  fs::create_directories(dir.file("m/A"));
  std::string problem;
  ASSERT_TRUE(makeaudio("flac", dir.file("m/B/CD1/2.flac"), &problem)) << problem;
  ASSERT_TRUE(writetags(dir.file("m/B/CD1/2.flac"), {"Two", "B", "X", "", "2", "1"}));
  ASSERT_TRUE(makeaudio("mp3", dir.file("m/A/1.mp3"), &problem)) << problem;
  std::ofstream(dir.file("m/A/cover.jpg")) << "jpeg";
  std::ofstream(dir.file("m/A/empty.ogg"));
  std::ofstream(dir.file("m/A/broken.flac")) << "not a flac file at all";
  fs::create_directory_symlink("..", dir.file("m/B/CD1/up"));  // a loop

  tags::FolderReader reader({dir.file("m") + "/"});
  EXPECT_EQ(reader.countfiles(), 4);  // by name: 1.mp3, broken, empty, 2.flac
  std::vector<std::string> lines, files;
  ScanNotes notes([&](const std::string& line) { lines.push_back(line.substr(dir.path().size())); });
  TrackTags tags;
  for (TagSource::Step step; (step = reader.next(&tags, notes)) != TagSource::Step::End;)
    if (step == TagSource::Step::File) files.push_back(tags.path.substr(dir.path().size()) + " in " +
                                                       tags.folder.substr(dir.path().size()));
  EXPECT_EQ(files, (std::vector<std::string>{"/m/A/1.mp3 in /m/A", "/m/B/CD1/2.flac in /m/B/CD1"}));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "/m/A/broken.flac: skipped: damaged or not an audio file of its kind",
                       "/m/A/cover.jpg: skipped: not an audio file",
                       "/m/A/empty.ogg: skipped: empty file",
                       "/m/B/CD1/up/: skipped: walked already (a link to a folder seen before)"}));
  EXPECT_EQ(notes.skippedfiles, 4);
}

}  // namespace
}  // namespace tracklore::test
