// The offer to recover a database that a crash left half-changed (or whose
// index files are behind its records), and the account of what the
// recovery did.
#pragma once

#include <string>
#include <vector>

#include <QLatin1String>

class QWidget;

namespace tracklore {

// Why recovery is offered: an edit the journal holds unfinished, or index
// files out of date or damaged (an interrupted change, a pack whose
// reindex was declined).
enum class RecoveryReason { UnfinishedEdit, StaleIndex };

// The object names of the two boxes.
inline constexpr QLatin1String kRecoveryOfferName{"RecoveryOffer"};
inline constexpr QLatin1String kRecoveryOutcomeName{"RecoveryOutcome"};

// Asks whether to recover now; No is the default, since recovery changes
// the files. details: the engine's message about the failed open, if any.
bool askRecovery(QWidget* parent, RecoveryReason reason, const std::string& details);

// What DB_Recover did (its log under the details), after its result (0,
// -1 failed, -2 whole but a change lost) and with its advice: a recovery
// that did not end whole says so first, then why and what to do.
void showRecoveryOutcome(QWidget* parent, int result, const std::vector<std::string>& log,
                         const std::string& advice);

// After DB_Close: when a table could not write back what it held (a full
// disk), says that the database needs recovery and how, and returns true.
bool reportFailedClose();

}  // namespace tracklore
