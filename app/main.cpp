// Tracklore: the catalogue of a private music collection.
//
// Start-up loads the translations of the system's language, installs the
// Qt side of the catalogue's questions and of the engine's messages, finds
// the folder to start in (the one named on the command line, else this
// directory's database, else the one used last) and runs the main window,
// which opens the database there at once. The table set lives for the
// whole run and closes any open table when the program ends.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>

#include "catalogue/host.h"
#include "catalogue/mainfile.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "ui/icons.h"
#include "ui/qthost.h"
#include "ui/recoveryoffer.h"
#include "ui/shelldlg.h"
#include "ui/startup.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tracklore"));
  QApplication::setApplicationName(QStringLiteral("Tracklore"));
  QApplication::setWindowIcon(tracklore::appIcon());
  tracklore::installTranslations();

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QCoreApplication::translate("main", "The catalogue of a private music collection."));
  parser.addHelpOption();
  parser.addPositionalArgument(
      QStringLiteral("folder"),
      QCoreApplication::translate("main", "The folder of the database to open."),
      QCoreApplication::translate("main", "[folder]"));
  parser.process(app);
  const tracklore::StartFolder start = tracklore::chooseStartFolder(parser.positionalArguments());
  // A folder that does not exist yet is offered for a new database.
  QDir::setCurrent(start.open);

  quill::install_alloc_check();
  quill::reporter = tracklore::messageBoxReporter;
  tracklore::QtHost host;
  tracklore::DB_SetHost(&host);
  // A name too long to take is said so; the folder's usual database is
  // opened instead.
  if (!start.mainname.isEmpty())
    (void)tracklore::takemainname(QFile::encodeName(start.mainname).toStdString());
  tracklore::DB_IsOpen();  // the table set, closed

  int status;
  {
    tracklore::ShellOptions options;
    options.folder = start.open;
    options.newDatabaseFolder = start.create;
    tracklore::CShellDlg shell(nullptr, options);
    shell.exec();
    status = 0;
  }
  tracklore::DB_Close();
  if (tracklore::reportFailedClose()) status = 1;
  tracklore::DB_SetHost(nullptr);
  return status;
}
