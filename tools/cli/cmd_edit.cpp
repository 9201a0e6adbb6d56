// tracklore-cli add / link / unlink / move / rename / delete: changing the
// catalogue through its edits, which keep references, positions and counts
// consistent.
#include <cstdio>
#include <memory>
#include <string>

#include "catalogue/edits.h"
#include "catalogue/journal.h"
#include "catalogue/relation.h"
#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;

namespace {

// Albums of one name are allowed (two artists' "Greatest Hits"), but they
// can then only be named by code.
void noteshared(Kind kind, const Record& self) {
  std::vector<Record> others;
  for (Record& r : samenamed(kind, self.name))
    if (r.code != self.code) others.push_back(std::move(r));
  if (!others.empty())
    std::fprintf(stderr, "tracklore-cli: note: %s %s also names %s; name them by code\n",
                 kindword(kind, SingularForm), quotedtext(self.name).c_str(),
                 codelist(kind, others).c_str());
}

// "what; returned Code." as the program words a failed edit ("what; the
// disk is full." for a full disk).
int engineerror(const char* what, ErrorCode rc) {
  return failure(std::string(what) + "; " + DB_ReturnedText(rc) + ".");
}

// The album's completeness mark after its lists changed, as the program
// sets it when an album is left.
int refreshmark(Rlist& titles) {
  ErrorCode rc = DB_UpdateOKField(titles, nullptr);
  return rc == Ok ? 0 : engineerror("Updating the album's mark failed", rc);
}

// Stands the list on its row at position seq; *rows is the list's length.
bool standat(Relation& list, int seq, int* rows) {
  *rows = 0;
  for (ErrorCode rc = list.first(); rc == Ok; rc = list.skip(1)) ++*rows;
  for (ErrorCode rc = list.first(); rc == Ok; rc = list.skip(1))
    if (list.rows().field(F_Seq).asint() == seq) return true;
  return false;
}

// What unlink and move work on: the album, its title cursor and the list
// of one kind standing on the entry at a position.
struct Entry {
  Record album;
  Kind kind = Kind::Artist;
  int seq = 0;
  int rows = 0;
  Record item;
  bool missing = false;  // the row names an artist or song that is gone
  std::unique_ptr<Rlist> titles;
  std::unique_ptr<Relation> list;
};

// Reads the operands ALBUM KIND SEQ; 0, or the exit status of a refusal.
int findentry(const Options& options, Entry* e) {
  const std::optional<Kind> kind = attributekind(options.operands[1]);
  if (!kind) return usageerror(options.command + " takes artist or song");
  e->kind = *kind;
  long seq;
  if (!parsecount(options.operands[2], &seq))
    return usageerror(quotedtext(options.operands[2]) + " is not a position");
  e->seq = static_cast<int>(seq);
  e->titles = std::make_unique<Rlist>(&DB_Table(TitleTable));
  if (int status = locate(Kind::Album, options.operands[0], &e->album, *e->titles); status != 0)
    return status;
  e->list = DB_GetArticleAttributes(relationof(e->kind), e->album.code);
  if (!standat(*e->list, e->seq, &e->rows))
    return failure(describe(Kind::Album, e->album) + " has no " + kindword(e->kind, SingularForm) +
                   " at position " + std::to_string(e->seq) + " (it has " +
                   std::to_string(e->rows) + ")");
  e->missing = !e->list->cursor().valid();
  e->item = e->missing ? Record{e->list->rows().field(F_Attr).aslong(), {}}
                       : current(e->list->cursor(), e->kind);
  return 0;
}

// The entry as messages name it; a row whose entry is gone has only the code.
std::string entryname(const Entry& e) {
  if (!e.missing) return describe(e.kind, e.item);
  return std::string("the row for the missing ") + kindword(e.kind, SingularForm) + " #" +
         std::to_string(e.item.code);
}

// Names that compare equal in the catalogue's order ("Sigur Ros" beside
// "Sigur Rós", "Bjork" beside "Björk") are most often one artist typed
// twice: a new entry beside them is made only when the user says so, as
// the program asks before it creates one.
bool confirmnew(TerminalHost& host, Kind kind, const std::string& full,
                const std::vector<Record>& similar) {
  constexpr size_t kListed = 5;
  std::string names;
  for (size_t i = 0; i < similar.size() && i < kListed; ++i)
    names += (i == 0 ? "" : ", ") + quotedtext(similar[i].name) + " (#" +
             std::to_string(similar[i].code) + ")";
  if (similar.size() > kListed) names += " and " + std::to_string(similar.size() - kListed) + " more";
  const std::string question =
      std::string(kindword(kind, similar.size() == 1 ? CapSingularForm : CapPluralForm)) +
      " with a similar name: " + names + ".\nDo you want to create a new " +
      kindword(kind, SingularForm) + " " + quotedtext(full) + "?";
  return host.ask(question, "Confirm insert", Buttons::OKCancel) == Answer::OK;
}

// The attribute that link puts on the album: an existing one by code or by
// its name (identity, NameFinder::same), else a new one under the name.
// *created says which.
int linkedattribute(TerminalHost& host, Kind kind, const std::string& operand, Record* item,
                    bool* created) {
  *created = false;
  int32_t code;
  if (parsecode(operand, &code)) return resolve(kind, operand, item) ? 0 : 1;
  std::string full, message;
  if (!fullname(kind, operand, &full, &message)) return failure(message);
  std::vector<Record> same = samenamed(kind, full);
  if (same.size() > 1)
    return failure(std::string("several ") + kindword(kind, PluralForm) + " are named " +
                   quotedtext(full) + ": " + codelist(kind, same) + "; name one by its code");
  if (same.size() == 1) {
    *item = std::move(same.front());
    return 0;
  }
  const std::vector<Record> similar = alike(kind, full);
  if (!similar.empty() && !confirmnew(host, kind, full, similar))
    return failure(std::string("no ") + kindword(kind, SingularForm) + " is named " +
                   quotedtext(full) + "; nothing was created (name a similar one by its code, or "
                   "answer yes to create it)");
  Rlist cursor(&DB_Table(kindtable(kind)));
  ErrorCode rc = DB_InsertRecord(kind, full, cursor);
  if (rc != Ok) return engineerror("Record creation failed", rc);
  *item = current(cursor, kind);
  *created = true;
  return 0;
}

// A rename to the name another record of the kind bears (letter case
// aside) would make the two one entry to the eye and two to the catalogue:
// artists and songs are refused, pointing to merge; an album may share its
// name with another artist's, when the user says so. 0, or the status of
// the refusal.
int refusesecond(TerminalHost& host, Kind kind, const Record& item, const std::string& full) {
  std::vector<Record> others;
  for (Record& r : samenamed(kind, full))
    if (r.code != item.code) others.push_back(std::move(r));
  if (others.empty()) return 0;
  const Record& bearer = others.front();
  const std::string refusal =
      describe(kind, item) + " not renamed: " + describe(kind, bearer) +
      " bears that name; tracklore-cli merge " + kindword(kind, SingularForm) + " '#" +
      std::to_string(bearer.code) + "' '#" + std::to_string(item.code) + "' makes the two one";
  if (kind != Kind::Album) return failure(refusal);
  const std::string question = "Another album is named " + quotedtext(bearer.name) + ": " +
                               codelist(kind, others) + ".\nRename this one all the same, keeping "
                               "two albums of that name?";
  if (host.ask(question, "Confirm rename", Buttons::OKCancel) != Answer::OK)
    return failure(refusal);
  return 0;
}

}  // namespace

