#include "ui/maindlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/edits.h"
#include "catalogue/findname.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "ui/articledlg.h"
#include "ui/browseplace.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/founddlg.h"
#include "ui/geometry.h"
#include "ui/help.h"
#include "ui/mergeoffer.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/recordplace.h"

namespace tracklore {

namespace {

bool g_enterappends = true;

// The search text as shown: a typed space would be invisible at the end.
QString shown(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1Char(' '), QLatin1Char('_'));
  return s;
}

}  // namespace

bool CMainDlg::enterAppends() { return g_enterappends; }
void CMainDlg::setEnterAppends(bool on) { g_enterappends = on; }

CMainDlg::CMainDlg(QWidget* parent, Kind kind, bool pick, std::string first)
    : QDialog(parent), kind_(kind), pick_(pick), first_(std::move(first)) {
  setObjectName(QStringLiteral("CMainDlg"));
  addHelpKey(this, QStringLiteral("browse"));
  createControls();
  layOut();
  for (const Kind k : kKinds) kindbox_->addItem(kindName(k, CapPluralForm));
  list_->setNotify([this](ListAction action, const std::string& text) { onNotify(action, text); });
  list_->installEventFilter(this);
  setMode();
  connectControls();

  keepGeometry(this);
  kindbox_->setCurrentIndex(kindtable(kind_));
  populate();
  if (pick_)
    for (const char32_t c : QString::fromStdString(first_).toUcs4()) list_->typeChar(c);
  else
    keepPlace();
}

// Browsing starts on the entry it was left on, and is left for the next time.
void CMainDlg::keepPlace() {
  const BrowsePlace place = rememberedBrowsePlace();
  if (place.kind == kind_ && place.code >= 0 && standOnRecord(*source_, kind_, place.code))
    list_->reposition(nullptr, CRecListBox::Search::Keep, CRecListBox::kSelectedRow);
}

void CMainDlg::createControls() {
  kindbox_ = withid(new QComboBox, IdKindBox);
  prevkind_ = plainButton(tr("&<"), IdPrevKind);
  nextkind_ = plainButton(tr("&>"), IdNextKind);
  makeNarrow(prevkind_);
  makeNarrow(nextkind_);
  appends_ = withid(new QCheckBox(tr("&Enter key selects && appends after new item creation")),
                    IdAppends);
  newlabel_ = withid(new QLabel(tr("New item")), IdNewItem);
  QFont bold = newlabel_->font();
  bold.setBold(true);
  newlabel_->setFont(bold);
  newlabel_->setForegroundRole(QPalette::Link);
  searchview_ = withid(new QLabel, IdSearchView);
  searchview_->setTextFormat(Qt::RichText);
  searchview_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  searchview_->setAutoFillBackground(true);
  searchview_->setFocusPolicy(Qt::NoFocus);
  searchview_->setEnabled(false);
  searchview_->setMinimumHeight(searchview_->fontMetrics().height() + 8);
  searchview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  notice_ = new QLabel;
  notice_->setObjectName(kNoticeName);
  notice_->setWordWrap(true);
  notice_->hide();
  list_ = withid(new CRecListBox, IdList);
  nameForReaders(kindbox_, tr("View"), tr("Whether the list shows albums, artists or songs"));
  view_ = plainButton(tr("&View/Modify"), IdView);
  xref_ = plainButton(tr("&X-ref"), IdXref);
  append_ = plainButton(tr("Select && &append"), IdAppend);
  insert_ = plainButton(tr("Select && &insert"), IdInsert);
  create_ = plainButton(tr("Create &New"), IdCreate);
  delete_ = plainButton(tr("&Delete"), IdDelete);
  merge_ = plainButton(tr("&Merge..."), IdMerge);
  mergenote_ = new QLabel;
  mergenote_->setObjectName(kMergeNoteName);
  mergenote_->setWordWrap(true);
  mergenote_->hide();
  close_ = plainButton(tr("&Close"), IDCANCEL);
}

