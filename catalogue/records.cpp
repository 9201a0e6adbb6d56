// Creating, renaming and deleting whole records, and the completeness mark.
#include <cstring>
#include <string>

#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/standing.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"

namespace tracklore {

using quill::Ok;
using quill::Rlist;

namespace {

// An edit of a record touches the name table too when the new name needs
// an entry or the table holds any (the record's may have to go): then its
// intent declares the entries too, so that a crash leaves both tables or
// neither changed.
bool touchesnames(bool needed) {
  quill::DataFile& names = DB_Table(NameTable);
  return names.isopen() && !names.readonly() && (needed || names.nlive() > 0);
}

// The album's rows in both relations, then the album.
ErrorCode deleterows(Rlist& titlecursor, int32_t code);

}  // namespace

ErrorCode DB_InsertRecord(Kind kind, std::string_view name, Rlist& cursor) {
  if (!validkind(kind)) return quill::BadParam;
  const int table = kindtable(kind);
  if (cursor.datafile() != &DB_Table(table)) return quill::BadParam;
  const std::string full = DB_FullForm(name).text;
  const std::string text = DB_StoredForm(kind, full).stored;
  if (text.empty()) return EmptyName;
  // The buffer is about to become the new record: save what is pending.
  ErrorCode rc = cursor.flush();
  if (rc != Ok) return rc;
  // A new code has no entry yet: only a name that needs one touches the table.
  const bool needed = DB_NeedsFullName(text, full) && touchesnames(true);
  // Journalled even without a name entry: the undo history learns of
  // every edit through its intent.
  Intent intent("add");
  intent.counts(table);
  if (needed) intent.counts(NameTable);
  if (rc = intent.begin(); rc != Ok) return rc;
  cursor.field(F_Name).set(text.c_str());
  if (kind == Kind::Album) {
    cursor.field(F_OKField).set("*");
    cursor.field(F_AuxAttr).set(-1L);
  } else {
    cursor.field(F_RefCount).set(0L);
  }
  rc = cursor.append();
  // The unwritten record must not be saved over another by a later move.
  if (rc != Ok) cursor.unset();
  if (rc == Ok && needed) {
    rc = DB_KeepFullName(kind, cursor.field(F_Code).aslong(), text, full);
    // The record is recovery's to take back with the entries it lacks.
    if (rc != Ok) cursor.unset();
  }
  return intent.end(rc);
}

ErrorCode DB_RenameRecord(Rlist& cursor, Kind kind, std::string_view name, bool confirmed) {
  if (!validkind(kind)) return quill::BadParam;
  const int table = kindtable(kind);
  if (cursor.datafile() != &DB_Table(table)) return quill::BadParam;
  if (!standsin(cursor, DB_Table(table))) return quill::NoCurrentRecord;
  const std::string full = DB_FullForm(name).text;
  const std::string text = DB_StoredForm(kind, full).stored;
  if (text.empty()) return EmptyName;
  if (kind != Kind::Album && !confirmed && cursor.field(F_RefCount).aslong() > 1)
    return NeedsConfirmation;
  const int32_t code = cursor.field(F_Code).aslong();
  const bool names = touchesnames(DB_NeedsFullName(text, full));
  Intent intent("rename");
  if (names)
    intent.coded(kind, code);
  else
    intent.record(table, cursor.recno());
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  cursor.field(F_Name).set(text.c_str());
  ErrorCode rc = cursor.flush();
  if (rc != Ok) (void)cursor.load(Rlist::Force::Yes);  // back to what the disk holds
  if (rc == Ok && names) rc = DB_KeepFullName(kind, code, text, full);
  return intent.end(rc);
}

ErrorCode DB_DeleteArticle(Rlist& titlecursor) {
  if (titlecursor.datafile() != &DB_Table(TitleTable)) return quill::BadParam;
  if (!standsin(titlecursor, DB_Table(TitleTable))) return quill::NoCurrentRecord;
  const int32_t code = titlecursor.field(F_Code).aslong();
  Intent intent("delete album");
  for (int r = 0; r < kRelations; ++r) intent.album(r, code);
  intent.counts(TitleTable);
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  return intent.end(deleterows(titlecursor, code));
}

namespace {

ErrorCode deleterows(Rlist& titlecursor, int32_t code) {
  for (int r = 0; r < kRelations; ++r) {
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, code);
    (void)list->first();  // an empty list is not valid()
    while (list->valid()) {
      // An album whose rows could not all go stays, so that no row is
      // left pointing to nowhere.
      ErrorCode rc = DB_RemoveLink(*list, titlecursor, PurgeMode::Silent);
      if (rc != Ok) return rc;
    }
  }
  const ErrorCode rc = titlecursor.del();
  return rc == Ok ? DB_DropFullName(Kind::Album, code) : rc;
}

}  // namespace

ErrorCode DB_DeleteAttribute(Rlist& cursor, Kind kind) {
  if (kind != Kind::Artist && kind != Kind::Song) return quill::BadParam;
  const int table = kindtable(kind);
  if (cursor.datafile() != &DB_Table(table)) return quill::BadParam;
  if (!standsin(cursor, DB_Table(table))) return quill::NoCurrentRecord;
  if (cursor.field(F_RefCount).aslong() != 0) return StillReferenced;
  // A wrong count must not let a used attribute go.
  Rlist rows(&DB_Table(rowtable(relationof(kind))));
  (void)rows.select(T_Attr);  // a tag of the schema
  if (rows.selected() == T_Attr && rows.seek(cursor.field(F_Code).data(), 4,
                                             quill::SeekMode::Prefix, quill::SeekWhich::Any) == Ok)
    return StillReferenced;
  const int32_t code = cursor.field(F_Code).aslong();
  const bool names = touchesnames(false);
  Intent intent("delete");
  if (names)
    intent.coded(kind, code);
  else
    intent.record(table, cursor.recno());
  intent.counts(table);
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  ErrorCode rc = cursor.del();
  if (rc == Ok && names) rc = DB_DropFullName(kind, code);
  return intent.end(rc);
}

ErrorCode DB_UpdateOKField(Rlist& titlecursor, bool* changed) {
  if (changed != nullptr) *changed = false;
  if (titlecursor.datafile() != &DB_Table(TitleTable)) return quill::BadParam;
  if (!standsin(titlecursor, DB_Table(TitleTable))) return quill::NoCurrentRecord;
  const int n = DB_CountRelations(titlecursor.field(F_Code).aslong());
  const char mark = static_cast<char>(titlecursor.field(F_OKField).data()[0]);
  const char* now = nullptr;
  if (n == 2 && mark == '*') now = " ";
  if (n != 2 && mark == ' ') now = "*";
  if (now == nullptr) return Ok;
  Intent intent("mark");
  intent.record(TitleTable, titlecursor.recno());
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  titlecursor.field(F_OKField).set(now);
  ErrorCode rc = intent.end(titlecursor.flush());
  if (rc != Ok) {
    (void)titlecursor.load(Rlist::Force::Yes);  // back to what the disk holds
    return rc;
  }
  if (changed != nullptr) *changed = true;
  return Ok;
}

}  // namespace tracklore
