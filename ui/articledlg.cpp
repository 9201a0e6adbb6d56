#include "ui/articledlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/edits.h"
#include "catalogue/host.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "engine/keys.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/founddlg.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/maindlg.h"
#include "ui/mergeoffer.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/recordplace.h"

namespace tracklore {

CArticleDlg::CArticleDlg(CRecListBox* caller, quill::Rlist& titlecursor, Rel initial,
                         QWidget* parent)
    : QDialog(parent), caller_(caller), title_(titlecursor) {
  setObjectName(QStringLiteral("CArticleDlg"));
  addHelpKey(this, QStringLiteral("album"));
  setWindowTitle(tr("Article detail"));
  createControls();
  layOut();
  connectControls();
  fill(relationindex(initial));
}

void CArticleDlg::createControls() {
  name_ = withid(new QLineEdit, IdName);
  modify_ = plainButton(tr("&Modify"), IdModify);
  prev_ = plainButton(tr("< Pre&vious"), IdPrevious);
  next_ = plainButton(tr("Nex&t >"), IdNext);
  contentbox_ = withid(new QComboBox, IdContentBox);
  prevcontent_ = plainButton(tr("&<"), IdPrevContent);
  nextcontent_ = plainButton(tr("&>"), IdNextContent);
  makeNarrow(prevcontent_);
  makeNarrow(nextcontent_);
  list_ = withid(new CRecListBox, IdList);
  nameForReaders(name_, tr("Album name"), tr("The album's name; Modify changes it"));
  nameForReaders(contentbox_, tr("Album list shown"),
                 tr("Whether the list below shows the album's artists or its songs"));
  insert_ = plainButton(tr("&Insert..."), IdInsert);
  remove_ = plainButton(tr("&Remove"), IdRemove);
  rename_ = plainButton(tr("Re&name..."), IdRename);
  xref_ = plainButton(tr("&X-Ref"), IdXref);
  xref_->setDefault(true);
  up_ = plainButton(tr("&Up"), IdUp);
  down_ = plainButton(tr("D&own"), IdDown);
  close_ = plainButton(tr("&Close"), IDCANCEL);
}

void CArticleDlg::layOut() {
  auto* namebox = new QGroupBox(tr("Record name"));
  auto* namerow = new QHBoxLayout(namebox);
  namerow->addWidget(name_, 1);
  namerow->addWidget(modify_);

  QHBoxLayout* contentrow =
      captionedRow(tr("Show below:"), contentbox_, {prevcontent_, nextcontent_});

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {insert_, remove_, rename_, xref_}) buttons->addWidget(b);
  buttons->addSpacing(12);
  buttons->addWidget(up_);
  buttons->addWidget(down_);
  buttons->addStretch(1);

  auto* left = new QVBoxLayout;
  left->addLayout(contentrow);
  left->addWidget(list_);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(prev_);
  bottom->addWidget(next_);
  bottom->addStretch(1);
  bottom->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(namebox);
  layout->addSpacing(4);
  layout->addLayout(besideButtons(left, buttons));
  layout->addSpacing(4);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  setTabOrder(name_, modify_);
  setTabOrder(modify_, contentbox_);
  setTabOrder(contentbox_, prevcontent_);
  setTabOrder(prevcontent_, nextcontent_);
  setTabOrder(nextcontent_, list_);
  setTabOrder(list_, insert_);
  setTabOrder(insert_, remove_);
  setTabOrder(remove_, rename_);
  setTabOrder(rename_, xref_);
  setTabOrder(xref_, up_);
  setTabOrder(up_, down_);
  setTabOrder(down_, prev_);
  setTabOrder(prev_, next_);
  setTabOrder(next_, close_);
}

void CArticleDlg::connectControls() {
  connect(modify_, &QPushButton::clicked, this, &CArticleDlg::onModify);
  connect(prev_, &QPushButton::clicked, this, [this] { onStep(Qt::Key_Up); });
  connect(next_, &QPushButton::clicked, this, [this] { onStep(Qt::Key_Down); });
  connect(contentbox_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) selectContent(index);
  });
  connect(prevcontent_, &QPushButton::clicked, this,
          [this] { selectContent(cycled(content(), contentbox_->count(), -1)); });
  connect(nextcontent_, &QPushButton::clicked, this,
          [this] { selectContent(cycled(content(), contentbox_->count(), 1)); });
  connect(insert_, &QPushButton::clicked, this, [this] { onInsert({}); });
  connect(remove_, &QPushButton::clicked, this, &CArticleDlg::onRemove);
  connect(rename_, &QPushButton::clicked, this, &CArticleDlg::onRename);
  connect(xref_, &QPushButton::clicked, this, &CArticleDlg::onXref);
  connect(up_, &QPushButton::clicked, this, [this] { onMove(true); });
  connect(down_, &QPushButton::clicked, this, [this] { onMove(false); });
  connect(close_, &QPushButton::clicked, this, &CArticleDlg::reject);
  // A click in the list moves the selection without a notification.
  connect(list_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
}

