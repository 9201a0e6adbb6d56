// Shared by the fuzz targets: a fatal engine error becomes an exception the
// target catches, so that a damaged input ending in a clear fatal message is
// told apart from a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/noncopyable.h"

namespace fuzzing {

struct Fatal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Installs the throwing reporter (quiet for warnings) once.
void install_reporter();

// A private directory for the files of the whole run, removed at exit.
const std::string& workdir();

// Makes the private directory current for one input and returns to the
// directory before at the end: the engine makes its temporary files in the
// current directory, while the fuzzer's own relative paths (corpus,
// artifacts) must keep meaning what they meant.
class InWorkdir : quill::NonCopyable {
 public:
  InWorkdir();
  ~InWorkdir();

 private:
  int previous_;
};

void write_file(const std::string& path, const uint8_t* data, size_t size);
std::vector<uint8_t> read_file(const std::string& path);

}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
