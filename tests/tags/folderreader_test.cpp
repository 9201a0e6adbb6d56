// Real files through TagLib, one per format, the spellings of album artist,
// compilation and artists that taggers write, and the walk of a folder with
// what a music folder also holds: covers, hidden files, empty and broken
// files, links up and across the tree.
#include <gtest/gtest.h>
#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
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

std::string joined(const std::vector<std::string>& values) {
  std::string out;
  for (const std::string& v : values) out += (out.empty() ? "" : "+") + v;
  return out;
}

std::string describe(const TrackTags& t) {
  return t.title + "|" + t.album + "|" + joined(t.artists) + "|" + t.albumartist + "|" +
         std::to_string(t.track) + "|" + std::to_string(t.disc) + (t.compilation ? "|compilation" : "");
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

using Properties = std::map<std::string, std::vector<std::string>>;

// Writes the fields through TagLib's property map, as the format spells them.
void writeproperties(const std::string& path, const Properties& fields) {
  TagLib::FileRef ref(path.c_str(), false);
  ASSERT_FALSE(ref.isNull()) << path;
  TagLib::PropertyMap map;
  for (const auto& [key, values] : fields)
    for (const std::string& v : values) map[key].append(TagLib::String(v, TagLib::String::UTF8));
  ASSERT_TRUE(ref.file()->setProperties(map).isEmpty()) << path << ": a field was refused";
  ASSERT_TRUE(ref.save()) << path;
}

// The tag spellings of real taggers; the file made as `format` and named
// `name`.
TEST(TagReader, AlbumArtistCompilationAndEveryArtistAsTaggersSpellThem) {
  struct Case {
    const char* what;
    std::string format, name;
    Properties fields;
    std::string expected;
  };
  const std::vector<Case> cases = {
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
  TempDir dir;
  for (const Case& c : cases) {
    const std::string made = dir.file(std::string("made.") + c.format);
    std::string problem;
    ASSERT_TRUE(makeaudio(c.format, made, &problem)) << c.what << ": " << problem;
    writeproperties(made, c.fields);
    fs::rename(made, dir.file(c.name));
    TrackTags got;
    std::string reason;
    ASSERT_TRUE(tags::readtags(dir.file(c.name), &got, &reason)) << c.what << ": " << reason;
    EXPECT_EQ(describe(got), c.expected) << c.what;
  }
  // The fields are the frames and atoms that other taggers write.
  TagLib::MPEG::File mp3(dir.file("b.mp3").c_str(), false);
  ASSERT_NE(mp3.ID3v2Tag(), nullptr);
  EXPECT_TRUE(mp3.ID3v2Tag()->frameListMap().contains("TPE2"));
  EXPECT_TRUE(mp3.ID3v2Tag()->frameListMap().contains("TCMP"));
  TagLib::MP4::File mp4(dir.file("e.m4a").c_str(), false);
  EXPECT_TRUE(mp4.tag()->contains("aART"));
  EXPECT_TRUE(mp4.tag()->contains("cpil"));
}

std::vector<std::string> walk(tags::FolderReader& reader, const std::string& base, ScanNotes& notes) {
  std::vector<std::string> files;
  TrackTags tags;
  for (TagSource::Step step; (step = reader.next(&tags, notes)) != TagSource::Step::End;)
    if (step == TagSource::Step::File) files.push_back(tags.path.substr(base.size()));
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

  const std::string base = dir.path();
  {
    tags::FolderReader reader({dir.file("m") + "/"});
    EXPECT_EQ(reader.countfiles(), 6);  // by name: 1.mp3, broken, empty, 2.flac twice, e.mp3
    KeptNotes kept(base.size());
    ScanNotes& notes = kept.notes;
    EXPECT_EQ(walk(reader, base, notes), (std::vector<std::string>{"/m/A/1.mp3", "/m/A/Favourites/2.flac",
                                                                   "/m/Outside/e.mp3", "/m/Radiohead/CD1/2.flac"}));
    EXPECT_EQ(kept.lines, (std::vector<std::string>{
                         "/m/A/broken.flac: skipped: damaged or not an audio file of its kind",
                         "/m/A/empty.ogg: skipped: empty file",
                         "/m/Radiohead/loop-to-parent/: not followed: the link leads to a folder that the scan walks already",
                         "/m/Radiohead/up-to-root/: not followed: the link leads to a folder that the scan walks already"}));
    EXPECT_EQ(std::tuple(notes.skippedfiles, notes.notaudiofiles, notes.hiddenentries), std::tuple(2, 1, 3));
  }
  {
    // A folder given inside another one given is walked once, as part of it.
    tags::FolderReader reader({dir.file("m/Radiohead"), dir.file("m")});
    ScanNotes notes;
    const std::vector<std::string> files = walk(reader, base, notes);
    EXPECT_EQ(std::count(files.begin(), files.end(), "/m/Radiohead/CD1/2.flac"), 1);
    EXPECT_EQ(files.size(), 4u);
  }
  {
    tags::FolderReader reader({dir.file("m/A")}, true);
    ScanNotes notes;
    const std::vector<std::string> files = walk(reader, base, notes);
    for (const char* hidden : {"/m/A/.01 - old rip.mp3", "/m/A/.Trash-1000/deleted.mp3"})
      EXPECT_NE(std::find(files.begin(), files.end(), hidden), files.end()) << hidden << " read with --hidden";
  }
}

}  // namespace
}  // namespace tracklore::test