void CArticleDlg::fill(int initial) {
  contentbox_->addItem(kindName(ArtistTable, CapPluralForm));
  contentbox_->addItem(kindName(SongTable, CapPluralForm));
  name_->setMinimumWidth(name_->fontMetrics().averageCharWidth() * 40);
  const bool several = contentbox_->count() > 1;
  prevcontent_->setEnabled(several);
  nextcontent_->setEnabled(several);
  readonly_ = DB_IsReadOnly();
  offerEdit(modify_, true, readonly_);
  name_->setReadOnly(readonly_);

  keepGeometry(this);
  showRecord(initial);
  list_->setNotify([this](ListAction action, const std::string& text) { onNotify(action, text); });
  list_->setFocus();
}

CArticleDlg::~CArticleDlg() { list_->bind(nullptr, false, 0); }

int CArticleDlg::content() const { return std::max(contentbox_->currentIndex(), 0); }

void CArticleDlg::showRecord(int which) {
  if (caller_ == nullptr || !caller_->hasRows()) return;
  name_->setText(QString::fromStdString(caller_->currentName()));
  code_ = caller_->currentCode();
  // The counts are in the selector below, where they are kept up to date.
  setWindowTitle(QString::fromStdString(CFoundDlg::albumTitle(title_)));
  selectContent(which == -1 ? content() : which);
}

void CArticleDlg::selectContent(int which) {
  contentbox_->setCurrentIndex(which);
  nameForReaders(list_, tr("Album %1").arg(kindName(attrtable(which), PluralForm)),
                 tr("In the album's order; Insert adds, Remove takes away"));
  list_->bind(nullptr, false, 0);
  source_ = DB_GetArticleAttributes(which, code_);
  list_->bind(source_.get(), false, 2);
  list_->fill(true, 0);
  updateButtons();
}

// How many artists and songs the album holds, in the selector of what is
// shown below, so that both are seen at once.
void CArticleDlg::showCounts() {
  for (int r = 0; r < contentbox_->count(); ++r)
    contentbox_->setItemText(r, QStringLiteral("%1 (%2)")
                                    .arg(kindName(attrtable(r), CapPluralForm))
                                    .arg(DB_CountRows(r, code_)));
  list_->setToolTip(usesHint(attrtable(content())));
}

void CArticleDlg::updateButtons() {
  showCounts();
  const int rows = list_->count();
  const int row = list_->currentRow();
  const bool albums = DB_Table(TitleTable).nlive() > 0;
  offerEdit(insert_, albums, readonly_);
  offerEdit(remove_, albums && row != -1, readonly_);
  offerEdit(rename_, albums && row != -1, readonly_);
  xref_->setEnabled(albums && row != -1);
  offerEdit(up_, albums && row >= 1 && row < rows, readonly_);
  offerEdit(down_, albums && row < rows - 1, readonly_);
  list_->setFocus();
}

bool CArticleDlg::leaveRecord() {
  bool changed = false;
  if (DB_UpdateOKField(title_, &changed) == quill::Ok && changed && caller_ != nullptr)
    caller_->reposition(nullptr, CRecListBox::Search::Keep, CRecListBox::kSelectedRow);
  return saveBeforeLeaving(*name_, [this] { onModify(); });
}

void CArticleDlg::onModify() {
  std::string text;
  if (!typedName(name_->text(), TitleTable, &text)) {
    name_->setFocus();
    return;
  }
  int32_t keep = -1;
  switch (offerMergeOnRename(Kind::Album, code_, text, &keep)) {
    case RenameChoice::Cancelled: name_->setFocus(); return;
    case RenameChoice::Merged: showMerged(keep); return;
    case RenameChoice::Rename: break;
  }
  if (storeName(title_, TitleTable, std::move(text), name_, caller_,
                QT_TRANSLATE_NOOP("Name", "Update failed; %1.")) &&
      caller_ != nullptr)
    // The counts are in the selector below, where they are kept up to date.
  setWindowTitle(QString::fromStdString(CFoundDlg::albumTitle(title_)));
  name_->setModified(false);
  list_->setFocus();
}