void CMainDlg::layOut() {
  auto* kindlabel = new QLabel(tr("Show below:"));
  kindlabel->setBuddy(kindbox_);
  auto* searchlabel = new QLabel(tr("Type search text:"));
  // "New item" comes and goes without moving the search display.
  QSizePolicy keep = newlabel_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  newlabel_->setSizePolicy(keep);

  auto* grid = new QGridLayout;
  grid->addWidget(kindlabel, 0, 0);
  auto* kindrow = new QHBoxLayout;
  kindrow->addWidget(kindbox_, 1);
  kindrow->addWidget(prevkind_);
  kindrow->addWidget(nextkind_);
  grid->addLayout(kindrow, 0, 1);
  grid->addWidget(searchlabel, 1, 0);
  auto* searchrow = new QHBoxLayout;
  searchrow->addWidget(searchview_, 1);
  searchrow->addWidget(newlabel_);
  grid->addLayout(searchrow, 1, 1);
  grid->addWidget(notice_, 2, 1);
  grid->addWidget(mergenote_, 3, 1);
  grid->setColumnStretch(1, 1);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {view_, xref_, append_, insert_, create_, delete_, merge_})
    buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(close_);

  auto* left = new QVBoxLayout;
  left->addWidget(list_);
  left->addWidget(appends_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(4);
  layout->addLayout(besideButtons(left, buttons));
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  setTabOrder(list_, view_);
  setTabOrder(view_, xref_);
  setTabOrder(xref_, append_);
  setTabOrder(append_, insert_);
  setTabOrder(insert_, create_);
  setTabOrder(create_, delete_);
  setTabOrder(delete_, merge_);
  setTabOrder(merge_, close_);
  setTabOrder(close_, kindbox_);
  setTabOrder(kindbox_, prevkind_);
  setTabOrder(prevkind_, nextkind_);
  setTabOrder(nextkind_, appends_);
}

// A picker keeps its kind and offers the enter-appends setting.
void CMainDlg::setMode() {
  if (pick_) {
    kindbox_->setEnabled(false);
    prevkind_->setEnabled(false);
    nextkind_->setEnabled(false);
    appends_->setEnabled(true);
    appends_->setVisible(true);
    appends_->setChecked(g_enterappends);
  } else {
    appends_->setEnabled(false);
    appends_->setVisible(false);
  }
}

void CMainDlg::connectControls() {
  connect(kindbox_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) setkind(kindoftable(index));
  });
  connect(prevkind_, &QPushButton::clicked, this,
          [this] { setkind(kindoftable(cycled(kindtable(kind_), kindbox_->count(), -1))); });
  connect(nextkind_, &QPushButton::clicked, this,
          [this] { setkind(kindoftable(cycled(kindtable(kind_), kindbox_->count(), 1))); });
  connect(appends_, &QCheckBox::toggled, this, [this](bool on) {
    g_enterappends = on;
    list_->setFocus();
  });
  connect(xref_, &QPushButton::clicked, this, &CMainDlg::onXref);
  connect(view_, &QPushButton::clicked, this, &CMainDlg::onView);
  connect(insert_, &QPushButton::clicked, this, [this] { onSelect(ResultInsert); });
  connect(append_, &QPushButton::clicked, this, [this] { onSelect(ResultAppend); });
  connect(create_, &QPushButton::clicked, this, [this] { onCreate(true); });
  connect(delete_, &QPushButton::clicked, this, &CMainDlg::onDelete);
  connect(merge_, &QPushButton::clicked, this, &CMainDlg::onMerge);
  connect(close_, &QPushButton::clicked, this, &CMainDlg::reject);
}

CMainDlg::~CMainDlg() {
  if (!pick_) rememberBrowsePlace({kind_, list_->hasRows() ? list_->currentCode() : -1});
  // The list must not outlive its source.
  list_->bind(nullptr, false, 0);
}

void CMainDlg::reject() { done(IDCANCEL); }

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // The list takes no text typed with Alt (the dialog's mnemonics).
    if (!(key->modifiers() & Qt::AltModifier)) explainRefusal(key->text());
  }
  return QDialog::eventFilter(watched, event);
}

void CMainDlg::explainRefusal(const QString& typed) {
  // The list only beeps at what it cannot take; say why here.
  if (list_->source() == nullptr) return;
  for (QChar ch : typed) {
    if (ch.unicode() < 32) continue;
    if (typedChars(list_->searchText()) >= kFullNameChars) {
      notice_->setText(tr("Names hold at most %1 characters.").arg(kFullNameChars));
      notice_->show();
      return;
    }
  }
}

