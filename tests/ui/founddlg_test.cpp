// The found list (albums of one artist or song) with its rows and the X-ref
// chain, and the name editor with and without the rename confirmation.

#include "harness.h"
#include "ui/help.h"

using namespace tracklore;

class FoundDlgTest : public uitest::CatalogueTest {
  Q_OBJECT

  std::unique_ptr<CMainDlg> browse_;
  std::unique_ptr<CNameDlg> d_;

  // The name editor over a browse list of the kind, on the record of that name.
  QLineEdit* edit(int kind, const char* name) {
    browse_ = std::make_unique<CMainDlg>(nullptr, kindoftable(kind), false);
    std::string key = name;
    browse_->list()->reposition(&key, CRecListBox::Search::Clear, CRecListBox::kSelectedRow);
    d_ = std::make_unique<CNameDlg>(browse_->list(), browse_->list()->source()->cursor(), kindoftable(kind), nullptr);
    d_->show();
    return child<QLineEdit>(d_.get(), CNameDlg::IdEdit);
  }
  void click(int id) { button(d_.get(), id)->click(); }
  void tearDown() override {
    d_.reset();
    browse_.reset();
    CatalogueTest::tearDown();
  }

 private slots:
  // Each album once however often it uses the song, in name order whatever
  // the order of linking; the title counts albums. Rows show the mark and
  // the main artist; Enter views the album selected and the list stays.
  void albumsAreListedOnceInNameOrderViewedAndHelped() {
    const int32_t zed = c_->db.add(TitleTable, "Zed");
    const int32_t alpha = c_->db.add(TitleTable, "Alpha");
    c_->db.link(zed, 1, c_->octopus);
    c_->db.link(zed, 1, c_->octopus);
    c_->db.link(alpha, 1, c_->octopus);
    CFoundDlg octopus(1, c_->octopus, nullptr);
    QCOMPARE(octopus.windowTitle(), QStringLiteral("Albums containing song \"Octopus's Garden\" [3]"));
    QCOMPARE(uitest::rows(*octopus.list()),
             (Strings{"Alpha * / --  (1 song)", "Songs Only * / --  (2 songs)",
                                       "Zed * / --  (2 songs)"}));
    // Abbey Road is complete.
    {
      CMainDlg browse(nullptr, Kind::Album, false);
      CArticleDlg(browse.list(), browse.list()->source()->cursor(), Rel::Songs, nullptr).reject();
    }
    CFoundDlg found(1, c_->together, nullptr);
    QCOMPARE(child<QLabel>(&found, CFoundDlg::IdLabel)->text(), QStringLiteral("Albums found:"));
    QCOMPARE(uitest::rows(*child<CRecListBox>(&found, CFoundDlg::IdList)),
             (Strings{"Abbey Road  / The Beatles  (2 songs)",
                                       "Let It Be * / Billy Preston  (2 songs)",
                                       "Songs Only * / --  (2 songs)"}));
    QVERIFY(button(&found, CFoundDlg::IdView)->isEnabled());
    QVERIFY(button(&found, CFoundDlg::IdView)->isDefault());
    QTest::keyClick(found.list(), Qt::Key_Down);
    QStringList titles;
    uitest::scripts().push_back(uitest::noteTitle(&titles));
    QTest::keyClick(found.list(), Qt::Key_Return);
    QCOMPARE(titles, QStringList{QStringLiteral("Let It Be * / Billy Preston")});
    QCOMPARE(found.result(), 0);
    // F1 opens the help at the found list; the page is looked for in the
    // current directory too.
    QVERIFY(QFile(QStringLiteral("index.htm")).open(QIODevice::WriteOnly));
    QList<QUrl> opened;
    setHelpOpener([&opened](const QUrl& url) {
      opened << url;
      return true;
    });
    found.show();
    QApplication::setActiveWindow(&found);
    QVERIFY(QTest::qWaitForWindowActive(&found));
    QTest::keyClick(found.list(), Qt::Key_F1);
    setHelpOpener({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].fragment(), QStringLiteral("found"));
    button(&found, IDCANCEL)->click();
    QCOMPARE(found.result(), int(IDCANCEL));
    // Nothing found: nothing to view.
    CFoundDlg none(0, c_->orphan, nullptr);
    QCOMPARE(none.list()->count(), 0);
    QVERIFY(!button(&none, CFoundDlg::IdView)->isEnabled());
  }

