// A scan: the whole walk's albums catalogued batch by batch.
#include "catalogue/scanrun.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/findname.h"
#include "catalogue/relation.h"
#include "catalogue/scanfiles.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "catalogue/wholestep.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

// Which of the folders given a path lies in (-1: none).
int folderof(const std::vector<std::string>& folders, const std::string& path) {
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::string& f = folders[i];
    if (path.size() > f.size() && path.compare(0, f.size(), f) == 0 && (f.back() == '/' || path[f.size()] == '/'))
      return static_cast<int>(i);
  }
  return -1;
}

// Whether a part of the path below the folder begins with a dot: a walk
// that passes over hidden files cannot tell that one is gone.
bool hiddenbelow(const std::string& path, const std::string& folder) {
  return path.find("/.", folder.size()) != std::string::npos;
}

// Counts the files that the source hands over, for the progress; ends the
// walk early when the progress asks to stop. Notes the files the walk saw,
// and in which of the folders.
class CountingSource : public TagSource {
 public:
  CountingSource(TagSource& inner, ScanSummary& summary, const ScanRunOptions& options, AlbumFollower& follower,
                 ScanFiles& files)
      : inner_(inner), summary_(summary), options_(options), follower_(follower), files_(files),
        seenin_(options.folders.size()) {}
  Step next(TrackTags* tags, ScanNotes& notes) override {
    if (summary_.cancelled) return Step::End;
    const Step step = inner_.next(tags, notes);
    if (step == Step::File || step == Step::Known) {
      const int folder = folderof(options_.folders, tags->path);
      if (folder >= 0) ++seenin_[static_cast<size_t>(folder)];
      files_.markseen(tags->path);
    }
    if (step == Step::Known) ++summary_.counts.filesknown;
    if (step == Step::File) {
      follower_.reread(tags->path);
      ++summary_.counts.filesread;
      if (options_.progress && !options_.progress(summary_.counts)) summary_.cancelled = true;
    }
    return step;
  }
  bool folderseen(int folder) const { return folder >= 0 && seenin_[static_cast<size_t>(folder)] > 0; }

 private:
  TagSource& inner_;
  ScanSummary& summary_;
  const ScanRunOptions& options_;
  AlbumFollower& follower_;
  ScanFiles& files_;
  std::vector<int> seenin_;
};

std::string albumplace(const ScannedAlbum& album) { return "\"" + album.name + "\" (" + album.folder + ")"; }

std::string howmany(int n, Kind kind) {
  return textf("%d %s", n, DB_Tr("Kind", kindword(kind, n == 1 ? SingularForm : PluralForm)));
}

std::string howmany(int n, const char* one, const char* many) { return textf("%d %s", n, n == 1 ? one : many); }

ErrorCode seekcode(quill::Rlist& cursor, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  (void)cursor.select(T_Code);  // a tag of the schema
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

bool albumthere(int32_t code) {
  quill::Rlist titles(&DB_Table(TitleTable));
  return seekcode(titles, code) == quill::Ok;
}

// The entries of an album's files as the store left it: its songs are the
// scanned ones, in order. Paths already remembered are kept apart, for
// after the batch: rewriting a record in place is not what a batch takes
// back.
ErrorCode remember(ScanFiles& files, const ScannedAlbum& album, int32_t code, std::vector<FileEntry>* later) {
  std::vector<int32_t> songs;
  std::unordered_map<std::string, int32_t> artists;  // folded name as scanned -> code
  if (code >= 0) {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, code);
    for (ErrorCode rc = list->first(); rc == quill::Ok; rc = list->skip(1))
      songs.push_back(list->rows().field(F_Attr).aslong());
    list = DB_GetArticleAttributes(0, code);
    size_t i = 0;
    for (ErrorCode rc = list->first(); rc == quill::Ok && i < album.artists.size(); rc = list->skip(1))
      artists.emplace(foldedname(album.artists[i++]), list->rows().field(F_Attr).aslong());
  }
  for (const ScannedAlbum::Source& s : album.sources) {
    FileEntry entry;
    entry.path = s.path;
    entry.stat = s.stat;
    entry.album = code;
    entry.song = code >= 0 && static_cast<size_t>(s.song) < songs.size() ? songs[static_cast<size_t>(s.song)] : -1;
    entry.seq = s.song;
    entry.disc = s.disc;
    entry.track = s.track;
    entry.title = titlehash(album.songs[static_cast<size_t>(s.song)]);
    entry.group = s.group;
    if (code >= 0) {
      entry.artistsknown = true;
      entry.albumartist = !s.albumartist.empty();
      const auto add = [&](const std::string& name) {
        auto found = artists.find(foldedname(name));
        entry.artists.push_back({found == artists.end() ? -1 : found->second, titlehash(name)});
      };
      if (entry.albumartist) add(s.albumartist);
      for (const std::string& name : s.artists) add(name);
    }
    if (files.file(s.path) != nullptr) {
      later->push_back(std::move(entry));
      continue;
    }
    const ErrorCode rc = files.putfile(entry);
    if (rc != quill::Ok) return rc;
  }
  if (code < 0) return quill::Ok;
  return files.putmark({code, albumfingerprint(code), identityhash(album.identity), album.name});
}

