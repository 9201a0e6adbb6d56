#include "ui/scanreport.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "ui/dialogparts.h"
#include "ui/platform.h"

namespace tracklore {

CScanReportDlg::CScanReportDlg(QWidget* parent, const QStringList& lines) : QDialog(parent) {
  setObjectName(QStringLiteral("CScanReportDlg"));
  setWindowTitle(tr("Scan report"));
  text_ = withid(new QPlainTextEdit, IdText);
  text_->setReadOnly(true);
  nameForReaders(text_, tr("Scan report"), tr("What the scan did with each file"));
  // Ctrl+Home, Ctrl+End and the arrows move through a read-only report too.
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // A path has no spaces to wrap at, and its start must stay in sight.
  text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setPlainText(lines.join(QLatin1Char('\n')));
  text_->moveCursor(QTextCursor::Start);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* copyButton =
      withid(buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole), IdCopy);
  QPushButton* saveButton =
      withid(buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole), IdSave);
  buttons->button(QDialogButtonBox::Close)->setDefault(true);
  connect(copyButton, &QPushButton::clicked, this, &CScanReportDlg::copy);
  connect(saveButton, &QPushButton::clicked, this, &CScanReportDlg::save);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  resize(640, 400);
  text_->setFocus();
}

void CScanReportDlg::copy() { QGuiApplication::clipboard()->setText(text_->toPlainText()); }

void CScanReportDlg::save() {
  const QByteArray title = tr("Save scan report").toUtf8();
  const QByteArray filter = tr("Text files (*.txt)|*.txt|All files (*.*)|*.*||").toUtf8();
  FileRequest request;
  request.title = title.constData();
  request.filter = filter.constData();
  request.defext = "txt";
  request.proposed = "scan-report.txt";
  std::string path;
  if (!DB_Host().savefile(request, &path)) return;
  QSaveFile file(QFile::decodeName(path.c_str()));
  QByteArray bytes = text_->toPlainText().toUtf8();
  bytes += '\n';
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return;
  const QString why = tr("The report could not be saved to %1: %2.")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
  ask(why.toStdString(), tr("Scan report").toUtf8().constData(), Buttons::OK, Icon::Exclamation);
}

QStringList relativeReport(const std::vector<std::string>& lines,
                           const std::vector<std::string>& folders) {
  QStringList bases;
  for (const std::string& folder : folders) {
    QString base = QDir::cleanPath(QString::fromStdString(folder));
    if (folders.size() > 1) base = QDir::cleanPath(base + QStringLiteral("/.."));
    // Relative to the root, a path would only lose its first slash.
    if (base == QLatin1String("/")) continue;
    bases << base + QLatin1Char('/');
  }
  QStringList out;
  for (const std::string& line : lines) {
    QString text = QString::fromStdString(line);
    for (const QString& base : bases) {
      // "folder/: ..." names the folder itself: it stays whole.
      for (qsizetype at = text.indexOf(base); at >= 0; at = text.indexOf(base, at)) {
        const qsizetype after = at + base.size();
        if (after < text.size() && text[after] != QLatin1Char(':'))
          text.remove(at, base.size());
        else
          at = after;
      }
    }
    out << text;
  }
  return out;
}

}  // namespace tracklore
