// What verification finds wrong with one record's entries in the name
// table (invariant 6 of schema.h), apart from the walk that gathers them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tracklore {

// The entries of one kind and code, in the name tag's order.
struct NameEntries {
  int storedkind = 0;  // the Kind field as read: a damaged table may hold any number
  int32_t code = 0;
  std::vector<int> parts;          // each entry's part number
  std::vector<std::string> texts;  // each entry's text
};

// "" when the entries are what the record needs; else why they are not,
// for a message ("its record is gone", "part 1 is missing"). stored is the
// record's stored name, nullopt when no record of that kind has the code.
std::string DB_NameEntriesProblem(const NameEntries& entries,
                                  const std::optional<std::string>& stored);

}  // namespace tracklore
