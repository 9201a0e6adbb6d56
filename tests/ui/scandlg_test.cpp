// Database > Scan music folder...: offered only when the database is open
// for writing; a scripted folder choice runs the scan and ends in the
// summary, whose report lists what was skipped.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <cstdlib>

#include "catalogue/scanstore.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "harness.h"
#include "ui/platform.h"
#include "ui/scandlg.h"
#include "ui/shelldlg.h"

using namespace tracklore;
using uitest::child;
using uitest::host;

class ScanDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::init(); }
  void init() { uitest::reset(); }
  void cleanup() {
    uitest::checkClean();
    setFolderChooser({});
    DB_Close();
  }

  void theMenuEntryScansTheChosenFolder() {
    uitest::TempDatabase db;
    QDir(db.path()).mkpath("music/Live");
    const QString file = db.path() + "/music/Live/01 opening.flac";
    const std::string encode =
        "head -c 1600 /dev/zero | flac -s -f --force-raw-format --endian=little --sign=signed "
        "--channels=1 --bps=16 --sample-rate=8000 --tag=ARTIST=band -o '" + file.toStdString() + "' -";
    QCOMPARE(std::system(encode.c_str()), 0);
    QFile notes(db.path() + "/music/Live/notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("setlist");
    notes.close();

    CShellDlg shell;  // opens the database read-only
    QVERIFY(!shell.action(CShellDlg::CmdScan)->isEnabled());
    child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->setChecked(false);
    shell.onClose();
    shell.onOpen(false);
    QVERIFY(shell.action(CShellDlg::CmdScan)->isEnabled());

    setFolderChooser([&](QWidget*) { return db.path() + "/music"; });
    QString summary, report;
    uitest::scripts().push_back([&](QDialog& dialog) {
      summary = child<QLabel>(&dialog, CScanSummaryDlg::IdSummary)->text();
      uitest::scripts().push_back([&](QDialog& shown) {
        report = child<QPlainTextEdit>(&shown, CScanSummaryDlg::IdReport)->toPlainText();
        return 0;
      });
      child<QPushButton>(&dialog, CScanSummaryDlg::IdShowReport)->click();
      return int(QDialog::Accepted);
    });
    shell.action(CShellDlg::CmdScan)->trigger();
    QVERIFY2(summary.contains("albums: 1 added"), qPrintable(summary));
    QVERIFY2(report.endsWith("notes.txt: skipped: not an audio file"), qPrintable(report));
    QCOMPARE(DB_FindExactName(TitleTable, "Live").size(), size_t(1));
    QCOMPARE(DB_FindExactName(SongTable, "Opening").size(), size_t(1));
  }
};

QTEST_MAIN(ScanDlgTest)
#include "scandlg_test.moc"
