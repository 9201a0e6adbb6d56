#include "bench/measure.h"

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace bench {

namespace {

double status_mib(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  size_t keylen = std::strlen(key);
  while (std::getline(in, line)) {
    if (line.compare(0, keylen, key) == 0 && line.size() > keylen && line[keylen] == ':') {
      long kib = std::strtol(line.c_str() + keylen + 1, nullptr, 10);
      return static_cast<double>(kib) / 1024.0;
    }
  }
  return 0;
}

}  // namespace

bool reset_peak() {
  // Hand freed heap back to the kernel first, or the previous run's garbage
  // stays resident and becomes the next run's floor.
  malloc_trim(0);
  std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  bool ok = std::fputs("5", f) >= 0;
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

void settle_disk() { ::sync(); }

void latencies(std::vector<double>& seconds, Outcome& out) {
  if (seconds.empty()) return;
  std::sort(seconds.begin(), seconds.end());
  out.median_ms = seconds[seconds.size() / 2] * 1000.0;
  out.p99_ms = seconds[(seconds.size() * 99) / 100] * 1000.0;
}

double peak_mib() { return status_mib("VmHWM"); }
double rss_mib() { return status_mib("VmRSS"); }

int64_t filesize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

double mib(int64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void print_table_head() {
  std::printf("%-44s %12s %12s %8s %18s\n", "workload", "Quillstore s", "SQLite s", "Q/S",
              "peak RSS MiB Q/S");
  std::printf("%-44s %12s %12s %8s %18s\n", std::string(44, '-').c_str(),
              std::string(12, '-').c_str(), std::string(12, '-').c_str(),
              std::string(8, '-').c_str(), std::string(18, '-').c_str());
}

void print_table_row(const ReportRow& row) {
  char title[64];
  // The catalogue workloads carry their letter in the title instead.
  if (row.info->id > 0) std::snprintf(title, sizeof title, "%d %s", row.info->id, row.info->title);
  else std::snprintf(title, sizeof title, "%s", row.info->title);
  auto secs = [](const Outcome& o) {
    char buf[32];
    if (!o.ran) std::snprintf(buf, sizeof buf, "-");
    else if (!o.error.empty()) std::snprintf(buf, sizeof buf, "failed");
    else std::snprintf(buf, sizeof buf, "%.3f", o.seconds);
    return std::string(buf);
  };
  char ratio[32] = "-";
  if (row.quill.ran && row.sqlite.ran && row.quill.error.empty() && row.sqlite.error.empty() &&
      row.sqlite.seconds > 0)
    std::snprintf(ratio, sizeof ratio, "%.2f", row.quill.seconds / row.sqlite.seconds);
  char peak[40];
  std::snprintf(peak, sizeof peak, "%.1f / %.1f", row.quill.peak_mib, row.sqlite.peak_mib);
  std::printf("%-44s %12s %12s %8s %18s\n", title, secs(row.quill).c_str(),
              secs(row.sqlite).c_str(), ratio, peak);
  std::fflush(stdout);
}

}  // namespace bench
