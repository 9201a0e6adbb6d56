// A scan: the walk's albums catalogued batch by batch.
#include "catalogue/scanrun.h"

#include <memory>

#include "catalogue/scantext.h"
#include "catalogue/schema.h"
#include "catalogue/text.h"

namespace tracklore {

namespace {

// Counts the files that the source hands over, for the progress.
class CountingSource : public TagSource {
 public:
  CountingSource(TagSource& inner, ScanSummary& summary, const ScanRunOptions& options)
      : inner_(inner), summary_(summary), options_(options) {}
  Step next(TrackTags* tags, ScanNotes& notes) override {
    const Step step = inner_.next(tags, notes);
    if (step == Step::File) {
      ++summary_.counts.filesread;
      if (options_.progress && !options_.progress(summary_.counts)) summary_.cancelled = true;
    }
    return step;
  }

 private:
  TagSource& inner_;
  ScanSummary& summary_;
  const ScanRunOptions& options_;
};

}  // namespace

int DB_ScanMusic(TagSource& source, ScanNotes& notes, const ScanRunOptions& options,
                 ScanSummary* summary) {
  *summary = ScanSummary();
  std::unique_ptr<CatalogueBatch> batch;
  if (options.mode == WriteMode::Write) {
    BatchOptions batchoptions = options.batch;
    batchoptions.operation = "scan";
    batch = std::make_unique<CatalogueBatch>(batchoptions);
    if (!batch->ok()) {
      summary->error = batch->finish();
      summary->failedalbum = "(none: the tables could not be prepared)";
      return -1;
    }
  }
  CountingSource counted(source, *summary, options);
  NameFinder names;
  groupalbums(counted, notes, [&](ScannedAlbum& album) {
    AlbumOutcome outcome;
    ErrorCode rc = DB_StoreScannedAlbum(album, options.mode, names, &summary->tally, &outcome);
    if (rc != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = "\"" + utf8fromstored(album.name) + "\" (" + album.folder + ")";
      return false;
    }
    if (outcome == AlbumOutcome::LeftAlone)
      notes.nameissue(album.folder, "album \"" + utf8fromstored(album.name) +
                                        "\" left alone: the catalogue's differs");
    ++summary->counts.albums;
    if (batch && (rc = batch->unitdone()) != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = "\"" + utf8fromstored(album.name) + "\" (" + album.folder + ")";
      return false;
    }
    if (options.progress && !options.progress(summary->counts)) summary->cancelled = true;
    return !summary->cancelled;
  });
  // A failed album leaves its batch to recovery, which takes it back whole.
  if (batch) summary->error = batch->finish(summary->error);
  return summary->error == quill::Ok ? 0 : -1;
}

std::string DB_ScanSummaryText(const ScanSummary& summary, const ScanNotes& notes, WriteMode mode) {
  const CatalogueTally& t = summary.tally;
  std::string text = textf("%d files read, %d skipped\n", summary.counts.filesread, notes.skippedfiles);
  text += textf("albums: %d %s, %d completed, %d already there, %d left alone\n",
                t.outcome(AlbumOutcome::Added), mode == WriteMode::DryRun ? "to add" : "added",
                t.outcome(AlbumOutcome::Completed), t.outcome(AlbumOutcome::Unchanged),
                t.outcome(AlbumOutcome::LeftAlone));
  const auto counted = [&](int kind) {
    const int n = t.created[kind];
    return textf("%d %s", n, KindNames[kind][n == 1 ? SingularForm : PluralForm]);
  };
  text += "created " + counted(SongTable) + " and " + counted(ArtistTable) + "\n";
  text += textf("names: %d cut, %d transliterated, %d left out\n", notes.cutnames,
                notes.transliterated, notes.leftout);
  if (mode == WriteMode::DryRun) text += "dry run: nothing was written\n";
  else if (!summary.changed()) text += "nothing changed: the catalogue already holds this folder\n";
  if (summary.cancelled) text += "cancelled: the albums done so far are kept\n";
  return text;
}

}  // namespace tracklore
