#include "catalogue/openwait.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "catalogue/host.h"
#include "engine/errors.h"

namespace tracklore {

namespace {

constexpr auto kPatience = std::chrono::seconds(3);
constexpr auto kQuiet = std::chrono::seconds(1);
constexpr auto kPause = std::chrono::milliseconds(50);

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// A refusal of a file that is there: another opener holds it (or holds the
// index while we wanted it).
bool held(const char* name, ErrorCode rc) {
  if (rc == quill::DataOpen) return exists(std::string(name) + ".db1");
  if (rc == quill::IndexOpen) return exists(std::string(name) + ".idx");
  return false;
}

}  // namespace

ErrorCode OpenWait::open(quill::DataFile& table, const char* name, quill::OpenMode mode) {
  return run(name, [&] { return table.open(name, mode); });
}

ErrorCode OpenWait::run(const char* name, const std::function<ErrorCode()>& step) {
  busy_ = false;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const ErrorCode rc = step();
    if (rc == quill::Ok || !held(name, rc)) return rc;
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= kPatience) {
      busy_ = true;
      return rc;
    }
    if (!told_ && waited >= kQuiet) {
      DB_Host().status("Another program is using the database; waiting for it to finish.");
      told_ = true;
    }
    std::this_thread::sleep_for(kPause);
  }
}

int DB_ReportBusy(const char* table) {
  quill::warning(
      "Another program is using the database (table \"%s\" is held).\nTry again when it has "
      "finished.",
      table);
  return -1;
}

}  // namespace tracklore
