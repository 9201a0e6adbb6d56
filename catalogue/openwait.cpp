#include "catalogue/openwait.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "catalogue/host.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/errors.h"
#include "engine/file.h"

namespace tracklore {

namespace {

constexpr auto kPatience = std::chrono::seconds(3);
constexpr auto kQuiet = std::chrono::seconds(1);
constexpr auto kPause = std::chrono::milliseconds(50);

// The file of the table whose open failed with rc, "" for other failures.
std::string refusedfile(const char* name, ErrorCode rc) {
  if (rc == quill::DataOpen) return std::string(name) + ".db1";
  if (rc == quill::IndexOpen) return std::string(name) + ".idx";
  return "";
}

// What the system answered to the open that failed with rc.
Refusal refusalof(ErrorCode rc) {
  if (rc != quill::DataOpen && rc != quill::IndexOpen) return Refusal::None;
  switch (quill::File::lastopenerror()) {
    case EWOULDBLOCK: return Refusal::Held;
    case EACCES:
    case EPERM:
    case EROFS: return Refusal::NotAllowed;
    default: return Refusal::None;
  }
}

// Whether path opens for reading beside its holders: they only read too.
bool readable(const std::string& path) {
  quill::File reader;
  return reader.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared) == 0;
}

// Whether path is held now, by openers that only read it: it is not free
// to hold alone (asked first: a reader of our own would be a holder too),
// and it opens for reading beside them.
bool onlyread(const std::string& path) {
  quill::File alone;
  if (alone.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Exclusive) == 0) return false;
  return readable(path);
}

}  // namespace

ErrorCode OpenWait::open(quill::DataFile& table, const char* name, quill::OpenMode mode) {
  return run([&] { return table.open(name, mode); });
}

ErrorCode OpenWait::run(const std::function<ErrorCode()>& step) {
  busy_ = false;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const ErrorCode rc = step();
    refusal_ = refusalof(rc);
    if (refusal_ != Refusal::Held) return rc;
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= kPatience) {
      busy_ = true;
      return rc;
    }
    if (!told_ && waited >= kQuiet) {
      DB_Host().status(
          DB_Tr("Catalogue", "Another program is using the database; waiting for it to finish."));
      told_ = true;
    }
    std::this_thread::sleep_for(kPause);
  }
}

int DB_ReportBusy(const char* table) {
  if (onlyread(std::string(table) + ".db1")) {
    quill::warning(
        DB_Tr("Catalogue",
              "Another program is using the database to read it (table \"%s\" is "
              "held).\nIt can be read meanwhile; changes must wait until that program has "
              "closed it."),
        table);
    return -1;
  }
  quill::warning(
      DB_Tr("Catalogue",
            "Another program is using the database (table \"%s\" is held).\nTry again when it has "
            "finished."),
      table);
  return -1;
}

std::string DB_NotAllowedText(const char* table, ErrorCode result) {
  if (refusalof(result) != Refusal::NotAllowed) return "";
  const std::string path = refusedfile(table, result);
  const std::string why = std::strerror(quill::File::lastopenerror());
  return textf(readable(path) ? DB_Tr("Catalogue", "The file %s cannot be written (%s)")
                              : DB_Tr("Catalogue", "The file %s cannot be read (%s)"),
               path.c_str(), why.c_str());
}

int DB_ReportNotAllowed(const char* table, ErrorCode result) {
  const std::string text = DB_NotAllowedText(table, result);
  if (readable(refusedfile(table, result)))
    quill::warning(DB_Tr("Catalogue",
                         "Operation open failed on Datafile \"%s\".\n%s; nothing was changed. The "
                         "database can still be opened for reading."),
                   table, text.c_str());
  else
    quill::warning(DB_Tr("Catalogue", "Operation open failed on Datafile \"%s\".\n%s."), table,
                   text.c_str());
  return -1;
}

}  // namespace tracklore
