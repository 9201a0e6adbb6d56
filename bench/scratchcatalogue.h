// A benchmark's catalogue in a folder of its own: a new temporary folder
// unless one is named, made the current directory, with an empty database
// and a host that answers every question. The folder goes at the end
// unless it is to be kept.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

class ScratchCatalogue {
 public:
  ScratchCatalogue(const char* program, const std::string& dir, bool keep);
  ~ScratchCatalogue();
  ScratchCatalogue(const ScratchCatalogue&) = delete;
  ScratchCatalogue& operator=(const ScratchCatalogue&) = delete;

  // False when the database could not be created there (said on stderr).
  bool made() const { return made_; }

 private:
  std::filesystem::path dir_;
  bool keep_;
  bool made_ = false;
};

// What the benchmarks on a scratch catalogue share: the command line
//   PROGRAM [--UNIT N] [--dir DIR] [--keep]
// the catalogue made, filled with N of the unit and the time that took
// said, then the measurement.
struct ScratchBench {
  const char* program;     // "landingbench"
  const char* unit;        // "albums": the option and the report name it
  int count;               // N unless one is given
  int least;               // the smallest N taken
  int table;               // the table whose records are the unit
};

// Runs the benchmark: fill writes N of the unit while the catalogue is
// closed, measure prints its figures. main's exit status: 2 on a wrong
// command line, 1 when the catalogue cannot be made or filled or measure
// fails.
int runscratch(const ScratchBench& bench, bool (*fill)(int n), bool (*measure)(int n), int argc,
               char** argv);

}  // namespace bench
