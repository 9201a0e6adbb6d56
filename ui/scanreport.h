// The report of a scan: one line per file skipped or album left alone,
// shown from its first line's start, long lines wrapped, with its paths
// relative to the folders scanned; Copy puts it on the clipboard, Save...
// writes it to a text file.
#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace tracklore {

class CScanReportDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdText = 1203, IdCopy = 1206, IdSave = 1207 };

  CScanReportDlg(QWidget* parent, const QStringList& lines);

  void copy();
  // Asks for the file through the Host; a failed write is said.
  void save();

 private:
  QPlainTextEdit* text_;
};

// The report's lines with every path below one of the folders scanned
// written relative to it (to its parent when there are several, so that
// the folder's name tells them apart).
QStringList relativeReport(const std::vector<std::string>& lines,
                           const std::vector<std::string>& folders);

}  // namespace tracklore
