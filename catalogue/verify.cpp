// Verify and repair: walks every table, checks the invariants record by
// record and offers each correction it can make.
//
// Order: each relation twice (the references of every row in physical
// order, deleted slots included; then the sequence numbers in "Tit+Seq"
// order), then the attribute tables and the title table in "Code" order
// (duplicate codes, reference counts, first artists). Rows deleted in the
// first pass are no longer counted by the later checks.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "engine/bytes.h"
#include "engine/errors.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::ErrorCode;
using quill::Ok;
using quill::Rlist;

namespace {

constexpr const char* kMissing = "*** not found ***";
constexpr int kLineSize = 64 + kMainNameSize;

// What every check of one verification shares.
class Verification {
 public:
  Verification(ProgressCallback callback, void* context, int64_t total)
      : callback_(callback), context_(context) {
    progress.report = callback != nullptr ? &Verification::report : nullptr;
    progress.argument = this;
    progress.step = 100;
    progress.total = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    progress.done = 0;
  }

  quill::Progress progress;
  CodeLookup lookup;
  bool failed = false;

  void line(const char* format, int n, const char* name) {
    if (context_ == nullptr) return;
    std::snprintf(text_, sizeof text_, format, n, kTables, name);
    *static_cast<const char**>(context_) = text_;
  }

  // Writes a correction; a failure is shown and makes the whole run fail.
  void written(ErrorCode rc, const char* table) {
    if (rc == Ok) return;
    quill::warning("Correction failed on Datafile \"%s\".\nReturn value: %s.", table,
                   quill::errname(rc));
    failed = true;
  }

  // The name of a record, or the mark of a missing one; true when found.
  bool name(char* buffer, int table, int32_t code) {
    if (lookup.name(buffer, table, code) == Ok) return true;
    std::strcpy(buffer, kMissing);
    return false;
  }

 private:
  ProgressCallback callback_;
  void* context_;
  static char text_[kLineSize];

  // A row moved in the sequence pass may be visited twice: the bar stops
  // at 100.
  static void report(void* argument, int value) {
    auto* self = static_cast<Verification*>(argument);
    self->callback_(self->context_, std::min(value, 100));
  }
};

char Verification::text_[kLineSize];

bool yes(const std::string& question, const char* title) {
  return DB_Host().message(question.c_str(), title, Buttons::YesNo, Icon::Stop) == Answer::Yes;
}

// A stored name, terminated within its field.
void copyname(char* buffer, Rlist& cursor) {
  const quill::Field& name = cursor.field(F_Name);
  std::memcpy(buffer, name.data(), static_cast<size_t>(name.length()));
  buffer[name.length() - 1] = '\0';
}

// ---- relation rows ----------------------------------------------------------------

struct RowWalk {
  Verification* v;
  int r;
  const char* table;
  int32_t prevtitle = -1;
  int prevseq = -1;
  int32_t prevrecno = -1;
  std::unique_ptr<Rlist> second;  // seeks an album's last row