// "12 albums added, 3 completed, 5 changed, 2 removed": what the undo
// history says the scan did.
std::string stepcounts(const ScanSummary& summary) {
  const std::pair<int, const char*> counts[] = {{summary.tally.outcome(AlbumOutcome::Added), "added"},
                                                {summary.tally.outcome(AlbumOutcome::Completed), "completed"},
                                                {summary.follow.changed, "changed"},
                                                {summary.follow.removed, "removed"}};
  std::string text;
  for (const auto& [n, what] : counts) {
    if (n == 0) continue;
    text += text.empty() ? howmany(n, "album", "albums") : (", " + std::to_string(n));
    text += std::string(" ") + what;
  }
  return text.empty() ? "no album changed" : text;
}

}  // namespace

std::vector<std::string> DB_ScannedFolders() {
  ScanFiles files;
  if (files.loadfolders() != quill::Ok) return {};
  return files.folders();
}

int DB_ScanMusic(TagSource& source, ScanNotes& notes, const ScanRunOptions& options,
                 ScanSummary* summary) {
  *summary = ScanSummary();
  const bool writing = options.mode == WriteMode::Write;
  // The whole scan, first or again, is one step of the undo history.
  std::unique_ptr<WholeStep> whole;
  if (writing) whole = std::make_unique<WholeStep>("scan");
  const auto done = [&] {
    if (whole) whole->finish(wholesteptext("scan", options.folders, stepcounts(*summary)));
    return 0;
  };
  ScanFiles files;
  if ((summary->error = files.load()) != quill::Ok) {
    summary->failedalbum = DB_Tr("Catalogue", "(none: the scan's file table could not be read)");
    return -1;
  }
  AlbumFollower follower(files, options.mode, options.preferfiles);
  {
    NameFinder finder;
    for (const std::string& name : options.preferfiles)
      for (int32_t code : finder.same(Kind::Album, name))
        if (files.mark(code) != nullptr) follower.touch(code);
  }
  source.setknown([&files](const std::string& path, const FileStat& stat) {
    const FileEntry* entry = files.file(path);
    return entry != nullptr && entry->stat == stat;
  });
  // Begun at the first thing to write: a rescan that finds nothing to
  // change forces nothing to disk.
  std::unique_ptr<CatalogueBatch> batch;
  const auto begin = [&]() -> bool {
    if (batch || !writing) return true;
    BatchOptions batchoptions = options.batch;
    batchoptions.operation = "scan";
    batch = std::make_unique<CatalogueBatch>(batchoptions);
    if (batch->ok()) return true;
    summary->error = batch->finish();
    batch.reset();
    summary->failedalbum = DB_Tr("Catalogue", "(none: the tables could not be prepared)");
    return false;
  };
  CountingSource counted(source, *summary, options, follower, files);
  ScanStore store(options.mode);
  if (files.there()) store.setcompletable([&files](int32_t album) { return files.mark(album) != nullptr; });
  std::vector<FileEntry> later;
  std::unordered_set<int32_t> claimed;  // albums made or found in this scan
  // The tally as of the last durable point: what a failed scan keeps once
  // recovery has taken back its unfinished batch.
  CatalogueTally kept = summary->tally;
  std::string lastplace;  // the last album catalogued, where a failing batch ends
  groupalbums(counted, notes, [&](ScannedAlbum& album) {
    // A scan cancelled while its files were read catalogues nothing: its
    // albums would be the files read so far, not the albums.
    if (summary->cancelled) return false;
    // An album a scan made is found by its files' tags, whatever it is
    // called now; it follows them once the new albums are in.
    // Two albums of one scan with the same identity stay two: each finds
    // one not yet found in this scan.
    int32_t made = -1;
    // A file read again with the album tags it had stays in its album,
    // whatever the other files read with it make of the album's identity.
    for (const ScannedAlbum::Source& s : album.sources) {
      const FileEntry* entry = files.file(s.path);
      if (made < 0 && entry != nullptr && entry->album >= 0 && entry->group == s.group &&
          files.mark(entry->album) != nullptr && albumthere(entry->album))
        made = entry->album;
    }
    if (made < 0 && files.there())
      for (int32_t code : files.albumsof(album.identity))
        if (claimed.count(code) == 0 && albumthere(code)) {
          made = code;
          break;
        }
    if (made >= 0) {
      claimed.insert(made);
      follower.arrive(made, album);
      ++summary->counts.albums;
      return true;
    }
    if (!begin()) return false;
    AlbumOutcome outcome;
    std::string difference;
    ErrorCode rc = store.store(album, &summary->tally, &outcome, &difference);
    if (rc == quill::Ok && writing && files.there())
      rc = remember(files, album, outcome == AlbumOutcome::LeftAlone ? -1 : store.lastalbum(), &later);
    if (outcome != AlbumOutcome::LeftAlone) claimed.insert(store.lastalbum());
    if (rc != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = albumplace(album);
      return false;
    }
    if (outcome == AlbumOutcome::LeftAlone)
      notes.line(
          textf(DB_Tr("Catalogue", "%s: album \"%s\" left alone: the catalogue's differs: %s"),
                album.folder.c_str(), album.name.c_str(), difference.c_str()));
    ++summary->counts.albums;
    lastplace = albumplace(album);
    const int points = batch ? batch->durablepoints() : 0;
    if (batch) rc = batch->unitdone();
    if (batch && batch->durablepoints() != points) kept = summary->tally;
    if (rc != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = lastplace;
      return false;
    }
    if (options.progress && !options.progress(summary->counts)) summary->cancelled = true;
    return !summary->cancelled;
  });
  if (writing && summary->error == quill::Ok && files.there())
    for (const std::string& folder : options.folders) {
      const std::vector<std::string>& known = files.folders();
      if (std::find(known.begin(), known.end(), folder) != known.end()) continue;
      if (!begin()) break;
      const ErrorCode rc = files.putfolder(folder);
      if (rc != quill::Ok) {
        summary->error = rc;
        summary->failedalbum =
            textf(DB_Tr("Catalogue", "(none: the folder %s could not be remembered)"), folder.c_str());
        break;
      }
    }
  // A failed album leaves its batch to recovery, which takes it back whole.
  if (batch) {
    const ErrorCode before = summary->error;
    summary->error = batch->finish(summary->error);
    // The last batch itself could not be written: it ended at the last album.
    if (before == quill::Ok && summary->error != quill::Ok) summary->failedalbum = lastplace;
  }
  if (summary->error != quill::Ok) {
    if (writing) {
      const auto made = [](const CatalogueTally& t) {
        return t.outcome(AlbumOutcome::Added) + t.outcome(AlbumOutcome::Completed);
      };
      summary->takenback = made(summary->tally) - made(kept);
      summary->tally = kept;
    }
    return -1;
  }
  if (summary->cancelled) return done();

  // Files are gone only from a folder the walk could see.
  for (size_t f = 0; f < options.folders.size(); ++f)
    if (!counted.folderseen(static_cast<int>(f))) {
      summary->unseenfolders.push_back(options.folders[f]);
      notes.line(textf(
          DB_Tr("Catalogue", "%s/: missing or holds no audio file: nothing below it was changed"),
          options.folders[f].c_str()));
    }
  std::vector<std::string> gone;
  files.visit([&](const FileEntry& entry, bool seen) {
    const int folder = folderof(options.folders, entry.path);
    if (!seen && counted.folderseen(folder) &&
        (options.hidden || !hiddenbelow(entry.path, options.folders[static_cast<size_t>(folder)])))
      gone.push_back(entry.path);
  });
  for (const std::string& path : gone) follower.gone(path);
  follower.rewrite(std::move(later));
  const ErrorCode rc = follower.run(notes, &summary->follow, &summary->tally);
  if (rc != quill::Ok) {
    summary->error = rc;
    summary->failedalbum = DB_Tr("Catalogue", "(the albums that follow their files)");
    return -1;
  }
  return done();
}

