// The walk of a music folder, and each file's tags.
#include "tags/folderreader.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tags/tagreader.h"

namespace tracklore::tags {

namespace {

struct Listing {
  std::vector<std::pair<std::string, off_t>> files;  // name, size
  std::vector<std::string> folders;
  dev_t dev = 0;
  ino_t ino = 0;
  std::string error;
};

// The entries of a folder, links followed; error set when it cannot be read.
Listing list(const std::string& folder) {
  Listing out;
  struct stat self;
  if (stat(folder.c_str(), &self) != 0) {
    out.error = std::strerror(errno);
    return out;
  }
  out.dev = self.st_dev;
  out.ino = self.st_ino;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    out.error = std::strerror(errno);
    return out;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    const std::string path = folder + "/" + name;
    // A dangling link or an entry gone meanwhile counts as a file, so that
    // reading it reports why.
    if (stat(path.c_str(), &st) != 0) out.files.push_back({name, -1});
    else if (S_ISDIR(st.st_mode)) out.folders.push_back(name);
    else out.files.push_back({name, st.st_size});
  }
  closedir(dir);
  std::sort(out.files.begin(), out.files.end());
  std::sort(out.folders.begin(), out.folders.end());
  return out;
}

std::string trimmed(std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

// Why a file TagLib did not take was not read: looked for only then, so
// that a good file costs no more than TagLib's own open.
std::string whyunread(const std::string& path, const std::string& reason) {
  if (access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  return reason;
}

int countbelow(const std::string& folder, std::set<std::pair<dev_t, ino_t>>* entered) {
  Listing l = list(folder);
  if (!l.error.empty() || !entered->insert({l.dev, l.ino}).second) return 0;
  int n = 0;
  for (const auto& f : l.files) n += isaudioname(f.first) ? 1 : 0;
  for (const std::string& sub : l.folders) n += countbelow(folder + "/" + sub, entered);
  return n;
}

}  // namespace

FolderReader::FolderReader(std::vector<std::string> roots) {
  for (std::string& r : roots) roots_.push_back(trimmed(std::move(r)));
}

int FolderReader::countfiles() const {
  std::set<std::pair<dev_t, ino_t>> entered;
  int n = 0;
  for (const std::string& root : roots_) n += countbelow(root, &entered);
  return n;
}

bool FolderReader::enter(const std::string& folder, ScanNotes* notes) {
  Listing l = list(folder);
  if (!l.error.empty()) {
    notes->skipped(folder + "/", "cannot read the folder: " + l.error);
    return false;
  }
  if (!entered_.insert({l.dev, l.ino}).second) {
    notes->skipped(folder + "/", "walked already (a link to a folder seen before)");
    return false;
  }
  Level level;
  level.folder = folder;
  level.files = std::move(l.files);
  level.folders = std::move(l.folders);
  stack_.push_back(std::move(level));
  return true;
}

TagSource::Step FolderReader::next(TrackTags* tags, ScanNotes& notes) {
  for (;;) {
    if (stack_.empty()) {
      if (root_ == roots_.size()) return Step::End;
      if (!enter(roots_[root_++], &notes)) return Step::Skipped;
      continue;
    }
    Level& level = stack_.back();
    if (level.file < level.files.size()) {
      const auto& [name, size] = level.files[level.file++];
      const std::string path = level.folder + "/" + name;
      if (!isaudioname(name)) {
        notes.skipped(path, "not an audio file");
        return Step::Skipped;
      }
      // TagLib takes an empty file for one without tags.
      if (size == 0) {
        notes.skipped(path, "empty file");
        return Step::Skipped;
      }
      *tags = TrackTags();
      std::string reason;
      if (!readtags(path, tags, &reason)) {
        notes.skipped(path, whyunread(path, reason));
        return Step::Skipped;
      }
      tags->path = path;
      tags->folder = level.folder;
      tags->filename = name;
      return Step::File;
    }
    if (level.sub < level.folders.size()) {
      const std::string sub = level.folder + "/" + level.folders[level.sub++];
      if (!enter(sub, &notes)) return Step::Skipped;
      continue;
    }
    stack_.pop_back();
  }
}

}  // namespace tracklore::tags
