// Structure change: a table grows by one field or one tag at a time, each
// change producing a complete new data file through the copy machinery.
#include <cstring>
#include <new>

#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/maintain.h"
#include "engine/rlist.h"

namespace quill {

namespace {

// Records of an insertion are converted; an unchanged copy writes them as
// they stand. A new serial field numbers the records in the order they lie.
int convertrecord(Rlist& cursor, int32_t i, void* cookie) {
  auto* change = static_cast<RecChgDescr*>(cookie);
  DataFile& out = change->fresh();
  if (change->change() == RecChgDescr::Copy)
    return out.writerecord(i, cursor.buffer()) == Ok ? 0 : -1;
  const uint8_t* record = change->convert(cursor.buffer());
  if (change->field()->type == 'X') put4(change->buffer() + change->offset(), i);
  return out.writerecord(i, record) == Ok ? 0 : -1;
}

int copyrecord(Rlist& cursor, int32_t i, void* cookie) {
  auto* fresh = static_cast<DataFile*>(cookie);
  return fresh->writerecord(i, cursor.buffer()) == Ok ? 0 : -1;
}

}  // namespace

bool normalize(FieldDescr& descriptor) {
  if (!isfieldtype(descriptor.type)) {
    warning("normalize: invalid type '%c' supplied for field '%s'", descriptor.type,
            descriptor.name.c_str());
    return false;
  }
  if (isnumtype(descriptor.type)) {
    descriptor.length = static_cast<int16_t>(numsize(descriptor.type));
  } else if (descriptor.length < 1) {
    warning("normalize: invalid length %d supplied for field '%s'", descriptor.length,
            descriptor.name.c_str());
    return false;
  }
  return true;
}

bool normalizetag(const TagNode& tag, DataFile& old) {
  if (tag.comps.empty()) {
    warning("normalizetag: tag '%s' has no components", tag.name.c_str());
    return false;
  }
  const Header& h = old.header();
  int keylen = 0;
  for (size_t j = 0; j < tag.comps.size(); ++j) {
    const Component& c = tag.comps[j];
    if (c.field < 0 || c.field >= h.nfields) {
      warning("normalizetag: tag '%s', component %d: invalid field number %d", tag.name.c_str(),
              static_cast<int>(j), c.field);
      return false;
    }
    int fieldlen = h.fields[static_cast<size_t>(c.field)].length;
    if (c.length < 0 || c.length > fieldlen) {
      warning("normalizetag: tag '%s', component %d: invalid length %d (use 0~%d)",
              tag.name.c_str(), static_cast<int>(j), c.length, fieldlen);
      return false;
    }
    keylen += c.length == 0 ? fieldlen : c.length;
  }
  // A longer key would be accepted here and then end every later open of
  // the table in a fatal error.
  int limit = h.effective_pagesize() / 4;
  if (keylen > limit) {
    warning("normalizetag: tag '%s': keys of %d bytes are too long; should not exceed %d bytes",
            tag.name.c_str(), keylen, limit);
    return false;
  }
  return true;
}

void upd_tagstruct(DataFile& fresh, int position) {
  for (TagNode& tag : fresh.header().tags)
    for (Component& c : tag.comps)
      if (c.field >= position) ++c.field;
}

RecChgDescr::RecChgDescr(DataFile& fresh, DataFile& old, Change change, int position,
                         FieldGroup group)
    : change_(change), fresh_(&fresh) {
  const bool hdrrec = group == FieldGroup::Header;
  const Header& o = old.header();
  const Header& n = fresh.header();
  oldlen_ = hdrrec ? o.arealen : o.reclen;
  if (change == Insert) {
    const std::vector<FieldDescr>& before = hdrrec ? o.areas : o.fields;
    const std::vector<FieldDescr>& after = hdrrec ? n.areas : n.fields;
    for (int k = 0; k < position; ++k) offset_ += before[static_cast<size_t>(k)].length;
    field_ = &after[static_cast<size_t>(position)];
    count_ = field_->length;
    insert_ = 1;
  }
  newlen_ = oldlen_ + count_;
  if (newlen_ > 0) {
    buffer_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(newlen_)]);
    chkalloc(buffer_.get(), "RecChgDescr::RecChgDescr");
  }
}

const uint8_t* RecChgDescr::convert(const uint8_t* oldrecord) {
  if (newlen_ == 0) return buffer_.get();
  uint8_t* out = buffer_.get();
  if (offset_ > 0) std::memcpy(out, oldrecord, static_cast<size_t>(offset_));
  int at = offset_;
  if (insert_) {
    std::memset(out + at, fill_, static_cast<size_t>(count_));
    at += count_;
  }
  if (oldlen_ > offset_)
    std::memcpy(out + at, oldrecord + offset_, static_cast<size_t>(oldlen_ - offset_));
  return out;
}

ErrorCode insert_field(const char* base, int position, const FieldDescr& descriptor,
                       FieldGroup which, Progress* progress) {
  FieldDescr field = descriptor;
  if (!normalize(field)) return BadParam;

  DataFile fresh, old;
  ErrorCode rc = DataFile::opencopy(base, fresh, old);
  if (rc != Ok) return rc;
  Header& h = fresh.header();
  const bool record = which == FieldGroup::Record;
  if (position == -1) position = record ? old.header().nfields : old.header().nareas;
  if (record) upd_tagstruct(fresh, position);
  int count = record ? h.nfields : h.nareas;
  if (position < 0 || position > count) {
    warning("insert_field: bad field position %d (use 0~%d)", position, count);
    return abandoncopy(fresh, old, BadParam);
  }
  if (h.insert_descr(which, position, field) != 0) {
    // The position is sound: the record (or header record) would outgrow
    // its 16-bit length.
    warning("insert_field: field '%s' of length %d makes the record too long",
            field.name.c_str(), field.length);
    return abandoncopy(fresh, old, BadParam);
  }

  if (which == FieldGroup::Header) {
    RecChgDescr area(fresh, old, RecChgDescr::Insert, position, FieldGroup::Header);
    rc = copyhdrrec(fresh, old, &area);
  } else {
    rc = copyhdrrec(fresh, old, nullptr);
  }
  if (rc != Ok) return abandoncopy(fresh, old, rc);

  RecChgDescr change(fresh, old, record ? RecChgDescr::Insert : RecChgDescr::Copy, position,
                     FieldGroup::Record);
  return DataFile::epilogue(fresh, old, convertrecord, &change, DataFile::Stamp::Keep, progress);
}

ErrorCode insert_tag(const char* base, int position, const TagNode& tag, Progress* progress) {
  DataFile fresh, old;
  ErrorCode rc = DataFile::opencopy(base, fresh, old);
  if (rc != Ok) return rc;
  if (!normalizetag(tag, old)) return abandoncopy(fresh, old, BadParam);
  Header& h = fresh.header();
  if (position == -1) position = h.ntags;
  if (position < 0 || position > h.ntags) {
    warning("insert_tag: bad tag position %d (use 0~%d)", position, h.ntags);
    return abandoncopy(fresh, old, BadParam);
  }
  if (h.insert_tag(tag, position) != 0) {
    // The position is sound: the tag table would outgrow its 16-bit counts.
    warning("insert_tag: tag '%s' does not fit in the header", tag.name.c_str());
    return abandoncopy(fresh, old, BadParam);
  }
  rc = copyhdrrec(fresh, old, nullptr);
  if (rc != Ok) return abandoncopy(fresh, old, rc);
  return DataFile::epilogue(fresh, old, copyrecord, &fresh, DataFile::Stamp::Bump, progress);
}

}  // namespace quill
