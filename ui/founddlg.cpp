#include "ui/founddlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "catalogue/albumsbyname.h"
#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/text.h"
#include "ui/articledlg.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"

namespace tracklore {

std::string CFoundDlg::albumTitle(quill::Rlist& album) {
  const std::string name = shownName(album);
  std::string mark = DB_StoredToUtf8(fieldText(album.field(F_OKField)));
  if (!mark.empty() && mark[0] == ' ') mark.clear();
  std::string artist = DB_FirstArtistName(album);
  if (artist.empty()) artist = "--";
  return textf("%s %s / %s", name.c_str(), mark.c_str(), artist.c_str());
}

std::string CFoundDlg::albumRow(quill::Rlist& album) {
  const int songs = album.valid() ? DB_CountRows(1, album.field(F_Code).aslong()) : 0;
  const QString count = songs == 1 ? tr("(%1 song)") : tr("(%1 songs)");
  return albumTitle(album) + "  " + count.arg(songs).toStdString();
}

CFoundDlg::CFoundDlg(int attr, int32_t code, QWidget* parent)
    : QDialog(parent), attr_(attr), code_(code) {
  setObjectName(QStringLiteral("CFoundDlg"));
  addHelpKey(this, QStringLiteral("found"));
  createControls();
  layOut();
  keepGeometry(this);
  connectControls();
  fill();
}

void CFoundDlg::createControls() {
  label_ = withid(new QLabel(tr("Items found")), IdLabel);
  list_ = withid(new CRecListBox, IdList);
  label_->setBuddy(list_);
  nameForReaders(list_, tr("Albums found"), tr("The albums that use the entry, by name"));
  view_ = withid(new QPushButton(tr("&View")), IdView);
  view_->setDefault(true);
  close_ = withid(new QPushButton(tr("&Close")), IDCANCEL);
  close_->setAutoDefault(false);
}

void CFoundDlg::layOut() {
  QVBoxLayout* buttons = actionAndClose(view_, close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(besideButtons(list_, buttons));
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void CFoundDlg::connectControls() {
  connect(view_, &QPushButton::clicked, this, [this] { onView(true); });
  connect(close_, &QPushButton::clicked, this, &CFoundDlg::reject);
  list_->setNotify([this](ListAction action, const std::string&) {
    if (action == ListAction::EnterKey) onView(false);
  });
  list_->setFormatter([this] { return albumRow(source_->cursor()); });
}

void CFoundDlg::fill() {
  const Kind kind = attrkind(attr_);
  char name[kNameBuffer];
  (void)DB_GetName(name, kindtable(kind), code_);  // "<not found>" when it fails
  source_ = DB_AlbumsInNameOrder(attr_, code_);
  const long albums = source_->span();
  setWindowTitle(
      tr("Albums containing %1 \"%2\" [%3]")
          .arg(kindName(kind, SingularForm), QString::fromStdString(DB_FullName(kind, code_, name)))
          .arg(albums));
  label_->setText(tr("Albums found:"));
  list_->bind(source_.get(), false, 3);
  list_->fill(true, 0);
  list_->setFocus();
  view_->setEnabled(list_->hasRows());
}

CFoundDlg::~CFoundDlg() { list_->bind(nullptr, false, 0); }

void CFoundDlg::reject() { done(IDCANCEL); }

void CFoundDlg::onView(bool button) {
  if (button) list_->setFocus();
  if (list_->currentRow() < 0) return;
  if (runArticle(list_, source_->cursor(), this, &target_)) {
    done(ResultTarget);
    return;
  }
  view_->setEnabled(list_->hasRows());
}

namespace {

// To the right of the window, or to its left where the screen ends.
void placeBeside(QDialog& dialog, const QWidget* beside) {
  const QRect anchor = beside->frameGeometry();
  const QScreen* screen = beside->screen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
  QPoint at = anchor.topRight() + QPoint(1, 0);
  if (room.isValid() && at.x() + dialog.width() > room.right())
    at.setX(std::max(room.left(), anchor.left() - dialog.width() - 1));
  dialog.move(at);
}

}  // namespace

void runFoundLists(QWidget* beside, XrefTarget target) {
  int result;
  do {
    CFoundDlg found(target.attr, target.code, beside);
    placeBeside(found, beside);
    result = runModal(found);
    target = {found.resultAttr(), found.resultCode()};
  } while (result == ResultTarget);
}

}  // namespace tracklore
