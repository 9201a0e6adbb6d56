// Stored bytes and Unicode, the file dialog's filters, and the message
// box's default button.
#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "ui/codec.h"
#include "ui/qthost.h"

using namespace tracklore;

class CodecTest : public QObject {
  Q_OBJECT

 private slots:
  void westernTextIsStoredAsWindows1252AndOtherTextRefused() {
    std::string out;
    for (int b = 1; b < 256; ++b) {
      std::string in(1, static_cast<char>(b));
      QVERIFY2(toStored(fromStored(in), &out), qPrintable(QString::number(b)));
      QCOMPARE(out, in);
    }
    QVERIFY(toStored(QStringLiteral("Beyonc\u00e9 \u20ac \u201cLive\u201d"), &out));
    QCOMPARE(out, std::string("Beyonc\xe9 \x80 \x93Live\x94"));
    QCOMPARE(fromStored(std::string("Mot\xf6rhead")), QStringLiteral("Mot\u00f6rhead"));
    QCOMPARE(fromStored(std::string_view("ab\0cd", 5)), QStringLiteral("ab"));  // ends at NUL
    // Text with a character no byte stands for is refused, leaving out as it was.
    out = "unchanged";
    int bad = -1;
    QVERIFY(!toStored(QStringLiteral("Ab\u65e5c"), &out, &bad));
    QCOMPARE(bad, 2);
    QCOMPARE(out, std::string("unchanged"));
    QVERIFY(!toStored(QString::fromUtf8("x\xf0\x9f\x8e\xb5"), &out, &bad));  // outside the BMP
    QCOMPARE(bad, 1);
    QCOMPARE(toStoredLossy(QStringLiteral("a\u65e5b")), std::string("a?b"));
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

QTEST_MAIN(CodecTest)
#include "codec_test.moc"
