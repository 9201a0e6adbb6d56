#include "ui/qthost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "engine/errors.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"

namespace tracklore {

namespace {

QMessageBox::Icon qticon(Icon icon) {
  switch (icon) {
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Stop: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtbuttons(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return QMessageBox::Ok;
    case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton defaultbutton(Buttons buttons, DefaultButton preset) {
  const bool refuse = preset == DefaultButton::Refuse;
  switch (buttons) {
    case Buttons::OK: return QMessageBox::Ok;
    case Buttons::OKCancel: return refuse ? QMessageBox::Cancel : QMessageBox::Ok;
    case Buttons::YesNo: return refuse ? QMessageBox::No : QMessageBox::Yes;
    case Buttons::YesNoCancel: return refuse ? QMessageBox::Cancel : QMessageBox::Yes;
  }
  return QMessageBox::Ok;
}

// The window that a box or file dialog belongs to: the active one, so that
// it stands over the dialog that asked.
QWidget* owner() { return QApplication::activeWindow(); }

bool choose(const FileRequest& request, bool save, std::string* path) {
  QFileDialog dialog(owner(), QString::fromUtf8(request.title), QDir::currentPath());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The catalogue asks its own question about an existing database.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QString filters = qtFilter(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters.split(QStringLiteral(";;")));
  if (request.defext != nullptr && request.defext[0] != '\0')
    dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defext));
  if (request.proposed != nullptr && request.proposed[0] != '\0')
    dialog.selectFile(QString::fromLocal8Bit(request.proposed));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return false;
  *path = QFile::encodeName(QDir::toNativeSeparators(files.front())).toStdString();
  return true;
}

}  // namespace

QString qtFilter(const char* filter) {
  if (filter == nullptr) return {};
  const QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (text.isEmpty() && patterns.isEmpty()) break;
    // Qt reads the patterns from the parentheses of the text.
    qsizetype paren = text.lastIndexOf(QLatin1Char('('));
    if (paren > 0 && text.endsWith(QLatin1Char(')'))) text = text.left(paren).trimmed();
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : list) {
      p = p.trimmed();
      // "*.*" is every file on the system that wrote it; here it would
      // miss names without a dot.
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    out << QStringLiteral("%1 (%2)").arg(text, list.join(QLatin1Char(' ')));
  }
  return out.join(QStringLiteral(";;"));
}

Answer QtHost::message(const char* text, const char* title, Buttons buttons, Icon icon) {
  return question(text, title, buttons, icon, DefaultButton::Accept);
}

Answer QtHost::question(const char* text, const char* title, Buttons buttons, Icon icon,
                        DefaultButton preset) {
  QMessageBox box(qticon(icon), QString::fromUtf8(title), QString::fromUtf8(text), qtbuttons(buttons),
                  owner());
  box.setDefaultButton(defaultbutton(buttons, preset));
  giveOkMnemonic(box.button(QMessageBox::Ok));
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::OK;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
  }
  // Escape or the close box: the refusing answer.
  return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

bool QtHost::openfile(const FileRequest& request, std::string* path) {
  return choose(request, false, path);
}

bool QtHost::savefile(const FileRequest& request, std::string* path) {
  return choose(request, true, path);
}

bool QtHost::choosefolder(const FolderRequest& request, std::string* path) {
  const QString start =
      request.start.empty() ? QDir::currentPath() : QFile::decodeName(request.start.c_str());
  QFileDialog dialog(owner(), QString::fromUtf8(request.title), start);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList folders = dialog.selectedFiles();
  if (folders.isEmpty()) return false;
  *path = QFile::encodeName(folders.front()).toStdString();
  return true;
}

void QtHost::waitcursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::drain() { QCoreApplication::processEvents(); }

int messageBoxReporter(quill::ReportLevel level, const char* title, const char* text) {
  QMessageBox::Icon icon = level == quill::ReportLevel::Warning ? QMessageBox::Warning
                           : level == quill::ReportLevel::Fatal ? QMessageBox::Critical
                                                                : QMessageBox::Information;
  // The engine names the title; without one, the level gives it.
  const char* shown = title != nullptr ? title : quill::report_title(level);
  QMessageBox box(icon, QString::fromUtf8(shown), QString::fromUtf8(text), QMessageBox::Ok, owner());
  giveOkMnemonic(box.button(QMessageBox::Ok));
  return box.exec();
}

}  // namespace tracklore
