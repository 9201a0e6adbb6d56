// Header: the parsed header of a data file (.db1) with its descriptor tables.
//
// The .db1 file, all header integers little-endian:
//
//   offset width name       meaning
//   0      4     magic      0x00024245 ("EB\2\0"), not checked on open
//   4      4     nrecs      record slots, deleted ones included
//   8      4     serial     next serial value to hand out
//   12     4     ndeleted   records marked deleted
//   16     4     created    creation time, seconds since 1970 (UTC)
//   20     4     stamp      change stamp; the index file carries the same
//   24     2     namelen    bytes of every descriptor name (default 16)
//   26     2     pagesize   requested index page size (0 reads as 1024)
//   28     4     datastart  offset of record 0 = hdrlen + arealen
//   32     2     nfields    field descriptors
//   34     2     reclen     record length = field lengths + statlen
//   36     2     statlen    status bytes at the end of a record: 1
//   38     2     -          zero
//   40     4     hdrlen     offset of the header record
//   44     2     nareas     header-record field descriptors
//   46     2     arealen    header record length = its field lengths + areastat
//   48     2     areastat   status bytes of the header record: 0
//   50     2     -          zero
//   52     2     ntags      tag descriptors
//   54     2     ncomps     components over all tags
//   56     ...   field descriptors (name[namelen], type u16, length s16),
//                header-record field descriptors (same layout),
//                tag descriptors (name[namelen], count s16,
//                                 count x (field s16, length s16, flags u16)),
//                "\r\n"
//   hdrlen       the header record (arealen bytes)
//   datastart    the records, reclen bytes each; the last byte of each is its
//                status: ' ' live, '*' deleted
//
// hdrlen = 58 + namelen*(nfields+nareas+ntags) + 4*(nfields+nareas)
//             + 2*ntags + 6*ncomps.
//
// read() treats every byte as hostile: counts, lengths and the layout formula
// are checked before anything is allocated from them.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/descr.h"
#include "engine/errors.h"

namespace quill {

class FileBuffer;

constexpr uint32_t kDataMagic = 0x00024245;
constexpr int kHeadLen = 56;
constexpr int kDefaultNameLen = 16;
constexpr int kDefaultPageSize = 1024;

struct Header {
  uint32_t magic = kDataMagic;
  int32_t nrecs = 0;
  int32_t serial = 0;
  int32_t ndeleted = 0;
  int32_t created = 0;
  int32_t stamp = 0;
  uint16_t namelen = kDefaultNameLen;
  uint16_t pagesize = kDefaultPageSize;
  int32_t datastart = 0;
  uint16_t nfields = 0;
  uint16_t reclen = 1;
  uint16_t statlen = 1;
  int32_t hdrlen = 0;
  uint16_t nareas = 0;
  uint16_t arealen = 0;
  uint16_t areastat = 0;
  uint16_t ntags = 0;
  uint16_t ncomps = 0;

  std::vector<FieldDescr> fields;
  std::vector<FieldDescr> areas;
  std::vector<TagNode> tags;

  // Whole header with descriptors and trailer: a header that does not read
  // whole and sound is BadData, a failed write WriteFailed.
  ErrorCode read(FileBuffer& file);
  ErrorCode write(FileBuffer& file) const;
  // Only the 56 fixed bytes (the counters): GeneralError when they cannot be
  // read, WriteFailed when they cannot be written.
  ErrorCode readhead(FileBuffer& file);
  ErrorCode writehead(FileBuffer& file) const;

  void encodehead(uint8_t* out) const;
  void decodehead(const uint8_t* in);

  int64_t computed_hdrlen() const;
  void lengths();
  int effective_pagesize() const { return pagesize == 0 ? kDefaultPageSize : pagesize; }

  // Position -1 appends.
  // BadParam for a bad position, or when the lengths or counts would overflow.
  ErrorCode insert_descr(FieldGroup which, int position, const FieldDescr& descriptor);
  ErrorCode insert_tag(const TagNode& node, int position);

 private:
  ErrorCode parse_descriptors(const uint8_t* p, size_t n);
  ErrorCode check_layout() const;
};

}  // namespace quill
