#include "ui/namedlg.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/help.h"
#include "ui/mergeoffer.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/recordplace.h"

namespace tracklore {

namespace {


void refuseEmpty() {
  ask(QCoreApplication::translate("Name",
                                  "A name cannot be empty or consist of blanks only.\nNothing has "
                                  "been changed."),
      QCoreApplication::translate("Name", "Invalid name"), Buttons::OK, Icon::Exclamation);
}

}  // namespace

bool typedName(const QString& text, Kind kind, std::string* out) {
  const std::string given = text.toStdString();
  const FullForm full = DB_FullForm(given);
  // Refused before any question about the rename is asked.
  if (full.text.empty()) {
    refuseEmpty();
    return false;
  }
  // Cutting it would keep another name than the one typed.
  if (full.cut) {
    ask(QCoreApplication::translate("Name",
                                    "The name has %1 characters, but %2 names hold at most %3.\n"
                                    "Nothing has been changed.")
            .arg(typedChars(given))
            .arg(kindName(kind, SingularForm))
            .arg(kFullNameChars),
        QCoreApplication::translate("Name", "Invalid name"), Buttons::OK, Icon::Exclamation);
    return false;
  }
  *out = full.text;
  return true;
}

void nameFailure(ErrorCode rc, const char* format) {
  if (rc == EmptyName)
    refuseEmpty();
  else
    warn(QCoreApplication::translate("Name", format)
             .arg(QString::fromStdString(DB_ReturnedText(rc))));
}

bool storeName(quill::Rlist& cursor, Kind kind, std::string text, QLineEdit* edit,
               CRecListBox* list, const char* format) {
  const ErrorCode rc = DB_RenameRecord(cursor, kind, text, true);
  if (rc != quill::Ok) {
    nameFailure(rc, format);
    return false;
  }
  const std::string stored = fieldText(cursor.field(F_Name));
  if (list != nullptr)
    list->reposition(&stored, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  const int caret = edit->cursorPosition();
  edit->setText(QString::fromStdString(DB_CurrentFullName(cursor, kind)));
  edit->setCursorPosition(caret);
  return true;
}

bool saveBeforeLeaving(const QLineEdit& edit, const std::function<void()>& save) {
  if (!edit.isModified()) return true;
  switch (ask(QCoreApplication::translate("Name",
                                          "Changes have been made to current record. Do you "
                                          "want to save them?"),
              QCoreApplication::translate("Name", "Save changes?"), Buttons::YesNoCancel,
              Icon::Question)) {
    case Answer::Yes: save(); return true;
    case Answer::No: return true;
    default: return false;
  }
}

CNameDlg::CNameDlg(CRecListBox* list, quill::Rlist& cursor, Kind kind, QWidget* parent)
    : QDialog(parent), list_(list), cursor_(cursor), kind_(kind) {
  setObjectName(QStringLiteral("CNameDlg"));
  addHelpKey(this, QStringLiteral("names"));
  createControls();
  layOut();
  connectControls();
  readonly_ = DB_IsReadOnly();
  edit_->setReadOnly(readonly_);
  offerEdit(modify_, true, readonly_);
  prompt_->setText(tr("Edit %1 name:").arg(kindName(kind_, SingularForm)));
  load();
}

void CNameDlg::createControls() {
  prompt_ = withid(new QLabel, IdPrompt);
  edit_ = withid(new QLineEdit, IdEdit);
  // A name too long is refused at Modify with its limit, never cut unseen.
  edit_->installEventFilter(this);
  edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * 50);
  prompt_->setBuddy(edit_);
  edit_->setAccessibleDescription(tr("The new name; OK renames the entry"));
  prev_ = plainButton(tr("&<"), IdPrevious);
  next_ = plainButton(tr("&>"), IdNext);
  modify_ = withid(new QPushButton(tr("&Modify")), IdModify);
  close_ = plainButton(tr("&Close"), IDCANCEL);
  modify_->setDefault(true);
}

void CNameDlg::layOut() {
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(prev_);
  buttons->addWidget(next_);
  buttons->addStretch(1);
  buttons->addWidget(modify_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CNameDlg::connectControls() {
  connect(modify_, &QPushButton::clicked, this, &CNameDlg::onModify);
  connect(prev_, &QPushButton::clicked, this, [this] { step(Qt::Key_Up); });
  connect(next_, &QPushButton::clicked, this, [this] { step(Qt::Key_Down); });
  connect(close_, &QPushButton::clicked, this, &CNameDlg::reject);
}

void CNameDlg::load() {
  setWindowTitle(list_->selectedRowText());
  edit_->setText(QString::fromStdString(list_->currentName()));
  edit_->end(false);
  edit_->setFocus();
  caretatend_ = !edit_->hasFocus();
}

bool CNameDlg::eventFilter(QObject* watched, QEvent* event) {
  // Showing the dialog focuses the edit as if tabbed into, which selects
  // the whole name; the caret belongs at its end, so that typing adds.
  if (watched == edit_ && event->type() == QEvent::FocusIn && caretatend_) {
    caretatend_ = false;
    QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(edit_, &plain);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CNameDlg::onModify() {
  if (readonly_) return;
  std::string text;
  if (!typedName(edit_->text(), kind_, &text)) {
    edit_->setFocus();
    return;
  }
  int32_t keep = -1;
  switch (offerMergeOnRename(kind_, cursor_.field(F_Code).aslong(), text, &keep)) {
    case RenameChoice::Cancelled: edit_->setFocus(); return;
    case RenameChoice::Merged: showMerged(keep); return;
    case RenameChoice::Rename: break;
  }
  const long n = cursor_.field(F_RefCount).aslong();
  if (n > 1 &&
      ask(tr("This %1 has %n album(s) referring to it. Are you sure you want to rename it?", nullptr,
             static_cast<int>(n))
              .arg(kindName(kind_, SingularForm)),
          tr("Confirm rename"), Buttons::OKCancel, Icon::Question) != Answer::OK)
    return;
  if (storeName(cursor_, kind_, std::move(text), edit_, list_,
                QT_TRANSLATE_NOOP("Name", "Record update failed; %1.")))
    setWindowTitle(list_->selectedRowText());
  edit_->setModified(false);
  edit_->setFocus();
}

// The record edited is gone: the list and the dialog go on with the one kept.
void CNameDlg::showMerged(int32_t keep) {
  BrowseSource* source = list_->source();
  if (source != nullptr && !standOnRecord(*source, kind_, keep)) (void)source->first();
  list_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  edit_->setModified(false);
  load();
}

bool CNameDlg::leavecheck() { return saveBeforeLeaving(*edit_, [this] { onModify(); }); }

void CNameDlg::step(int key) {
  if (list_ == nullptr || !leavecheck()) return;
  list_->pressKey(key);
  load();
}

void CNameDlg::reject() {
  if (!leavecheck()) return;
  done(IDCANCEL);
}

}  // namespace tracklore
