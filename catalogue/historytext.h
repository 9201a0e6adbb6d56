// What a step of the undo history did, in the user's words: "link of
// 'Karma Police' to 'OK Computer'", "rename of 'Bjork' to 'Björk'".
#pragma once

#include <string>

#include "catalogue/history.h"

namespace tracklore {

// Read from the step's records while the tables are open, the edit just
// done; the operation's name alone when its records say nothing more.
std::string describestep(const HistoryStep& step);

}  // namespace tracklore
