// The Quillstore side of quillbench.
//
// Tables (in the current directory, because maintenance builds its new files
// under temporary names there and renames them into place):
//   qs_albums  the main table of workloads 1 and 3-8
//   qs_bulk    the table of workload 2
// Fields: Name C 56, Code X (serial, assigned on append), Tracks L.
// Tags:   0 Name (natural-order text, variable-length keys), 1 Code.
//
// Durability: the bulk workloads (1, 2, 8) defer the fdatasync of every
// write of the open table until it is closed (FileBuffer::defersync), as SQLite
// syncs once at the end of its single transaction; the durable appends (7)
// leave the table as it opens, so each write is flushed when it is made.
#pragma once

#include <string>

#include "bench/workload.h"

namespace bench {

class QuillSide : public Side {
 public:
  QuillSide();

  const char* name() const override { return "Quillstore"; }
  std::string settings() const override;

  BENCH_SIDE_OVERRIDES;

  // Warnings the engine reported since the program started.
  static int warnings();

 private:
  std::string main_ = "qs_albums";
  std::string bulk_ = "qs_bulk";
};

}  // namespace bench
