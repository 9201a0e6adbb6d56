// quill tree: one tag's B-tree page by page, and the slot's free list.
#include <cstdio>
#include <cstring>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "tools/commands.h"
#include "tools/tableio.h"

namespace quilltool {

using namespace quill;

namespace {

// A stored key made readable component by component.
std::string keytext(const DataFile& table, int tag, const uint8_t* key, int length) {
  const TagInfo& info = table.tinfo()[static_cast<size_t>(tag)];
  std::string out;
  int at = 0;
  char text[64];
  for (const Component& c : info.comps) {
    if (at >= length) break;
    if (!out.empty()) out += " | ";
    const FieldDescr& f = table.header().fields[static_cast<size_t>(c.field)];
    int n = std::min<int>(c.length, length - at);
    const uint8_t* p = key + at;
    switch (f.type) {
      case 'C': {
        const void* nul = std::memchr(p, 0, static_cast<size_t>(n));
        int tl = nul ? static_cast<int>(static_cast<const uint8_t*>(nul) - p) : n;
        out += "\"" + printable(std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(tl))) + "\"";
        if ((c.flags & CF_VAR) && nul) n = tl + 1;
        break;
      }
      case 'L': case 'X':
        out += n == 4 ? std::to_string(get4(p)) : "?";
        break;
      case 'S':
        out += n == 2 ? std::to_string(get2(p)) : "?";
        break;
      case 'D':
        std::snprintf(text, sizeof text, "%g", n == 8 ? getdouble(p) : 0.0);
        out += text;
        break;
      case 'F':
        std::snprintf(text, sizeof text, "%g", n == 4 ? static_cast<double>(getfloat(p)) : 0.0);
        out += text;
        break;
      default:
        for (int i = 0; i < n; ++i) {
          std::snprintf(text, sizeof text, "%02x", p[i]);
          out += text;
        }
    }
    at += n;
  }
  return out;
}

}  // namespace

int cmd_tree(const Args& args) {
  if (args.size() != 2) return usage_error("tree takes BASE TAG");
  DataFile table;
  ErrorCode rc = table.open(args[0].c_str(), {.readonly = true});
  if (rc != Ok) return fail("open " + args[0], rc);
  int t = findtag(table.header(), args[1]);
  if (t < 0) return usage_error("no tag '" + args[1] + "'");
  Index& index = *table.index();
  Btree& tree = index.tree(t);
  const SlotDescr& slot = index.store().slot(t);
  std::printf("tag %d %s: page size %d, key length %d, %s keys, height %d, root %d, "
              "%d pages in use, %d free\n",
              t, table.header().tags[static_cast<size_t>(t)].name.c_str(), slot.pagesize,
              tree.keylen(), tree.info().fixed ? "fixed-length" : "variable-length", tree.height(),
              slot.root, slot.inuse, slot.nfree);

  std::vector<std::string> problems;
  (void)tree.walk(  // its failure is the problems it collects
      [&](const WalkStep& step) {
        const Page& page = *step.page;
        std::printf("page %d: level %d, parent %d, %d entries\n", step.offset, step.level,
                    page.parent(), page.count());
        for (int i = 0; i < page.count(); ++i)
          std::printf("  %3d  %s  -> record %d\n", i,
                      keytext(table, t, page.key(i), page.keylen(i)).c_str(), get4(page.data(i)));
        if (!page.leaf()) {
          std::printf("  children:");
          for (int i = 0; i <= page.count(); ++i) std::printf(" %d", page.child(i));
          std::printf("\n");
        }
        return true;
      },
      &problems);

  std::vector<int32_t> freepages;
  std::string problem;
  (void)index.store().walkfree(t, &freepages, &problem);  // its failure is `problem`
  std::printf("free list:");
  for (int32_t offset : freepages) std::printf(" %d", offset);
  std::printf("%s\n", freepages.empty() ? " empty" : "");
  if (!problem.empty()) problems.push_back(problem);
  for (const std::string& p : problems) std::printf("problem: %s\n", p.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace quilltool
