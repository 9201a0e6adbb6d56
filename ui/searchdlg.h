// CSearchDlg: finding albums, artists and songs by words of their names
// (catalogue/search.h), the finds grouped by kind on three tabs. An album
// found opens in its detail dialog, whose previous and next step through
// the albums found; an artist or a song found ends the dialog with it as
// the X-Ref target, for the caller to show its found list.
#pragma once

#include <cstdint>
#include <memory>

#include <QDialog>

#include "catalogue/codelist.h"
#include "catalogue/kind.h"
#include "ui/platform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tracklore {

class CRecListBox;

class CSearchDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name; the lists' ids are IdList + kind.
  enum : int { IdText = 1060, IdFind = 1061, IdTabs = 1062, IdList = 1063, IdOpen = 1066,
               IdOutcome = 1067 };

  explicit CSearchDlg(QWidget* parent);
  ~CSearchDlg() override;

  int resultAttr() const { return target_.attr; }
  int32_t resultCode() const { return target_.code; }
  // The list of one kind's finds (0 albums, 1 artists, 2 songs).
  CRecListBox* list(Kind kind) const { return lists_[kindtable(kind)]; }
  QLineEdit* text() const { return text_; }

  // Searches for the words in the search box and shows the finds.
  void find();
  // Opens what is selected on the current tab.
  void open();

  void reject() override;

 private:
  std::unique_ptr<CodeList> sources_[3];
  XrefTarget target_;
  QLineEdit* text_;
  QPushButton* find_;
  QTabWidget* tabs_;
  CRecListBox* lists_[3];
  QLabel* outcome_;
  QPushButton* open_;
  QPushButton* close_;

  void createControls();
  void layOut();
  void connectControls();
  // The tab shown (one per kind, in table order), -1 for none.
  int currentTab() const;
  void updateButtons();
};

}  // namespace tracklore
