#include "ui/mergeoffer.h"

#include <QCoreApplication>
#include <QStringList>
#include <vector>

#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/host.h"
#include "catalogue/merge.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "engine/errors.h"
#include "ui/dialogparts.h"
#include "ui/platform.h"

namespace tracklore {

namespace {

// "\"Björk\" (used 3 times)", or an album's "\"Post\" (Björk)": the
// record as the questions name it.
QString named(Kind kind, int32_t code) {
  CodeLookup lookup;
  char stored[kNameBuffer];
  if (lookup.name(stored, kindtable(kind), code) != quill::Ok) return QStringLiteral("#%1").arg(code);
  const QString name = QString::fromStdString(DB_FullName(kind, code, stored));
  quill::Rlist& record = lookup.cursor(kindtable(kind));
  if (kind != Kind::Album) {
    const long uses = record.field(F_RefCount).aslong();
    return (uses == 1 ? QCoreApplication::translate("Merge", "\"%1\" (used %2 time)")
                      : QCoreApplication::translate("Merge", "\"%1\" (used %2 times)"))
        .arg(name)
        .arg(uses);
  }
  const int32_t first = record.field(F_AuxAttr).aslong();
  if (first != -1 && lookup.name(stored, ArtistTable, first) == quill::Ok)
    return QCoreApplication::translate("Merge", "\"%1\" (%2)")
        .arg(name, QString::fromStdString(DB_FullName(Kind::Artist, first, stored)));
  return QCoreApplication::translate("Merge", "\"%1\"").arg(name);
}

// What the merge of OTHER into KEEP does, for the questions.
QString consequence(Kind kind) {
  if (kind == Kind::Album)
    return QCoreApplication::translate(
        "Merge",
        "The artists and songs the album kept lacks are appended to it, and the album merged "
        "is deleted.");
  return QCoreApplication::translate("Merge",
                                     "The albums that use the %1 merged then use the one kept, and "
                                     "the one merged is deleted.")
      .arg(kindName(kind, SingularForm));
}

bool merge(Kind kind, int32_t keep, int32_t other) {
  WaitCursor wait;
  const ErrorCode rc = DB_MergeRecords(kind, keep, other, nullptr);
  if (rc != quill::Ok)
    warn(QCoreApplication::translate("Merge", "Merge failed; %1.")
             .arg(QString::fromStdString(DB_ReturnedText(rc))));
  return rc == quill::Ok;
}

QString noUndo() { return QCoreApplication::translate("Merge", "Edit > Undo takes a merge back."); }

}  // namespace

bool confirmMerge(Kind kind, int32_t keep, const std::vector<int32_t>& others) {
  QStringList merged;
  for (int32_t other : others) merged << named(kind, other);
  const QString question = QCoreApplication::translate("Merge", "Merge %1 %2 into %3?")
                               .arg(kindName(kind, others.size() == 1 ? SingularForm : PluralForm),
                                    merged.join(QStringLiteral(", ")), named(kind, keep)) +
                           QLatin1Char('\n') + consequence(kind) + QLatin1Char('\n') + noUndo();
  if (ask(question, QCoreApplication::translate("Merge", "Confirm merge"), Buttons::OKCancel,
          Icon::Question, DefaultButton::Refuse) != Answer::OK)
    return false;
  for (int32_t other : others)
    if (!merge(kind, keep, other)) return false;
  return true;
}

RenameChoice offerMergeOnRename(Kind kind, int32_t code, const std::string& full, int32_t* keep) {
  std::vector<int32_t> others;
  for (int32_t found : DB_FindSameName(kind, full))
    if (found != code) others.push_back(found);
  if (others.empty()) return RenameChoice::Rename;
  *keep = others.front();
  if (kind != Kind::Album) {
    const QString question =
        QCoreApplication::translate(
            "Merge",
            "The %1 %2 exists already.\nMerge this %1 into it instead of making a second of that "
            "name?")
            .arg(kindName(kind, SingularForm), named(kind, *keep)) +
        QLatin1Char('\n') + consequence(kind) + QLatin1Char('\n') + noUndo();
    if (ask(question, QCoreApplication::translate("Merge", "Merge"), Buttons::OKCancel,
            Icon::Question, DefaultButton::Refuse) != Answer::OK)
      return RenameChoice::Cancelled;
    return merge(kind, *keep, code) ? RenameChoice::Merged : RenameChoice::Cancelled;
  }
  const QString question =
      QCoreApplication::translate("Merge", "Another album is named %1.\nMerge this album into it?")
          .arg(named(kind, *keep)) +
      QLatin1Char(' ') + consequence(kind) + QLatin1Char(' ') + noUndo() + QLatin1Char('\n') +
      QCoreApplication::translate("Merge",
                                  "No renames this album, keeping two albums of that name.");
  switch (ask(question, QCoreApplication::translate("Merge", "Merge"), Buttons::YesNoCancel,
              Icon::Question, DefaultButton::Refuse)) {
    case Answer::Yes:
      return merge(kind, *keep, code) ? RenameChoice::Merged : RenameChoice::Cancelled;
    case Answer::No: return RenameChoice::Rename;
    default: return RenameChoice::Cancelled;
  }
}

}  // namespace tracklore