bool CMainDlg::readonly() const { return DB_IsReadOnly(); }

void CMainDlg::setkind(Kind kind) {
  kind_ = kind;
  setMergeFrom(-1);
  keepGeometry(this);
  kindbox_->setCurrentIndex(kindtable(kind_));
  populate();
}

void CMainDlg::populate() {
  nameForReaders(list_, kindName(kind_, CapPluralForm),
                 tr("Type the start of a name to find it; Enter opens the selected entry"));
  showTitle();
  list_->bind(nullptr, false, 0);
  source_ = std::make_unique<FullTable>(DB_Table(kindtable(kind_)));
  (void)source_->select(T_Name);  // a tag of the schema
  // Albums of one name are told apart by their first artist and songs.
  if (kind_ == Kind::Album)
    list_->setFormatter([this] { return CFoundDlg::albumRow(source_->cursor()); });
  else
    list_->setFormatter({});
  list_->setToolTip(kind_ == Kind::Album ? QString() : usesHint(kind_));
  list_->bind(source_.get(), true, 2);
  list_->fill(true, 0);
  list_->setFocus();
  update(ListAction::Found, {});
}

void CMainDlg::showTitle() {
  if (pick_)
    setWindowTitle(tr("Pickup %1").arg(kindName(kind_, SingularForm)));
  else
    setWindowTitle(tr("%1 available in database [%2]")
                       .arg(kindName(kind_, CapPluralForm))
                       .arg(static_cast<long>(DB_Table(kindtable(kind_)).nlive())));
}

void CMainDlg::update(ListAction action, const std::string& text) {
  const bool notfound = action == ListAction::NotFound;
  if (notfound) {
    if (mismatch_ == -1) mismatch_ = static_cast<int>(shown(text).size());
  } else {
    mismatch_ = -1;
  }

  // The field is disabled (never focused) but must read as typed text, so
  // its colours are the active ones of the palette in use, light or dark.
  const QPalette& colours = palette();
  const QString plain = colours.color(QPalette::Active, QPalette::Text).name();
  if (notfound) {
    // The characters from the one that stopped matching on stand out.
    const QString all = shown(text);
    const int from = std::clamp(mismatch_ - 1, 0, static_cast<int>(all.size()));
    searchview_->setText(
        QStringLiteral("<span style=\"color:%1\">%2</span>"
                       "<span style=\"color:%3; background-color:%4; font-weight:bold\">%5</span>")
            .arg(plain, all.left(from).toHtmlEscaped(),
                 colours.color(QPalette::Active, QPalette::HighlightedText).name(),
                 colours.color(QPalette::Active, QPalette::Highlight).name(),
                 all.mid(from).toHtmlEscaped()));
    newitem_ = true;
  } else {
    searchview_->setText(
        QStringLiteral("<span style=\"color:%1\">%2</span>").arg(plain, shown(text).toHtmlEscaped()));
    newitem_ = false;
  }
  // A mismatch tints the field towards the highlight, enough to be seen, too
  // little to take the text's contrast away.
  const QColor base = colours.color(QPalette::Active, QPalette::Base);
  const QColor tint = colours.color(QPalette::Active, QPalette::Highlight);
  const auto mix = [&](int a, int b) { return notfound ? (3 * a + b) / 4 : a; };
  const QColor back(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                    mix(base.blue(), tint.blue()));
  QPalette field = colours;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    field.setColor(group, QPalette::Window, back);
  searchview_->setPalette(field);
  notice_->clear();
  notice_->hide();
  searchview_->setProperty("searchText", shown(text));
  searchview_->setProperty("mismatch", mismatch_);

  const bool canact = list_->hasRows() && action == ListAction::Found;
  const bool ro = readonly();
  offerEdit(create_, true, ro);
  if (pick_) {
    for (QPushButton* b : {xref_, view_, delete_, merge_}) {
      b->setVisible(false);
      b->setEnabled(false);
    }
    for (QPushButton* b : {insert_, append_}) {
      b->setVisible(true);
      b->setEnabled(canact);
    }
  } else {
    const bool attribute = kind_ != Kind::Album;
    xref_->setVisible(attribute);
    xref_->setEnabled(attribute && canact);
    view_->setVisible(true);
    view_->setEnabled(canact);
    offerEdit(delete_, canact, ro);
    merge_->setVisible(true);
    offerEdit(merge_, canact, ro);
    for (QPushButton* b : {insert_, append_}) {
      b->setVisible(false);
      b->setEnabled(false);
    }
  }
  newlabel_->setVisible(notfound);
}