int cmd_add(const Options& options, TerminalHost&) {
  const std::optional<Kind> named = kindof(options.operands[0]);
  if (!named) return usageerror("add takes album, artist or song");
  const Kind kind = *named;
  std::string full, message;
  if (!fullname(kind, options.operands[1], &full, &message)) return failure(message);
  Session session(true);
  if (!session.ok()) return 1;
  // As typing an existing name selects it in the program: one artist or
  // song of a name (letter case aside), while albums of one name by
  // different artists are common.
  if (const std::vector<Record> same = samenamed(kind, full); kind != Kind::Album && !same.empty())
    return failure(describe(kind, same.front()) + " exists already; nothing was created");
  Rlist cursor(&DB_Table(kindtable(kind)));
  ErrorCode rc = DB_InsertRecord(kind, full, cursor);
  if (rc != Ok) return engineerror("Record creation failed", rc);
  const Record made = current(cursor, kind);
  std::printf("created %s\n", describe(kind, made).c_str());
  noteshared(kind, made);
  return 0;
}

int cmd_link(const Options& options, TerminalHost& host) {
  const std::optional<Kind> named = attributekind(options.operands[1]);
  if (!named) return usageerror("link takes artist or song");
  const Kind kind = *named;
  Session session(true);
  if (!session.ok()) return 1;
  Record album;
  Rlist titles(&DB_Table(TitleTable));
  if (int status = locate(Kind::Album, options.operands[0], &album, titles); status != 0) return status;

  // Making the artist or song, linking it and the album's mark: one edit.
  Intent intent("link");
  intent.album(relationof(kind), album.code);
  intent.counts(kindtable(kind));
  if (ErrorCode rc = intent.begin(); rc != Ok) return engineerror("Insertion failed", rc);
  Record item;
  bool created;
  if (int status = linkedattribute(host, kind, options.operands[2], &item, &created); status != 0)
    return status;

  std::unique_ptr<Relation> list = DB_GetArticleAttributes(relationof(kind), album.code);
  const int position = options.at ? static_cast<int>(*options.at) : -1;
  ErrorCode rc = DB_AddLink(*list, album.code, position, item.code, titles);
  if (rc == ListFull)
    return failure(describe(Kind::Album, album) + " has its " + kindword(kind, PluralForm) +
                   " up to position " + std::to_string(kMaxSeq) +
                   ", the last there is; nothing changed");
  if (rc != Ok) return engineerror("Insertion failed", rc);
  const int placed = list->rows().field(F_Seq).asint();
  const int status = refreshmark(titles);
  // Said once the edit is on disk, which its end makes it.
  if (ErrorCode ended = intent.end(status == 0 ? Ok : quill::WriteFailed); ended != Ok)
    return engineerror("Insertion failed", ended);
  if (created) std::printf("created %s\n", describe(kind, item).c_str());
  std::printf("linked %s to %s at position %d\n", describe(kind, item).c_str(),
              describe(Kind::Album, album).c_str(), placed);
  return status;
}

