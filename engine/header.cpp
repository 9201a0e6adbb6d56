#include "engine/header.h"

#include <cstring>

#include "engine/bytes.h"
#include "engine/filebuffer.h"

namespace quill {

namespace {

constexpr uint8_t kTrailer[2] = {'\r', '\n'};

// Names are NUL-padded to namelen; a name of exactly namelen has no NUL.
std::string read_name(const uint8_t* p, int namelen) {
  size_t n = 0;
  while (n < static_cast<size_t>(namelen) && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

void write_name(std::vector<uint8_t>& out, const std::string& name, int namelen) {
  size_t n = std::min(name.size(), static_cast<size_t>(namelen));
  out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n));
  out.insert(out.end(), static_cast<size_t>(namelen) - n, 0);
}

void write_u16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8);
}

// A field descriptor is sound when its type is known and its length fits it.
bool sound_field(const FieldDescr& f) {
  if (!isfieldtype(f.type)) return false;
  if (isnumtype(f.type)) return f.length == numsize(f.type);
  return f.length >= 1;
}

}  // namespace

void Header::encodehead(uint8_t* out) const {
  std::memset(out, 0, kHeadLen);
  putle32(out + 0, magic);
  putle32(out + 4, static_cast<uint32_t>(nrecs));
  putle32(out + 8, static_cast<uint32_t>(serial));
  putle32(out + 12, static_cast<uint32_t>(ndeleted));
  putle32(out + 16, static_cast<uint32_t>(created));
  putle32(out + 20, static_cast<uint32_t>(stamp));
  putle16(out + 24, namelen);
  putle16(out + 26, pagesize);
  putle32(out + 28, static_cast<uint32_t>(datastart));
  putle16(out + 32, nfields);
  putle16(out + 34, reclen);
  putle16(out + 36, statlen);
  putle32(out + 40, static_cast<uint32_t>(hdrlen));
  putle16(out + 44, nareas);
  putle16(out + 46, arealen);
  putle16(out + 48, areastat);
  putle16(out + 52, ntags);
  putle16(out + 54, ncomps);
}

void Header::decodehead(const uint8_t* in) {
  magic = getle32(in + 0);
  nrecs = getles32(in + 4);
  serial = getles32(in + 8);
  ndeleted = getles32(in + 12);
  created = getles32(in + 16);
  stamp = getles32(in + 20);
  namelen = getle16(in + 24);
  pagesize = getle16(in + 26);
  datastart = getles32(in + 28);
  nfields = getle16(in + 32);
  reclen = getle16(in + 34);
  statlen = getle16(in + 36);
  hdrlen = getles32(in + 40);
  nareas = getle16(in + 44);
  arealen = getle16(in + 46);
  areastat = getle16(in + 48);
  ntags = getle16(in + 52);
  ncomps = getle16(in + 54);
}

int64_t Header::computed_hdrlen() const {
  int64_t names = int64_t{nfields} + nareas + ntags;
  return 58 + int64_t{namelen} * names + 4 * (int64_t{nfields} + nareas) + 2 * int64_t{ntags} +
         6 * int64_t{ncomps};
}

void Header::lengths() {
  hdrlen = static_cast<int32_t>(computed_hdrlen());
  datastart = hdrlen + arealen;
}

// The checks that need only the 56 fixed bytes.
ErrorCode Header::check_layout() const {
  if (statlen != 1 || areastat != 0 || namelen == 0) return BadData;
  if (nrecs < 0 || ndeleted < 0 || ndeleted > nrecs) return BadData;
  if (hdrlen != computed_hdrlen() || int64_t{datastart} != int64_t{hdrlen} + arealen) return BadData;
  if (reclen < statlen) return BadData;
  // Every record must lie below 2 GiB, where positions end.
  if (int64_t{datastart} + int64_t{nrecs} * reclen > INT32_MAX) return BadData;
  return Ok;
}

ErrorCode Header::readhead(FileBuffer& file) {
  uint8_t head[kHeadLen];
  if (file.read(0, head, kHeadLen) != 0) return GeneralError;
  decodehead(head);
  return Ok;
}

ErrorCode Header::writehead(FileBuffer& file) const {
  uint8_t head[kHeadLen];
  encodehead(head);
  if (file.write(0, head, kHeadLen) != 0) return WriteFailed;
  return fileresult(file.flush(), WriteFailed);
}

