#include "bench/workload.h"

#include <cstdlib>

namespace bench {

namespace {

const WorkloadInfo kInfo[kWorkloads] = {
    {W_Append, "append", "append n, name and code indexes"},
    {W_Bulkload, "bulkload", "append n unindexed, then index"},
    {W_Lookup, "lookup", "100,000 lookups by code"},
    {W_Prefix, "prefix", "100,000 prefix seeks by name"},
    {W_Scan, "scan", "full scan in name order"},
    {W_Window, "window", "10,000 prefix seeks + next 12 rows"},
    {W_Durable, "durable", "1,000 durable single appends"},
    {W_Pack, "pack", "delete 10%, pack, reindex"},
};

}  // namespace

const WorkloadInfo& workload_info(int id) { return kInfo[id - 1]; }

int workload_id(const std::string& text) {
  for (const WorkloadInfo& w : kInfo)
    if (text == w.name) return w.id;
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && *end == '\0' && n >= 1 && n <= kWorkloads) return static_cast<int>(n);
  return 0;
}

Outcome Side::run(int id, const Dataset& d) {
  switch (id) {
    case W_Append: return append(d);
    case W_Bulkload: return bulkload(d);
    case W_Lookup: return lookup(d);
    case W_Prefix: return prefix(d);
    case W_Scan: return scan(d);
    case W_Window: return window(d);
    case W_Durable: return durable(d);
    case W_Pack: return pack(d);
    default: return Outcome{};
  }
}

}  // namespace bench
