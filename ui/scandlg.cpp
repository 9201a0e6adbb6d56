#include "ui/scandlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "catalogue/scanrun.h"
#include "tags/folderreader.h"
#include "ui/help.h"
#include "ui/dialogparts.h"
#include "ui/platform.h"
#include "ui/scanreport.h"
#include "ui/startup.h"

namespace tracklore {

namespace {

std::function<QString(QWidget*)>& chooser() {
  static std::function<QString(QWidget*)> hook;
  return hook;
}

// The chooser starts in the folder typed, else in the user's music folder
// (not in the database's, which holds no music).
QString choosefolder(QWidget* parent, const QString& typed) {
  if (chooser()) return chooser()(parent);
  QString start = typed;
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = musicFolder();
  if (!QFileInfo(start).isDir()) start = QDir::homePath();
  const QByteArray title = QObject::tr("Scan music folder").toUtf8();
  std::string chosen;
  if (!DB_Host().choosefolder({title.constData(), QFile::encodeName(start).toStdString()}, &chosen))
    return {};
  return QFile::decodeName(chosen.c_str());
}

}  // namespace

void setFolderChooser(std::function<QString(QWidget*)> hook) { chooser() = std::move(hook); }

CScanFolderDlg::CScanFolderDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CScanFolderDlg"));
  addHelpKey(this, QStringLiteral("scan"));
  setWindowTitle(tr("Scan music folder"));
  folder_ = withid(new QLineEdit, IdFolder);
  folder_->setMinimumWidth(folder_->fontMetrics().averageCharWidth() * 48);
  folder_->setAccessibleDescription(tr("The folder whose audio files are catalogued"));
  auto* browse = withid(new QPushButton(tr("&Browse...")), IdBrowse);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = choosefolder(this, folder());
    if (!chosen.isEmpty()) folder_->setText(chosen);
  });
  hidden_ = withid(new QCheckBox(tr("Read &hidden files and folders (names beginning with a dot)")),
                   IdHidden);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("&Scan"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(ctlid(IDOK));
  buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
  connect(folder_, &QLineEdit::textChanged, this, [buttons](const QString& text) {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  QHBoxLayout* row = captionedRow(tr("&Folder:"), folder_, {browse});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(hidden_);
  layout->addWidget(buttons);
}

QString CScanFolderDlg::folder() const { return folder_->text().trimmed(); }

bool CScanFolderDlg::hidden() const { return hidden_->isChecked(); }

CScanProgressDlg::CScanProgressDlg(QWidget* parent, int found) : QDialog(parent), found_(found) {
  setObjectName(QStringLiteral("CScanProgressDlg"));
  addHelpKey(this, QStringLiteral("scan"));
  setWindowTitle(tr("Scanning music folder"));
  // Modal, so that nothing else starts while the scan runs; its own Cancel
  // still gets its clicks.
  setWindowModality(Qt::ApplicationModal);
  label_ = withid(new QLabel, IdLabel);
  label_->setMinimumWidth(label_->fontMetrics().averageCharWidth() * 48);
  bar_ = withid(new QProgressBar, IdBar);
  bar_->setRange(0, found > 0 ? found : 1);
  auto* cancel = withid(new QPushButton(tr("Cancel")), IDCANCEL);
  connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  layout->addWidget(cancel, 0, Qt::AlignRight);
  update(0);
}

bool CScanProgressDlg::update(int read) {
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (lastpaint_ >= 0 && now - lastpaint_ < 50) return !cancelled_;
  lastpaint_ = now;
  label_->setText(cancelled_ ? tr("Stopping: the albums done so far are kept...")
                             : (found_ == 1 ? tr("%1 of %2 file read") : tr("%1 of %2 files read")).arg(read).arg(found_));
  bar_->setValue(std::min(read, bar_->maximum()));
  QCoreApplication::processEvents();
  return !cancelled_;
}

CScanSummaryDlg::CScanSummaryDlg(QWidget* parent, const QString& summary, QStringList report,
                                 const std::vector<std::string>& leftalone)
    : QDialog(parent), report_(std::move(report)) {
  setObjectName(QStringLiteral("CScanSummaryDlg"));
  addHelpKey(this, QStringLiteral("scan"));
  setWindowTitle(tr("Scan music folder"));
  auto* text = withid(new QLabel(summary), IdSummary);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* close = withid(buttons->button(QDialogButtonBox::Close), IDOK);
  QPushButton* show = withid(buttons->addButton(tr("Show report"), QDialogButtonBox::ActionRole), IdShowReport);
  show->setEnabled(!report_.empty());
  // Return closes the summary, whichever button has the focus.
  show->setAutoDefault(false);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
  connect(show, &QPushButton::clicked, this, &CScanSummaryDlg::showReport);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  if (!leftalone.empty()) {
    auto* label = new QLabel(tr("Albums left alone, as edited in the catalogue:"));
    auto* albums = withid(new QListWidget, IdLeftAlone);
    for (const std::string& name : leftalone) albums->addItem(QString::fromStdString(name));
    label->setBuddy(albums);
    nameForReaders(albums, tr("Albums left alone"),
                   tr("Albums edited in the catalogue that the scan did not change"));
    QPushButton* prefer =
        withid(buttons->addButton(tr("Take the &files' version"), QDialogButtonBox::ActionRole), IdPreferFiles);
    prefer->setAutoDefault(false);
    albums->setCurrentRow(0);
    connect(prefer, &QPushButton::clicked, this, [this, albums] {
      if (albums->currentItem() == nullptr) return;
      preferred_ = albums->currentItem()->text().toStdString();
      accept();
    });
    layout->addWidget(label);
    layout->addWidget(albums);
  }
  layout->addWidget(buttons);
}

void CScanSummaryDlg::showReport() {
  CScanReportDlg dialog(this, report_);
  runModal(dialog);
}

namespace {

constexpr const char* kRescanKey = "scan/rescanAtStart";

void runscan(QWidget* parent, const std::vector<std::string>& folders, bool hidden,
             const std::vector<std::string>& preferfiles = {}) {
  QString folder;
  for (const std::string& f : folders) folder += (folder.isEmpty() ? "" : ", ") + QString::fromStdString(f);
  tags::FolderReader reader(folders, hidden);
  std::vector<std::string> report;
  ScanNotes notes([&](const std::string& line) { report.push_back(line); });
  ScanSummary summary;
  int rc;
  {
    WaitCursor wait;
    CScanProgressDlg progress(parent, reader.countfiles());
    progress.show();
    ScanRunOptions options;
    options.folders = folders;
    options.hidden = hidden;
    options.preferfiles = preferfiles;
    options.progress = [&](const ScanCounts& counts) { return progress.update(counts.filesread); };
    rc = DB_ScanMusic(reader, notes, options, &summary);
  }
  QString text = QString::fromStdString(DB_ScanSummaryText(summary, notes, WriteMode::Write));
  if (rc == 0 && summary.noaudio())
    text = (notes.hiddenentries > 0
                ? QCoreApplication::translate("Scan",
                                              "No audio file was found in %1 (hidden files and "
                                              "folders are read when asked): nothing was scanned.")
                : QCoreApplication::translate(
                      "Scan", "No audio file was found in %1: nothing was scanned."))
               .arg(folder) +
           QStringLiteral("\n\n") + text;
  if (rc != 0)
    text = QCoreApplication::translate("Scan",
                                       "The scan stopped at album %1: %2.\nThe albums of its "
                                       "finished batches are kept; recovery takes back the "
                                       "unfinished one, and a second scan completes the rest.")
               .arg(QString::fromStdString(summary.failedalbum),
                    QString::fromStdString(DB_FailureText(summary.error))) +
           QStringLiteral("\n\n") + text;
  CScanSummaryDlg dialog(parent, text, relativeReport(report, folders), summary.follow.preferable);
  runModal(dialog);
  // As tracklore-cli scan --prefer-files: the same folders again.
  if (!dialog.preferred().empty()) runscan(parent, folders, hidden, {dialog.preferred()});
}

}  // namespace

void scanMusicFolder(QWidget* parent) {
  CScanFolderDlg ask(parent);
  if (runModal(ask) != QDialog::Accepted || ask.folder().isEmpty()) return;
  // Remembered in full, so that a rescan finds the same paths.
  runscan(parent, {QDir::cleanPath(QDir(ask.folder()).absolutePath()).toStdString()}, ask.hidden());
}

void rescanMusicFolders(QWidget* parent) {
  const std::vector<std::string> folders = DB_ScannedFolders();
  if (folders.empty()) {
    ask(QCoreApplication::translate("Scan",
                                    "No music folder was scanned into this database yet.\nScan "
                                    "music folder... adds one."),
        QCoreApplication::translate("Scan", "Rescan music folders"), Buttons::OK,
        Icon::Information);
    return;
  }
  runscan(parent, folders, false);
}

bool rescanAtStart() { return QSettings().value(kRescanKey, false).toBool(); }

void setRescanAtStart(bool on) { QSettings().setValue(kRescanKey, on); }

}  // namespace tracklore
