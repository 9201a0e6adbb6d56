#include "ui/founddlg.h"

#include <algorithm>
#include <cstring>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/schema.h"
#include "catalogue/text.h"
#include "ui/articledlg.h"
#include "ui/codec.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"

namespace tracklore {

namespace {

std::string fieldtext(quill::Field& field) {
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(std::max(field.length(), 0))));
}

}  // namespace

std::string CFoundDlg::albumRow(quill::Rlist& album) {
  const std::string name = fieldtext(album.field(F_Name));
  std::string mark = fieldtext(album.field(F_OKField));
  if (!mark.empty() && mark[0] == ' ') mark.clear();
  const int32_t artist = album.field(F_AuxAttr).aslong();
  if (artist == -1) return textf("%s %s / --", name.c_str(), mark.c_str());
  char buffer[kNameBuffer];
  DB_GetName(buffer, ArtistTable, artist);
  return textf("%s %s / %s", name.c_str(), mark.c_str(), buffer);
}

CFoundDlg::CFoundDlg(int attr, int32_t code, QWidget* parent)
    : QDialog(parent), attr_(attr), code_(code) {
  setObjectName(QStringLiteral("CFoundDlg"));
  addHelpKey(this, QStringLiteral("found"));
  label_ = withid(new QLabel(tr("Items found")), 1023);
  list_ = withid(new CRecListBox, 1035);
  label_->setBuddy(list_);
  view_ = withid(new QPushButton(tr("&View")), 1036);
  view_->setDefault(true);
  close_ = withid(new QPushButton(tr("&Close")), IDCANCEL);
  close_->setAutoDefault(false);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(view_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  auto* middle = new QHBoxLayout;
  middle->addWidget(list_, 1);
  middle->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(middle);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  keepGeometry(this);
  connect(view_, &QPushButton::clicked, this, [this] { onView(true); });
  connect(close_, &QPushButton::clicked, this, &CFoundDlg::reject);

  const int kind = attr_ + 1;
  char name[kNameBuffer];
  DB_GetName(name, kind, code_);
  source_ = DB_GetArticlesFromAttribute(attr_, code_);
  // The albums of one artist or song are few enough to count.
  long albums = 0;
  if (source_->first() == 0) {
    do ++albums;
    while (source_->skip(1) == 0);
  }
  setWindowTitle(fromStored(textf("%s containing %s \"%s\" [%ld]",
                                  KindNames[TitleTable][CapPluralForm],
                                  KindNames[kind][SingularForm], name, albums)));
  label_->setText(QStringLiteral("%1 found:").arg(QString::fromLatin1(KindNames[TitleTable][CapPluralForm])));
  list_->setNotify([this](ListAction action, const std::string&) {
    if (action == ListAction::EnterKey) onView(false);
  });
  list_->setFormatter([this] { return albumRow(source_->cursor()); });
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
  CArticleDlg dialog(list_, source_->cursor(), 1, this);
  if (runModal(dialog) == ResultTarget) {
    resultattr_ = dialog.resultAttr();
    resultcode_ = dialog.resultCode();
    done(ResultTarget);
    return;
  }
  view_->setEnabled(list_->hasRows());
}

}  // namespace tracklore