int cmd_unlink(const Options& options, TerminalHost&) {
  Session session(true);
  if (!session.ok()) return 1;
  Entry e;
  if (int status = findentry(options, &e); status != 0) return status;
  ErrorCode rc = DB_RemoveLink(*e.list, *e.titles, PurgeMode::Ask);
  if (rc != Ok) return engineerror("Remove failed", rc);
  if (e.missing) {
    std::printf("removed the row at position %d of %s, which named no existing %s (#%ld)\n", e.seq,
                describe(Kind::Album, e.album).c_str(), kindword(e.kind, SingularForm),
                static_cast<long>(e.item.code));
    return refreshmark(*e.titles);
  }
  std::printf("removed %s from position %d of %s\n", describe(e.kind, e.item).c_str(), e.seq,
              describe(Kind::Album, e.album).c_str());
  Rlist check(&DB_Table(kindtable(e.kind)));
  if (seekcode(check, e.item.code) != Ok)
    std::printf("purged %s\n", describe(e.kind, e.item).c_str());
  else if (check.field(F_RefCount).aslong() == 0)
    std::printf("kept %s, which no album uses now\n", describe(e.kind, e.item).c_str());
  return refreshmark(*e.titles);
}

int cmd_move(const Options& options, TerminalHost&) {
  const std::string& way = options.operands[3];
  if (way != "up" && way != "down") return usageerror("move takes up or down");
  const bool up = way == "up";
  Session session(true);
  if (!session.ok()) return 1;
  Entry e;
  if (int status = findentry(options, &e); status != 0) return status;
  if (up && e.seq == 0)
    return failure(entryname(e) + " is already first; nothing changed");
  if (!up && e.seq >= e.rows - 1)
    return failure(entryname(e) + " is already last; nothing changed");
  ErrorCode rc = DB_MoveLink(*e.list, up ? LinkMove::Up : LinkMove::Down, *e.titles);
  if (rc == quill::TooFar)
    return failure(entryname(e) + " is already last; nothing changed");
  if (rc == quill::NotFound && e.missing)
    return failure(entryname(e) + " cannot be moved; unlink it, or let verify repair it");
  if (rc != Ok) return engineerror(up ? "Move-up failed" : "Move-down failed", rc);
  std::printf("moved %s from position %d to %d\n", entryname(e).c_str(), e.seq,
              e.list->rows().field(F_Seq).asint());
  return refreshmark(*e.titles);
}

