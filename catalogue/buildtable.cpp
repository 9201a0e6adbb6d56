#include "catalogue/buildtable.h"

#include "catalogue/schema.h"
#include "engine/datafile.h"
#include "engine/descr.h"
#include "engine/maintain.h"

namespace tracklore {

ErrorCode buildtable(const char* base, int index) {
  ErrorCode rc = quill::DataFile::create(base, 0, 0);
  if (rc != quill::Ok) return rc;
  const TableLayout layout = tablelayout(index);
  for (int f = 0; f < layout.nfields; ++f) {
    quill::FieldDescr field;
    field.type = layout.fields[f].type;
    field.length = layout.fields[f].length;
    field.name = layout.fields[f].name;
    rc = quill::insert_field(base, -1, field, quill::FieldGroup::Record);
    if (rc != quill::Ok) return rc;
  }
  for (int t = 0; t < layout.ntags; ++t) {
    quill::TagNode tag;
    tag.name = layout.tags[t].name;
    for (int c = 0; c < layout.tags[t].count; ++c)
      tag.addcomp({static_cast<int16_t>(layout.tags[t].field + c), 0, 0});
    rc = quill::insert_tag(base, -1, tag);
    if (rc != quill::Ok) return rc;
  }
  return quill::Ok;
}

}  // namespace tracklore