  Rlist& secondcursor() {
    if (!second) {
      second = std::make_unique<Rlist>(&DB_Table(rowtable(r)));
      second->select(T_TitSeq);
    }
    return *second;
  }
};

// Pass 1: every row refers to a live album and a live attribute.
int checkrow(Rlist& cursor, int32_t, void* cookie) {
  RowWalk& w = *static_cast<RowWalk*>(cookie);
  if (cursor.isdeleted()) return 0;
  const int32_t t = cursor.field(F_Title).aslong();
  const int s = cursor.field(F_Seq).asint();
  const int32_t a = cursor.field(F_Attr).aslong();

  char album[kNameBuffer];
  if (!w.v->name(album, TitleTable, t) &&
      yes(textf("Table %s:\nTitle code %ld/%d/%ld does not refer to a valid %s.\nTo keep the "
                "database consistent, the recomended action\nis to delete this entry. Do you "
                "want to delete it?",
                w.table, static_cast<long>(t), s, static_cast<long>(a),
                KindNames[TitleTable][SingularForm]),
          "Invalid title code"))
    w.v->written(cursor.del(), w.table);

  // Asked with the values read above even when the row has just gone: a
  // second deletion changes nothing.
  char attr[kNameBuffer];
  if (!w.v->name(attr, attrtable(w.r), a) &&
      yes(textf("Table %s:\nTitle code %ld/%d/%ld (\"%s\")\ncontains a reference to an "
                "unexisting %s.\nTo keep the database consistent, the recomended action\nis to "
                "delete this entry. Do you want to delete it?",
                w.table, static_cast<long>(t), s, static_cast<long>(a), album,
                KindNames[attrtable(w.r)][SingularForm]),
          "Invalid attr code"))
    w.v->written(cursor.del(), w.table);
  return 0;
}

// Puts the cursor on the row (title, seq) with this record number.
bool standonrow(Rlist& cursor, int32_t title, int seq, int32_t recno) {
  uint8_t key[6];
  quill::put4(key, title);
  quill::put2(key + 4, seq);
  ErrorCode rc = cursor.seek(key, 6, quill::SeekEqual, quill::WhichFirst);
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
  const int32_t t = cursor.field(F_Title).aslong();
  int s = cursor.field(F_Seq).asint();
  const int32_t a = cursor.field(F_Attr).aslong();
  const int32_t here = cursor.recno();
  const bool samealbum = t == w.prevtitle;
  int e = samealbum ? w.prevseq + 1 : 0;

  if (s != e) {
    char album[kNameBuffer], attr[kNameBuffer];
    w.v->name(album, TitleTable, t);
    w.v->name(attr, attrtable(w.r), a);
    const char* albumword = KindNames[TitleTable][SingularForm];
    const char* attrword = KindNames[attrtable(w.r)][SingularForm];
    if (samealbum && s == w.prevseq) {
      // A second row with the previous row's number: it can go after the
      // album's last row.
      Rlist& second = w.secondcursor();
      if (second.seek(cursor.field(F_Title).data(), 4, quill::SeekEqual, quill::WhichLast) == Ok) {
        e = second.field(F_Seq).asint() + 1;
        if (yes(textf("Table %s, row %ld/%d/%ld:\n%s \"%s\",\n%s \"%s\":\nDuplicate sequence "
                      "number %d, which can be moved to position %d.\n Correct?\n",
                      w.table, static_cast<long>(t), s, static_cast<long>(a), albumword, album,
                      attrword, attr, s, e),
                "Sequencing error")) {
          cursor.field(F_Seq).set(e);
          ErrorCode rc = cursor.flush(0);
          w.v->written(rc, w.table);
          // The row now stands after the album's last row; the rows it
          // jumped over are still to be checked, from the previous row on.
          if (rc == Ok && standonrow(cursor, w.prevtitle, w.prevseq, w.prevrecno)) return 0;
          if (rc == Ok) {
            s = e;
            standonrow(cursor, t, s, here);
          }
        }
      }
    } else if (yes(textf("Table %s, row %ld/%d/%ld:\n%s \"%s\",\n%s \"%s\":\nFound sequence %d, "
                         "but should be %d. Correct?\n",
                         w.table, static_cast<long>(t), s, static_cast<long>(a), albumword, album,
                         attrword, attr, s, e),
                   "Sequencing error")) {
      cursor.field(F_Seq).set(e);
      ErrorCode rc = cursor.flush(0);
      w.v->written(rc, w.table);
      if (rc == Ok) s = e;
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
  const char* table;
  int32_t prevcode = -1;
  char prevname[kNameBuffer] = "";  // after the duplicate test: the current record's
  std::unique_ptr<Rlist> rows;      // the relation rows that refer to the records
};

// Two records with one code lie next to each other in code order.
void duplicates(CodeWalk& w, Rlist& cursor, int32_t code) {
  char name[kNameBuffer];
  copyname(name, cursor);
  if (code == w.prevcode) {
    std::string notice = textf(
        "Table %s:\nCode of record %ld (\"%s\")\nduplicates an already existing one (\"%s\").\n"
        "It is not possible to correct it automatically.",
        w.table, static_cast<long>(code), name, w.prevname);
    DB_Host().message(notice.c_str(), "Duplicate code", Buttons::OK, Icon::Stop);
  }
  w.prevcode = code;
  std::memcpy(w.prevname, name, sizeof name);
}

int checkattribute(Rlist& cursor, int32_t, void* cookie) {
  CodeWalk& w = *static_cast<CodeWalk*>(cookie);
  const int32_t k = cursor.field(F_Code).aslong();
  duplicates(w, cursor, k);

  int32_t count = 0;
  ErrorCode rc = w.rows->seek(cursor.field(F_Code).data(), 4, quill::SeekPrefix, quill::WhichFirst);
  while (rc == Ok && w.rows->field(F_Attr).aslong() == k) {
    ++count;
    rc = w.rows->skip(1);
  }
  const int32_t refs = cursor.field(F_RefCount).aslong();
  if (count != refs &&
      yes(textf("Table %s:\nIn %s %ld (\"%s\"),\nreference count is %ld and should be %ld. "
                "Correct?",
                w.table, KindNames[w.kind][SingularForm], static_cast<long>(k), w.prevname,
                static_cast<long>(refs), static_cast<long>(count)),
          "Invalid reference count")) {
    cursor.field(F_RefCount).set(static_cast<long>(count));
    w.v->written(cursor.flush(0), w.table);
  }
  return 0;
}

int checktitle(Rlist& cursor, int32_t, void* cookie) {
  CodeWalk& w = *static_cast<CodeWalk*>(cookie);
  const int32_t k = cursor.field(F_Code).aslong();
  duplicates(w, cursor, k);

  int32_t expected = -1;
  if (w.rows->seek(cursor.field(F_Code).data(), 4, quill::SeekPrefix, quill::WhichFirst) == Ok)
    expected = w.rows->field(F_Attr).aslong();
  const int32_t aux = cursor.field(F_AuxAttr).aslong();
  if (aux != expected &&
      yes(textf("Table %s:\nIn record %ld (\"%s\"),\nauxattr is %ld and should be %ld. Correct?",
                w.table, static_cast<long>(k), w.prevname, static_cast<long>(aux),
                static_cast<long>(expected)),
          "Invalid aux attr")) {
    cursor.field(F_AuxAttr).set(static_cast<long>(expected));
    w.v->written(cursor.flush(0), w.table);
  }
  return 0;
}

void walkcodes(Verification& v, int kind, int n, Rlist::ScanCallback check) {
  const char* table = DB_Table(kind).basename_or_none();
  v.line("Verifying table %d of %d [%s]", n, table);
  CodeWalk w{&v, kind, table};
  // Titles are checked against their first artist, attributes against
  // the rows of their own relation.
  const int rowsof = kind == TitleTable ? ArtistRows : rowtable(kind - 1);
  w.rows = std::make_unique<Rlist>(&DB_Table(rowsof));
  w.rows->select(kind == TitleTable ? T_TitSeq : T_Attr);
  Rlist cursor(&DB_Table(kind));
  cursor.select(T_Code);
  cursor.scan(check, &w, &v.progress);
}

}  // namespace

int DB_Verify(ProgressCallback callback, void* context) {
  if (DB_Open(0, 0, 0, 0) != 0) return -1;
  int64_t total = 0;
  for (int index = 0; index < kTables; ++index) total += DB_Table(index).nlive();
  for (int r = 0; r < kRelations; ++r) total += DB_Table(rowtable(r)).nrecs();

  bool failed;
  {
    Verification v(callback, context, total);
    for (int r = 0; r < kRelations; ++r) {
      const char* table = DB_Table(rowtable(r)).basename_or_none();
      RowWalk w{&v, r, table};
      Rlist cursor(&DB_Table(rowtable(r)));
      v.line("Verifying table %d of %d [%s] (pass 1)", r + 1, table);
      cursor.select(-1);
      cursor.scan(checkrow, &w, &v.progress);
      v.line("Verifying table %d of %d [%s] (pass 2)", r + 1, table);
      cursor.select(T_TitSeq);
      cursor.scan(checksequence, &w, &v.progress);
    }
    for (int r = 0; r < kRelations; ++r) walkcodes(v, attrtable(r), r + 3, checkattribute);
    walkcodes(v, TitleTable, 5, checktitle);
    failed = v.failed;
  }
  DB_Close();
  return failed ? -1 : 0;
}

}  // namespace tracklore
