// A scan: the whole walk's albums catalogued batch by batch.
#include "catalogue/scanrun.h"

#include <memory>

#include "catalogue/schema.h"
#include "catalogue/text.h"

namespace tracklore {

namespace {

// Counts the files that the source hands over, for the progress; ends the
// walk early when the progress asks to stop.
class CountingSource : public TagSource {
 public:
  CountingSource(TagSource& inner, ScanSummary& summary, const ScanRunOptions& options)
      : inner_(inner), summary_(summary), options_(options) {}
  Step next(TrackTags* tags, ScanNotes& notes) override {
    if (summary_.cancelled) return Step::End;
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

std::string albumplace(const ScannedAlbum& album) { return "\"" + album.name + "\" (" + album.folder + ")"; }

std::string howmany(int n, int kind) {
  return textf("%d %s", n, KindNames[kind][n == 1 ? SingularForm : PluralForm]);
}

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
  ScanStore store(options.mode);
  groupalbums(counted, notes, [&](ScannedAlbum& album) {
    // A scan cancelled while its files were read catalogues nothing: its
    // albums would be the files read so far, not the albums.
    if (summary->cancelled) return false;
    AlbumOutcome outcome;
    std::string difference;
    ErrorCode rc = store.store(album, &summary->tally, &outcome, &difference);
    if (rc != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = albumplace(album);
      return false;
    }
    if (outcome == AlbumOutcome::LeftAlone)
      notes.line(album.folder + ": album \"" + album.name + "\" left alone: the catalogue's differs: " +
                 difference);
    ++summary->counts.albums;
    if (batch && (rc = batch->unitdone()) != quill::Ok) {
      summary->error = rc;
      summary->failedalbum = albumplace(album);
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
  std::string text = textf("%d audio files read, %d skipped, %d not audio", summary.counts.filesread,
                           notes.skippedfiles, notes.notaudiofiles);
  if (notes.hiddenentries > 0) text += textf(", %d hidden not read", notes.hiddenentries);
  text += "\n";
  if (summary.noaudio()) return text + "no audio file found: nothing to scan\n";
  text += howmany(t.songs, SongTable) + " in " + howmany(t.albums(), TitleTable);
  text += textf(", %d %s linked once\n", notes.copies, notes.copies == 1 ? "copy" : "copies");
  text += textf("albums: %d %s, %d completed, %d already there, %d left alone\n",
                t.outcome(AlbumOutcome::Added), mode == WriteMode::DryRun ? "to add" : "added",
                t.outcome(AlbumOutcome::Completed), t.outcome(AlbumOutcome::Unchanged),
                t.outcome(AlbumOutcome::LeftAlone));
  text += std::string(mode == WriteMode::DryRun ? "to create " : "created ") +
          howmany(t.created[SongTable], SongTable) + " and " + howmany(t.created[ArtistTable], ArtistTable) + "\n";
  text += textf("names: %d transliterated, %d cut, %d stand-ins, %d mended\n", notes.transliterated,
                notes.cut, notes.standins, notes.mended);
  if (mode == WriteMode::DryRun) text += "dry run: nothing was written\n";
  else if (!summary.changed()) text += "nothing changed: the catalogue already holds these files\n";
  if (summary.cancelled) text += "cancelled: the albums done so far are kept\n";
  return text;
}

}  // namespace tracklore
