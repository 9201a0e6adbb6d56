#include "harness.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/maintenance.h"
#include "catalogue/relation.h"
#include "engine/bytes.h"
#include "engine/errors.h"
#include "ui/codec.h"

namespace uitest {

namespace {

ScriptedHost g_host;
std::vector<std::string> g_reports;
int g_beeps = 0;
std::deque<Script> g_scripts;
int g_unscripted = 0;

bool seekCode(tracklore::FullTable& table, int32_t code) {
  (void)table.select(tracklore::T_Code);
  uint8_t key[4];
  quill::put4(key, code);
  return table.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any) == 0;
}

int capture(quill::ReportLevel, const char* title, const char* text) {
  g_reports.push_back(std::string(title ? title : "") + ": " + (text ? text : ""));
  return 1;
}

int runscript(QDialog& dialog) {
  if (g_scripts.empty()) {
    ++g_unscripted;
    std::fprintf(stderr, "unscripted dialog %s \"%s\"\n", qPrintable(dialog.objectName()),
                 qPrintable(dialog.windowTitle()));
    return tracklore::IDCANCEL;
  }
  Script script = std::move(g_scripts.front());
  g_scripts.pop_front();
  dialog.setResult(0);
  dialog.show();
  QCoreApplication::processEvents();
  int result = script(dialog);
  if (dialog.isVisible()) dialog.hide();
  return result;
}

std::vector<std::string> each(const std::vector<Asked>& asked, std::string Asked::*field) {
  std::vector<std::string> out;
  for (const Asked& a : asked) out.push_back(a.*field);
  return out;
}

// The next scripted answer of a file or folder dialog ("" cancels); none
// left counts as a dialog nobody expected.
bool nextpath(std::deque<std::string>* script, int* unexpected, std::string* path) {
  if (script->empty()) {
    ++*unexpected;
    return false;
  }
  *path = script->front();
  script->pop_front();
  return !path->empty();
}

}  // namespace

Answer ScriptedHost::message(const char* text, const char* title, Buttons buttons, Icon icon) {
  return question(text, title, buttons, icon, DefaultButton::Accept);
}

