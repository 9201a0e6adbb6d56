// Real files through TagLib, one per format, the spellings of album artist,
// compilation and artists that taggers write, and the walk of a folder with
// what a music folder also holds: covers, hidden files, empty and broken
// files, links up and across the tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "tags/folderreader.h"
#include "tags/tagreader.h"
#include "tests/catalogue/testutil.h"
#include "tests/tags/audiofiles.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

std::string joined(const std::vector<std::string>& values, const char* between = "+") {
  std::string out;
  for (const std::string& v : values) out += (out.empty() ? "" : between) + v;
  return out;
}

std::string describe(const TrackTags& t) {
  return t.title + "|" + t.album + "|" + joined(t.artists) + "|" + t.albumartist + "|" +
         std::to_string(t.track) + "|" + std::to_string(t.disc) + (t.compilation ? "|compilation" : "");
}

// Every format, then the tag spellings of real taggers; each file made as
// `format` and named `name`.
TEST(TagReader, EveryFormatAndTheFieldsAsTaggersSpellThem) {
  struct Case {
    std::string what, format, name;
    Properties fields;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"Vorbis comment ALBUM ARTIST, with a blank", "flac", "a.flac",
       {{"TITLE", {"T"}}, {"ALBUM ARTIST", {"Spaced"}}}, "T|||Spaced|0|0"},
      {"ID3 TPE2 and TCMP", "mp3", "b.mp3",
       {{"TITLE", {"T"}}, {"ALBUMARTIST", {"Band"}}, {"COMPILATION", {"1"}}}, "T|||Band|0|0|compilation"},
      {"ID3 TPE1 with several values", "mp3", "c.mp3", {{"ARTIST", {"Alice", "Bob"}}}, "||Alice+Bob||0|0"},
      {"Vorbis comment COMPILATION alone, several ARTIST fields", "ogg", "d.ogg",
       {{"ARTIST", {"Alice", "Alice feat. Bob"}}, {"COMPILATION", {"1"}}}, "||Alice+Alice feat. Bob||0|0|compilation"},
      {"MP4 aART and cpil", "m4a", "e.m4a", {{"ALBUMARTIST", {"Band"}}, {"COMPILATION", {"1"}}},
       "|||Band|0|0|compilation"},
      {"a FLAC file named .mp3 is read as FLAC", "flac", "f.mp3", {{"TITLE", {"Hidden Flac"}}, {"ALBUM", {"X"}}},
       "Hidden Flac|X|||0|0"},
  };
  for (const std::string& format : audioformats())
    cases.push_back({format, format, "every." + format,
                     {{"TITLE", {"Łódź Nights"}}, {"ALBUM", {"Album"}}, {"ARTIST", {"Artist"}},
                      {"ALBUMARTIST", {"Band"}}, {"TRACKNUMBER", {"3/12"}}, {"DISCNUMBER", {"2/2"}}},
                     "Łódź Nights|Album|Artist|Band|3|2"});
  TempDir dir;
  for (const Case& c : cases) {
    const std::string made = dir.file("made." + c.format);
    std::string problem;
    ASSERT_TRUE(makeaudio(c.format, made, &problem)) << c.what << ": " << problem;
    ASSERT_TRUE(writeproperties(made, c.fields)) << c.what;
    fs::rename(made, dir.file(c.name));
    TrackTags got;
    std::string reason;
    ASSERT_TRUE(tags::readtags(dir.file(c.name), &got, &reason)) << c.what << ": " << reason;
    EXPECT_EQ(describe(got), c.expected) << c.what;
  }
}

// The files the reader gives, one a line, their paths from base on.
std::string walk(tags::FolderReader& reader, size_t base, ScanNotes& notes) {
  std::string files;
  TrackTags tags;
  for (TagSource::Step step; (step = reader.next(&tags, notes)) != TagSource::Step::End;)
    if (step == TagSource::Step::File) files += tags.path.substr(base) + "\n";
  return files;
}

TEST(FolderReader, SkipsHiddenAndNotAudioAndFollowsOnlyTheLinksThatCannotLoop) {
  TempDir dir;
  fs::create_directories(dir.file("m/Radiohead/CD1"));
  fs::create_directories(dir.file("m/A/.Trash-1000"));
  fs::create_directories(dir.file("Elsewhere"));
  std::string problem;
  const auto audio = [&](const std::string& path, const char* format) {
    ASSERT_TRUE(makeaudio(format, dir.file(path), &problem)) << problem;
  };
  audio("m/Radiohead/CD1/2.flac", "flac");
  audio("m/A/1.mp3", "mp3");
  audio("m/A/.01 - old rip.mp3", "mp3");
  std::ofstream(dir.file("m/A/._1.mp3")) << std::string("\x00\x05\x16\x07", 4) << std::string(80, '\0');
  audio("m/A/.Trash-1000/deleted.mp3", "mp3");
  audio("Elsewhere/e.mp3", "mp3");
  std::ofstream(dir.file("m/A/cover.jpg")) << "jpeg";
  std::ofstream(dir.file("m/A/empty.ogg"));
  std::ofstream(dir.file("m/A/broken.flac")) << "not a flac file at all";
  fs::create_directory_symlink("..", dir.file("m/Radiohead/loop-to-parent"));  // being walked
  fs::create_directory_symlink("../..", dir.file("m/Radiohead/up-to-root"));   // holds the scanned folder
  fs::create_directory_symlink("../Radiohead/CD1", dir.file("m/A/Favourites"));  // into the collection
  fs::create_directory_symlink("../Elsewhere", dir.file("m/Outside"));          // out of it

  const size_t base = dir.path().size();
  const std::string everything = "/m/A/1.mp3\n/m/A/Favourites/2.flac\n/m/Outside/e.mp3\n/m/Radiohead/CD1/2.flac\n";
  tags::FolderReader all({dir.file("m") + "/"});
  EXPECT_EQ(all.countfiles(), 6);  // by name: 1.mp3, broken, empty, 2.flac twice, e.mp3
  KeptNotes kept(base);
  EXPECT_EQ(walk(all, base, kept.notes), everything);
  EXPECT_EQ(joined(kept.lines, "\n"),
            "/m/A/broken.flac: skipped: damaged or not an audio file of its kind\n"
            "/m/A/empty.ogg: skipped: empty file\n"
            "/m/Radiohead/loop-to-parent/: not followed: the link leads to a folder that the scan walks already\n"
            "/m/Radiohead/up-to-root/: not followed: the link leads to a folder that the scan walks already");
  EXPECT_EQ(std::tuple(kept.notes.skippedfiles, kept.notes.notaudiofiles, kept.notes.hiddenentries),
            std::tuple(2, 1, 3));
  // A folder given inside another one given is walked once, as part of it.
  tags::FolderReader nested({dir.file("m/Radiohead"), dir.file("m")});
  ScanNotes notes;
  EXPECT_EQ(walk(nested, base, notes), everything);
  tags::FolderReader hidden({dir.file("m/A")}, true);
  EXPECT_EQ(walk(hidden, base, notes),
            "/m/A/.01 - old rip.mp3\n/m/A/._1.mp3\n/m/A/1.mp3\n/m/A/.Trash-1000/deleted.mp3\n/m/A/Favourites/2.flac\n");
}

}  // namespace
}  // namespace tracklore::test