int cmd_rename(const Options& options, TerminalHost& host) {
  const std::optional<Kind> named = kindof(options.operands[0]);
  if (!named) return usageerror("rename takes album, artist or song");
  const Kind kind = *named;
  std::string full, message;
  if (!fullname(kind, options.operands[2], &full, &message)) return failure(message);
  Session session(true);
  if (!session.ok()) return 1;
  Record item;
  Rlist cursor(&DB_Table(kindtable(kind)));
  if (int status = locate(kind, options.operands[1], &item, cursor); status != 0) return status;
  if (int status = refusesecond(host, kind, item, full); status != 0) return status;

  ErrorCode rc = DB_RenameRecord(cursor, kind, full, false);
  if (rc == NeedsConfirmation) {
    std::string question =
        textf("This %s has %ld %s(s) referring to it. Are you sure you want to rename it?",
              kindword(kind, SingularForm), static_cast<long>(cursor.field(F_RefCount).aslong()),
              kindword(Kind::Album, SingularForm));
    if (host.ask(question, "Confirm rename", Buttons::OKCancel) != Answer::OK)
      return failure(describe(kind, item) + " not renamed");
    rc = DB_RenameRecord(cursor, kind, full, true);
  }
  if (rc != Ok) return engineerror("Rename failed", rc);
  const Record renamed = current(cursor, kind);
  std::printf("renamed %s to %s\n", describe(kind, item).c_str(), quotedtext(renamed.name).c_str());
  noteshared(kind, renamed);
  return 0;
}

int cmd_delete(const Options& options, TerminalHost& host) {
  const std::optional<Kind> named = kindof(options.operands[0]);
  if (!named) return usageerror("delete takes album, artist or song");
  const Kind kind = *named;
  Session session(true);
  if (!session.ok()) return 1;
  Record item;
  Rlist cursor(&DB_Table(kindtable(kind)));
  if (int status = locate(kind, options.operands[1], &item, cursor); status != 0) return status;

  if (kind == Kind::Album) {
    if (DB_CountRelations(item.code) != 0) {
      const std::string question =
          textf("Attention: %s ", kindword(kind, SingularForm)) + quotedtext(item.name) +
          textf(" is not empty.\nAre you really sure you want to delete the %s and all its contents?",
                kindword(kind, SingularForm));
      if (host.ask(question, "Not empty", Buttons::OKCancel) != Answer::OK)
        return failure(describe(kind, item) + " not deleted");
    }
    ErrorCode rc = DB_DeleteArticle(cursor);
    if (rc != Ok) return engineerror("Delete failed", rc);
  } else {
    ErrorCode rc = DB_DeleteAttribute(cursor, kind);
    if (rc == StillReferenced)
      return failure(textf("This %s %s is referenced by %ld %s(s). It cannot be deleted.",
                           kindword(kind, SingularForm), quotedtext(item.name).c_str(),
                           static_cast<long>(cursor.field(F_RefCount).aslong()),
                           kindword(Kind::Album, SingularForm)));
    if (rc != Ok) return engineerror("Delete failed", rc);
  }
  std::printf("deleted %s\n", describe(kind, item).c_str());
  return 0;
}

}  // namespace tracklore::cli
