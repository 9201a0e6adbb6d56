#include "ui/searchdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "catalogue/schema.h"
#include "catalogue/search.h"
#include "catalogue/searchfold.h"
#include "catalogue/tableset.h"
#include "ui/articledlg.h"
#include "ui/dialogparts.h"
#include "ui/founddlg.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/reclistbox.h"

namespace tracklore {

CSearchDlg::CSearchDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CSearchDlg"));
  setWindowTitle(tr("Search"));
  addHelpKey(this, QStringLiteral("search"));
  createControls();
  layOut();
  keepGeometry(this);
  connectControls();
  updateButtons();
}

CSearchDlg::~CSearchDlg() {
  // The lists must not outlive their sources.
  for (CRecListBox* list : lists_) list->bind(nullptr, false, 0);
}

void CSearchDlg::createControls() {
  text_ = withid(new QLineEdit, IdText);
  text_->setPlaceholderText(tr("Words of a name"));
  text_->setToolTip(tr("Finds every album, artist and song whose name has each word at the "
                       "start of one of its words, whatever the case, accents or script"));
  find_ = withid(new QPushButton(tr("&Find")), IdFind);
  find_->setAutoDefault(false);
  tabs_ = withid(new QTabWidget, IdTabs);
  for (int kind = TitleTable; kind <= SongTable; ++kind) {
    lists_[kind] = withid(new CRecListBox, IdList + kind);
    tabs_->addTab(lists_[kind], kindName(kind, CapPluralForm));
    nameForReaders(lists_[kind], tr("%1 found").arg(kindName(kind, CapPluralForm)),
                   tr("Enter opens the selected entry"));
  }
  nameForReaders(tabs_, tr("Results"), tr("What was found, one page per kind"));
  outcome_ = withid(new QLabel, IdOutcome);
  open_ = withid(new QPushButton(tr("&Open")), IdOpen);
  open_->setAutoDefault(false);
  close_ = withid(new QPushButton(tr("&Close")), IDCANCEL);
  close_->setAutoDefault(false);
}

void CSearchDlg::layOut() {
  QHBoxLayout* line = captionedRow(tr("&Search for:"), text_, {find_});
  QVBoxLayout* buttons = actionAndClose(open_, close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(line);
  layout->addLayout(besideButtons(tabs_, buttons));
  layout->addWidget(outcome_);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void CSearchDlg::connectControls() {
  connect(text_, &QLineEdit::returnPressed, this, &CSearchDlg::find);
  connect(find_, &QPushButton::clicked, this, &CSearchDlg::find);
  connect(open_, &QPushButton::clicked, this, &CSearchDlg::open);
  connect(close_, &QPushButton::clicked, this, &CSearchDlg::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { updateButtons(); });
  for (int kind = TitleTable; kind <= SongTable; ++kind) {
    lists_[kind]->setNotify([this](ListAction action, const std::string&) {
      if (action == ListAction::EnterKey) open();
    });
  }
  lists_[TitleTable]->setFormatter(
      [this] { return CFoundDlg::albumRow(sources_[TitleTable]->cursor()); });
}

void CSearchDlg::find() {
  const std::vector<std::string> words = DB_SearchWords(text_->text().toStdString());
  if (words.empty()) {
    outcome_->setText(tr("Type a word with a letter or a digit."));
    return;
  }
  // The first search after a change reads every name again: a few seconds
  // for a million songs.
  WaitCursor wait;
  int shown = -1;
  size_t total = 0;
  for (int kind = TitleTable; kind <= SongTable; ++kind) {
    std::vector<int32_t> codes;
    (void)DB_SearchCodes(words, kindoftable(kind), &codes);  // none when the search fails
    lists_[kind]->bind(nullptr, false, 0);
    sources_[kind] = std::make_unique<CodeList>(DB_Table(kind), std::move(codes));
    const size_t found = sources_[kind]->codes().size();
    total += found;
    // Albums show their first artist; artists and songs their number of uses.
    lists_[kind]->bind(sources_[kind].get(), false, kind == TitleTable ? 0 : F_RefCount);
    lists_[kind]->fill(true, 0);
    tabs_->setTabText(kind,
                      QStringLiteral("%1 (%2)").arg(kindName(kind, CapPluralForm)).arg(found));
    if (shown < 0 && found > 0) shown = kind;
  }
  outcome_->setText(total == 0 ? tr("Nothing found.") : tr("%1 found.").arg(total));
  if (shown >= 0) {
    tabs_->setCurrentIndex(shown);
    lists_[shown]->setFocus();
  }
  updateButtons();
}

int CSearchDlg::currentKind() const { return tabs_->currentIndex(); }

void CSearchDlg::updateButtons() {
  const int kind = currentKind();
  open_->setEnabled(kind >= 0 && lists_[kind]->hasRows());
  open_->setText(kind == TitleTable ? tr("&Open") : tr("&X-Ref"));
}

void CSearchDlg::open() {
  const int kind = currentKind();
  CRecListBox* list = lists_[kind];
  if (kind < 0 || !list->hasRows()) return;
  list->setFocus();
  if (kind != TitleTable) {
    target_ = {relationof(kind), list->currentCode()};
    done(ResultTarget);
    return;
  }
  if (runArticle(list, sources_[kind]->cursor(), this, &target_)) done(ResultTarget);
}

void CSearchDlg::reject() { done(IDCANCEL); }

}  // namespace tracklore
