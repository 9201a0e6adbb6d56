// The fixtures of the dialog test programs: the harness installed once,
// forgotten before each test and checked clean after it (no box or dialog
// left unanswered), and for most dialogs the small catalogue made afresh;
// with the headers and names they all use.
#pragma once

#include <memory>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "harness.h"
#include "ui/articledlg.h"
#include "ui/founddlg.h"
#include "ui/maindlg.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/shelldlg.h"

// What every dialog test calls by its short name.
using uitest::button;
using uitest::child;
using uitest::host;
using uitest::row;
using Strings = std::vector<std::string>;

namespace uitest {

class DialogTest : public QObject {
  Q_OBJECT

 protected:
  // What a test program sets up before each test, and drops after it.
  virtual void setUp() {}
  virtual void tearDown() {}

 private slots:
  void initTestCase() { uitest::init(); }
  void init() {
    uitest::reset();
    setUp();
  }
  void cleanup() {
    uitest::checkClean();
    tearDown();
  }
};

// Each test starts from harness.h's Catalogue; a test program that keeps
// dialogs drops them in its tearDown before the catalogue goes.
class CatalogueTest : public DialogTest {
  Q_OBJECT

 protected:
  std::unique_ptr<Catalogue> c_;
  void setUp() override { c_ = std::make_unique<Catalogue>(); }
  void tearDown() override { c_.reset(); }
};

}  // namespace uitest
