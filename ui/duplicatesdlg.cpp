#include "ui/duplicatesdlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/duplicates.h"
#include "catalogue/host.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "ui/dialogparts.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/mergeoffer.h"
#include "ui/platform.h"

namespace tracklore {

namespace {

// An entry's row: its name, then an artist's or song's uses, or an
// album's first artist and number of songs, and its code.
QString entryRow(int kind, const Duplicate& d) {
  const QString name = QString::fromStdString(d.name);
  if (kind != TitleTable) return QStringLiteral("%1  (%2)   #%3").arg(name).arg(d.uses).arg(d.code);
  const QString artist = d.artist.empty() ? QStringLiteral("--") : QString::fromStdString(d.artist);
  return CDuplicatesDlg::tr("%1  [%2, %3 songs]   #%4").arg(name, artist).arg(d.uses).arg(d.code);
}

}  // namespace

CDuplicatesDlg::CDuplicatesDlg(QWidget* parent, int kind) : QDialog(parent), kind_(kind) {
  setObjectName(QStringLiteral("CDuplicatesDlg"));
  addHelpKey(this, QStringLiteral("duplicates"));
  setWindowTitle(tr("Find duplicates"));
  kindbox_ = withid(new QComboBox, IdKindBox);
  for (int k = 0; k < 3; ++k) kindbox_->addItem(kindName(k, CapPluralForm));
  groups_ = withid(new QTreeWidget, IdGroups);
  groups_->setHeaderHidden(true);
  nameForReaders(kindbox_, tr("Kind"), tr("Whether artists, songs or albums are compared"));
  nameForReaders(groups_, tr("Likely duplicates"),
                 tr("Entries whose names differ only in case, accents, punctuation or "
                    "blanks, grouped, each with its uses"));
  groups_->setMinimumSize(groups_->fontMetrics().averageCharWidth() * 60,
                          groups_->fontMetrics().height() * 16);
  count_ = withid(new QLabel, IdCount);
  merge_ = plainButton(tr("&Merge into selected"), IdMergeGroup);
  close_ = plainButton(tr("&Close"), IDCANCEL);

  QHBoxLayout* top = captionedRow(tr("Show below:"), kindbox_);
  QVBoxLayout* buttons = actionAndClose(merge_, close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(count_);
  layout->addLayout(besideButtons(groups_, buttons));

  connect(kindbox_, &QComboBox::activated, this, [this](int index) {
    if (index < 0) return;
    kind_ = index;
    fill();
  });
  connect(groups_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
  connect(merge_, &QPushButton::clicked, this, &CDuplicatesDlg::onMerge);
  connect(close_, &QPushButton::clicked, this, &CDuplicatesDlg::reject);
  keepGeometry(this);
  kindbox_->setCurrentIndex(kind_);
  fill();
}

void CDuplicatesDlg::fill() {
  std::vector<DuplicateGroup> found;
  {
    WaitCursor wait;
    found = DB_FindDuplicates(kindoftable(kind_));
  }
  groups_->clear();
  for (const DuplicateGroup& group : found) {
    auto* top = new QTreeWidgetItem(groups_, {QString::fromStdString(group.front().name)});
    for (const Duplicate& d : group) {
      auto* entry = new QTreeWidgetItem(top, {entryRow(kind_, d)});
      entry->setData(0, Qt::UserRole, static_cast<qlonglong>(d.code));
    }
    top->setExpanded(true);
  }
  const QString plural = kindName(kind_, PluralForm);
  if (found.empty())
    count_->setText(tr("No %1 with names alike.").arg(plural));
  else
    count_->setText(tr("%1 %2 of %3 with names alike; select the one to keep.")
                        .arg(found.size())
                        .arg(found.size() == 1 ? tr("group") : tr("groups"), plural));
  updateButtons();
}

void CDuplicatesDlg::updateButtons() {
  const QTreeWidgetItem* item = groups_->currentItem();
  merge_->setEnabled(!DB_IsReadOnly() && item != nullptr && item->parent() != nullptr);
}

void CDuplicatesDlg::onMerge() {
  const QTreeWidgetItem* item = groups_->currentItem();
  if (DB_IsReadOnly() || item == nullptr || item->parent() == nullptr) return;
  const int32_t keep = static_cast<int32_t>(item->data(0, Qt::UserRole).toLongLong());
  std::vector<int32_t> others;
  const QTreeWidgetItem* group = item->parent();
  for (int i = 0; i < group->childCount(); ++i) {
    const int32_t code = static_cast<int32_t>(group->child(i)->data(0, Qt::UserRole).toLongLong());
    if (code != keep) others.push_back(code);
  }
  // Shown again also after a failure: the merges before it were done.
  confirmMerge(kindoftable(kind_), keep, others);
  fill();
}

}  // namespace tracklore
