// Albums brought in step with their files after a rescan.
#include "catalogue/scanfollow.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "catalogue/edits.h"
#include "catalogue/findname.h"
#include "catalogue/followartists.h"
#include "catalogue/fullnames.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/scannames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

ErrorCode seekcode(Rlist& cursor, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  (void)cursor.select(T_Code);  // a tag of the schema
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
std::string change(const std::vector<std::string>& was, const std::vector<std::string>& now, const char* gone,
                   const char* come, const char* reordered) {
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
  return text.empty() ? reordered : text;
}

// The album's artists made those given, the old ones no album uses any
// more purged.
ErrorCode relink(int32_t album, const std::vector<int32_t>& was, const std::vector<int32_t>& now, Rlist& titles) {
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(0, album);
  ErrorCode rc = Ok;
  while (rc == Ok && list->first() == Ok) rc = DB_RemoveLink(*list, titles, PurgeMode::Keep);
  for (size_t i = 0; rc == Ok && i < now.size(); ++i) rc = DB_AddLink(*list, album, -1, now[i], titles);
  CodeLookup lookup;
  for (size_t i = 0; rc == Ok && i < was.size(); ++i) {
    if (lookup.find(ArtistTable, was[i]) != Ok) continue;
    Rlist& artist = lookup.cursor(ArtistTable);
    if (artist.field(F_RefCount).aslong() == 0) rc = DB_DeleteAttribute(artist, Kind::Artist);
  }
  return rc;
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
  FileEntry artists;  // its artists only
};

// One album's way to its files, decided before anything is written.
struct AlbumFollower::Plan {
  int32_t album = -1;
  std::string name, place;
  std::string filesname;  // the album's name as its files give it, if known
  std::vector<Member> members;
  std::vector<std::string> wanted, current;  // songs
  std::vector<int32_t> wantedcodes, currentcodes;
  std::vector<int32_t> rows[kRelations];  // record numbers of the rows of each list
  std::vector<int32_t> wantedartists, currentartists;  // stand-ins below -1 for new ones
  std::vector<std::string> wantedartistnames, currentartistnames;  // when they differ
  AlbumMark mark;  // album -1 when it has none
  bool arrived = false, samesongs = true, sameartists = true, edited = false, takename = false;
  bool same() const { return samesongs && sameartists; }
};

void AlbumFollower::reread(const std::string& path) {
  const FileEntry* entry = files_.file(path);
  if (entry == nullptr || entry->album < 0) return;
  departing_.insert(path);
  leaving_[entry->album].push_back(path);
  affected_.insert(entry->album);
}

void AlbumFollower::gone(const std::string& path) {
  const FileEntry* entry = files_.file(path);
  if (entry == nullptr) return;
  departing_.insert(path);
  gone_.insert(path);
  if (entry->album < 0) return;
  leaving_[entry->album].push_back(path);
  affected_.insert(entry->album);
}

void AlbumFollower::arrive(int32_t album, const ScannedAlbum& scanned) {
  std::vector<Arrival>& list = arrivals_[album];
  for (const ScannedAlbum::Source& s : scanned.sources) list.push_back({s, scanned.songs[static_cast<size_t>(s.song)]});
  arrivedname_.try_emplace(album, scanned.name);
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
  // Every album is planned before any is written: the one intent then
  // declares only what the plans change.
  std::vector<Plan> plans;
  for (int32_t album : affected_) {
    Plan p;
    if (plan(album, staying[album], &p)) plans.push_back(std::move(p));
  }
  const bool writing = mode_ == WriteMode::Write && (!affected_.empty() || !gone_.empty() || !later_.empty());
  if (!writing) {
    ErrorCode rc = Ok;
    for (Plan& p : plans)
      if (rc == Ok) rc = apply(p, notes, tally, albums);
    return rc;
  }
  // One intent for every album: the edits of each nest in it, and the
  // tables are forced to disk once. A crash takes all of them back, and
  // the next rescan does them again.
  Intent intent("rescan");
  intent.counts(NameTable);
  for (const Plan& p : plans) declare(p, intent);
  for (const std::string& path : departing_) files_.declarefile(intent, path);
  for (const FileEntry& e : later_) files_.declarefile(intent, e.path);
  ErrorCode rc = intent.begin();
  if (rc != Ok) return intent.end(rc);
  for (Plan& p : plans)
    if (rc == Ok) rc = apply(p, notes, tally, albums);
  // Gone files whose album was left alone or went elsewhere are forgotten.
  std::vector<std::string> left;
  for (const std::string& path : gone_)
    if (files_.file(path) != nullptr) left.push_back(path);
  for (size_t i = 0; rc == Ok && i < left.size(); ++i) rc = files_.dropfile(left[i]);
  for (size_t i = 0; rc == Ok && i < later_.size(); ++i) rc = files_.putfile(later_[i]);
  return intent.end(rc);
}

bool AlbumFollower::plan(int32_t album, const std::vector<const FileEntry*>& staying, Plan* p) {
  Rlist titles(&DB_Table(TitleTable));
  // An album the user deleted keeps nothing of its files.
  if (seekcode(titles, album) != Ok) return false;
  p->album = album;
  p->name = DB_CurrentFullName(titles, Kind::Album);

  {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, album);
    for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
      p->currentcodes.push_back(list->rows().field(F_Attr).aslong());
      p->rows[1].push_back(list->rows().recno());
      p->current.push_back(DB_CurrentFullName(list->cursor(), Kind::Song));
    }
  }
  // The songs of the files that stay are mostly those of the list.
  std::unordered_map<int32_t, size_t> inlist;
  for (size_t i = 0; i < p->currentcodes.size(); ++i) inlist.emplace(p->currentcodes[i], i);
  std::vector<Member>& members = p->members;
  CodeLookup lookup;
  AlbumArtists artists(album);
  for (const FileEntry* e : staying) {
    artists.remember(*e);
    std::string song;
    if (auto at = inlist.find(e->song); at != inlist.end()) song = p->current[at->second];
    else if (lookup.find(SongTable, e->song) == Ok) song = DB_CurrentFullName(lookup.cursor(SongTable), Kind::Song);
    else continue;  // the user deleted the song
    members.push_back({e->path, std::move(song), e->song, e->disc, e->track, e->stat, e->title, e->group, 0, *e});
  }
  const std::vector<Arrival>& arrivals = arrivals_[album];
  p->arrived = !arrivals.empty();
  for (const Arrival& a : arrivals)
    if (const FileEntry* e = files_.file(a.source.path)) artists.remember(*e);
  // Files that left (moved or renamed ones arrive under a new path) still
  // tell which artist their tags led to, renamed in the catalogue perhaps.
  for (const std::string& path : leaving_[album])
    if (const FileEntry* e = files_.file(path)) artists.remember(*e);
  for (const Arrival& a : arrivals) {
    Member m{a.source.path, a.name, -1, a.source.disc, a.source.track, a.source.stat, titlehash(a.name),
             a.source.group, 0, artists.resolve(a.source.albumartist, a.source.artists)};
    // Read again with the title it had: the song as catalogued (renamed
    // there, perhaps) is still its song.
    const FileEntry* e = files_.file(a.source.path);
    if (e != nullptr && e->album == album && e->title == m.title && lookup.find(SongTable, e->song) == Ok) {
      m.code = e->song;
      m.name = DB_CurrentFullName(lookup.cursor(SongTable), Kind::Song);
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
  std::unordered_map<std::string, int> songs;
  std::vector<const FileEntry*> infileorder;
  std::vector<bool> makessong;
  for (Member& m : members) {
    const std::string key = textf("%d.%d.", m.disc > 0 ? m.disc : 1, m.track) + foldedname(m.name);
    auto [at, fresh] = songs.try_emplace(key, static_cast<int>(p->wanted.size()));
    m.song = at->second;
    infileorder.push_back(&m.artists);
    makessong.push_back(fresh);
    if (!fresh) continue;
    p->wanted.push_back(m.name);
    p->wantedcodes.push_back(m.code);
  }
  artists.wanted(infileorder, makessong, &p->wantedartists);
  p->currentartists = artists.current();
  p->rows[0] = artists.rows();
  p->sameartists = p->wanted.empty() || p->wantedartists == p->currentartists;
  if (!p->sameartists) {
    p->currentartistnames = artists.names(p->currentartists);
    p->wantedartistnames = artists.names(p->wantedartists);
  }
  p->samesongs = p->wanted.size() == p->current.size();
  for (size_t i = 0; p->samesongs && i < p->wanted.size(); ++i)
    p->samesongs = DB_SameName(p->wanted[i], p->current[i]);
  const AlbumMark* mark = files_.mark(album);
  if (mark != nullptr) p->mark = *mark;
  p->edited = mark != nullptr && albumfingerprint(p->currentartists, p->currentcodes) != mark->made &&
              !preferred(p->name);
  // The files that leave the album: gone, or read again.
  const std::vector<std::string>& leaving = leaving_[album];
  std::string folder = members.empty() ? std::string() : folderof(members.front().path);
  if (folder.empty() && !leaving.empty()) folder = folderof(leaving.front());
  p->place = "\"" + p->name + "\" (" + folder + ")";
  // A name given in the catalogue is the user's, and no edit of the lists:
  // it stays, and the songs and artists still follow the files.
  auto arrived = arrivedname_.find(album);
  p->filesname = arrived != arrivedname_.end() ? arrived->second : p->mark.name;
  p->takename = !p->filesname.empty() && p->filesname != p->name && preferred(p->name);
  return true;
}

// The member's entry as the album leaves it, its song one of codes.
FileEntry AlbumFollower::entryof(const Plan& p, const Member& m, const std::vector<int32_t>& codes) {
  FileEntry entry = m.artists;  // its artists
  entry.path = m.path;
  entry.stat = m.stat;
  entry.album = p.album;
  entry.song = codes[static_cast<size_t>(m.song)];
  entry.seq = m.song;
  entry.disc = m.disc;
  entry.track = m.track;
  entry.title = m.title;
  entry.group = m.group;
  return entry;
}

// Whether the member's remembered entry is not the one the album leaves.
bool AlbumFollower::rewritten(const Plan& p, const Member& m, const std::vector<int32_t>& codes) const {
  const FileEntry* old = files_.file(m.path);
  return old == nullptr || codes[static_cast<size_t>(m.song)] < 0 || !(*old == entryof(p, m, codes));
}

void AlbumFollower::declare(const Plan& p, Intent& intent) const {
  if (auto leaving = leaving_.find(p.album); leaving != leaving_.end())
    for (const std::string& path : leaving->second) files_.declarefile(intent, path);
  if (p.edited && !p.same()) return;  // only its gone files are forgotten
  // Most of a retagged album's files keep their entries as they are.
  const std::vector<int32_t>& codes = p.samesongs ? p.currentcodes : p.wantedcodes;
  for (const Member& m : p.members)
    if (rewritten(p, m, codes)) files_.declarefile(intent, m.path);
  files_.declaremark(intent, p.album);
  if (p.wanted.empty()) {
    intent.album(0, p.album);
    intent.album(1, p.album);
    return;
  }
  if (p.takename || !p.same()) intent.coded(Kind::Album, p.album);
  // The rows are renumbered; the attributes that leave may be purged, those
  // that come have their counts raised.
  const auto attributes = [&](int r, const std::vector<int32_t>& was, const std::vector<int32_t>& now) {
    intent.counts(rowtable(r));
    intent.counts(attrtable(r));
    for (int32_t recno : p.rows[r]) intent.record(rowtable(r), recno);
    for (int32_t code : was)
      if (std::find(now.begin(), now.end(), code) == now.end()) intent.coded(attrkind(r), code);
    for (int32_t code : now)
      if (code >= 0 && std::find(was.begin(), was.end(), code) == was.end()) intent.coded(attrkind(r), code);
  };
  if (!p.sameartists) attributes(0, p.currentartists, p.wantedartists);
  if (!p.samesongs) attributes(1, p.currentcodes, p.wantedcodes);
}

ErrorCode AlbumFollower::apply(Plan& p, ScanNotes& notes, FollowTally* tally, CatalogueTally* albums) {
  const int32_t album = p.album;
  const std::string& name = p.name;
  const std::string& place = p.place;
  const std::vector<std::string>& wanted = p.wanted;
  const bool same = p.same();
  const bool dry = mode_ == WriteMode::DryRun;
  if (p.takename) {
    notes.line(textf(dry ? DB_Tr("Catalogue", "album %s would take its files' name \"%s\"")
                         : DB_Tr("Catalogue", "album %s takes its files' name \"%s\""),
                     place.c_str(), p.filesname.c_str()));
  } else if (!p.filesname.empty() && !DB_SameName(p.filesname, name)) {
    tally->preferable.push_back(name);
    notes.line(textf(DB_Tr("Catalogue",
                           "album %s keeps the name given in the catalogue; its files name it "
                           "\"%s\"; tracklore-cli scan --prefer-files \"%s\" takes the files' "
                           "version"),
                     place.c_str(), p.filesname.c_str(), name.c_str()));
  }
  // What differs between the catalogue's lists and the files'.
  const auto differences = [&](const char* gone, const char* come, const char* goneartists,
                               const char* comeartists) {
    std::string text = p.samesongs ? std::string()
                                   : change(p.current, wanted, gone, come,
                                            DB_Tr("Catalogue", "songs in another order"));
    if (!p.sameartists)
      text += (text.empty() ? "" : "; ") + change(p.currentartistnames, p.wantedartistnames,
                                                  goneartists, comeartists,
                                                  DB_Tr("Catalogue", "artists in another order"));
    return text;
  };
  const std::vector<std::string>& leaving = leaving_[album];

  // Counted as a scan counts the albums its files make.
  if (p.arrived && (same || (p.edited && !wanted.empty()))) {
    albums->songs += static_cast<int>(wanted.size());
    ++albums->outcomes[static_cast<int>(same ? AlbumOutcome::Unchanged : AlbumOutcome::LeftAlone)];
  }
  if (p.edited && !same) {
    ++tally->edited;
    if (tally->preferable.empty() || tally->preferable.back() != name) tally->preferable.push_back(name);
    const std::string how =
        wanted.empty() ? std::string(DB_Tr("Catalogue", "are all gone"))
                       : textf(DB_Tr("Catalogue", "differ: %s"),
                               differences(DB_Tr("Catalogue", "songs only in the catalogue: "),
                                           DB_Tr("Catalogue", "songs only in the files: "),
                                           DB_Tr("Catalogue", "artists only in the catalogue: "),
                                           DB_Tr("Catalogue", "artists only in the files: "))
                                   .c_str());
    notes.line(textf(DB_Tr("Catalogue",
                           "album %s left alone: edited in the catalogue since it was scanned; "
                           "its files %s; tracklore-cli scan --prefer-files \"%s\" takes the "
                           "files' version"),
                     place.c_str(), how.c_str(), name.c_str()));
    if (dry) return Ok;
    // Its gone files are forgotten; files that changed stay as they were
    // remembered, so that the next rescan tells the difference again.
    Intent intent("rescan");
    for (const std::string& path : leaving)
      if (gone_.count(path) != 0) files_.declarefile(intent, path);
    ErrorCode rc = intent.begin();
    for (const std::string& path : leaving)
      if (rc == Ok && gone_.count(path) != 0) rc = files_.dropfile(path);
    return intent.end(rc);
  }
  if (wanted.empty()) {
    ++tally->removed;
    notes.line(
        textf(dry ? DB_Tr("Catalogue", "album %s would be removed: none of its files is left")
                  : DB_Tr("Catalogue", "album %s removed: none of its files is left"),
              place.c_str()));
  } else if (!same) {
    ++tally->changed;
    notes.line(textf(
        dry ? DB_Tr("Catalogue", "album %s would follow its files: %s")
            : DB_Tr("Catalogue", "album %s follows its files: %s"),
        place.c_str(),
        differences(DB_Tr("Catalogue", "songs removed: "), DB_Tr("Catalogue", "songs added: "),
                    DB_Tr("Catalogue", "artists removed: "), DB_Tr("Catalogue", "artists added: "))
            .c_str()));
  }
  if (dry) return Ok;

  Intent intent("rescan");
  intent.counts(NameTable);
  declare(p, intent);
  ErrorCode rc = intent.begin();
  if (rc != Ok) return intent.end(rc);
  Rlist titles(&DB_Table(TitleTable));
  if ((rc = seekcode(titles, album)) != Ok) return intent.end(rc);
  if (p.takename && !wanted.empty()) rc = DB_RenameRecord(titles, Kind::Album, p.filesname, true);
  if (rc != Ok) return intent.end(rc);
  std::vector<int32_t>& wantedcodes = p.wantedcodes;
  CodeLookup lookup;
  if (wanted.empty()) {
    rc = DB_DeleteArticle(titles);
    if (rc == Ok) rc = files_.dropmark(album);
  } else if (!p.samesongs) {
    NameFinder finder;
    for (size_t i = 0; rc == Ok && i < wanted.size(); ++i) {
      // An album before this one may have purged a song that was planned.
      if (wantedcodes[i] >= 0 && lookup.find(SongTable, wantedcodes[i]) == Ok) continue;
      // The song of that name, as a scan finds it, else a new one.
      std::vector<int32_t> codes = finder.same(Kind::Song, wanted[i]);
      if (!codes.empty()) {
        wantedcodes[i] = *std::min_element(codes.begin(), codes.end());
        continue;
      }
      Rlist made(&DB_Table(SongTable));
      rc = DB_InsertRecord(Kind::Song, wanted[i], made);
      wantedcodes[i] = made.field(F_Code).aslong();
    }
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, album);
    const std::vector<int32_t>& currentcodes = p.currentcodes;
    if (wanted.size() == currentcodes.size()) {
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
      if (song.field(F_RefCount).aslong() == 0) rc = DB_DeleteAttribute(song, Kind::Song);
    }
  } else {
    wantedcodes = p.currentcodes;
  }
  if (rc == Ok && !wanted.empty()) {
    std::vector<FileEntry*> entries;
    for (Member& m : p.members) entries.push_back(&m.artists);
    rc = AlbumArtists::make(p.wantedartistnames, &p.wantedartists, entries);
  }
  if (rc == Ok && !p.sameartists) rc = relink(album, p.currentartists, p.wantedartists, titles);
  if (rc == Ok && !wanted.empty() && !same) rc = DB_UpdateOKField(titles, nullptr);
  for (const std::string& path : leaving)
    if (rc == Ok && gone_.count(path) != 0) rc = files_.dropfile(path);
  if (!wanted.empty()) {
    for (const Member& m : p.members)
      if (rc == Ok && rewritten(p, m, wantedcodes)) rc = files_.putfile(entryof(p, m, wantedcodes));
    // The lists are now the wanted ones, in order.
    const uint32_t made = albumfingerprint(p.sameartists ? p.currentartists : p.wantedartists, wantedcodes);
    if (rc == Ok && p.mark.album >= 0) rc = files_.putmark({album, made, p.mark.identity, p.filesname});
  }
  return intent.end(rc);
}

}  // namespace tracklore
