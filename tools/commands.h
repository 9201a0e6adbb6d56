// The commands of the quill tool. Each takes its arguments after the command
// name and returns the process's exit status.
#pragma once

#include <string>
#include <vector>

#include "engine/errors.h"

namespace quilltool {

using Args = std::vector<std::string>;

int cmd_create(const Args& args);
int cmd_info(const Args& args);
int cmd_tree(const Args& args);
int cmd_add_field(const Args& args);
int cmd_add_tag(const Args& args);
int cmd_append(const Args& args);
int cmd_load(const Args& args);
int cmd_list(const Args& args);
int cmd_seek(const Args& args);
int cmd_update(const Args& args);
int cmd_delete(const Args& args);
int cmd_pack(const Args& args);
int cmd_reindex(const Args& args);
int cmd_check(const Args& args);

// Prints "quill: <what>: <code name>" on stderr; returns 1.
int fail(const std::string& what, quill::ErrorCode code);
// Prints "quill: <text>" on stderr; returns 2 (a usage error).
int usage_error(const std::string& text);
// Parses a whole decimal number; false when the text is not one.
bool parse_int(const std::string& text, long& value);

}  // namespace quilltool
