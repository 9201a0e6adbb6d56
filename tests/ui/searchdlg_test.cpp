// Search (Ctrl+F, whose finds open an album or a found list), Find
// duplicates and the statistics' purge.
#include "ui/searchdlg.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include "harness.h"
#include "ui/duplicatesdlg.h"
#include "ui/statsdlg.h"

using namespace tracklore;

class SearchDlgTest : public uitest::CatalogueTest {
  Q_OBJECT

 private slots:
  void ctrlFFindsAndOpensAlbumsAndFoundLists() {
    DB_Close();
    CShellDlg shell;
    shell.show();
    QVERIFY(QTest::qWaitForWindowActive(&shell));
    QStringList titles;
    uitest::scripts().push_back([&](QDialog& d) -> int {
      auto& search = dynamic_cast<CSearchDlg&>(d);
      search.text()->setText(QStringLiteral("ROAD ab"));
      QTest::keyClick(search.text(), Qt::Key_Return);
      auto* tabs = child<QTabWidget>(&d, CSearchDlg::IdTabs);
      titles << tabs->tabText(0) << tabs->tabText(1) << tabs->tabText(2);
      titles << search.list(Kind::Album)->selectedRowText();
      button(&d, CSearchDlg::IdOpen)->click();  // the album's window: title kept
      search.text()->setText(QStringLiteral("tog"));
      button(&d, CSearchDlg::IdFind)->click();
      titles << tabs->tabText(tabs->currentIndex());
      QTest::keyClick(search.list(Kind::Song), Qt::Key_Return);
      return d.result();
    });
    uitest::scripts().push_back(uitest::noteTitle(&titles));  // the album
    uitest::scripts().push_back(uitest::noteTitle(&titles));  // the song's found list
    QTest::keyClick(&shell, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(titles, (QStringList{QStringLiteral("Albums (1)"), QStringLiteral("Artists (0)"),
                                  QStringLiteral("Songs (0)"),
                                  QStringLiteral("Abbey Road * / The Beatles  (2 songs)"),
                                  QStringLiteral("Abbey Road * / The Beatles"),
                                  QStringLiteral("Songs (1)"),
                                  QStringLiteral("Albums containing song \"Come Together\" [3]")}));
  }

  // Tools: the duplicates merged into the entry selected, then the
  // statistics' purge.
  void theToolsMergeDuplicatesAndPurge() {
    const int32_t typo = c_->db.add(ArtistTable, "the  beatles");
    CDuplicatesDlg dialog(nullptr, Kind::Artist);
    QTreeWidget* groups = dialog.groups();
    QCOMPARE(groups->topLevelItemCount(), 1);
    QTreeWidgetItem* group = groups->topLevelItem(0);
    QCOMPARE(group->childCount(), 2);
    QCOMPARE(group->child(0)->text(0), QStringLiteral("The Beatles  (2)   #%1").arg(c_->beatles));
    QCOMPARE(group->child(1)->text(0), QStringLiteral("the  beatles  (0)   #%1").arg(typo));
    QVERIFY(!button(&dialog, CDuplicatesDlg::IdMergeGroup)->isEnabled());
    groups->setCurrentItem(group);  // a group is no entry to keep
    QVERIFY(!button(&dialog, CDuplicatesDlg::IdMergeGroup)->isEnabled());
    groups->setCurrentItem(group->child(0));
    host().answers = {Answer::OK};
    button(&dialog, CDuplicatesDlg::IdMergeGroup)->click();
    QCOMPARE(host().titles(), Strings{"Confirm merge"});
    QCOMPARE(c_->db.name(ArtistTable, c_->beatles), std::string("The Beatles"));
    QCOMPARE(groups->topLevelItemCount(), 0);
    QCOMPARE(child<QLabel>(&dialog, CDuplicatesDlg::IdCount)->text(),
             QStringLiteral("No artists with names alike."));
    CStatsDlg stats(nullptr);
    auto* report = child<QPlainTextEdit>(&stats, CStatsDlg::IdReport);
    host().answers = {Answer::Cancel};
    button(&stats, CStatsDlg::IdPurge)->click();
    QVERIFY(report->toPlainText().contains(QStringLiteral("Artists: 3\n")));
    host().askanew({Answer::OK});
    button(&stats, CStatsDlg::IdPurge)->click();
    QCOMPARE(host().asked.at(0).title, std::string("Confirm purge"));
    QVERIFY(report->toPlainText().contains(QStringLiteral("Artists: 2\n")));
    QVERIFY(!button(&stats, CStatsDlg::IdPurge)->isEnabled());
  }
};

QTEST_MAIN(SearchDlgTest)
#include "searchdlg_test.moc"
