// Timing, memory and file-size measurements, and the report table.
//
// Peak memory is the kernel's high-water mark of the resident set (VmHWM in
// /proc/self/status). Before each engine's run the mark is reset to the
// current resident set (writing 5 to /proc/self/clear_refs), so each figure
// is the peak during that run alone, dataset included; where the kernel
// refuses the reset the figures are the peak of the whole process so far.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/workload.h"

namespace bench {

class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  void restart() { start_ = std::chrono::steady_clock::now(); }
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

// Median and 99th percentile of per-operation times (seconds) into out, in
// milliseconds. Fsync latency on a shared disk comes in bursts; the median
// shows the steady cost beside the total.
void latencies(std::vector<double>& seconds, Outcome& out);

// Resets the peak resident set to the current one; false if not supported.
bool reset_peak();
// Writes the system's dirty pages to disk, so that a timed run does not pay
// for the write-back of what an earlier run (of either engine) left behind.
void settle_disk();
// VmHWM and VmRSS in MiB; 0 if unreadable.
double peak_mib();
double rss_mib();

// Size of a file in bytes, -1 if it does not exist.
int64_t filesize(const std::string& path);
double mib(int64_t bytes);

struct ReportRow {
  const WorkloadInfo* info = nullptr;
  Outcome quill;
  Outcome sqlite;
  std::vector<std::string> warnings;
};

void print_table_head();
void print_table_row(const ReportRow& row);

}  // namespace bench
