// What a screen reader hears of every control (a name of its own, and what
// it is for when it shows no text), and the type-ahead field's colours.
#include <QAccessible>
#include <QRegularExpression>
#include <cmath>

#include "harness.h"
#include "ui/duplicatesdlg.h"
#include "ui/scandlg.h"
#include "ui/searchdlg.h"
#include "ui/statsdlg.h"

using namespace tracklore;

namespace {

// The controls of a window without a proper name or, showing no text of
// their own, without a description; "" when there are none.
QStringList unnamedControls(QWidget* window) {
  QStringList faults;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window)) continue;
    if (w->inherits("QScrollBar") || w->inherits("QMenu") ||
        w->objectName() == QLatin1String("qt_scrollarea_viewport"))
      continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (a == nullptr) continue;
    const QString name = a->text(QAccessible::Name).trimmed();
    static const QStringList generic = {"Extra button", "button", "Button", "list", "List",
                                        "edit", "Edit", "text", "Text"};
    const auto* b = qobject_cast<QAbstractButton*>(w);
    const bool ownText = (b != nullptr && !b->text().isEmpty()) || w->inherits("QTabBar");
    const QString id = QStringLiteral("%1 %2").arg(w->metaObject()->className(), w->objectName());
    if (name.isEmpty() || generic.contains(name))
      faults << id + QStringLiteral(": name \"%1\"").arg(name);
    else if (!ownText && a->text(QAccessible::Description).trimmed().isEmpty())
      faults << id + QStringLiteral(" \"%1\": no description").arg(name);
  }
  return faults;
}

// The contrast ratio of two colours as screen guidelines measure it: 1
// (none) to 21 (black on white).
double contrast(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto channel = [](double v) {
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every run of the type-ahead field's text against what lies behind it: its
// own background colour if it has one, else the field's.
double weakestContrast(const QLabel& field) {
  static const QRegularExpression span(
      QStringLiteral("<span style=\"color:(#[0-9a-f]{6})(?:; background-color:(#[0-9a-f]{6}))?"));
  const QColor back = field.palette().color(QPalette::Disabled, QPalette::Window);
  double weakest = 21;
  for (const QRegularExpressionMatch& m : span.globalMatch(field.text())) {
    const QColor behind = m.captured(2).isEmpty() ? back : QColor(m.captured(2));
    weakest = std::min(weakest, contrast(QColor(m.captured(1)), behind));
  }
  return weakest;
}

QPalette darkPalette() {
  QPalette dark;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const std::pair<QPalette::ColorRole, QRgb> roles[] = {
        {QPalette::Window, 0x2b2b2b},    {QPalette::WindowText, 0xe8e8e8}, {QPalette::Base, 0x1e1e1e},
        {QPalette::Text, 0xf0f0f0},      {QPalette::Highlight, 0x3d6eb4},  {QPalette::HighlightedText, 0xffffff},
        {QPalette::Link, 0x8ab4f8}};
    for (const auto& [role, rgb] : roles) dark.setColor(group, role, QColor(rgb));
  }
  return dark;
}

}  // namespace

class AccessibilityTest : public uitest::CatalogueTest {
  Q_OBJECT

  QStringList faults_;

  void check(QWidget& window) {
    QAccessible::setActive(true);
    window.show();
    for (const QString& fault : unnamedControls(&window))
      faults_ << QStringLiteral("%1: %2").arg(window.metaObject()->className(), fault);
  }

 private slots:
  void everyWindowNamesItsControlsAndTypedTextIsReadable() {
    check(*std::make_unique<CShellDlg>());
    for (const Kind kind : kKinds) {
      check(*std::make_unique<CMainDlg>(nullptr, kind, false));
      check(*std::make_unique<CMainDlg>(nullptr, kind, true));
    }
    CMainDlg albums(nullptr, Kind::Album, false);
    quill::Rlist& cursor = albums.list()->source()->cursor();
    for (Rel content : {Rel::Artists, Rel::Songs})
      check(*std::make_unique<CArticleDlg>(albums.list(), cursor, content, nullptr));
    check(*std::make_unique<CNameDlg>(albums.list(), cursor, Kind::Album, nullptr));
    check(*std::make_unique<CFoundDlg>(0, c_->beatles, nullptr));
    check(*std::make_unique<CSearchDlg>(nullptr));
    check(*std::make_unique<CStatsDlg>(nullptr));
    check(*std::make_unique<CDuplicatesDlg>(nullptr, Kind::Artist));
    check(*std::make_unique<CScanFolderDlg>(nullptr));
    check(*std::make_unique<CScanSummaryDlg>(nullptr, QStringLiteral("1 album added"),
                                             QStringList{"a.flac: added"},
                                             std::vector<std::string>{"Abbey Road"}));
    check(*std::make_unique<CAboutDlg>(nullptr));
    QVERIFY2(faults_.isEmpty(), qPrintable(faults_.join(QLatin1Char('\n'))));

    // Typed text, matching or not, stays readable whatever the palette (3:1,
    // the least asked of bold text: the styles' own highlight gives no more).
    const QPalette light = QApplication::palette();
    for (const QPalette& palette : {light, darkPalette()}) {
      QApplication::setPalette(palette);
      CMainDlg browse(nullptr, Kind::Artist, false);
      browse.show();
      auto* field = child<QLabel>(&browse, CMainDlg::IdSearchView);
      QTest::keyClicks(browse.list(), "the b");
      QVERIFY(weakestContrast(*field) >= 3.0);
      QTest::keyClicks(browse.list(), "xy");  // a mismatch, as the browse test proves
      QVERIFY(weakestContrast(*field) >= 3.0);
    }
    QApplication::setPalette(light);
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
