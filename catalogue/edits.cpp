// Linking, unlinking and moving the rows of an album's relation.
#include "catalogue/edits.h"

#include <cstring>

#include "catalogue/fullnames.h"
#include "catalogue/host.h"
#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/standing.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

// A by-title list over one of the two relations of the table set.
bool editable(const Relation& list) {
  return list.direction() == Relation::Direction::ByTitle && list.relation() >= 0;
}

// Writes a change at once: a movement would save it too, but would not
// tell whether the save failed.
ErrorCode setlong(Rlist& cursor, int field, int32_t value) {
  cursor.field(field).set(static_cast<long>(value));
  return cursor.flush();
}

// Journals everything an edit of the list's album may change: its rows, the
// attributes they link to, the album, and the attribute attr.
ErrorCode beginedit(Intent& intent, Relation& list, int32_t attr) {
  if (editable(list)) {
    intent.album(list.relation(), list.code());
    intent.coded(attrkind(list.relation()), attr);
  }
  return intent.begin();
}

ErrorCode addlink(Relation& list, int32_t title, int position, int32_t attr, Rlist& titlecursor) {
  if (!editable(list) || list.code() != title || position < -1) return quill::BadParam;
  // A row must not point to nowhere.
  Rlist& other = list.cursor();
  if (other.selected() != T_Code) return quill::BadParam;
  ErrorCode rc = list.alignto(attr);
  if (rc != Ok) return rc;

  Rlist& rows = list.rows();
  const int last = list.lastrow() == Ok ? rows.field(F_Seq).asint() : -1;
  // Past the largest position a Seq would wrap round to a negative one.
  if (last >= kMaxSeq) return ListFull;
  // A position past the end would leave a gap: it appends instead.
  if (position == -1 || position > last + 1) position = last + 1;
  const bool firstartist = list.relation() == 0 && position == 0;
  if (firstartist && !standson(titlecursor, DB_Table(TitleTable), title)) return quill::BadParam;

  // Make room from the last row down, so that no two rows share a number.
  if (position <= last) {
    for (;;) {
      int seq = rows.field(F_Seq).asint();
      if (seq < position) break;
      rows.field(F_Seq).set(seq + 1);
      rc = rows.flush();
      if (rc != Ok) return rc;
      if (list.skip(-1) != Ok) break;
    }
  }

  rows.field(F_Title).set(static_cast<long>(title));
  rows.field(F_Seq).set(position);
  rows.field(F_Attr).set(static_cast<long>(attr));
  rc = rows.append();
  if (rc != Ok) {
    // The buffer holds the unwritten row over some other row: a later
    // movement must not save it there.
    rows.unset();
    return rc;
  }
  if (position > last) list.notelast();

  if (firstartist) {
    rc = setlong(titlecursor, F_AuxAttr, attr);
    if (rc != Ok) return rc;
  }
  // The other cursor still stands on the attribute read above unless room
  // was made; a shared table is read again for a count others may change.
  if (position <= last || !other.datafile()->exclusive()) list.align();
  if (!other.valid()) return quill::NotFound;
  return setlong(other, F_RefCount, other.field(F_RefCount).aslong() + 1);
}

