// Database > Scan music folder...: offered only when the database is open
// for writing; a scripted folder choice runs the scan and ends in the
// summary, whose report lists what was skipped.
#include "ui/scandlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <cstdlib>

#include "catalogue/scanstore.h"
#include "harness.h"
#include "ui/scanreport.h"

using namespace tracklore;

class ScanDlgTest : public uitest::DialogTest {
  Q_OBJECT

  void tearDown() override {
    setFolderChooser({});
    DB_Close();
  }

  static uitest::Script readSummary(QString* summary) {
    return [summary](QDialog& dialog) {
      *summary = child<QLabel>(&dialog, CScanSummaryDlg::IdSummary)->text();
      return int(QDialog::Accepted);
    };
  }

 private slots:
  // Answers the folder dialog: Browse (the scripted chooser) and the
  // hidden check box as given; then reads the summary and its report.
  void scanthrough(CShellDlg& shell, bool hidden, QString* summary, QString* report) {
    uitest::scripts().push_back([hidden](QDialog& dialog) {
      child<QPushButton>(&dialog, CScanFolderDlg::IdBrowse)->click();
      child<QCheckBox>(&dialog, CScanFolderDlg::IdHidden)->setChecked(hidden);
      return int(QDialog::Accepted);
    });
    uitest::scripts().push_back([summary, report](QDialog& dialog) {
      auto* show = child<QPushButton>(&dialog, CScanSummaryDlg::IdShowReport);
      if (show->isEnabled()) {
        uitest::scripts().push_back([report](QDialog& shown) {
          *report = child<QPlainTextEdit>(&shown, CScanSummaryDlg::IdReport)->toPlainText();
          return 0;
        });
        show->click();
      }
      return readSummary(summary)(dialog);
    });
    shell.action(CShellDlg::CmdScan)->trigger();
  }

  // Lines far wider than the window: the report opens on the start of the
  // first, wrapped, with the paths below the folder scanned relative to it.
  void theReportReadsFromItsStartAndIsCopiedOrSaved() {
    const std::string folder = "/media/music";
    const std::string deep = std::string(40, 'x') + "/" + std::string(300, 'y') + ".flac";
    const QStringList lines = relativeReport(
        {folder + "/" + deep + ": skipped", "second", folder + "/: missing or holds no audio file"},
        {folder});
    QCOMPARE(lines, (QStringList{QString::fromStdString(deep + ": skipped"), "second",
                                 "/media/music/: missing or holds no audio file"}));
    // Several folders are told apart by their names.
    QCOMPARE(relativeReport({folder + "/a.flac"}, {folder, "/other/b"}), QStringList{"music/a.flac"});

    CScanReportDlg report(nullptr, lines);
    report.show();
    QCoreApplication::processEvents();
    auto* text = child<QPlainTextEdit>(&report, CScanReportDlg::IdText);
    QCOMPARE(text->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    QTextCursor start(text->document());
    QVERIFY(text->viewport()->rect().contains(text->cursorRect(start).center()));

    child<QPushButton>(&report, CScanReportDlg::IdCopy)->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), lines.join('\n'));
    QTemporaryDir dir;
    const QString saved = dir.filePath("report.txt");
    host().files = {saved.toStdString(), dir.filePath("missing/report.txt").toStdString()};
    host().answers = {Answer::OK};
    for (int i = 0; i < 2; ++i) child<QPushButton>(&report, CScanReportDlg::IdSave)->click();
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), lines.join('\n') + '\n');
    QCOMPARE(host().titles(), Strings{"Scan report"});
    // Return on "Show report" closes the summary rather than showing it again.
    CScanSummaryDlg summary(nullptr, "done", {"a line"});
    summary.show();
    QTest::keyClick(child<QPushButton>(&summary, CScanSummaryDlg::IdShowReport), Qt::Key_Return);
    QCOMPARE(summary.result(), int(QDialog::Accepted));
  }

  void theMenuEntryScansTheChosenFolder() {
    uitest::TempDatabase db;
    QDir(db.path()).mkpath("music/Live");
    const auto encode = [&](const QString& name, const char* title, int track) {
      const std::string command =
          "head -c 1600 /dev/zero | flac -s -f --force-raw-format --endian=little --sign=signed "
          "--channels=1 --bps=16 --sample-rate=8000 --tag=ARTIST=band --tag=TITLE=" + std::string(title) +
          " --tag=TRACKNUMBER=" + std::to_string(track) + " -o '" +
          (db.path() + "/music/Live/" + name).toStdString() + "' -";
      return std::system(command.c_str());
    };
    QCOMPARE(encode("01 opening.flac", "opening", 1), 0);
    QCOMPARE(encode(".02 closing.flac", "closing", 2), 0);
    QFile damaged(db.path() + "/music/Live/03 broken.flac");
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a flac file") > 0);
    damaged.close();

    CShellDlg shell;  // opens the database read-only; the scan is offered for writing
    child<QCheckBox>(&shell, CShellDlg::IdReadOnly)->setChecked(false);
    shell.onClose();
    shell.onOpen(false);

    setFolderChooser([&](QWidget*) { return db.path() + "/music"; });
    QString summary, report;
    scanthrough(shell, false, &summary, &report);
    QVERIFY2(summary.contains("albums: 1 added"), qPrintable(summary));
    QVERIFY2(report.endsWith("03 broken.flac: skipped: damaged or not an audio file of its kind"), qPrintable(report));
    QCOMPARE(DB_FindExactName(Kind::Song, "Closing").size(), size_t(0));
    // The hidden file read when asked.
    scanthrough(shell, true, &summary, &report);
    QCOMPARE(DB_FindExactName(Kind::Song, "Closing").size(), size_t(1));

    // The user adds a song to the album and a file is retagged: Rescan (of
    // the folders scanned before) leaves the album alone, and the summary's
    // button takes the files' version; what either does is the catalogue's.
    db.link(DB_FindExactName(Kind::Album, "Live").at(0), 1, db.add(SongTable, "Bonus"));
    QVERIFY(QFile::remove(db.path() + "/music/Live/01 opening.flac"));
    QCOMPARE(encode("01 opening.flac", "finale", 1), 0);
    uitest::scripts().push_back([&summary](QDialog& dialog) {
      auto* albums = child<QListWidget>(&dialog, CScanSummaryDlg::IdLeftAlone);
      auto* prefer = child<QPushButton>(&dialog, CScanSummaryDlg::IdPreferFiles);
      if (albums->count() != 1 || albums->item(0)->text() != "Live" || albums->currentRow() != 0)
        return 0;
      uitest::scripts().push_back(readSummary(&summary));
      prefer->click();
      return dialog.result();
    });
    summary.clear();
    shell.action(CShellDlg::CmdRescan)->trigger();
    QVERIFY2(summary.contains("albums following their files: 1 changed"), qPrintable(summary));
  }
};

QTEST_MAIN(ScanDlgTest)
#include "scandlg_test.moc"
