// The file dialog's filters and the message box's default button.
#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "ui/codec.h"
#include "ui/qthost.h"

using namespace tracklore;

class CodecTest : public QObject {
  Q_OBJECT

 private slots:
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

QTEST_MAIN(CodecTest)
#include "codec_test.moc"
