// One scan of a music folder into the open catalogue: the albums that the
// grouping (scan.h) makes of a TagSource, catalogued (scanstore.h) in batch
// mode (batch.h). Shared by tracklore-cli scan and the program's menu.
//
// The grouping reads every file before the first album is catalogued. The
// progress callback is called after every file read and after every album;
// when it returns false while files are read, nothing is catalogued; while
// albums are, the scan stops after the album in hand, and what is done
// stays (cancelled is set). A failing edit stops the scan
// (error and failedalbum say where); the batches finished before it stay,
// and its own batch is left in the journal for recovery to take back. A
// dry run opens nothing for writing and writes nothing: its tally and notes
// are the ones the scan would then give.
//
// With the scan file table open (scanfiles.h) a scan is also a rescan: a
// file whose path and stat are remembered is not opened, and the albums a
// scan made follow their files (scanfollow.h) once the new albums are
// catalogued. Only the files below the folders given that the walk could
// see are looked for: a folder that is missing or holds no audio file (an
// unmounted drive) changes nothing below it, and is said to. The folders
// are remembered for a rescan without folders (DB_ScannedFolders).
#pragma once

#include <functional>
#include <string>

#include "catalogue/batch.h"
#include "catalogue/results.h"
#include "catalogue/scan.h"
#include "catalogue/scanfollow.h"
#include "catalogue/scanstore.h"

namespace tracklore {

struct ScanCounts {
  int filesread = 0;
  int filesknown = 0;  // unchanged since the last scan: not opened
  int albums = 0;  // albums handed to the catalogue so far
};

struct ScanRunOptions {
  WriteMode mode = WriteMode::Write;
  std::vector<std::string> folders;      // the folders the source walks
  bool hidden = false;                   // whether it reads hidden files (else theirs are not gone)
  std::vector<std::string> preferfiles;  // albums whose files win over the user's edits
  BatchOptions batch;
  std::function<bool(const ScanCounts& counts)> progress;
};

struct ScanSummary {
  ScanCounts counts;
  CatalogueTally tally;
  FollowTally follow;
  std::vector<std::string> unseenfolders;  // missing or without audio: nothing below them changed
  bool cancelled = false;
  ErrorCode error = quill::Ok;
  std::string failedalbum;  // UTF-8, with its folder
  // After a failure: albums added or completed in the unfinished batch,
  // which recovery takes back; tally then counts only what stays.
  int takenback = 0;
  bool changed() const {
    return tally.outcome(AlbumOutcome::Added) + tally.outcome(AlbumOutcome::Completed) + follow.changed +
               follow.removed >
           0;
  }
  // Nothing was read: the folders hold no audio file a tag reader takes
  // (empty, or a share that is not mounted).
  bool noaudio() const { return counts.filesread == 0 && counts.filesknown == 0; }
};

// 0 when the scan ran to its end or was cancelled; -1 when an edit failed.
// A scan that read no audio file returns 0 with noaudio(): its caller
// tells it as the error it is to the user.
[[nodiscard]] int DB_ScanMusic(TagSource& source, ScanNotes& notes, const ScanRunOptions& options,
                 ScanSummary* summary);

// The folders the scans of the open database were given, in the order
// first given (none without the scan file table).
std::vector<std::string> DB_ScannedFolders();

// The summary as lines of text ("albums: 3 added, ...").
std::string DB_ScanSummaryText(const ScanSummary& summary, const ScanNotes& notes, WriteMode mode);

}  // namespace tracklore
