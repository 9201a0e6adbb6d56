#include "catalogue/results.h"

namespace tracklore {

const char* DB_ResultName(ErrorCode code) {
  switch (code) {
    case StillReferenced: return "StillReferenced";
    case NeedsConfirmation: return "NeedsConfirmation";
    case EmptyName: return "EmptyName";
    case ListFull: return "ListFull";
    case NeedsRecovery: return "NeedsRecovery";
    default: return quill::errname(code);
  }
}

}  // namespace tracklore