// This album went into the one kept, which the dialog shows from now on.
void CArticleDlg::showMerged(int32_t keep) {
  name_->setModified(false);
  if (caller_ == nullptr || caller_->source() == nullptr) return;
  if (!standOnRecord(*caller_->source(), TitleTable, keep)) (void)caller_->source()->first();
  caller_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  showRecord(-1);
}

void CArticleDlg::onStep(int key) {
  if (caller_ == nullptr || !leaveRecord()) return;
  caller_->pressKey(key);
  showRecord(-1);
}

void CArticleDlg::reject() {
  if (!leaveRecord()) return;
  done(IDCANCEL);
}

void CArticleDlg::onXref() {
  if (list_->currentRow() < 0 || !list_->hasRows()) return;
  target_ = {content(), list_->currentCode()};
  done(ResultTarget);
}

void CArticleDlg::onInsert(const std::string& typed) {
  if (readonly_) return;
  const int kind = attrkind(content());
  int result;
  int32_t picked;
  {
    CMainDlg picker(this, kind, true, typed);
    result = runModal(picker);
    picked = picker.resultCode();
  }
  if (result != ResultInsert && result != ResultAppend) {
    list_->setFocus();
    return;
  }
  DB_Host().drain();
  WaitCursor wait;
  int position = -1;
  if (result == ResultInsert && source_->valid()) position = source_->rows().field(F_Seq).asint();
  // The new entry stands as low as the keys could have brought it.
  showEdit(DB_AddLink(*source_, code_, position, picked, title_), CRecListBox::kLowestKeptRow,
           tr("Insertion failed; %1."));
}

void CArticleDlg::onRemove() {
  if (readonly_ || list_->currentRow() < 0 || !list_->hasRows()) return;
  const std::string name = list_->currentName();
  if (ask(tr("Are you sure you want to remove %1 \"%2\" from this %3?")
              .arg(kindName(attrkind(content()), SingularForm), QString::fromStdString(name),
                   kindName(TitleTable, SingularForm)),
          tr("Confirm delete"), Buttons::OKCancel, Icon::Question,
          DefaultButton::Refuse) != Answer::OK)
    return;
  DB_Host().drain();
  WaitCursor wait;
  showEdit(DB_RemoveLink(*source_, title_, PurgeMode::Ask), CRecListBox::kSelectedRow,
           tr("Remove failed; %1."));
}

void CArticleDlg::onRename() {
  if (readonly_ || list_->currentRow() < 0 || !list_->hasRows()) return;
  CNameDlg dialog(list_, source_->cursor(), attrkind(content()), this);
  runModal(dialog);
  // A rename may have merged the entry into another, rewriting this album's
  // first artist behind the album cursor, whose record is written on leaving.
  (void)title_.load(quill::Rlist::Force::Yes);  // an unreadable album shows as unloaded
  list_->setFocus();
}

void CArticleDlg::onMove(bool up) {
  if (readonly_ || list_->currentRow() < 0 || !list_->hasRows()) return;
  showEdit(DB_MoveLink(*source_, up ? LinkMove::Up : LinkMove::Down, title_),
           CRecListBox::kSelectedRow, up ? tr("Move-up failed; %1.") : tr("Move-down failed; %1."));
}

void CArticleDlg::showEdit(ErrorCode rc, int row, const QString& failed) {
  if (rc == quill::Ok) {
    list_->reposition(nullptr, CRecListBox::Search::Clear, row);
    updateButtons();
  } else {
    warn(failed.arg(QString::fromStdString(DB_ReturnedText(rc))));
  }
}

void CArticleDlg::onNotify(ListAction action, const std::string& text) {
  switch (action) {
    case ListAction::EnterKey: onXref(); break;
    case ListAction::Moved: updateButtons(); break;
    case ListAction::InsertKey:
      onInsert(text);
      break;
    case ListAction::DeleteKey: onRemove(); break;
    default: break;
  }
}

bool runArticle(CRecListBox* list, quill::Rlist& cursor, QWidget* parent, XrefTarget* target) {
  CArticleDlg dialog(list, cursor, Rel::Songs, parent);
  if (runModal(dialog) != ResultTarget) return false;
  *target = {dialog.resultAttr(), dialog.resultCode()};
  return true;
}

}  // namespace tracklore
