#include "catalogue/results.h"

#include "engine/diskroom.h"

namespace tracklore {

// The catalogue's codes lie outside the engine's enumeration: compared as numbers.
const char* DB_ResultName(ErrorCode code) {
  switch (static_cast<int32_t>(code)) {
    case StillReferenced: return "StillReferenced";
    case NeedsConfirmation: return "NeedsConfirmation";
    case EmptyName: return "EmptyName";
    case ListFull: return "ListFull";
    case NeedsRecovery: return "NeedsRecovery";
    case EmptySearch: return "EmptySearch";
    default: return quill::errname(code);
  }
}

std::string DB_FailureText(ErrorCode code) {
  if (code != quill::DiskFull) return DB_ResultName(code);
  const int64_t lacking = quill::lastroomlacking();
  if (lacking <= 0) return "the disk is full";
  constexpr int64_t kMB = 1 << 20;
  return "the disk is full: " + std::to_string((lacking + kMB - 1) / kMB) + " MB more are needed";
}

std::string DB_ReturnedText(ErrorCode code) {
  return code == quill::DiskFull ? DB_FailureText(code) : std::string("returned ") + DB_ResultName(code);
}

}  // namespace tracklore
