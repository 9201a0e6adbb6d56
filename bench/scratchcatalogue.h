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

}  // namespace bench
