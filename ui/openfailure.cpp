#include "ui/openfailure.h"

#include <QFile>
#include <QFileInfo>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"

namespace tracklore {

namespace {

struct Held {
  int level;
  std::string title;
  std::string text;
};

std::vector<Held>& held() {
  static std::vector<Held> messages;
  return messages;
}

// The reporter in force before the holding began.
quill::Reporter g_saved = nullptr;

int hold(int level, const char* title, const char* text) {
  // A fatal message ends the process: it must be seen.
  if (level == quill::ReportFatal) return g_saved(level, title, text);
  held().push_back({level, title != nullptr ? title : "", text != nullptr ? text : ""});
  return 1;
}

QFileInfo datafile(int index) {
  return QFileInfo(QFile::decodeName(DB_TableName(index)) + QStringLiteral(".db1"));
}

}  // namespace

OpenFailure classifyOpenFailure(quill::ErrorCode code, bool writable) {
  if (!datafile(TitleTable).isFile()) return OpenFailure::NoDatabase;
  if (code != quill::DataOpen) return OpenFailure::Other;
  for (int index = 0; index < kTables; ++index) {
    const QFileInfo file = datafile(index);
    if (!file.isFile()) return OpenFailure::Other;
    if (!file.isReadable() || (writable && !file.isWritable())) return OpenFailure::NotAllowed;
  }
  // Every file is there and may be opened: another program holds one.
  return OpenFailure::InUse;
}

HeldReports::HeldReports() : saved_(quill::reporter) {
  held().clear();
  g_saved = saved_;
  quill::reporter = hold;
}

HeldReports::~HeldReports() { end(); }

std::string HeldReports::end() {
  if (!ended_) quill::reporter = saved_;
  ended_ = true;
  std::string all;
  for (const Held& m : held()) {
    if (!all.empty()) all += '\n';
    all += m.text;
  }
  return all;
}

void HeldReports::replay() {
  end();
  std::vector<Held> messages = std::move(held());
  held().clear();
  for (const Held& m : messages)
    quill::reporter(m.level, m.title.empty() ? nullptr : m.title.c_str(), m.text.c_str());
}

}  // namespace tracklore
