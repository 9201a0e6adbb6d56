// Catalogue edits: the changes that keep the invariants of schema.h.
//
// They work on the cursors that the user interface already holds (its
// FullTable cursor, the album's title cursor, the album's Relation by title)
// so that its lists stay on what was changed. Every operation returns 0 or
// the first failing code (engine codes, or the refusals of results.h); the
// user interface shows the messages. Steps done before a failing step stay
// done, except where noted; what is left inconsistent is what DB_Verify
// detects and repairs. Every edit is journalled (journal.h), so that the
// undo history (history.h) learns of it: one cut short by a crash, or
// failing after it changed something, is undone by DB_Recover, and edits
// are refused with NeedsRecovery until then.
//
// Names are full names, UTF-8 (storedform.h): the record gets the stored
// form of DB_FullForm(name), and the name table the full name where the two
// differ (fullnames.h); a database opened without a name table (shared,
// made without one) keeps the stored form alone. Deleting a record removes
// its entries.
// DB_InsertRecord (kind, name, cursor): appends an album (kind 0, OK_field
//   "*", Aux_attr -1) or an artist or song (kind 1, 2, Ref_count 0) with the
//   name, through a cursor bound to the kind's table; the engine gives Code. The cursor then stands on the new record
//   (on failure it stands nowhere; a change pending on its old record is
//   saved first). EmptyName for a name that is empty or blanks only.
// DB_AddLink (list, title, position, attr, title cursor): a new row of the
//   album's relation with Seq = position (-1, or past the end: after the
//   last row); the rows from position on move one place down. Raises the
//   attribute's Ref_count; a new first artist becomes the album's Aux_attr
//   (written through the title cursor, which stands on the album). The list
//   then stands on the new row. NotFound (nothing changed) when no
//   attribute has that code; ListFull (nothing changed) when the album's
//   list already has a row at the largest position, kMaxSeq.
// DB_RemoveLink (list, title cursor, purge): removes the list's current row
//   and lowers its attribute's Ref_count; an attribute left unreferenced is
//   kept (Keep), deleted (Silent) or deleted when the user answers
//   OK to "Confirm purge" (Ask). Except with Silent (for an album
//   being deleted, whose rows all go) the following rows move one place up,
//   Aux_attr follows the new first artist, and the list stands on the row
//   that took the removed one's place, or on the last row. If the row cannot
//   be removed, the count is put back and nothing is purged.
// DB_MoveLink (list, way, title cursor): moves the current row one place up
//   or down (a removal and re-insertion: Ref_count ends unchanged, Aux_attr
//   follows position 0). Up from position 0 moves the row to the end; down
//   from the last row is refused with TooFar and changes nothing.
//
// Whole records:
// DB_RenameRecord (cursor, kind, name, confirmed): stores the name
//   (EmptyName when nothing is left) and writes the
//   record; on failure the record is read back as it is on disk. An artist
//   or song used by more than one row is renamed only when confirmed
//   (NeedsConfirmation otherwise, nothing changed).
// DB_DeleteArticle (title cursor): removes every row of the album from both
//   relations (Ref_counts lowered, attributes left unreferenced deleted),
//   then the album. The album stays when a removal fails.
// DB_DeleteAttribute (cursor, kind): deletes an artist or song; refused with
//   StillReferenced while its Ref_count is not 0 or a row still uses it.
// DB_UpdateOKField (title cursor, changed): the completeness mark of the
//   album after its contents changed: " " with rows in both relations, "*"
//   otherwise; writes the record only when the mark changes (*changed).
#pragma once

#include <cstdint>
#include <string_view>

#include "catalogue/kind.h"
#include "catalogue/relation.h"
#include "catalogue/results.h"
#include "engine/rlist.h"

namespace tracklore {

enum class PurgeMode { Ask, Keep, Silent };
// Which way DB_MoveLink moves a row.
enum class LinkMove { Up, Down };

ErrorCode DB_InsertRecord(Kind kind, std::string_view name, quill::Rlist& cursor);
ErrorCode DB_AddLink(Relation& list, int32_t title, int position, int32_t attr,
                     quill::Rlist& titlecursor);
ErrorCode DB_RemoveLink(Relation& list, quill::Rlist& titlecursor, PurgeMode purge);
ErrorCode DB_MoveLink(Relation& list, LinkMove way, quill::Rlist& titlecursor);

ErrorCode DB_RenameRecord(quill::Rlist& cursor, Kind kind, std::string_view name, bool confirmed);
ErrorCode DB_DeleteArticle(quill::Rlist& titlecursor);
ErrorCode DB_DeleteAttribute(quill::Rlist& cursor, Kind kind);
ErrorCode DB_UpdateOKField(quill::Rlist& titlecursor, bool* changed);

}  // namespace tracklore
