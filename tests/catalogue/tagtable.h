// Tags given from a table instead of files: the TagSource of the scan tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalogue/scan.h"

namespace tracklore::test {

// folder, file name, title, album, artist, album artist, track, disc.
inline TrackTags tagsof(const std::string& folder, const std::string& file, const std::string& title,
                        const std::string& album, const std::string& artist,
                        const std::string& albumartist = "", int track = 0, int disc = 0) {
  TrackTags t;
  t.folder = folder;
  t.filename = file;
  t.path = folder + "/" + file;
  t.title = title;
  t.album = album;
  t.artist = artist;
  t.albumartist = albumartist;
  t.track = track;
  t.disc = disc;
  return t;
}

class TableSource : public TagSource {
 public:
  explicit TableSource(std::vector<TrackTags> files) : files_(std::move(files)) {}
  Step next(TrackTags* tags, ScanNotes&) override {
    if (at_ == files_.size()) return Step::End;
    *tags = files_[at_++];
    return Step::File;
  }
  size_t handed() const { return at_; }

 private:
  std::vector<TrackTags> files_;
  size_t at_ = 0;
};

}  // namespace tracklore::test