std::string DB_ScanSummaryText(const ScanSummary& summary, const ScanNotes& notes, WriteMode mode) {
  const CatalogueTally& t = summary.tally;
  const bool dry = mode == WriteMode::DryRun;
  std::string text = howmany(summary.counts.filesread, DB_Tr("Catalogue", "audio file"),
                             DB_Tr("Catalogue", "audio files")) +
                     textf(DB_Tr("Catalogue", " read, %d skipped, %d not audio"),
                           notes.skippedfiles, notes.notaudiofiles);
  if (notes.hiddenentries > 0)
    text += textf(DB_Tr("Catalogue", ", %d hidden not read"), notes.hiddenentries);
  text += "\n";
  if (summary.noaudio()) return text + DB_Tr("Catalogue", "no audio file found: nothing to scan\n");
  text += textf(
      DB_Tr("Catalogue", "%s in %s, %s linked once\n"), howmany(t.songs, Kind::Song).c_str(),
      howmany(t.albums(), Kind::Album).c_str(),
      howmany(notes.copies, DB_Tr("Catalogue", "copy"), DB_Tr("Catalogue", "copies")).c_str());
  text +=
      textf(DB_Tr("Catalogue", "albums: %d %s, %d completed, %d already there, %d left alone\n"),
            t.outcome(AlbumOutcome::Added),
            dry ? DB_Tr("Catalogue", "to add") : DB_Tr("Catalogue", "added"),
            t.outcome(AlbumOutcome::Completed), t.outcome(AlbumOutcome::Unchanged),
            t.outcome(AlbumOutcome::LeftAlone));
  text += textf(
      dry ? DB_Tr("Catalogue", "to create %s and %s\n") : DB_Tr("Catalogue", "created %s and %s\n"),
      howmany(t.created[SongTable], Kind::Song).c_str(),
      howmany(t.created[ArtistTable], Kind::Artist).c_str());
  const FollowTally& f = summary.follow;
  if (summary.counts.filesknown + f.gonefiles + f.changed + f.removed + f.edited > 0)
    text += textf(
        DB_Tr("Catalogue",
              "rescan: %s unchanged (not opened), %d gone; albums following their "
              "files: %d %s, %d %s, %d edited left alone\n"),
        howmany(summary.counts.filesknown, DB_Tr("Catalogue", "file"), DB_Tr("Catalogue", "files"))
            .c_str(),
        f.gonefiles, f.changed,
        dry ? DB_Tr("Catalogue", "to change") : DB_Tr("Catalogue", "changed"), f.removed,
        dry ? DB_Tr("Catalogue", "to remove") : DB_Tr("Catalogue", "removed"), f.edited);
  for (const std::string& folder : summary.unseenfolders)
    text += textf(
        DB_Tr("Catalogue", "%s: missing or holds no audio file: nothing below it was changed\n"),
        folder.c_str());
  text += textf(DB_Tr("Catalogue", "names: %d transliterated, %d cut, %d stand-ins, %d mended\n"),
                notes.transliterated, notes.cut, notes.standins, notes.mended);
  if (dry)
    text += DB_Tr("Catalogue", "dry run: nothing was written\n");
  else if (!summary.changed() && summary.error == quill::Ok && f.edited == 0)
    text += DB_Tr("Catalogue", "nothing changed: the catalogue already holds these files\n");
  else if (!summary.changed() && summary.error == quill::Ok)
    text += textf(DB_Tr("Catalogue",
                        "nothing changed: %s edited since the scan left alone; the report says "
                        "what differs and how to take the files' version\n"),
                  howmany(f.edited, Kind::Album).c_str());
  if (summary.cancelled) text += DB_Tr("Catalogue", "cancelled: the albums done so far are kept\n");
  if (summary.takenback > 0)
    text += textf(
        DB_Tr("Catalogue", "not kept: %d %s of the unfinished batch, which recovery takes back\n"),
        summary.takenback,
        DB_Tr("Kind", kindword(Kind::Album, summary.takenback == 1 ? SingularForm : PluralForm)));
  return text;
}

}  // namespace tracklore
