// What the program brings to Qt: its German texts, the catalogue's and Qt's
// (completeness is tscheck's), file filters and the safe default button.
#include "ui/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "catalogue/translate.h"
#include "catalogue/undo.h"
#include "ui/codec.h"
#include "ui/qthost.h"
#include "ui/scandlg.h"

using namespace tracklore;

class TranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(installTranslations(QLocale(QLocale::German, QLocale::Germany),
                                {QStringLiteral(TRACKLORE_QM_DIR)}));
  }

  void cleanupTestCase() { DB_SetTranslator(nullptr); }

  // The second dialog of its header, which lupdate once filed under a
  // context the program never asks for.
  void dialogTexts() {
    CScanProgressDlg progress(nullptr, 3);
    QCOMPARE(progress.windowTitle(), QStringLiteral("Musikordner wird eingelesen"));
  }

  // Formatted after its format is translated: the names put in stay.
  void catalogueMessages() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    std::string message;
    const int result = DB_Undo(UndoWay::Undo, &message);
    QDir::setCurrent(previous);
    QCOMPARE(result, 1);
    QCOMPARE(QString::fromStdString(message), QStringLiteral("Es gibt nichts rückgängig zu machen."));
  }

  void qtOwnTexts() {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_de.qm")))
      QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
  }

  void filtersBecomeQtFilters() {
    QCOMPARE(qtFilter("Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||"),
             QStringLiteral("Database main files (maindb.db1);;All Files (*)"));
    QCOMPARE(qtFilter("Database main files (*.db1)|*.db1||"),
             QStringLiteral("Database main files (*.db1)"));
    QCOMPARE(qtFilter("Text|*.txt;*.htm||"), QStringLiteral("Text (*.txt *.htm)"));
    QCOMPARE(qtFilter(""), QString());
  }

  void enterPressesTheSafeButtonOfADestructiveQuestion() {
    QtHost host;
    auto pressEnter = [] {
      QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box != nullptr);
        QTest::keyClick(box, Qt::Key_Return);
      });
    };
    pressEnter();
    QVERIFY(host.question("Delete it?", "Confirm deletion", Buttons::OKCancel, Icon::Question,
                          DefaultButton::Refuse) == Answer::Cancel);
    pressEnter();
    QVERIFY(host.question("Overwrite it?", "Sure?", Buttons::YesNo, Icon::Question,
                          DefaultButton::Refuse) == Answer::No);
    pressEnter();
    QVERIFY(host.message("Go on?", "Question", Buttons::OKCancel, Icon::Question) == Answer::OK);
  }
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
