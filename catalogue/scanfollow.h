// A rescan's albums following their files: the albums a scan made, brought
// in step with the files that went to them.
//
// An album is affected when a file it had is gone or was read again
// (changed), or when a file read again arrives in it (found by the
// identity of its tags, whatever the album is called now). Its songs are
// then made those of its files: the files it keeps (their songs as
// catalogued) and those that arrive, in the order of disc, track and file
// name, a copy once; its artists those of its files (followartists.h).
// An album left with no file is deleted (its songs and artists purged when
// no album uses them). An album whose lists the user edited since the scan
// that made them (its fingerprint differs, scanfiles.h) is left alone and
// reported with what differs, unless it is one the caller prefers the
// files for. A name the user gave an album is not such an edit: it stays
// while the lists follow, and the report tells the files' name; an album
// the caller prefers the files for takes that name. Each album is
// one journaled edit (journal.h), its file entries with it; the caller is
// not in a batch. A dry run tells the same and writes nothing.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/results.h"
#include "catalogue/scan.h"
#include "catalogue/scanfiles.h"
#include "catalogue/scanstore.h"

namespace tracklore {

struct FollowTally {
  int changed = 0;   // albums whose songs follow their files
  int removed = 0;   // albums left with no file
  int edited = 0;    // albums left alone: edited since their scan
  int gonefiles = 0;
  // The albums whose files' version the user may take (scan
  // --prefer-files): left alone, or named otherwise by the user.
  std::vector<std::string> preferable;
};

class AlbumFollower {
 public:
  AlbumFollower(ScanFiles& files, WriteMode mode, std::vector<std::string> preferfiles)
      : files_(files), mode_(mode), prefer_(std::move(preferfiles)) {}

  // A file read again: its entry's album, if any, no longer has it as it was.
  void reread(const std::string& path);
  // A file that the walk no longer finds.
  void gone(const std::string& path);
  // The files of a scanned album whose identity leads to album.
  void arrive(int32_t album, const ScannedAlbum& scanned);
  // Entries of files already remembered that went to albums the scan
  // stored: rewritten under the same intent as the albums that follow.
  void rewrite(std::vector<FileEntry> entries) { later_ = std::move(entries); }
  // An album whose files are taken as they are (scan --prefer-files).
  void touch(int32_t album) { affected_.insert(album); }

  // Brings every affected album in step; Ok or the failing edit's code
  // (the albums before it stay done).
  // Albums with files that arrive count in tally as Unchanged or LeftAlone
  // when their songs stay as they are.
  ErrorCode run(ScanNotes& notes, FollowTally* tally, CatalogueTally* albums);

 private:
  struct Arrival {
    ScannedAlbum::Source source;
    std::string name;
  };
  struct Member;
  ScanFiles& files_;
  WriteMode mode_;
  std::vector<std::string> prefer_;
  std::set<std::string> departing_;  // gone or read again
  std::set<std::string> gone_;
  std::map<int32_t, std::vector<std::string>> leaving_;  // departing, by the album they were in
  std::map<int32_t, std::vector<Arrival>> arrivals_;
  std::map<int32_t, std::string> arrivedname_;  // the album's name as its files read again give it
  std::set<int32_t> affected_;
  std::vector<FileEntry> later_;

  struct Plan;
  // Decides how the album follows (false: the user deleted it), declares
  // what that changes, and does it (a dry run only tells it).
  bool plan(int32_t album, const std::vector<const FileEntry*>& staying, Plan* plan);
  void declare(const Plan& plan, Intent& intent) const;
  static FileEntry entryof(const Plan& plan, const Member& member, const std::vector<int32_t>& codes);
  bool rewritten(const Plan& plan, const Member& member, const std::vector<int32_t>& codes) const;
  ErrorCode apply(Plan& plan, ScanNotes& notes, FollowTally* tally, CatalogueTally* albums);
  bool preferred(const std::string& name) const;
};

}  // namespace tracklore
