// Whether a table's files can be replaced: create, pack and reindex put new
// files in their place, which must not happen to a file that cannot be
// written in place (read-only, held by another program, not a file).
#pragma once

#include <string>

namespace tracklore {

// What a file another program holds counts as. Create must refuse it
// before emptying anything; pack and reindex wait for it step by step.
enum class HeldFile { Unwritable, Writable };

// The first existing file of the table (base name) that cannot be opened
// for writing, "" when there is none. Missing files count as writable.
std::string unwritablefile(const char* table, HeldFile held);

// The first file of the table that is a symbolic link, "" when none is. A
// new file renamed over a link replaces the link and leaves what it led to
// as it was, so that the table would be split between two places.
std::string linkedfile(const char* table);

}  // namespace tracklore
