// The walk of a scan's folders, and each file's tags.
#include "tags/folderreader.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "tags/tagreader.h"

namespace tracklore::tags {

namespace {

std::string trimmed(std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

std::string realof(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

// Whether folder is place or lies below it (both resolved paths).
bool within(const std::string& folder, const std::string& place) {
  if (folder.empty() || place.empty()) return false;
  if (place == "/") return true;
  return folder.compare(0, place.size(), place) == 0 &&
         (folder.size() == place.size() || folder[place.size()] == '/');
}

// Why a file TagLib did not take was not read: looked for only then, so
// that a good file costs no more than TagLib's own open.
std::string whyunread(const std::string& path, const std::string& reason) {
  if (access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  return reason;
}

}  // namespace

FolderReader::FolderReader(std::vector<std::string> roots, bool hidden) : hidden_(hidden) {
  for (std::string& r : roots) {
    roots_.push_back(trimmed(std::move(r)));
    realroots_.push_back(realof(roots_.back()));
  }
  for (size_t root = 0; root < roots_.size(); ++root) walked_.push_back(!rootinsideanother(root));
}

int FolderReader::countfiles() const {
  FolderReader counter(roots_, hidden_);
  counter.listonly_ = true;
  ScanNotes quiet;
  TrackTags tags;
  int n = 0;
  for (Step step; (step = counter.next(&tags, quiet)) != Step::End;) n += step == Step::File ? 1 : 0;
  return n;
}

bool FolderReader::rootinsideanother(size_t root) const {
  for (size_t other = 0; other < realroots_.size(); ++other) {
    if (other == root || !within(realroots_[root], realroots_[other])) continue;
    // Of two that are the same folder, the first given is walked.
    if (realroots_[root] != realroots_[other] || other < root) return true;
  }
  return false;
}

bool FolderReader::enter(const std::string& folder, bool isroot, ScanNotes* notes) {
  Level level;
  level.folder = folder;
  struct stat self;
  if (stat(folder.c_str(), &self) != 0) {
    notes->skipped(folder + "/", std::string("cannot read the folder: ") + std::strerror(errno));
    return false;
  }
  level.dev = self.st_dev;
  level.ino = self.st_ino;
  level.real = realof(folder);
  if (!isroot) {
    // A link back up would walk for ever, or walk a scanned folder twice.
    bool loops = false;
    for (const Level& up : stack_) loops = loops || (up.dev == level.dev && up.ino == level.ino);
    for (size_t root = 0; root < realroots_.size(); ++root)
      loops = loops || (walked_[root] && within(realroots_[root], level.real));
    if (loops) {
      notes->line(folder + "/: not followed: the link leads to a folder that the scan walks already");
      return false;
    }
  }
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    notes->skipped(folder + "/", std::string("cannot read the folder: ") + std::strerror(errno));
    return false;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (name[0] == '.' && !hidden_) {
      notes->hidden();
      continue;
    }
    struct stat st;
    const std::string path = folder + "/" + name;
    // A dangling link or an entry gone meanwhile counts as a file, so that
    // reading it reports why.
    if (stat(path.c_str(), &st) != 0) level.files.push_back({name, FileStat()});
    else if (S_ISDIR(st.st_mode)) level.folders.push_back(name);
    else level.files.push_back({name, {st.st_size, st.st_mtim.tv_sec, static_cast<int32_t>(st.st_mtim.tv_nsec)}});
  }
  closedir(dir);
  std::sort(level.files.begin(), level.files.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::sort(level.folders.begin(), level.folders.end());
  stack_.push_back(std::move(level));
  return true;
}

TagSource::Step FolderReader::next(TrackTags* tags, ScanNotes& notes) {
  for (;;) {
    if (stack_.empty()) {
      if (root_ == roots_.size()) return Step::End;
      const size_t root = root_++;
      if (!walked_[root]) continue;
      if (!enter(roots_[root], true, &notes)) return Step::Skipped;
      continue;
    }
    Level& level = stack_.back();
    if (level.file < level.files.size()) {
      const auto& [name, stat] = level.files[level.file++];
      const std::string path = level.folder + "/" + name;
      if (!isaudioname(name)) {
        notes.notaudio();
        return Step::Skipped;
      }
      if (listonly_) return Step::File;
      if (stat.size >= 0 && known(path, stat)) {
        *tags = TrackTags();
        tags->path = path;
        tags->folder = level.folder;
        tags->filename = name;
        tags->stat = stat;
        return Step::Known;
      }
      // TagLib takes an empty file for one without tags.
      if (stat.size == 0) {
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
      tags->stat = stat;
      return Step::File;
    }
    if (level.sub < level.folders.size()) {
      const std::string sub = level.folder + "/" + level.folders[level.sub++];
      if (!enter(sub, false, &notes)) return Step::Skipped;
      continue;
    }
    stack_.pop_back();
  }
}

}  // namespace tracklore::tags