ErrorCode Header::read(FileBuffer& file) {
  fields.clear();
  areas.clear();
  tags.clear();
  if (readhead(file) != 0 || check_layout() != 0) return BadData;
  int32_t size = file.size();
  if (size < 0 || size < datastart) return BadData;  // descriptors or header record cut off
  // Counted records cut off: what is missing would be read as whatever the
  // buffer held. A longer file is legal: records are written before the
  // counters that make them visible, so an interrupted append leaves an
  // uncounted tail (so does an open that made room ahead of its appends and
  // never closed), which the next append overwrites and a pack drops.
  if (size < int64_t{datastart} + int64_t{nrecs} * reclen) return BadData;

  uint8_t trailer[2];
  if (file.read(datastart - arealen - 2, trailer, 2) != 0 ||
      std::memcmp(trailer, kTrailer, 2) != 0)
    return BadData;

  std::vector<uint8_t> block(static_cast<size_t>(hdrlen - kHeadLen - 2));
  if (file.read(kHeadLen, block.data(), static_cast<int32_t>(block.size())) != 0)
    return BadData;
  if (parse_descriptors(block.data(), block.size()) != 0) {
    fields.clear();
    areas.clear();
    tags.clear();
    return BadData;
  }
  return Ok;
}

ErrorCode Header::parse_descriptors(const uint8_t* p, size_t n) {
  const uint8_t* end = p + n;
  auto take_fields = [&](std::vector<FieldDescr>& table, int count, int statbytes, int total) {
    int64_t sum = statbytes;
    for (int i = 0; i < count; ++i) {
      if (end - p < namelen + 4) return false;
      FieldDescr f;
      f.name = read_name(p, namelen);
      p += namelen;
      if (p[1] != 0) return false;  // the type's high byte is always 0
      f.type = static_cast<char>(p[0]);
      f.length = getles16(p + 2);
      p += 4;
      if (!sound_field(f)) return false;
      sum += f.length;
      table.push_back(std::move(f));
    }
    return sum == total;
  };
  if (!take_fields(fields, nfields, statlen, reclen)) return BadData;
  if (!take_fields(areas, nareas, areastat, arealen)) return BadData;

  int64_t comps = 0;
  for (int t = 0; t < ntags; ++t) {
    if (end - p < namelen + 2) return BadData;
    TagNode node;
    node.name = read_name(p, namelen);
    p += namelen;
    int count = getles16(p);
    p += 2;
    if (count < 0 || end - p < 6 * int64_t{count}) return BadData;
    for (int c = 0; c < count; ++c, p += 6)
      node.addcomp({getles16(p), getles16(p + 2), getle16(p + 4)});
    comps += count;
    tags.push_back(std::move(node));
  }
  return (comps == ncomps && p == end) ? Ok : BadData;
}

ErrorCode Header::write(FileBuffer& file) const {
  if (writehead(file) != 0) return WriteFailed;
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(computed_hdrlen()));
  for (const auto* table : {&fields, &areas})
    for (const FieldDescr& f : *table) {
      write_name(out, f.name, namelen);
      write_u16(out, static_cast<uint8_t>(f.type));
      write_u16(out, static_cast<uint16_t>(f.length));
    }
  for (const TagNode& node : tags) {
    write_name(out, node.name, namelen);
    write_u16(out, static_cast<uint16_t>(node.comps.size()));
    for (const Component& c : node.comps) {
      write_u16(out, static_cast<uint16_t>(c.field));
      write_u16(out, static_cast<uint16_t>(c.length));
      write_u16(out, c.flags);
    }
  }
  out.insert(out.end(), kTrailer, kTrailer + 2);
  if (file.write(kHeadLen, out.data(), static_cast<int32_t>(out.size())) != 0)
    return WriteFailed;
  return fileresult(file.flush(), WriteFailed);
}

ErrorCode Header::insert_descr(FieldGroup which, int position, const FieldDescr& descriptor) {
  std::vector<FieldDescr>& table = which == FieldGroup::Record ? fields : areas;
  int count = static_cast<int>(table.size());
  if (position < -1 || position > count) return BadParam;
  if (position == -1) position = count;
  int grown = (which == FieldGroup::Record ? reclen : arealen) + descriptor.length;
  if (descriptor.length < 0 || grown > UINT16_MAX || count >= INT16_MAX) return BadParam;
  FieldDescr copy = descriptor;
  if (copy.name.size() > namelen) copy.name.resize(namelen);
  table.insert(table.begin() + position, std::move(copy));
  if (which == FieldGroup::Record) {
    ++nfields;
    reclen = static_cast<uint16_t>(reclen + descriptor.length);
  } else {
    ++nareas;
    arealen = static_cast<uint16_t>(arealen + descriptor.length);
  }
  lengths();
  return Ok;
}

ErrorCode Header::insert_tag(const TagNode& node, int position) {
  if (node.comps.empty()) return BadParam;
  int count = static_cast<int>(tags.size());
  if (position < -1 || position > count) return BadParam;
  if (position == -1) position = count;
  if (ncomps + node.comps.size() > INT16_MAX || count >= INT16_MAX) return BadParam;
  TagNode copy = node;
  if (copy.name.size() > namelen) copy.name.resize(namelen);
  tags.insert(tags.begin() + position, std::move(copy));
  ++ntags;
  ncomps = static_cast<uint16_t>(ncomps + node.comps.size());
  lengths();
  return Ok;
}

}  // namespace quill
