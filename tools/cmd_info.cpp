// quill create / quill info: make a new table, show a table's layout.
#include <cstdio>

#include "engine/datafile.h"
#include "tools/commands.h"

namespace quilltool {

using namespace quill;

int cmd_create(const Args& args) {
  std::string base;
  long namelen = 0, pagesize = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--namelen" || a == "--pagesize") && i + 1 < args.size()) {
      long& target = a == "--namelen" ? namelen : pagesize;
      if (!parse_int(args[++i], target) || target < 1 || target > 32767)
        return usage_error(a + " takes a number from 1 to 32767");
    } else if (base.empty() && !a.empty() && a[0] != '-') {
      base = a;
    } else {
      return usage_error("create: unexpected argument '" + a + "'");
    }
  }
  if (base.empty()) return usage_error("create: BASE is missing");
  ErrorCode rc = DataFile::create(base.c_str(), static_cast<int>(namelen), static_cast<int>(pagesize));
  if (rc != Ok) return fail("create " + base, rc);
  return 0;
}

int cmd_info(const Args& args) {
  if (args.size() != 1) return usage_error("info takes one argument: BASE");
  const std::string& base = args[0];
  DataFile table;
  ErrorCode rc = table.open(base.c_str(), {.readonly = true, .shared = true, .noindex = true});
  if (rc != Ok) return fail("open " + base, rc);
  const Header& h = table.header();
  std::printf("table     %s\n", base.c_str());
  std::printf("nrecs     %d\nndeleted  %d\nserial    %d\nstamp     %d\ncreated   %d\n", h.nrecs,
              h.ndeleted, h.serial, h.stamp, h.created);
  std::printf("namelen   %u\npagesize  %u\nreclen    %u\nhdrlen    %d\ndatastart %d\n", h.namelen,
              h.pagesize, h.reclen, h.hdrlen, h.datastart);
  std::printf("arealen   %u\n", h.arealen);
  std::printf("fields    %u\n", h.nfields);
  for (int f = 0; f < h.nfields; ++f)
    std::printf("  %3d %-*s %c %5d  offset %u\n", f, static_cast<int>(h.namelen),
                h.fields[f].name.c_str(), h.fields[f].type, h.fields[f].length,
                table.finfo()[f].offset);
  std::printf("areas     %u\n", h.nareas);
  for (int a = 0; a < h.nareas; ++a)
    std::printf("  %3d %-*s %c %5d\n", a, static_cast<int>(h.namelen), h.areas[a].name.c_str(),
                h.areas[a].type, h.areas[a].length);
  std::printf("tags      %u\n", h.ntags);
  for (int t = 0; t < h.ntags; ++t) {
    const TagInfo& info = table.tinfo()[t];
    std::printf("  %3d %-*s keylen %u varlen %u\n", t, static_cast<int>(h.namelen),
                h.tags[t].name.c_str(), info.keylen, info.varlen);
    for (const Component& c : info.comps)
      std::printf("        field %d (%s) length %d flags 0x%04x\n", c.field,
                  h.fields[c.field].name.c_str(), c.length, c.flags);
  }
  return 0;
}

}  // namespace quilltool