Answer ScriptedHost::question(const char* text, const char* title, Buttons buttons, Icon icon,
                              DefaultButton preset) {
  asked.push_back({text, title, buttons, icon, preset});
  if (answers.empty()) {
    ++unexpected;
    std::fprintf(stderr, "unexpected box \"%s\": %s\n", title, text);
    return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
  }
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

bool ScriptedHost::openfile(const tracklore::FileRequest&, std::string* path) {
  return nextpath(&files, &unexpected, path);
}

bool ScriptedHost::savefile(const tracklore::FileRequest& r, std::string* path) {
  return openfile(r, path);
}

bool ScriptedHost::choosefolder(const tracklore::FolderRequest& request, std::string* path) {
  foldertitles.push_back(request.title);
  folderstarts.push_back(request.start);
  return nextpath(&folders, &unexpected, path);
}

std::vector<std::string> ScriptedHost::titles() const { return each(asked, &Asked::title); }
std::vector<std::string> ScriptedHost::texts() const { return each(asked, &Asked::text); }

ScriptedHost& host() { return g_host; }
std::vector<std::string>& reports() { return g_reports; }
int& beeps() { return g_beeps; }
std::deque<Script>& scripts() { return g_scripts; }

void init() {
  // Settings (the folder used last, the dialogs' sizes) go to a file of the
  // test program's own, never to the user's.
  static QTemporaryDir settings;
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication::setOrganizationName(QStringLiteral("TrackloreTest"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  tracklore::DB_SetHost(&g_host);
  quill::reporter = capture;
  tracklore::setBeepHook([] { ++g_beeps; });
  tracklore::setModalRunner(runscript);
}

void reset() {
  QSettings().clear();
  g_host = ScriptedHost();
  g_reports.clear();
  g_beeps = 0;
  g_scripts.clear();
  g_unscripted = 0;
  tracklore::CMainDlg::setEnterAppends(true);
}

void checkClean() {
  QCOMPARE(g_host.unexpected, 0);
  QCOMPARE(g_unscripted, 0);
  QVERIFY(g_scripts.empty());
  QCOMPARE(g_host.waitdepth, 0);
}

TempDatabase::TempDatabase() {
  previous_ = QDir::currentPath();
  if (!dir_.isValid() || !QDir::setCurrent(dir_.path())) qFatal("no temporary directory");
  g_host.files.push_back(QDir(dir_.path()).filePath(QStringLiteral("maindb.db1")).toStdString());
  const size_t asked = g_host.asked.size();
  if (tracklore::DB_Create() != 0 || tracklore::DB_Open() != 0 || g_host.asked.size() != asked ||
      !g_reports.empty())
    qFatal("no database");
}

TempDatabase::~TempDatabase() {
  tracklore::DB_Close();
  QDir::setCurrent(previous_);
}

int32_t TempDatabase::add(int kind, const char* text) {
  tracklore::FullTable table(tracklore::DB_Table(kind));
  if (tracklore::DB_InsertRecord(tracklore::kindoftable(kind), text, table.cursor()) != 0) return -1;
  return table.cursor().field(tracklore::F_Code).aslong();
}

void TempDatabase::link(int32_t album, int r, int32_t attr) {
  tracklore::FullTable titles(tracklore::DB_Table(tracklore::TitleTable));
  seekCode(titles, album);
  auto list = tracklore::DB_GetArticleAttributes(r, album);
  (void)tracklore::DB_AddLink(*list, album, -1, attr, titles.cursor());
}

std::string TempDatabase::name(int kind, int32_t code) {
  char buffer[tracklore::kNameBuffer];
  (void)tracklore::DB_GetName(buffer, kind, code);
  return buffer;
}

std::string TempDatabase::text(int kind, int32_t code, int field) {
  tracklore::FullTable table(tracklore::DB_Table(kind));
  if (!seekCode(table, code)) return "<none>";
  return tracklore::fieldText(table.cursor().field(field));
}

long TempDatabase::number(int kind, int32_t code, int field) {
  tracklore::FullTable table(tracklore::DB_Table(kind));
  return seekCode(table, code) ? table.cursor().field(field).aslong() : -1;
}

std::vector<int32_t> TempDatabase::contents(int32_t album, int r) {
  std::vector<int32_t> out;
  auto list = tracklore::DB_GetArticleAttributes(r, album);
  if (list->first() != 0) return out;
  do {
    out.push_back(list->rows().field(tracklore::F_Attr).aslong());
  } while (list->skip(1) == 0);
  return out;
}

Catalogue::Catalogue() {
  using tracklore::ArtistTable, tracklore::SongTable, tracklore::TitleTable;
  abbey = db.add(TitleTable, "Abbey Road");
  letitbe = db.add(TitleTable, "Let It Be");
  songsonly = db.add(TitleTable, "Songs Only");
  beatles = db.add(ArtistTable, "The Beatles");
  preston = db.add(ArtistTable, "Billy Preston");
  orphan = db.add(ArtistTable, "Orphan");
  together = db.add(SongTable, "Come Together");
  something = db.add(SongTable, "Something");
  getback = db.add(SongTable, "Get Back");
  octopus = db.add(SongTable, "Octopus's Garden");
  const int32_t links[][3] = {
      {abbey, 0, beatles},    {letitbe, 0, preston},    {letitbe, 0, beatles},
      {abbey, 1, together},   {abbey, 1, something},    {letitbe, 1, getback},
      {letitbe, 1, together}, {songsonly, 1, together}, {songsonly, 1, octopus}};
  for (const auto& [album, r, attr] : links) db.link(album, r, attr);
}

void typeText(QWidget* widget, const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
    QApplication::sendEvent(widget, &press);
  }
}

std::vector<std::string> rows(const tracklore::CRecListBox& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i)->text().toStdString());
  return out;
}

QString row(const tracklore::CRecListBox& list, int index) {
  return index >= 0 && index < list.count() ? list.item(index)->text() : QString();
}

QString selected(const tracklore::CRecListBox& list) { return row(list, list.currentRow()); }

Script noteTitle(QStringList* titles, int id) {
  return [titles, id](QDialog& d) {
    *titles << d.windowTitle();
    if (id == tracklore::IDCANCEL) return int(tracklore::IDCANCEL);
    button(&d, id)->click();
    return d.result();
  };
}

void reopenReadOnly() {
  tracklore::DB_Close();
  if (tracklore::DB_Open(tracklore::kReadBeside) != 0) qFatal("cannot open read-only");
}

}  // namespace uitest
