// Verify and repair: walks every table, checks the invariants record by
// record and offers each correction it can make.
//
// Order: each relation twice (the references of every row in physical
// order, deleted slots included; then the sequence numbers in "Tit+Seq"
// order), then the attribute tables and the title table in "Code" order
// (duplicate codes, reference counts, first artists), then the name table
// when there is one (each record's entries, see namecheck.h). Rows deleted
// in the first pass are no longer counted by the later checks.
//
// First every table's index is proved against its records (the engine's
// integrity check): a walk through a damaged index may miss records, or
// meet a page it cannot read. A damaged index is a problem whose
// correction is a reindex; declined, the run stops there.
//
// The corrections are recomputations from the rows, as a batch's durable
// point assumes of reference counts (batch.h): so they are written as one
// batch, begun at the first one accepted, with one durable point per table
// at the end instead of a forced write each. A crash before it leaves the
// batch's intent, and recovery, which verifies again, makes them anew.
//
// Nothing is built on what may be wrong: after a correction of a table
// fails, the walks that read that table offer nothing more (they are counted
// as not checked), and a walk that meets an index out of step with its
// records (a key of a deleted record, more visits than the table could
// give) stops the whole run with the advice to reindex first.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/batch.h"
#include "catalogue/fullnames.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/namecheck.h"
#include "catalogue/progress.h"
#include "catalogue/relation.h"
#include "catalogue/scanfilecheck.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"
#include "engine/check.h"
#include "engine/errors.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::ErrorCode;
using quill::Ok;
using quill::Rlist;

namespace {

constexpr const char* kMissing = QT_TRANSLATE_NOOP("Catalogue", "*** not found ***");
// What a check returns to end its walk there.
constexpr int kEndWalk = 1;
constexpr int kLineSize = 64 + kMainNameSize;

// What every check of one verification shares.
class Verification {
 public:
  Verification(ProgressCallback callback, void* context, int64_t total, VerifySummary* out)
      : summary(*out), callback_(callback), context_(context) {
    progress.report = callback != nullptr ? &Verification::report : nullptr;
    progress.argument = this;
    progress.step = 100;
    progress.total = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    progress.done = 0;
  }

  quill::Progress progress;
  CodeLookup lookup;
  VerifySummary& summary;
  // Tables whose correction failed: what is read from them may be wrong.
  bool unsure[kAllTables] = {};
  // An index was found out of step with its records: the run stops.
  bool stopped = false;
  // Tables whose walk ended early or never began.
  bool unchecked[kAllTables] = {};
  // The tables walked: the name table is the sixth when there is one.
  int walked = DB_Table(NameTable).isopen() ? NameTable + 1 : kTables;

  void line(const char* format, int n, const char* name) {
    if (context_ != nullptr) {
      std::snprintf(text_, sizeof text_, format, n, walked, name);
      *static_cast<const char**>(context_) = text_;
    }
    // An empty table gives the scan nothing to report.
    if (callback_ != nullptr) report(this, progresspercent(progress));
  }

  // A problem found, with the correction offered: true on Yes.
  bool offer(const std::string& question, const char* title) {
    ++summary.found;
    if (DB_Host().message(question.c_str(), title, Buttons::YesNo, Icon::Stop) != Answer::Yes)
      return false;
    batch();
    return true;
  }

  // Ends the corrections' batch: Ok, or the failure of its durable point,
  // after which none of them is counted as made.
  ErrorCode finish() {
    if (!batch_) return Ok;
    const ErrorCode rc = batch_->finish();
    batch_.reset();
    if (rc == Ok) return rc;
    quill::warning(DB_Tr("Catalogue",
                         "The corrections could not be saved.\nReturn value: %s.\nRecover the "
                         "database, which verifies it again."),
                   quill::errname(rc));
    summary.failed += summary.corrected;
    summary.corrected = 0;
    return rc;
  }

  // The outcome of writing a correction to table index: a failure is shown,
  // counted, and makes the table unsure.
  ErrorCode written(ErrorCode rc, int table) {
    if (rc == Ok) {
      ++summary.corrected;
      return rc;
    }
    quill::warning(DB_Tr("Catalogue", "Correction failed on Datafile \"%s\".\nReturn value: %s."),
                   DB_Table(table).basename_or_none(), quill::errname(rc));
    ++summary.failed;
    unsure[table] = true;
    return rc;
  }

