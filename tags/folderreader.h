// The music folders of a scan walked for their audio files: the TagSource
// of a real scan.
//
// The walk visits a folder's files in name order, then its sub-folders in
// name order. Files and folders whose name begins with a dot (.Trash-1000,
// macOS's ._ files, a hidden old rip) are not read unless hidden is set;
// they are counted. Symbolic links are followed, except a link that leads
// to a folder being walked (one of the folders the walk is inside: a loop)
// or to one that holds a scanned folder (a link up the tree): it is
// reported and not entered. A link into the collection is followed, and
// the grouping takes the copies it meets for what they are. A folder given
// that lies inside another one given is walked once, as part of it.
// Files whose extension is not one TagLib reads (cover.jpg, notes.txt) are
// counted as not audio; empty files, files TagLib cannot read and folders
// that cannot be read are skipped and reported with their reason.
//
// countfiles() walks the same way beforehand without reading anything, for
// the progress ("files read of files found"). A file that the rescan's
// known() test takes by its stat is handed over as Known, not opened: the
// walk's own stat of each entry is all an unchanged file costs.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "catalogue/scan.h"

namespace tracklore::tags {

class FolderReader : public TagSource {
 public:
  explicit FolderReader(std::vector<std::string> roots, bool hidden = false);

  Step next(TrackTags* tags, ScanNotes& notes) override;

  // The audio files below the roots (by name), walked without reading.
  int countfiles() const;

 private:
  struct Level {
    std::string folder;  // as walked
    std::string real;    // links resolved
    dev_t dev = 0;
    ino_t ino = 0;
    std::vector<std::pair<std::string, FileStat>> files;  // name, stat (size -1: none)
    std::vector<std::string> folders;
    size_t file = 0;
    size_t sub = 0;
  };
  std::vector<std::string> roots_;
  std::vector<std::string> realroots_;  // as far as they resolve
  std::vector<bool> walked_;            // false for a root inside another one
  bool hidden_;
  bool listonly_ = false;  // countfiles(): names only, no tags read
  size_t root_ = 0;
  std::vector<Level> stack_;

  // Lists a folder's entries; false (noted) when it cannot be read or
  // must not be walked.
  bool enter(const std::string& folder, bool isroot, ScanNotes* notes);
  bool rootinsideanother(size_t root) const;
};

}  // namespace tracklore::tags
