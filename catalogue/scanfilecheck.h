// The verification of the scan file table (scanfiles.h), part of
// DB_Verify: an entry whose parts are not 0, 1, 2, ... (a torn write), or
// the mark of an album that is no longer there, is dropped. The entries
// are the scans' bookkeeping, not the user's data: they are put right
// without a question, and counted as found and corrected (found only when
// the database is open for reading).
#pragma once

#include "catalogue/maintenance.h"

namespace tracklore {

void DB_CheckScanFiles(VerifySummary* summary);

}  // namespace tracklore
