// A music folder walked for its audio files: the TagSource of a real scan.
//
// The walk visits a folder's files in name order, then its sub-folders in
// name order, so that an album's files come together. Symbolic links are
// followed, each folder is entered once (a link back to a folder already
// walked is skipped and reported, so no loop). Files whose extension is not
// one TagLib reads (cover.jpg, notes.txt), empty files, files TagLib cannot
// read and files or folders that cannot be opened are skipped and reported
// with their reason.
//
// countfiles() walks the same way beforehand without reading anything, for
// the progress ("files read of files found").
#pragma once

#include <sys/types.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/scan.h"

namespace tracklore::tags {

class FolderReader : public TagSource {
 public:
  explicit FolderReader(std::vector<std::string> roots);

  Step next(TrackTags* tags, ScanNotes& notes) override;

  // The audio files below the roots (by name), walked without reading.
  int countfiles() const;

 private:
  struct Level {
    std::string folder;
    std::vector<std::pair<std::string, off_t>> files;  // name, size
    std::vector<std::string> folders;
    size_t file = 0;
    size_t sub = 0;
  };
  std::vector<std::string> roots_;
  size_t root_ = 0;
  std::vector<Level> stack_;
  std::set<std::pair<dev_t, ino_t>> entered_;

  // Lists a folder's entries; false (reported) when it cannot be read or
  // was entered before.
  bool enter(const std::string& folder, ScanNotes* notes);
};

}  // namespace tracklore::tags
