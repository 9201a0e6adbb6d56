// The program in German: its dialogs' texts under the contexts lupdate gave
// them, the catalogue's messages through the translator start-up installs,
// and Qt's own texts beside them. The translations' completeness is
// tscheck's (ui_translations_complete).
#include "ui/translations.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/translate.h"
#include "catalogue/undo.h"
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
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