  // Writes the corrected record under the cursor. A record that could not
  // be written is read back as it stands on disk, so that the walk's next
  // move does not try to save the correction again.
  ErrorCode rewrite(Rlist& cursor, int table) {
    const ErrorCode rc = written(cursor.flush(), table);
    if (rc != Ok) (void)cursor.load(Rlist::Force::Yes);  // see above
    return rc;
  }

  // The index of table index does not match its records: says so once and
  // stops the run. Returns what a check returns to end its walk.
  int outofstep(int table) {
    if (!stopped)
      quill::warning(DB_Tr("Catalogue",
                           "The index of table \"%s\" does not match its records.\nReindex the "
                           "database, then verify it again."),
                     DB_Table(table).basename_or_none());
    stopped = true;
    return kEndWalk;
  }

  // True when a walk that reads these tables can still be believed.
  bool sure(std::initializer_list<int> tables) const {
    if (stopped) return false;
    for (int t : tables)
      if (unsure[t]) return false;
    return true;
  }

  // The name of a record, or the mark of a missing one; true when found.
  // Only a record that the index does not know is missing: a key that
  // leads nowhere stops the run instead.
  bool name(char* buffer, int table, int32_t code) {
    const ErrorCode rc = lookup.name(buffer, table, code);
    if (rc == quill::NotFound) {
      std::strcpy(buffer, kMissing);
      return false;
    }
    if (rc != Ok || lookup.cursor(table).isdeleted()) outofstep(table);
    return true;
  }
  // The same as the user knows it: the full name, for a question.
  bool shownname(std::string* shown, int table, int32_t code) {
    char stored[kNameBuffer];
    const bool found = name(stored, table, code);
    *shown = found ? DB_FullName(kindoftable(table), code, stored) : std::string(DB_Tr("Catalogue", kMissing));
    return found;
  }

 private:
  ProgressCallback callback_;
  void* context_;
  static char text_[kLineSize];
  std::unique_ptr<CatalogueBatch> batch_;

  // Begins the batch before the first correction is written. Only a
  // database held exclusively for writing keeps a journal; elsewhere, or
  // when the batch cannot begin, each correction is forced on its own.
  void batch() {
    if (batch_ || DB_IsReadOnly() || !DB_Table(TitleTable).exclusive()) return;
    batch_ = std::make_unique<CatalogueBatch>(BatchOptions{INT32_MAX, "verify"});
    if (!batch_->ok()) (void)batch_->finish();  // each correction is then forced on its own
    if (!batch_->ok()) batch_.reset();
  }

  // A row moved in the sequence pass may be visited twice: the bar stops
  // at 100.
  static void report(void* argument, int value) {
    auto* self = static_cast<Verification*>(argument);
    self->callback_(self->context_, std::min(value, 100));
  }
};

char Verification::text_[kLineSize];

// The full name of the record the cursor stands on, for a question.
std::string shownname(Rlist& cursor, int kind) { return DB_CurrentFullName(cursor, kindoftable(kind)); }

// Every walk ends, whatever its index says: a table of n record slots gives
// a walk at most n visits, and the sequence pass at most two more per row
// (a moved duplicate is met again, and so is the row before it).
struct Bound {
  int64_t visits = 0;
  int64_t limit;
  explicit Bound(int table) : limit(3 * int64_t{DB_Table(table).nrecs()} + 2) {}
  bool exceeded() { return ++visits > limit; }
};

// A record reached through a tag must be a live one that was read.
bool readable(Rlist& cursor) { return cursor.loaded() && !cursor.isdeleted(); }

// ---- relation rows ----------------------------------------------------------------

struct RowWalk {
  Verification* v;
  int r;
  const char* table;
  Bound bound;
  int32_t prevtitle = -1;
  int prevseq = -1;
  int32_t prevrecno = -1;
  std::unique_ptr<Rlist> second;  // seeks an album's last row

