#include "ui/mergeoffer.h"

#include <vector>

#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/host.h"
#include "catalogue/merge.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/text.h"
#include "engine/errors.h"
#include "ui/platform.h"

namespace tracklore {

namespace {

// "\"Björk\" (used on 3 albums)", or an album's "\"Post\" (Björk)": the
// record as the questions name it.
std::string named(int kind, int32_t code) {
  CodeLookup lookup;
  char stored[kNameBuffer];
  if (lookup.name(stored, kind, code) != quill::Ok) return "#" + std::to_string(code);
  std::string text = "\"" + DB_FullName(kindoftable(kind), code, stored) + "\"";
  quill::Rlist& record = lookup.cursor(kind);
  if (kind != TitleTable) {
    const long uses = record.field(F_RefCount).aslong();
    return text + textf(" (used %ld time%s)", uses, uses == 1 ? "" : "s");
  }
  const int32_t first = record.field(F_AuxAttr).aslong();
  if (first != -1 && lookup.name(stored, ArtistTable, first) == quill::Ok)
    text += " (" + DB_FullName(Kind::Artist, first, stored) + ")";
  return text;
}

// What the merge of OTHER into KEEP does, for the questions.
std::string consequence(int kind) {
  if (kind == TitleTable)
    return "The artists and songs the album kept lacks are appended to it, and the album merged is "
           "deleted.";
  return std::string("The albums that use the ") + KindNames[kind][SingularForm] +
         " merged then use the one kept, and the one merged is deleted.";
}

bool merge(int kind, int32_t keep, int32_t other) {
  WaitCursor wait;
  const ErrorCode rc = DB_MergeRecords(kindoftable(kind), keep, other, nullptr);
  if (rc != quill::Ok) quill::warning("Merge failed; %s.", DB_ReturnedText(rc).c_str());
  return rc == quill::Ok;
}

constexpr const char* kNoUndo = "Edit > Undo takes a merge back.";

}  // namespace

bool confirmMerge(Kind which, int32_t keep, const std::vector<int32_t>& others) {
  const int kind = kindtable(which);
  std::string question =
      textf("Merge %s ", KindNames[kind][others.size() == 1 ? SingularForm : PluralForm]);
  for (size_t i = 0; i < others.size(); ++i) question += (i ? ", " : "") + named(kind, others[i]);
  question += " into " + named(kind, keep) + "?\n" + consequence(kind) + "\n" + kNoUndo;
  if (ask(question, "Confirm merge", Buttons::OKCancel, Icon::Question, DefaultButton::Refuse) !=
      Answer::OK)
    return false;
  for (int32_t other : others)
    if (!merge(kind, keep, other)) return false;
  return true;
}

RenameChoice offerMergeOnRename(Kind which, int32_t code, const std::string& full, int32_t* keep) {
  const int kind = kindtable(which);
  std::vector<int32_t> others;
  for (int32_t found : DB_FindSameName(which, full))
    if (found != code) others.push_back(found);
  if (others.empty()) return RenameChoice::Rename;
  *keep = others.front();
  const char* singular = KindNames[kind][SingularForm];
  if (kind != TitleTable) {
    const std::string question =
        textf("The %s ", singular) + named(kind, *keep) +
        textf(" exists already.\nMerge this %s into it instead of making a second of that name?\n",
              singular) +
        consequence(kind) + "\n" + kNoUndo;
    if (ask(question, "Merge", Buttons::OKCancel, Icon::Question, DefaultButton::Refuse) !=
        Answer::OK)
      return RenameChoice::Cancelled;
    return merge(kind, *keep, code) ? RenameChoice::Merged : RenameChoice::Cancelled;
  }
  const std::string question = "Another album is named " + named(kind, *keep) +
                               ".\nMerge this album into it? " + consequence(kind) + " " + kNoUndo +
                               "\nNo renames this album, keeping two albums of that name.";
  switch (ask(question, "Merge", Buttons::YesNoCancel, Icon::Question, DefaultButton::Refuse)) {
    case Answer::Yes:
      return merge(kind, *keep, code) ? RenameChoice::Merged : RenameChoice::Cancelled;
    case Answer::No: return RenameChoice::Rename;
    default: return RenameChoice::Cancelled;
  }
}

}  // namespace tracklore
