// Database > Scan music folder...: the folder and whether hidden files are
// read, the progress window with Cancel (while files are read nothing is
// catalogued; later the scan stops after the album in hand and keeps what
// is done), then the summary with a "Show report" button. The scan itself is
// the catalogue's (catalogue/scanrun.h) over the folder reader of tags/.
// Database > Rescan music folders scans the folders the database
// remembers the same way; a setting (off at first) runs it when the
// database is first opened for writing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace tracklore {

// The folder to scan (typed, or chosen with Browse...) and whether files
// and folders whose name begins with a dot are read, as tracklore-cli scan
// --hidden reads them.
class CScanFolderDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdFolder = 1301, IdBrowse = 1302, IdHidden = 1303 };

  explicit CScanFolderDlg(QWidget* parent);
  QString folder() const;
  bool hidden() const;

 private:
  QLineEdit* folder_;
  QCheckBox* hidden_;
};

// The progress of a scan: files read of files found; Cancel asks to stop.
class CScanProgressDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdLabel = 1023, IdBar = 1049 };

  CScanProgressDlg(QWidget* parent, int found);
  // Shows the count and lets the window handle its input (at most every
  // 50 ms); false once Cancel was pressed.
  bool update(int read);
  bool cancelled() const { return cancelled_; }

 protected:
  void reject() override { cancelled_ = true; }

 private:
  QLabel* label_;
  QProgressBar* bar_;
  int found_;
  bool cancelled_ = false;
  qint64 lastpaint_ = -1;
};

// The summary box; "Show report" opens the report's lines. The albums a
// rescan left alone (edited in the catalogue, or named otherwise there)
// are listed; "Take the files' version" closes the box with the one
// chosen, for its caller to rescan preferring its files.
class CScanSummaryDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdSummary = 1201, IdShowReport = 1202, IdReport = 1203, IdLeftAlone = 1204, IdPreferFiles = 1205 };
  // report: its lines as shown (relativeReport).
  CScanSummaryDlg(QWidget* parent, const QString& summary, QStringList report,
                  const std::vector<std::string>& leftalone = {});
  // The album whose files' version was asked for (empty: none).
  const std::string& preferred() const { return preferred_; }

 private:
  QStringList report_;
  std::string preferred_;
  void showReport();
};

// Where the folder to scan comes from: a directory dialog, or a test's
// choice. An empty string cancels.
void setFolderChooser(std::function<QString(QWidget* parent)> chooser);

// The whole command, on the open database (the caller offers it only when
// the database is open for writing).
void scanMusicFolder(QWidget* parent);
// The remembered folders scanned again (a message when there are none).
void rescanMusicFolders(QWidget* parent);

// The setting "rescan music folders at start", kept in the user's settings.
bool rescanAtStart();
void setRescanAtStart(bool on);

}  // namespace tracklore