  Rlist& secondcursor() {
    if (!second) {
      second = std::make_unique<Rlist>(&DB_Table(rowtable(r)));
      (void)second->select(T_TitSeq);  // a tag of the schema
    }
    return *second;
  }
};

// Pass 1: every row refers to a live album and a live attribute.
int checkrow(Rlist& cursor, int32_t, void* cookie) {
  RowWalk& w = *static_cast<RowWalk*>(cookie);
  const int rows = rowtable(w.r);
  if (w.bound.exceeded()) return w.v->outofstep(rows);
  if (!w.v->sure({rows})) return kEndWalk;
  if (cursor.isdeleted()) return 0;
  const int32_t t = cursor.field(F_Title).aslong();
  const int s = cursor.field(F_Seq).asint();
  const int32_t a = cursor.field(F_Attr).aslong();

  // Both questions are asked with the values read above even when the row
  // has just gone: a second deletion changes nothing. Once the row is gone
  // both problems are, whatever the second answer.
  int asked = 0, deleted = 0;
  std::string album, attr;
  const bool albumfound = w.v->shownname(&album, TitleTable, t);
  const bool attrfound = w.v->shownname(&attr, attrtable(w.r), a);
  if (w.v->stopped) return kEndWalk;
  if (!albumfound) {
    ++asked;
    if (w.v->offer(textf(DB_Tr("Catalogue",
                               "Table %s:\nTitle code %ld/%d/%ld does not refer to a valid %s.\nTo "
                               "keep the database consistent, the recomended action\nis to delete "
                               "this entry. Do you want to delete it?"),
                         w.table, static_cast<long>(t), s, static_cast<long>(a),
                         DB_Tr("Kind", KindNames[TitleTable][SingularForm])),
                   DB_Tr("Catalogue", "Invalid title code")))
      deleted += w.v->written(cursor.del(), rows) == Ok;
  }
  // After a deletion that failed the row is in doubt: nothing more is offered.
  if (!attrfound && w.v->sure({rows})) {
    ++asked;
    if (w.v->offer(textf(DB_Tr("Catalogue",
                               "Table %s:\nTitle code %ld/%d/%ld (\"%s\")\ncontains a reference to "
                               "an unexisting %s.\nTo keep the database consistent, the recomended "
                               "action\nis to delete this entry. Do you want to delete it?"),
                         w.table, static_cast<long>(t), s, static_cast<long>(a), album.c_str(),
                         DB_Tr("Kind", KindNames[attrtable(w.r)][SingularForm])),
                   DB_Tr("Catalogue", "Invalid attr code")))
      deleted += w.v->written(cursor.del(), rows) == Ok;
  }
  if (deleted > 0) w.v->summary.corrected += asked - deleted;
  return 0;
}

// Puts the cursor on the row (title, seq) with this record number.
bool standonrow(Rlist& cursor, int32_t title, int seq, int32_t recno) {
  uint8_t key[6];
  quill::put4(key, title);
  quill::put2(key + 4, seq);
  ErrorCode rc = cursor.seek(key, 6, quill::SeekMode::Equal, quill::SeekWhich::First);
  while (rc == Ok && cursor.field(F_Title).aslong() == title &&
         cursor.field(F_Seq).asint() == seq) {
    if (cursor.recno() == recno) return true;
    rc = cursor.skip(1);
  }
  return false;
}

// Pass 2: each album's rows are numbered 0, 1, 2, ...
int checksequence(Rlist& cursor, int32_t, void* cookie) {
  RowWalk& w = *static_cast<RowWalk*>(cookie);
  const int rows = rowtable(w.r);
  if (w.bound.exceeded() || !readable(cursor)) return w.v->outofstep(rows);
  if (!w.v->sure({rows})) return kEndWalk;
  const int32_t t = cursor.field(F_Title).aslong();
  int s = cursor.field(F_Seq).asint();
  const int32_t a = cursor.field(F_Attr).aslong();
  const int32_t here = cursor.recno();
  const bool samealbum = t == w.prevtitle;
  int e = samealbum ? w.prevseq + 1 : 0;

  if (s != e) {
    std::string album, attr;
    w.v->shownname(&album, TitleTable, t);
    w.v->shownname(&attr, attrtable(w.r), a);
    if (w.v->stopped) return kEndWalk;
    const char* albumword = DB_Tr("Kind", KindNames[TitleTable][SingularForm]);
    const char* attrword = DB_Tr("Kind", KindNames[attrtable(w.r)][SingularForm]);
    // Both questions name the row by its album and entry, and the numbers
    // it has and could have.
    const auto offerseq = [&](const char* question) {
      return w.v->offer(textf(question, w.table, static_cast<long>(t), s, static_cast<long>(a),
                              albumword, album.c_str(), attrword, attr.c_str(), s, e),
                        DB_Tr("Catalogue", "Sequencing error"));
    };
    if (samealbum && s == w.prevseq) {
      // A second row with the previous row's number: it can go after the
      // album's last row.
      Rlist& second = w.secondcursor();
      if (second.seek(cursor.field(F_Title).data(), 4, quill::SeekMode::Equal,
                      quill::SeekWhich::Last) == Ok) {
        if (!readable(second)) return w.v->outofstep(rows);
        e = second.field(F_Seq).asint() + 1;
        // Past the largest position there is no place to move it to.
        if (e <= kMaxSeq &&
            offerseq(DB_Tr("Catalogue",
                           "Table %s, row %ld/%d/%ld:\n%s \"%s\",\n%s \"%s\":\nDuplicate "
                           "sequence number %d, which can be moved to position %d.\n Correct?\n"))) {
          cursor.field(F_Seq).set(e);
          ErrorCode rc = w.v->rewrite(cursor, rows);
          // The row now stands after the album's last row; the rows it
          // jumped over are still to be checked, from the previous row on.
          if (rc == Ok && standonrow(cursor, w.prevtitle, w.prevseq, w.prevrecno)) return 0;
          if (rc == Ok) {
            s = e;
            standonrow(cursor, t, s, here);
          }
        }
      }
    } else if (offerseq(DB_Tr("Catalogue",
                              "Table %s, row %ld/%d/%ld:\n%s \"%s\",\n%s \"%s\":\nFound "
                              "sequence %d, but should be %d. Correct?\n"))) {
      cursor.field(F_Seq).set(e);
      if (w.v->rewrite(cursor, rows) == Ok) s = e;
    }
  }
  w.prevtitle = t;
  w.prevseq = s;
  w.prevrecno = cursor.recno();
  return 0;
}

// ---- attributes and titles ---------------------------------------------------------

struct CodeWalk {
  Verification* v;
  int kind;  // the table walked: 0 titles, 1 artists, 2 songs
  int rowsof;  // the relation table its checks read
  const char* table;
  Bound bound;
  int32_t prevcode = -1;
  std::string prevname;  // after the duplicate test: the current record's
  std::unique_ptr<Rlist> rows;      // the relation rows that refer to the records
};

// Two records with one code lie next to each other in code order.
void duplicates(CodeWalk& w, Rlist& cursor, int32_t code) {
  std::string name = shownname(cursor, w.kind);
  if (code == w.prevcode) {
    std::string notice = textf(
        DB_Tr(
            "Catalogue",
            "Table %s:\nCode of record %ld (\"%s\")\nduplicates an already existing one (\"%s\").\n"
            "It is not possible to correct it automatically."),
        w.table, static_cast<long>(code), name.c_str(), w.prevname.c_str());
    DB_Host().message(notice.c_str(), DB_Tr("Catalogue", "Duplicate code"), Buttons::OK,
                      Icon::Stop);
    ++w.v->summary.found;
    ++w.v->summary.uncorrectable;
  }
  w.prevcode = code;
  w.prevname = std::move(name);
}

// Before a record of a code walk is checked: 0 to check it, else the
// walk ends.
int enter(CodeWalk& w, Rlist& cursor) {
  if (w.bound.exceeded() || !readable(cursor)) return w.v->outofstep(w.kind);
  return w.v->sure({w.kind, w.rowsof}) ? 0 : kEndWalk;
}

// The rows that name attribute k, counted through the "Attr" tag: 0, else
// the walk ends (the index is out of step).
int countrows(CodeWalk& w, Rlist& cursor, int32_t k, int32_t* count) {
  *count = 0;
  Bound bound(w.rowsof);
  ErrorCode rc = w.rows->seek(cursor.field(F_Code).data(), 4, quill::SeekMode::Prefix,
                              quill::SeekWhich::First);
  while (rc == Ok) {
    if (bound.exceeded() || !readable(*w.rows)) return w.v->outofstep(w.rowsof);
    if (w.rows->field(F_Attr).aslong() != k) break;
    ++*count;
    rc = w.rows->skip(1);
  }
  return 0;
}

// The steps every record of a code walk begins with; non-zero ends the walk.
int arrive(CodeWalk& w, Rlist& cursor, int32_t* k) {
  if (int end = enter(w, cursor)) return end;
  *k = cursor.field(F_Code).aslong();
  duplicates(w, cursor, *k);
  return 0;
}

int checkattribute(Rlist& cursor, int32_t, void* cookie) {
  CodeWalk& w = *static_cast<CodeWalk*>(cookie);
  int32_t k;
  if (int end = arrive(w, cursor, &k)) return end;

  int32_t count;
  if (int end = countrows(w, cursor, k, &count)) return end;
  const int32_t refs = cursor.field(F_RefCount).aslong();
  if (count != refs &&
      w.v->offer(
          textf(DB_Tr("Catalogue",
                      "Table %s:\nIn %s %ld (\"%s\"),\nreference count is %ld and should be %ld. "
                      "Correct?"),
                w.table, DB_Tr("Kind", KindNames[w.kind][SingularForm]), static_cast<long>(k),
                w.prevname.c_str(), static_cast<long>(refs), static_cast<long>(count)),
          DB_Tr("Catalogue", "Invalid reference count"))) {
    cursor.field(F_RefCount).set(static_cast<long>(count));
    (void)w.v->rewrite(cursor, w.kind);  // a failure is shown and counted
  }
  return 0;
}

int checktitle(Rlist& cursor, int32_t, void* cookie) {
  CodeWalk& w = *static_cast<CodeWalk*>(cookie);
  int32_t k;
  if (int end = arrive(w, cursor, &k)) return end;

  int32_t expected = -1;
  if (w.rows->seek(cursor.field(F_Code).data(), 4, quill::SeekMode::Prefix,
                   quill::SeekWhich::First) == Ok) {
    if (!readable(*w.rows)) return w.v->outofstep(w.rowsof);
    expected = w.rows->field(F_Attr).aslong();
  }
  const int32_t aux = cursor.field(F_AuxAttr).aslong();
  if (aux != expected &&
      w.v->offer(
          textf(
              DB_Tr(
                  "Catalogue",
                  "Table %s:\nIn record %ld (\"%s\"),\nauxattr is %ld and should be %ld. Correct?"),
              w.table, static_cast<long>(k), w.prevname.c_str(), static_cast<long>(aux),
              static_cast<long>(expected)),
          DB_Tr("Catalogue", "Invalid aux attr"))) {
    cursor.field(F_AuxAttr).set(static_cast<long>(expected));
    (void)w.v->rewrite(cursor, w.kind);  // a failure is shown and counted
  }
  return 0;
}

// One walk with its check; a walk that ends early, or never starts because
// what it reads is unsure, leaves its table not fully checked.
void walk(Verification& v, Rlist& cursor, Rlist::ScanCallback check, void* state) {
  if (cursor.scan(check, state, &v.progress) != 0 && !v.stopped) {
    for (int t = 0; t < kAllTables; ++t)
      if (cursor.datafile() == &DB_Table(t)) v.unchecked[t] = true;
  }
}

void walkcodes(Verification& v, int kind, int n, Rlist::ScanCallback check) {
  const char* table = DB_Table(kind).basename_or_none();
  v.line(DB_Tr("Catalogue", "Verifying table %d of %d: %s"), n, tablecontent(kind));
  // Titles are checked against their first artist, attributes against
  // the rows of their own relation.
  const int rowsof = kind == TitleTable ? ArtistRows : rowtable(relationof(kind));
  CodeWalk w{&v, kind, rowsof, table, Bound(kind)};
  w.rows = std::make_unique<Rlist>(&DB_Table(rowsof));
  (void)w.rows->select(kind == TitleTable ? T_TitSeq : T_Attr);  // tags of the schema
  Rlist cursor(&DB_Table(kind));
  (void)cursor.select(T_Code);  // a tag of the schema
  walk(v, cursor, check, &w);
}

void walkrows(Verification& v, int r) {
  const char* table = DB_Table(rowtable(r)).basename_or_none();
  Rlist cursor(&DB_Table(rowtable(r)));
  RowWalk first{&v, r, table, Bound(rowtable(r))};
  v.line(DB_Tr("Catalogue", "Verifying table %d of %d: %s (pass 1)"), r + 1,
         tablecontent(rowtable(r)));
  (void)cursor.select(-1);  // physical order: always there
  walk(v, cursor, checkrow, &first);
  if (v.stopped) return;
  RowWalk second{&v, r, table, Bound(rowtable(r))};
  v.line(DB_Tr("Catalogue", "Verifying table %d of %d: %s (pass 2)"), r + 1,
         tablecontent(rowtable(r)));
  (void)cursor.select(T_TitSeq);  // a tag of the schema
  walk(v, cursor, checksequence, &second);
}

// ---- full names ---------------------------------------------------------------------

struct NameWalk {
  Verification* v;
  Bound bound;
  // Every entry in tag order, grouped after the walk: a deletion during it
  // would move the walk's own cursor.
  std::vector<NameEntries> groups;
  std::vector<std::vector<int32_t>> recnos;
};

int gathername(Rlist& cursor, int32_t, void* cookie) {
  NameWalk& w = *static_cast<NameWalk*>(cookie);
  if (w.bound.exceeded() || !readable(cursor)) return w.v->outofstep(NameTable);
  const int kind = cursor.field(F_Kind).asint();
  const int32_t code = cursor.field(F_NameCode).aslong();
  if (w.groups.empty() || w.groups.back().kind != kind || w.groups.back().code != code) {
    w.groups.push_back({kind, code, {}, {}});
    w.recnos.emplace_back();
  }
  const quill::Field& text = cursor.field(F_Text);
  const char* data = reinterpret_cast<const char*>(text.data());
  w.groups.back().parts.push_back(cursor.field(F_Part).asint());
  w.groups.back().texts.emplace_back(data, strnlen(data, static_cast<size_t>(text.length())));
  w.recnos.back().push_back(cursor.recno());
  return 0;
}

// The entries of one record, checked against it; removed when the user
// agrees. Returns false once the run must stop.
bool checkname(Verification& v, const char* table, const NameEntries& group,
               const std::vector<int32_t>& recnos) {
  std::optional<std::string> stored;
  if (group.kind >= TitleTable && group.kind <= SongTable && group.code >= 0) {
    if (!v.sure({group.kind})) return true;
    char name[kNameBuffer];
    if (v.name(name, group.kind, group.code)) stored = name;
    if (v.stopped) return false;
  }
  const std::string problem = DB_NameEntriesProblem(group, stored);
  if (problem.empty()) return true;
  std::string full;
  for (const std::string& text : group.texts) full += text;
  const bool known = group.kind >= TitleTable && group.kind <= SongTable;
  const char* kind =
      known ? DB_Tr("Kind", KindNames[group.kind][SingularForm]) : DB_Tr("Catalogue", "record");
  if (!v.offer(
          textf(DB_Tr("Catalogue",
                      "Table %s:\nThe full name \"%s\" of %s %ld:\n%s.\nTo keep the database "
                      "consistent, the recomended action\nis to delete it. Do you want to delete "
                      "it?"),
                table, full.c_str(), kind, static_cast<long>(group.code), problem.c_str()),
          DB_Tr("Catalogue", "Invalid full name")))
    return true;
  Rlist cursor(&DB_Table(NameTable));
  (void)cursor.select(T_KindCodePart);  // a tag of the schema
  ErrorCode rc = Ok;
  for (size_t i = 0; rc == Ok && i < recnos.size(); ++i) {
    rc = cursor.gorecord(recnos[i]);
    if (rc == Ok) rc = cursor.del();
  }
  (void)v.written(rc, NameTable);  // a failure is shown and counted
  return true;
}

void walknames(Verification& v, int n) {
  const char* table = DB_Table(NameTable).basename_or_none();
  v.line(DB_Tr("Catalogue", "Verifying table %d of %d: %s"), n, tablecontent(NameTable));
  NameWalk w{&v, Bound(NameTable), {}, {}};
  Rlist cursor(&DB_Table(NameTable));
  (void)cursor.select(T_KindCodePart);  // a tag of the schema
  walk(v, cursor, gathername, &w);
  if (v.stopped || v.unchecked[NameTable]) return;
  for (size_t g = 0; g < w.groups.size() && v.sure({NameTable}); ++g)
    if (!checkname(v, table, w.groups[g], w.recnos[g])) return;
}

// ---- indexes -------------------------------------------------------------------------

// Every table's index proved against its records before anything is read
// through it; a damaged one is offered for a reindex. 0 to go on, -1 when
// the database cannot be opened or the reindex failed, -2 when a damaged
// index stays. The open first, which waits for a holder and reports an
// index out of date, so that only a readable index is checked.
int checkindexes(ProgressCallback callback, void* context, VerifyAccess access,
                 VerifySummary& summary) {
  // Read-only, beside others that read; a repair needs the database alone.
  const quill::OpenMode mode =
      access == VerifyAccess::ReadOnly ? DB_ReadMode() : quill::OpenMode{.readonly = true};
  const bool beside = mode.shared;
  if (DB_Open(mode) != 0) return -1;
  const int tables = DB_Table(NameTable).isopen() ? kAllTables : kTables;
  DB_Close();
  int damaged = 0;
  bool declined = false;
  for (int t = 0; t < tables; ++t) {
    std::vector<std::string> problems;
    if (quill::checktable(DB_TableName(t), &problems, nullptr,
                          beside ? quill::Sharing::Shared : quill::Sharing::Exclusive) == 0)
      continue;
    ++damaged;
    ++summary.found;
    const std::string question = textf(
        DB_Tr("Catalogue",
              "Table %s:\nIts index does not match its records (%s%s).\nThe correction is to "
              "reindex the database. Reindex it now?"),
        DB_TableName(t),
        problems.empty() ? DB_Tr("Catalogue", "unreadable") : problems.front().c_str(),
        problems.size() > 1
            ? textf(DB_Tr("Catalogue", ", and %d more"), static_cast<int>(problems.size() - 1))
                  .c_str()
            : "");
    if (DB_Host().message(question.c_str(), DB_Tr("Catalogue", "Damaged index"), Buttons::YesNo,
                          Icon::Stop) != Answer::Yes)
      declined = true;
  }
  if (damaged == 0) return 0;
  if (declined) return -2;
  if (DB_Reindex(callback, context) != 0) return -1;
  summary.corrected += damaged;
  return 0;
}

}  // namespace

