// Tools > Find duplicates: the groups of a kind with what tells their
// entries apart, and Merge into the entry selected.
#include "ui/duplicatesdlg.h"

#include <QTreeWidget>

#include "fixture.h"

using namespace tracklore;
using Ids = CDuplicatesDlg;

class DuplicatesDlgTest : public uitest::CatalogueTest {
  Q_OBJECT

 private slots:
  void aGroupMergesIntoTheEntrySelected() {
    const int32_t typo = c_->db.add(ArtistTable, "the  beatles");
    CDuplicatesDlg dialog(nullptr, ArtistTable);
    QTreeWidget* groups = dialog.groups();
    QCOMPARE(groups->topLevelItemCount(), 1);
    QTreeWidgetItem* group = groups->topLevelItem(0);
    QCOMPARE(group->childCount(), 2);
    QCOMPARE(group->child(0)->text(0), QStringLiteral("The Beatles  (2)   #%1").arg(c_->beatles));
    QCOMPARE(group->child(1)->text(0), QStringLiteral("the  beatles  (0)   #%1").arg(typo));
    QVERIFY(!button(&dialog, Ids::IdMergeGroup)->isEnabled());
    groups->setCurrentItem(group);  // a group is no entry to keep
    QVERIFY(!button(&dialog, Ids::IdMergeGroup)->isEnabled());
    groups->setCurrentItem(group->child(0));
    host().answers = {Answer::OK};
    button(&dialog, Ids::IdMergeGroup)->click();
    QCOMPARE(host().titles(), Strings{"Confirm merge"});
    QCOMPARE(DB_Table(ArtistTable).nlive(), 3);
    QCOMPARE(c_->db.name(ArtistTable, c_->beatles), std::string("The Beatles"));
    QCOMPARE(groups->topLevelItemCount(), 0);
    QCOMPARE(child<QLabel>(&dialog, Ids::IdCount)->text(),
             QStringLiteral("No artists with names alike."));
  }
};

QTEST_MAIN(DuplicatesDlgTest)
#include "duplicatesdlg_test.moc"
