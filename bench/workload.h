// The workloads of quillbench and what one engine reports for each.
//
// Every workload runs once on each engine, in the same process, on the same
// Dataset. An engine side times only the work itself, from opening its
// database to closing it (closing included, since that is where deferred
// syncs and checkpoints are paid); building an empty schema beforehand and
// verifying afterwards are not timed.
//
// The workloads run in the order below and build on each other: 3-7 read
// the table that 1 filled, 7 appends to it, 8 deletes from it and packs it.
// 2 works on a table of its own.
#pragma once

#include <cstdint>
#include <string>

#include "bench/dataset.h"

namespace bench {

enum WorkloadId {
  W_Append = 1,    // append n records, both indexes present
  W_Bulkload = 2,  // append n without index, then build the indexes
  W_Lookup = 3,    // random equal seeks by code
  W_Prefix = 4,    // random prefix seeks by name
  W_Scan = 5,      // every record in name order
  W_Window = 6,    // seek a prefix and read the next 12 rows
  W_Durable = 7,   // single appends, each durable on its own
  W_Pack = 8,      // delete 10%, then pack and rebuild the indexes
};
constexpr int kWorkloads = 8;

struct WorkloadInfo {
  int id;
  const char* name;   // for --only
  const char* title;  // for the report
};

const WorkloadInfo& workload_info(int id);
// The id for a name or a number ("lookup", "3"); 0 when unknown.
int workload_id(const std::string& text);

// What one engine did in one workload. The counters are compared between
// the engines after each workload (see crosscheck in main.cpp).
struct Outcome {
  bool ran = false;
  double seconds = 0;
  double peak_mib = 0;   // peak resident set during this engine's run
  int64_t done = 0;      // operations completed (records written, seeks made)
  int64_t found = 0;     // seeks that landed on the record they should
  int64_t missed = 0;    // seeks that did not
  int64_t nummissed = 0; // of those, prefix seeks whose text ends in a number
  int64_t rows = 0;      // rows read
  int64_t shortfall = 0; // list windows cut short by the end of the order
  uint64_t sum = 0;      // order-independent checksum of the rows read
  double median_ms = -1; // per-operation latency, where operations are timed
  double p99_ms = -1;    // one by one (the durable appends)
  int64_t live = -1;     // live records after the workload, counted by the engine
  std::string error;     // empty when every operation succeeded
  std::string note;      // engine detail for the report (page reads, files)
};

// One engine's implementation of the workloads. The methods run the
// workload against tables in the current directory.
class Side {
 public:
  virtual ~Side() = default;
  virtual const char* name() const = 0;
  // The settings that the report prints.
  virtual std::string settings() const = 0;

  virtual Outcome append(const Dataset& d) = 0;
  virtual Outcome bulkload(const Dataset& d) = 0;
  virtual Outcome lookup(const Dataset& d) = 0;
  virtual Outcome prefix(const Dataset& d) = 0;
  virtual Outcome scan(const Dataset& d) = 0;
  virtual Outcome window(const Dataset& d) = 0;
  virtual Outcome durable(const Dataset& d) = 0;
  virtual Outcome pack(const Dataset& d) = 0;

  // Bytes on disk of the main table (all its files); -1 if there is none.
  virtual int64_t mainsize() const = 0;

  Outcome run(int id, const Dataset& d);
};

// What each side declares to override every workload and the size above.
#define BENCH_SIDE_OVERRIDES                       \
  Outcome append(const Dataset& d) override;   \
  Outcome bulkload(const Dataset& d) override; \
  Outcome lookup(const Dataset& d) override;   \
  Outcome prefix(const Dataset& d) override;   \
  Outcome scan(const Dataset& d) override;     \
  Outcome window(const Dataset& d) override;   \
  Outcome durable(const Dataset& d) override;  \
  Outcome pack(const Dataset& d) override;     \
  int64_t mainsize() const override

// Order-independent checksum term of one row.
inline uint64_t rowsum(int64_t code, const char* name) {
  return texthash(name) ^ (static_cast<uint64_t>(code) * 0x9E3779B97F4A7C15ull);
}

}  // namespace bench
