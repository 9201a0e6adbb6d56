// Tracklore: the catalogue of a private music collection.
//
// Start-up installs the Qt side of the catalogue's questions and of the
// engine's messages, finds the folder to start in (the one named on the
// command line, else this directory's database, else the one used last) and
// runs the main window, which opens the database there at once. The table
// set lives for the whole run and closes any open table when the program
// ends.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>

#include "catalogue/host.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "ui/icons.h"
#include "ui/qthost.h"
#include "ui/recoveryoffer.h"
#include "ui/shelldlg.h"
#include "ui/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tracklore"));
  QApplication::setApplicationName(QStringLiteral("Tracklore"));
  QApplication::setWindowIcon(tracklore::appIcon());

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("The catalogue of a private music collection."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("folder"),
                               QStringLiteral("The folder of the database to open."),
                               QStringLiteral("[folder]"));
  parser.process(app);
  const tracklore::StartFolder start = tracklore::chooseStartFolder(parser.positionalArguments());
  // A folder that does not exist yet is offered for a new database.
  QDir::setCurrent(start.open);
  if (!start.mainname.isEmpty())
    // A name too long for the table keeps the default, which the window names.
    (void)tracklore::DB_SetMainName(QFile::encodeName(start.mainname).constData());

  quill::install_alloc_check();
  quill::reporter = tracklore::messageBoxReporter;
  tracklore::QtHost host;
  tracklore::DB_SetHost(&host);
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
