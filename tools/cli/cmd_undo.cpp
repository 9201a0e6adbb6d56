// tracklore-cli undo / redo: taking back the last edit, or doing again the
// last one taken back.
#include <cstdio>
#include <string>

#include "catalogue/undo.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

int undoorredo(UndoWay way) {
  Session session(true);
  if (!session.ok()) return 1;
  std::string message;
  if (DB_Undo(way, &message) != 0) return failure(message);
  std::printf("%s\n", message.c_str());
  return 0;
}

}  // namespace

int cmd_undo(const Options&, TerminalHost&) { return undoorredo(UndoWay::Undo); }
int cmd_redo(const Options&, TerminalHost&) { return undoorredo(UndoWay::Redo); }

}  // namespace tracklore::cli
