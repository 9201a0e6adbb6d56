// The percentage of a whole-database pass so far, as the engine's scan
// reports it (rounded to the nearest), for the line shown before a table.
#pragma once

#include <cstdint>

#include "engine/rlist.h"

namespace tracklore {

inline int progresspercent(const quill::Progress& progress) {
  if (progress.total <= 0) return 0;
  return static_cast<int>((2 * int64_t{progress.done} * 100 / progress.total + 1) / 2);
}

}  // namespace tracklore
