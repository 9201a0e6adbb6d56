// Finding records by name through the "Name" tag.
//
// The tag's order ignores letter case, accents and punctuation, so a seek
// finds every record whose name sorts equal to the one sought; the stored
// bytes then tell the exact matches from the similar ones. A name longer
// than its kind's field cannot be stored, so nothing bears it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/kind.h"
#include "catalogue/sparecursors.h"
#include "engine/noncopyable.h"

namespace tracklore {

struct NamedRecord {
  int32_t code = -1;
  std::string name;  // as stored
};

// The same finds with one cursor per table kept between them, for many in
// a row (a scan); it must be destroyed before the database is closed.
class NameFinder : quill::NonCopyable {
 public:
  NameFinder();
  ~NameFinder();

  // The records of kind 0..2 whose name sorts equal to stored, in name order.
  std::vector<NamedRecord> sortingequal(Kind kind, const std::string& stored);
  // The codes of those whose stored name is exactly stored.
  std::vector<int32_t> exact(Kind kind, const std::string& stored);
  // The codes of the records that bear the full name full (UTF-8), letter
  // case aside (DB_SameName): the one identity of artists and songs for a
  // scan, an import, a link and the program's insert. They are among the
  // records whose stored name sorts equal to full's stored form.
  std::vector<int32_t> same(Kind kind, std::string_view full);

 private:
  std::optional<SpareCursor> cursors_[3];
};

std::vector<NamedRecord> DB_FindSortingEqual(Kind kind, const std::string& stored);
std::vector<int32_t> DB_FindExactName(Kind kind, const std::string& stored);
std::vector<int32_t> DB_FindSameName(Kind kind, std::string_view full);

}  // namespace tracklore