void CMainDlg::onNotify(ListAction action, const std::string& text) {
  switch (action) {
    case ListAction::Found:
      if (!text.empty()) selectExact(text);
      update(action, text);
      break;
    case ListAction::NotFound: update(action, text); break;
    case ListAction::EnterKey: onEnter(); break;
    case ListAction::InsertKey: onCreate(false); break;
    case ListAction::DeleteKey: onDelete(); break;
    default: break;
  }
}

void CMainDlg::onEnter() {
  if (newitem_)
    onCreate(false);
  else if (pick_)
    onSelect(ResultAppend);
  else if (kind_ != Kind::Album)
    onXref();
  else
    onView();
}

void CMainDlg::onXref() {
  if (!list_->hasRows()) return;
  list_->setFocus();
  followXrefs({relationof(kind_), list_->currentCode()});
}

// What was edited from the found lists (a rename, a merge) is shown on
// return, around the entry the list stood on.
void CMainDlg::followXrefs(XrefTarget target) {
  const int32_t place = list_->currentCode();
  runFoundLists(this, target);
  if (!standOnRecord(*source_, kind_, place)) (void)source_->first();
  list_->reposition(nullptr, CRecListBox::Search::Keep, CRecListBox::kSelectedRow);
  showTitle();
  list_->setFocus();
}

void CMainDlg::onView() {
  if (!list_->hasRows()) return;
  if (kind_ != Kind::Album) {
    CNameDlg dialog(list_, source_->cursor(), kind_, this);
    runModal(dialog);
  } else {
    list_->setFocus();
    XrefTarget target;
    if (runArticle(list_, source_->cursor(), this, &target)) followXrefs(target);
  }
  list_->setFocus();
}

void CMainDlg::onSelect(int result) {
  if (!list_->hasRows()) return;
  target_ = {relationof(kind_), list_->currentCode()};
  done(result);
}

// The search stands on the first name that begins like the text; an item
// that bears the text as its name (letter case aside) is the one meant.
void CMainDlg::selectExact(const std::string& typed) {
  const std::string full = DB_FullForm(typed).text;
  if (full.empty() || !list_->hasRows()) return;
  const std::vector<int32_t> same = DB_FindSameName(kind_, full);
  if (same.empty() || std::find(same.begin(), same.end(), list_->currentCode()) != same.end())
    return;
  standOnRecord(*source_, kind_, same.front());
  list_->refill(-1);
}

// explicitly: Create New, which alone may make a second album of a name.
void CMainDlg::onCreate(bool explicitly) {
  if (readonly()) return;
  list_->setFocus();
  const std::string text = DB_FullForm(list_->searchText()).text;
  const QString singular = kindName(kind_, SingularForm);
  // A name of blanks only is no name.
  if (text.empty()) {
    ask(tr("Cannot create an empty %1; type its name before inserting.").arg(singular),
        tr("Nothing to do"), Buttons::OK, Icon::Exclamation);
    return;
  }
  bool anyway = false;
  if (reuse(text, explicitly, &anyway)) return;
  if (!anyway &&
      ask(tr("Do you want to create a new %1 \"%2\"?").arg(singular, QString::fromStdString(text)),
          tr("Confirm insert"), Buttons::OKCancel, Icon::Question) != Answer::OK)
    return;
  const ErrorCode rc = DB_InsertRecord(kind_, text, source_->cursor());
  if (rc == quill::Ok) {
    list_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    showTitle();
  } else {
    nameFailure(rc, QT_TRANSLATE_NOOP("Name", "Record creation failed; %1."));
  }
  list_->setFocus();
  // After a failure the cursor stands on no new item: nothing to hand back.
  if (rc == quill::Ok && appends_->isChecked()) onSelect(ResultAppend);
}

