// Runs a fuzz target without a fuzzing engine: every file named on the
// command line (a directory stands for the files in it, a seed corpus),
// then random inputs (count and seed from the options).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fuzz/fuzzing.h"

int main(int argc, char** argv) {
  long runs = 1000, seed = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = std::atol(argv[++i]);
    } else if (std::filesystem::is_directory(argv[i])) {
      std::vector<std::string> inside;
      for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
        if (entry.is_regular_file()) inside.push_back(entry.path().string());
      std::sort(inside.begin(), inside.end());
      files.insert(files.end(), inside.begin(), inside.end());
    } else {
      files.push_back(argv[i]);
    }
  }
  for (const std::string& file : files) {
    // A seed that cannot be read (a relative path gone wrong) is a failure,
    // not an empty input.
    if (!std::ifstream(file, std::ios::binary)) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    std::vector<uint8_t> input = fuzzing::read_file(file);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::mt19937_64 random(static_cast<uint64_t>(seed));
  std::vector<uint8_t> input;
  for (long run = 0; run < runs; ++run) {
    input.resize(random() % 600);
    for (uint8_t& byte : input) byte = static_cast<uint8_t>(random());
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("%ld random inputs and %zu files run\n", runs, files.size());
  return 0;
}