ErrorCode removelink(Relation& list, Rlist& titlecursor, PurgeMode purge) {
  DB_Host().drain();
  WaitCursor wait;
  if (!editable(list)) return quill::BadParam;
  if (!list.valid()) return quill::NoCurrentRecord;

  Rlist& rows = list.rows();
  const int s = rows.field(F_Seq).asint();
  const int32_t attr = rows.field(F_Attr).aslong();
  const bool newfirst = purge != PurgeMode::Silent && list.relation() == 0 && s == 0;
  if (newfirst && !standson(titlecursor, DB_Table(TitleTable), list.code())) return quill::BadParam;

  // A row whose attribute is missing has no count to lower.
  Rlist& other = list.cursor();
  const bool counted = standson(other, DB_Table(attrtable(list.relation())), attr);
  int32_t count = 0;
  char name[kNameBuffer] = "";
  ErrorCode rc;
  if (counted) {
    const quill::Field& field = other.field(F_Name);
    std::memcpy(name, field.data(), static_cast<size_t>(field.length()));
    name[field.length() - 1] = '\0';
    count = other.field(F_RefCount).aslong() - 1;
    rc = setlong(other, F_RefCount, count);
    if (rc != Ok) return rc;
  }

  // The row goes before any purge: an attribute is never deleted while a
  // row that failed to go still uses it.
  rc = list.removecurrent();
  if (rc != Ok) {
    // The count is put back as far as it can be; the failure is the row's.
    if (counted && standson(other, DB_Table(attrtable(list.relation())), attr))
      (void)setlong(other, F_RefCount, count + 1);
    return rc;
  }

  if (counted && count == 0 && purge != PurgeMode::Keep) {
    bool doit = purge == PurgeMode::Silent;
    if (purge == PurgeMode::Ask) {
      // The user knows the name as given, not as stored.
      const std::string full = DB_FullName(attrkind(list.relation()), attr, name);
      std::string question = textf(DB_Tr("Catalogue",
                                         "There are no more references to \"%s\".\nWould you like "
                                         "to purge (delete) it from the database?"),
                                   full.c_str());
      doit = DB_Host().question(question.c_str(), DB_Tr("Catalogue", "Confirm purge"),
                                Buttons::OKCancel, Icon::Question,
                                DefaultButton::Refuse) == Answer::OK;
    }
    if (doit) {
      uint8_t key[4];
      quill::put4(key, attr);
      rc = other.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
      if (rc == Ok) rc = other.del();
      if (rc == Ok) rc = DB_DropFullName(attrkind(list.relation()), attr);
      list.align();
      if (rc != Ok) return rc;
    }
  }
  if (purge == PurgeMode::Silent) return Ok;

  const ErrorCode e = list.first();
  if (newfirst) {
    rc = setlong(titlecursor, F_AuxAttr, e == Ok ? rows.field(F_Attr).aslong() : -1);
    if (rc != Ok) return rc;
  }
  // Close the gap: exactly the rows that followed the removed one.
  if (e == Ok && list.skip(s) == Ok) {
    for (;;) {
      rc = setlong(rows, F_Seq, rows.field(F_Seq).asint() - 1);
      if (rc != Ok) return rc;
      if (list.skip(1) != Ok) break;
    }
  }
  // The list stands where the removed row stood, or after its last row.
  if (list.first() == Ok) (void)list.skip(s);
  return Ok;
}

ErrorCode movelink(Relation& list, LinkMove way, Rlist& titlecursor) {
  const bool up = way == LinkMove::Up;
  if (!editable(list)) return quill::BadParam;
  if (!list.valid()) return quill::NoCurrentRecord;
  Rlist& rows = list.rows();
  const int32_t title = rows.field(F_Title).aslong();
  const int seq = rows.field(F_Seq).asint();
  const int32_t attr = rows.field(F_Attr).aslong();
  // The re-insertion must not be refused once the row is gone.
  if (list.relation() == 0 && !standson(titlecursor, DB_Table(TitleTable), title))
    return quill::BadParam;
  if (!standson(list.cursor(), DB_Table(attrtable(list.relation())), attr)) return quill::NotFound;
  if (!up) {
    // Below the last row there is no place: the row would come back one
    // number past the new last row and leave a gap.
    if (list.skip(1) != Ok) return quill::TooFar;
    (void)list.skip(-1);  // back over the row it just passed
  }
  ErrorCode rc = removelink(list, titlecursor, PurgeMode::Keep);
  if (rc != Ok) return rc;
  return addlink(list, title, up ? seq - 1 : seq + 1, attr, titlecursor);
}

}  // namespace

ErrorCode DB_AddLink(Relation& list, int32_t title, int position, int32_t attr,
                     Rlist& titlecursor) {
  Intent intent("link");
  if (ErrorCode rc = beginedit(intent, list, attr); rc != Ok) return rc;
  return intent.end(addlink(list, title, position, attr, titlecursor));
}

ErrorCode DB_RemoveLink(Relation& list, Rlist& titlecursor, PurgeMode purge) {
  Intent intent("unlink");
  if (ErrorCode rc = beginedit(intent, list, -1); rc != Ok) return rc;
  return intent.end(removelink(list, titlecursor, purge));
}

ErrorCode DB_MoveLink(Relation& list, LinkMove way, Rlist& titlecursor) {
  Intent intent("move");
  if (ErrorCode rc = beginedit(intent, list, -1); rc != Ok) return rc;
  return intent.end(movelink(list, way, titlecursor));
}

}  // namespace tracklore