// An item that bears the name already (letter case aside, as the scan,
// import and link decide) is the one meant: the list goes to it, and a
// picker that appends takes it. True when there is one. Albums of one name
// by different artists are common: Create New asks whether to make a
// second one (*createanyway on OK; false then).
bool CMainDlg::reuse(const std::string& full, bool explicitly, bool* createanyway) {
  const std::vector<int32_t> same = DB_FindSameName(kind_, full);
  if (same.empty() || !standOnRecord(*source_, kind_, same.front())) return false;
  list_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  list_->setFocus();
  if (kind_ == Kind::Album && explicitly) {
    *createanyway = ask(tr("An album named \"%1\" exists already; it is selected now.\nDo you "
                           "want to create a second album of that name?")
                            .arg(QString::fromStdString(full)),
                        tr("Confirm insert"), Buttons::OKCancel, Icon::Question,
                        DefaultButton::Refuse) == Answer::OK;
    return !*createanyway;
  }
  if (appends_->isChecked()) onSelect(ResultAppend);
  return true;
}

void CMainDlg::onDelete() {
  if (readonly() || !list_->hasRows()) return;
  const std::string name = list_->currentName();
  const QString singular = kindName(kind_, SingularForm);
  const QString shownname = QString::fromStdString(name);
  quill::Rlist& cursor = source_->cursor();
  if (kind_ != Kind::Album) {
    const long refs = cursor.field(F_RefCount).aslong();
    if (refs != 0) {
      ask(tr("This %1 \"%2\" is referenced by %n album(s). It cannot be deleted.", nullptr,
             static_cast<int>(refs))
              .arg(singular, shownname),
          tr("Cannot delete"), Buttons::OK, Icon::Exclamation);
      list_->setFocus();
      return;
    }
  }
  if (ask(tr("Are you sure you want to delete %1 \"%2\"?").arg(singular, shownname),
          tr("Confirm deletion"), Buttons::OKCancel, Icon::Question,
          DefaultButton::Refuse) != Answer::OK) {
    list_->setFocus();
    return;
  }
  WaitCursor wait;
  setEnabled(false);
  ErrorCode rc;
  if (kind_ == Kind::Album) {
    if (DB_CountRelations(cursor.field(F_Code).aslong()) != 0 &&
        ask(tr("Attention: album \"%1\" is not empty.\nAre you really sure you want to delete "
               "the album and all its contents?")
                .arg(shownname),
            tr("Not empty"), Buttons::OKCancel, Icon::Exclamation,
            DefaultButton::Refuse) != Answer::OK) {
      setEnabled(true);
      list_->setFocus();
      return;
    }
    rc = DB_DeleteArticle(cursor);
  } else {
    rc = DB_DeleteAttribute(cursor, kind_);
  }
  // Also after a failure: removals done before it changed the rows shown.
  list_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  showTitle();
  if (rc != quill::Ok)
    warn(tr("Delete failed; %1.").arg(QString::fromStdString(DB_ReturnedText(rc))));
  setEnabled(true);
  list_->setFocus();
}

// Two steps: the first Merge chooses the entry that goes, the second the
// entry it goes into.
void CMainDlg::onMerge() {
  if (readonly() || !list_->hasRows()) return;
  const int32_t current = list_->currentCode();
  list_->setFocus();
  if (mergefrom_ == -1 || mergefrom_ == current) {
    setMergeFrom(mergefrom_ == current ? -1 : current);
    return;
  }
  const int32_t other = mergefrom_;
  setMergeFrom(-1);
  if (!confirmMerge(kind_, current, {other})) return;
  // The list's cursor may stand on the entry that went.
  standOnRecord(*source_, kind_, current);
  list_->reposition(nullptr, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
  showTitle();
}

void CMainDlg::setMergeFrom(int32_t code) {
  mergefrom_ = code;
  if (code == -1) {
    merge_->setText(tr("&Merge..."));
    mergenote_->hide();
    return;
  }
  merge_->setText(tr("&Merge into"));
  mergenote_->setText(
      tr("Merging \"%1\": select the %2 to keep and press Merge into.")
          .arg(QString::fromStdString(list_->currentName()), kindName(kind_, SingularForm)));
  mergenote_->show();
}

}  // namespace tracklore
