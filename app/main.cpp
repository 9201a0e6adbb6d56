// Tracklore: the catalogue of a private music collection.
//
// Start-up installs the Qt side of the catalogue's questions and of the
// engine's messages, and runs the main window, which opens the database of
// the current directory at once. The table set lives for the whole run and
// closes any open table when the program ends.
#include <QApplication>

#include "catalogue/host.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "ui/icons.h"
#include "ui/qthost.h"
#include "ui/shelldlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tracklore"));
  QApplication::setWindowIcon(tracklore::appIcon());

  quill::install_alloc_check();
  quill::reporter = tracklore::messageBoxReporter;
  tracklore::QtHost host;
  tracklore::DB_SetHost(&host);
  tracklore::DB_IsOpen();  // the table set, closed

  int status;
  {
    tracklore::CShellDlg shell;
    shell.exec();
    status = 0;
  }
  tracklore::DB_Close();
  tracklore::DB_SetHost(nullptr);
  return status;
}
