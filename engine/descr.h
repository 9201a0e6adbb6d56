// Field and tag descriptors as the data file header keeps them in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quill {

// Component flags of a tag component.
enum ComponentFlags : uint16_t {
  CF_DESC = 0x0001,     // sorts in descending order
  CF_COLLATE = 0x0010,  // text compared in natural order
  CF_BINARY = 0x0020,   // text compared byte by byte
  CF_VAR = 0x0100,      // text stored in the key up to and including its NUL
  CF_FIXED = 0x0200,    // text stored in the key with its full length
};

// One field of a record (or of the header record).
struct FieldDescr {
  char type = 0;        // one of B C D F L S X
  int16_t length = 0;   // bytes in the record
  std::string name;     // at most namelen characters
};

// Which record a field belongs to: every record's, or the one header record.
enum class FieldGroup { Record, Header };

// One component of a tag: a leading part of a field. On disk 6 bytes:
// field number, length (0 = whole field), flags.
struct Component {
  int16_t field = 0;
  int16_t length = 0;
  uint16_t flags = 0;
};

// A tag (index) over an ordered list of components.
struct TagNode {
  std::vector<Component> comps;
  std::string name;

  void addcomp(const Component& c) { comps.push_back(c); }
};

}  // namespace quill