int DB_Verify(ProgressCallback callback, void* context, VerifyAccess access,
              VerifySummary* summary, IndexCheck indexes) {
  VerifySummary ignored;
  if (summary == nullptr) summary = &ignored;
  *summary = VerifySummary();
  if (indexes == IndexCheck::First) {
    if (const int rc = checkindexes(callback, context, access, *summary); rc != 0) return rc;
  }
  if (DB_Open(access == VerifyAccess::ReadOnly ? DB_ReadMode() : quill::OpenMode{}) != 0) return -1;
  int64_t total = 0;
  for (int index = 0; index < kAllTables; ++index)
    if (DB_Table(index).isopen()) total += DB_Table(index).nlive();
  for (int r = 0; r < kRelations; ++r) total += DB_Table(rowtable(r)).nrecs();

  bool stopped;
  {
    Verification v(callback, context, total, summary);
    for (int r = 0; r < kRelations && !v.stopped; ++r) walkrows(v, r);
    for (int r = 0; r < kRelations && !v.stopped; ++r)
      walkcodes(v, attrtable(r), rowtable(r), checkattribute);
    if (!v.stopped) walkcodes(v, TitleTable, 5, checktitle);
    if (!v.stopped && DB_Table(NameTable).isopen()) walknames(v, 6);
    if (!v.stopped) DB_CheckScanFiles(summary);
    stopped = v.stopped;
    for (bool t : v.unchecked) summary->unchecked += t;
    (void)v.finish();  // a failure is shown and counted
  }
  DB_Close();
  return stopped ? -2 : 0;
}

int DB_Verify(ProgressCallback callback, void* context) {
  return DB_Verify(callback, context, VerifyAccess::Repair, nullptr);
}

}  // namespace tracklore
