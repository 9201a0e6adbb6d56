// Albums brought in step with their files after a rescan.
#include "catalogue/scanfollow.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "catalogue/edits.h"
#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

ErrorCode seekcode(Rlist& cursor, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  cursor.select(T_Code);
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

std::string filenameof(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderof(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string quoted(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "\"" : ", \"") + n + "\"";
  return text;
}

// What turns the list was into now: the songs that go, those that come, or
// only their order; gone and come say so.
std::string change(const std::vector<std::string>& was, const std::vector<std::string>& now,
                   const char* gone = "songs removed: ", const char* come = "songs added: ") {
  std::unordered_map<std::string, int> count;
  for (const std::string& n : was) ++count[foldedname(n)];
  std::vector<std::string> added, removed;
  for (const std::string& n : now)
    if (--count[foldedname(n)] < 0) added.push_back(n);
  for (const std::string& n : was) {
    int& left = count[foldedname(n)];
    if (left > 0) {
      --left;
      removed.push_back(n);
    }
  }
  std::string text;
  if (!removed.empty()) text = gone + quoted(removed);
  if (!added.empty()) text += (text.empty() ? "" : "; ") + std::string(come) + quoted(added);
  return text.empty() ? "songs in another order" : text;
}

}  // namespace

struct AlbumFollower::Member {
  std::string path;
  std::string name;
  int32_t code = -1;  // the song as catalogued; -1 for a file that arrives
  int disc = 0, track = 0;
  FileStat stat;
  uint32_t title = 0;
  uint32_t group = 0;
  int song = 0;  // index into the album's new songs
};

void AlbumFollower::reread(const std::string& path) {
  const FileEntry* entry = files_.file(path);
  if (entry == nullptr || entry->album < 0) return;
  departing_.insert(path);
  affected_.insert(entry->album);
}

void AlbumFollower::gone(const std::string& path) {
  const FileEntry* entry = files_.file(path);
  if (entry == nullptr) return;
  departing_.insert(path);
  gone_.insert(path);
  if (entry->album >= 0) affected_.insert(entry->album);
}

void AlbumFollower::arrive(int32_t album, const ScannedAlbum& scanned) {
  std::vector<Arrival>& list = arrivals_[album];
  for (const ScannedAlbum::Source& s : scanned.sources) list.push_back({s, scanned.songs[static_cast<size_t>(s.song)]});
  affected_.insert(album);
}

bool AlbumFollower::preferred(const std::string& name) const {
  for (const std::string& p : prefer_)
    if (DB_SameName(p, name)) return true;
  return false;
}

ErrorCode AlbumFollower::run(ScanNotes& notes, FollowTally* tally, CatalogueTally* albums) {
  tally->gonefiles += static_cast<int>(gone_.size());
  std::map<int32_t, std::vector<const FileEntry*>> staying;
  if (!affected_.empty())
    files_.visit([&](const FileEntry& entry, bool) {
      if (affected_.count(entry.album) != 0 && departing_.count(entry.path) == 0)
        staying[entry.album].push_back(&entry);
    });
  // One intent for every album: the edits of each nest in it, and the
  // tables are forced to disk once. A crash takes all of them back, and
  // the next rescan does them again.
  const bool writing = mode_ == WriteMode::Write && (!affected_.empty() || !gone_.empty() || !later_.empty());
  if (!writing) {
    ErrorCode rc = Ok;
    for (int32_t album : affected_)
      if (rc == Ok) rc = follow(album, staying[album], notes, tally, albums);
    return rc;
  }
  Intent intent("rescan");
  {
    intent.counts(NameTable);
    for (int32_t album : affected_) {
      intent.album(0, album);
      intent.album(1, album);
      files_.declaremark(intent, album);
      for (const FileEntry* e : staying[album]) files_.declarefile(intent, e->path);
      for (const Arrival& a : arrivals_[album]) files_.declarefile(intent, a.source.path);
    }
    for (const std::string& path : departing_) files_.declarefile(intent, path);
    for (const FileEntry& e : later_) files_.declarefile(intent, e.path);
  }
  ErrorCode rc = intent.begin();
  if (rc != Ok) return intent.end(rc);
  for (int32_t album : affected_) {
    if (rc != Ok) break;
    // Copies: the album's own entries are rewritten as it follows.
    std::vector<FileEntry> copies;
    for (const FileEntry* e : staying[album]) copies.push_back(*e);
    std::vector<const FileEntry*> kept;
    for (const FileEntry& e : copies) kept.push_back(&e);
    rc = follow(album, kept, notes, tally, albums);
  }
  // Gone files whose album was left alone or went elsewhere are forgotten.
  std::vector<std::string> left;
  for (const std::string& path : gone_)
    if (files_.file(path) != nullptr) left.push_back(path);
  for (size_t i = 0; rc == Ok && i < left.size(); ++i) rc = files_.dropfile(left[i]);
  for (size_t i = 0; rc == Ok && i < later_.size(); ++i) rc = files_.putfile(later_[i]);
  return intent.end(rc);
}

ErrorCode AlbumFollower::follow(int32_t album, const std::vector<const FileEntry*>& staying, ScanNotes& notes,
                                FollowTally* tally, CatalogueTally* albums) {
  Rlist titles(&DB_Table(TitleTable));
  // An album the user deleted keeps nothing of its files.
  if (seekcode(titles, album) != Ok) return Ok;
  const std::string name = DB_CurrentFullName(titles, TitleTable);

  std::vector<Member> members;
  CodeLookup lookup;
  for (const FileEntry* e : staying) {
    if (lookup.find(SongTable, e->song) != Ok) continue;  // the user deleted the song
    members.push_back({e->path, DB_CurrentFullName(lookup.cursor(SongTable), SongTable), e->song, e->disc,
                       e->track, e->stat, e->title, e->group, 0});
  }
  const std::vector<Arrival>& arrivals = arrivals_[album];
  for (const Arrival& a : arrivals) {
    Member m{a.source.path, a.name, -1, a.source.disc, a.source.track, a.source.stat, titlehash(a.name),
             a.source.group, 0};
    // Read again with the title it had: the song as catalogued (renamed
    // there, perhaps) is still its song.
    const FileEntry* e = files_.file(a.source.path);
    if (e != nullptr && e->album == album && e->title == m.title && lookup.find(SongTable, e->song) == Ok) {
      m.code = e->song;
      m.name = DB_CurrentFullName(lookup.cursor(SongTable), SongTable);
    }
    members.push_back(std::move(m));
  }
  std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
    const int da = a.disc > 0 ? a.disc : 1, db = b.disc > 0 ? b.disc : 1;
    if (da != db) return da < db;
    if ((a.track == 0) != (b.track == 0)) return a.track != 0;
    if (a.track != b.track) return a.track < b.track;
    const std::string fa = filenameof(a.path), fb = filenameof(b.path);
    return fa != fb ? fa < fb : a.path < b.path;
  });
  // A copy repeats a song's disc, track and title: one song for both.
  std::vector<std::string> wanted;
  std::vector<int32_t> wantedcodes;
  std::unordered_map<std::string, int> songs;
  for (Member& m : members) {
    const std::string key = textf("%d.%d.", m.disc > 0 ? m.disc : 1, m.track) + foldedname(m.name);
    auto [at, fresh] = songs.try_emplace(key, static_cast<int>(wanted.size()));
    m.song = at->second;
    if (!fresh) continue;
    wanted.push_back(m.name);
    wantedcodes.push_back(m.code);
  }
  std::vector<std::string> current;
  std::vector<int32_t> currentcodes;
  {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, album);
    for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
      currentcodes.push_back(list->rows().field(F_Attr).aslong());
      current.push_back(DB_CurrentFullName(list->cursor(), SongTable));
    }
  }
  bool same = wanted.size() == current.size();
  for (size_t i = 0; same && i < wanted.size(); ++i) same = DB_SameName(wanted[i], current[i]);
  const AlbumMark* mark = files_.mark(album);
  const bool edited = mark != nullptr && albumfingerprint(album) != mark->made && !preferred(name);
  std::string folder = members.empty() ? std::string() : folderof(members.front().path);
  for (auto at = departing_.begin(); folder.empty() && at != departing_.end(); ++at) {
    const FileEntry* e = files_.file(*at);
    if (e != nullptr && e->album == album) folder = folderof(*at);
  }
  const std::string place = "\"" + name + "\" (" + folder + ")";
  const bool dry = mode_ == WriteMode::DryRun;

  // Counted as a scan counts the albums its files make.
  if (!arrivals.empty() && (same || (edited && !wanted.empty()))) {
    albums->songs += static_cast<int>(wanted.size());
    ++albums->outcomes[static_cast<int>(same ? AlbumOutcome::Unchanged : AlbumOutcome::LeftAlone)];
  }
  if (edited && !same) {
    ++tally->edited;
    notes.line("album " + place + " left alone: edited in the catalogue since it was scanned; its files " +
               (wanted.empty() ? std::string("are all gone")
                               : "differ: " + change(current, wanted, "songs only in the catalogue: ",
                                                     "songs only in the files: ")) +
               "; tracklore-cli scan --prefer-files \"" + name + "\" takes the files' version");
    if (dry) return Ok;
    // Its gone files are forgotten; files that changed stay as they were
    // remembered, so that the next rescan tells the difference again.
    Intent intent("rescan");
    for (const std::string& path : departing_)
      if (gone_.count(path) != 0) files_.declarefile(intent, path);
    ErrorCode rc = intent.begin();
    for (const std::string& path : gone_) {
      const FileEntry* e = files_.file(path);
      if (rc == Ok && e != nullptr && e->album == album) rc = files_.dropfile(path);
    }
    return intent.end(rc);
  }
  if (wanted.empty()) {
    ++tally->removed;
    notes.line("album " + place + (dry ? " would be removed" : " removed") + ": none of its files is left");
  } else if (!same) {
    ++tally->changed;
    notes.line("album " + place + (dry ? " would follow its files: " : " follows its files: ") +
               change(current, wanted));
  }
  if (dry) return Ok;

  Intent intent("rescan");
  intent.album(0, album);
  intent.album(1, album);
  intent.counts(NameTable);
  for (const Member& m : members) files_.declarefile(intent, m.path);
  for (const std::string& path : departing_) files_.declarefile(intent, path);
  files_.declaremark(intent, album);
  ErrorCode rc = intent.begin();
  if (rc != Ok) return intent.end(rc);
  if (wanted.empty()) {
    rc = DB_DeleteArticle(titles);
    if (rc == Ok) rc = files_.dropmark(album);
  } else if (!same) {
    NameFinder finder;
    for (size_t i = 0; rc == Ok && i < wanted.size(); ++i) {
      if (wantedcodes[i] >= 0) continue;
      // The song of that name, as a scan finds it, else a new one.
      std::vector<int32_t> codes = finder.same(SongTable, wanted[i]);
      if (!codes.empty()) {
        wantedcodes[i] = *std::min_element(codes.begin(), codes.end());
        continue;
      }
      Rlist made(&DB_Table(SongTable));
      rc = DB_InsertRecord(SongTable, wanted[i], made);
      wantedcodes[i] = made.field(F_Code).aslong();
    }
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, album);
    if (wanted.size() == current.size()) {
      // A retag or a new order: only the rows that differ are replaced.
      for (size_t i = 0; rc == Ok && i < wanted.size(); ++i) {
        if (wantedcodes[i] == currentcodes[i]) continue;
        rc = list->first();
        if (rc == Ok && i > 0) rc = list->skip(static_cast<int>(i));
        if (rc == Ok) rc = DB_RemoveLink(*list, titles, PurgeMode::Keep);
        if (rc == Ok) rc = DB_AddLink(*list, album, static_cast<int>(i), wantedcodes[i], titles);
      }
    } else {
      while (rc == Ok && list->first() == Ok) rc = DB_RemoveLink(*list, titles, PurgeMode::Keep);
      for (size_t i = 0; rc == Ok && i < wanted.size(); ++i)
        rc = DB_AddLink(*list, album, -1, wantedcodes[i], titles);
    }
    // The purge rule: a song that no album uses any more goes.
    for (size_t i = 0; rc == Ok && i < currentcodes.size(); ++i) {
      if (lookup.find(SongTable, currentcodes[i]) != Ok) continue;
      Rlist& song = lookup.cursor(SongTable);
      if (song.field(F_RefCount).aslong() == 0) rc = DB_DeleteAttribute(song, SongTable);
    }
    if (rc == Ok) rc = DB_UpdateOKField(titles, nullptr);
  } else {
    wantedcodes = currentcodes;
  }
  for (const std::string& path : departing_) {
    const FileEntry* e = files_.file(path);
    if (rc == Ok && e != nullptr && e->album == album && gone_.count(path) != 0) rc = files_.dropfile(path);
  }
  if (!wanted.empty()) {
    for (const Member& m : members) {
      if (rc != Ok) break;
      FileEntry entry;
      entry.path = m.path;
      entry.stat = m.stat;
      entry.album = album;
      entry.song = wantedcodes[static_cast<size_t>(m.song)];
      entry.seq = m.song;
      entry.disc = m.disc;
      entry.track = m.track;
      entry.title = m.title;
      entry.group = m.group;
      rc = files_.putfile(entry);
    }
    if (rc == Ok && mark != nullptr) rc = files_.putmark({album, albumfingerprint(album), mark->identity});
  }
  return intent.end(rc);
}

}  // namespace tracklore
