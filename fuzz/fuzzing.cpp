#include "fuzz/fuzzing.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/errors.h"

namespace fuzzing {

namespace {
int throwing_reporter(quill::ReportLevel level, const char* /*title*/, const char* text) {
  if (level == quill::ReportLevel::Fatal) throw Fatal(text);
  return 1;
}
}  // namespace

void install_reporter() { quill::reporter = throwing_reporter; }

const std::string& workdir() {
  static const std::string dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    static std::string removed;  // outlives the atexit handler's run
    removed = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removed, ignored);
    });
    return pattern;
  }();
  return dir;
}

InWorkdir::InWorkdir() : previous_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (previous_ < 0 || ::chdir(workdir().c_str()) != 0) std::abort();
}

InWorkdir::~InWorkdir() {
  if (::fchdir(previous_) != 0) std::abort();
  ::close(previous_);
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace fuzzing
