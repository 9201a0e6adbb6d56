#include "ui/openfailure.h"

#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/platform.h"

namespace tracklore {

namespace {

struct Held {
  quill::ReportLevel level;
  std::string title;
  std::string text;
};

std::vector<Held>& held() {
  static std::vector<Held> messages;
  return messages;
}

// The reporter in force before the holding began.
quill::Reporter g_saved = nullptr;

int hold(quill::ReportLevel level, const char* title, const char* text) {
  // A fatal message ends the process: it must be seen.
  if (level == quill::ReportLevel::Fatal) return g_saved(level, title, text);
  held().push_back({level, title != nullptr ? title : "", text != nullptr ? text : ""});
  return 1;
}

QFileInfo datafile(int index) {
  return QFileInfo(QFile::decodeName(DB_TableName(index)) + QStringLiteral(".db1"));
}

}  // namespace

OpenFailure classifyOpenFailure() {
  if (!datafile(TitleTable).isFile()) return OpenFailure::NoDatabase;
  // What the system answered, not the mode bits: root may write a file of
  // mode 444, and a read-only file system refuses whatever they say.
  switch (DB_OpenRefusal()) {
    case Refusal::Held: return OpenFailure::InUse;
    case Refusal::NotAllowed: return OpenFailure::NotAllowed;
    case Refusal::None: break;
  }
  return OpenFailure::Other;
}

NewDatabase askNewDatabase(QWidget* parent, const QString& lookedin, const QString& target,
                           const std::string& details) {
  QString text = QFileInfo(lookedin).isDir()
                     ? QMessageBox::tr("There is no database in the folder\n%1.")
                           .arg(QDir::toNativeSeparators(lookedin))
                     : QMessageBox::tr("The folder\n%1\ndoes not exist.")
                           .arg(QDir::toNativeSeparators(lookedin));
  text += QLatin1String("\n\n");
  text += QDir(target) == QDir(lookedin)
              ? QMessageBox::tr("Do you want to create a new database there, or choose another "
                                "folder?")
              : QMessageBox::tr("Do you want to create a new database in\n%1\nor choose another "
                                "folder?")
                    .arg(QDir::toNativeSeparators(target));
  QMessageBox box(QMessageBox::Question, QMessageBox::tr("No database"), text,
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("NoDatabase"));
  QPushButton* create = box.addButton(QMessageBox::tr("&Create Database"), QMessageBox::AcceptRole);
  QPushButton* choose =
      box.addButton(QMessageBox::tr("C&hoose Folder..."), QMessageBox::ActionRole);
  QPushButton* later = box.addButton(QMessageBox::tr("&Not Now"), QMessageBox::RejectRole);
  box.setDefaultButton(create);
  box.setEscapeButton(later);
  box.setDetailedText(QString::fromStdString(details));
  runModal(box);
  if (box.clickedButton() == create) return NewDatabase::Create;
  if (box.clickedButton() == choose) return NewDatabase::Choose;
  return NewDatabase::Later;
}

void showRefusedOpen(QWidget* parent, bool inuse, bool writable, const std::string& details) {
  const QString folder = QDir::toNativeSeparators(QDir::currentPath());
  QString text;
  if (inuse)
    text = QMessageBox::tr("The database in the folder\n%1\nis in use by another program.\n"
                           "Close that program, then open the database again.")
               .arg(folder);
  else if (writable)
    text = QMessageBox::tr("The database in the folder\n%1\ncannot be opened: you are not "
                           "allowed to change its files.\nRead-only mode may still open it.")
               .arg(folder);
  else
    text = QMessageBox::tr("The database in the folder\n%1\ncannot be opened: you are not "
                           "allowed to read its files.")
               .arg(folder);
  const QString title =
      inuse ? QMessageBox::tr("Database in use") : QMessageBox::tr("Database not accessible");
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("OpenRefused"));
  giveOkMnemonic(box.button(QMessageBox::Ok));
  box.setDetailedText(QString::fromStdString(details));
  runModal(box);
}

void showRefusedSwitch(QWidget* parent, bool inuse, const std::string& details) {
  const QString why =
      inuse ? QMessageBox::tr("it is in use by another program. Close that program, then switch "
                              "again.")
            : QMessageBox::tr("you are not allowed to change its files.");
  QMessageBox box(QMessageBox::Warning, QMessageBox::tr("Database stays read-only"),
                  QMessageBox::tr("The database cannot be opened for changes: %1").arg(why),
                  QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("SwitchRefused"));
  giveOkMnemonic(box.button(QMessageBox::Ok));
  box.setDetailedText(QString::fromStdString(details));
  runModal(box);
}

HeldReports::HeldReports() : saved_(quill::reporter) {
  held().clear();
  g_saved = saved_;
  quill::reporter = hold;
}

HeldReports::~HeldReports() { end(); }

std::string HeldReports::end() {
  if (!ended_) quill::reporter = saved_;
  ended_ = true;
  std::string all;
  for (const Held& m : held()) {
    if (!all.empty()) all += '\n';
    all += m.text;
  }
  return all;
}

void HeldReports::replay() {
  end();
  std::vector<Held> messages = std::move(held());
  held().clear();
  for (const Held& m : messages)
    quill::reporter(m.level, m.title.empty() ? nullptr : m.title.c_str(), m.text.c_str());
}

}  // namespace tracklore