  void renamingWithoutAndWithConfirmation() {
    QLineEdit* name = edit(ArtistTable, "Billy Preston");
    QCOMPARE(child<QLabel>(d_.get(), CNameDlg::IdPrompt)->text(), QStringLiteral("Edit artist name:"));
    // Shown, the caret stands at the end and typing adds to the name.
    QVERIFY(!name->hasSelectedText());
    QCOMPARE(name->cursorPosition(), name->text().size());
    // Used once: no question. Any character is taken: the stored form is
    // derived, the full name shown.
    name->setText(QStringLiteral("\u0141\u00f3d"));
    uitest::typeText(name, QStringLiteral("\u017a"));  // Łódź, typed as edited
    QTest::keyClick(name, Qt::Key_Return);             // Modify is the default button
    QCOMPARE(c_->db.name(ArtistTable, c_->preston), std::string("L\xf3" "dz"));
    QCOMPARE(d_->windowTitle(), QStringLiteral("\u0141\u00f3d\u017a  (1)"));
    QCOMPARE(name->text(), QStringLiteral("\u0141\u00f3d\u017a"));
    QVERIFY(!name->isModified());
    // Used twice: asked; Cancel keeps the edit as typed.
    click(CNameDlg::IdNext);
    click(CNameDlg::IdNext);
    QCOMPARE(name->text(), QStringLiteral("The Beatles"));
    QTest::keyClicks(name, "!");
    host().answers = {Answer::Cancel};
    click(CNameDlg::IdModify);
    QCOMPARE(host().asked.at(0).title, std::string("Confirm rename"));
    QCOMPARE(host().asked.at(0).text,
             std::string("This artist has 2 album(s) referring to it. Are you sure you want to rename it?"));
    QCOMPARE(c_->db.name(ArtistTable, c_->beatles), std::string("The Beatles"));
    QVERIFY(name->isModified());
    host().answers = {Answer::OK};
    click(CNameDlg::IdModify);
    QCOMPARE(c_->db.name(ArtistTable, c_->beatles), std::string("The Beatles!"));
    QCOMPARE(uitest::selected(*browse_->list()), QStringLiteral("The Beatles!  (2)"));
    // A failed write is reported and the edit kept.
    QTest::keyClicks(name, "x");
    quill::File::set_write_fault([](const quill::File&, int32_t, int32_t) { return true; });
    host().answers = {Answer::OK};
    click(CNameDlg::IdModify);
    quill::File::set_write_fault({});
    QCOMPARE(uitest::reports().size(), size_t(1));
    QVERIFY(uitest::reports()[0].find("Record update failed; returned ") != std::string::npos);
    QCOMPARE(name->text(), QStringLiteral("The Beatles!x"));
  }

  // Billy Preston and The Beatles both on Let It Be: one place stays.
  void renamingToAnotherArtistsNameOffersToMergeThem() {
    QLineEdit* name = edit(ArtistTable, "Billy Preston");
    name->setText(QStringLiteral("THE BEATLES"));
    host().answers = {Answer::OK};
    click(CNameDlg::IdModify);
    QCOMPARE(host().titles(), Strings{"Merge"});
    QCOMPARE(host().asked[0].text,
             std::string("The artist \"The Beatles\" (used 2 times) exists already.\nMerge this "
                         "artist into it instead of making a second of that name?\nThe albums "
                         "that use the artist merged then use the one kept, and the one merged is "
                         "deleted.\nEdit > Undo takes a merge back."));
    QCOMPARE(DB_Table(ArtistTable).nlive(), 2);
    // The dialog and its list go on with the artist kept.
    QCOMPARE(name->text(), QStringLiteral("The Beatles"));
    QCOMPARE(uitest::selected(*browse_->list()), QStringLiteral("The Beatles  (2)"));
  }

  void steppingAsksBeforeLeavingAnEditedName() {
    QLineEdit* name = edit(SongTable, "Something");
    QCOMPARE(child<QLabel>(d_.get(), CNameDlg::IdPrompt)->text(), QStringLiteral("Edit song name:"));
    click(CNameDlg::IdNext);
    QCOMPARE(uitest::beeps(), 1);
    QTest::keyClicks(name, "s");
    host().answers = {Answer::No};
    click(CNameDlg::IdPrevious);
    QCOMPARE(host().titles(), Strings{"Save changes?"});
    QCOMPARE(name->text(), QStringLiteral("Octopus's Garden"));
    QCOMPARE(c_->db.name(SongTable, c_->something), std::string("Something"));
    QTest::keyClicks(name, " again");
    host().answers = {Answer::Yes};
    d_->reject();
    QCOMPARE(d_->result(), int(IDCANCEL));
    QCOMPARE(c_->db.name(SongTable, c_->octopus), std::string("Octopus's Garden Again"));
  }

  void aReadOnlyDatabaseOffersNoEditing() {
    uitest::reopenReadOnly();
    QLineEdit* name = edit(ArtistTable, "Billy Preston");
    QVERIFY(name->isReadOnly());
    QVERIFY(!button(d_.get(), CNameDlg::IdModify)->isEnabled());
    QTest::keyClicks(name, "x");
    QTest::keyClick(name, Qt::Key_Return);
    d_->reject();
    QCOMPARE(d_->result(), int(IDCANCEL));
    QVERIFY(uitest::reports().empty());
  }
};

QTEST_MAIN(FoundDlgTest)
#include "founddlg_test.moc"
