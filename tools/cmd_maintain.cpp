// quill add-field / add-tag / pack / reindex / check: structure and upkeep.
#include <cstdio>
#include <cstdlib>

#include "engine/check.h"
#include "engine/datafile.h"
#include "engine/maintain.h"
#include "tools/commands.h"
#include "tools/tableio.h"

namespace quilltool {

using namespace quill;

int cmd_add_field(const Args& args) {
  Args plain;
  long pos = -1;
  FieldGroup which = FieldGroup::Record;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pos" && i + 1 < args.size()) {
      if (!parse_int(args[++i], pos)) return usage_error("--pos takes a number");
    } else if (args[i] == "--header") {
      which = FieldGroup::Header;
    } else {
      plain.push_back(args[i]);
    }
  }
  long length;
  if (plain.size() != 4 || plain[1].size() != 1 || !parse_int(plain[2], length))
    return usage_error("add-field takes BASE TYPE LENGTH NAME [--pos N] [--header]");
  FieldDescr field{plain[1][0], static_cast<int16_t>(length), plain[3]};
  if (length < INT16_MIN || length > INT16_MAX) return fail("add-field", BadParam);
  ErrorCode rc = insert_field(plain[0].c_str(), static_cast<int>(pos), field, which);
  if (rc != Ok) return fail("add-field", rc);
  return 0;
}

int cmd_add_tag(const Args& args) {
  Args plain;
  long pos = -1;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pos" && i + 1 < args.size()) {
      if (!parse_int(args[++i], pos)) return usage_error("--pos takes a number");
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() < 3) return usage_error("add-tag takes BASE NAME FIELD[:LENGTH[:FLAGS]]...");
  DataFile table;
  ErrorCode rc = table.opendata(plain[0].c_str(), {.readonly = true, .shared = true});
  if (rc != Ok) return fail("open " + plain[0], rc);
  TagNode tag;
  tag.name = plain[1];
  for (size_t i = 2; i < plain.size(); ++i) {
    std::string component = plain[i];
    std::string parts[3];
    for (int k = 0; k < 3; ++k) {
      size_t colon = component.find(':');
      parts[k] = component.substr(0, colon);
      if (colon == std::string::npos) break;
      component = component.substr(colon + 1);
    }
    int f = findfield(table.header(), parts[0]);
    long length = 0, flags = 0;
    if (f < 0) return usage_error("no field '" + parts[0] + "'");
    if (!parts[1].empty() && !parse_int(parts[1], length)) return usage_error("bad length in '" + plain[i] + "'");
    if (!parts[2].empty()) {
      char* end = nullptr;
      flags = std::strtol(parts[2].c_str(), &end, 0);
      if (*end != '\0' || flags < 0 || flags > 0xFFFF) return usage_error("bad flags in '" + plain[i] + "'");
    }
    tag.addcomp({static_cast<int16_t>(f), static_cast<int16_t>(length), static_cast<uint16_t>(flags)});
  }
  (void)table.close();  // opened only to be read
  rc = insert_tag(plain[0].c_str(), static_cast<int>(pos), tag);
  if (rc != Ok) return fail("add-tag", rc);
  return 0;
}

int cmd_pack(const Args& args) {
  if (args.size() != 1) return usage_error("pack takes BASE");
  ErrorCode rc = DataFile::pack(args[0].c_str());
  if (rc != Ok) return fail("pack", rc);
  return 0;
}

int cmd_reindex(const Args& args) {
  if (args.size() != 1) return usage_error("reindex takes BASE");
  ErrorCode rc = DataFile::reindex(args[0].c_str());
  if (rc != Ok) return fail("reindex", rc);
  return 0;
}

int cmd_check(const Args& args) {
  if (args.size() != 1) return usage_error("check takes BASE");
  std::vector<std::string> problems, notes;
  int rc = checktable(args[0].c_str(), &problems, &notes);
  for (const std::string& p : problems) std::printf("%s: %s\n", args[0].c_str(), p.c_str());
  for (const std::string& n : notes) std::printf("%s: note: %s\n", args[0].c_str(), n.c_str());
  if (rc != 0) return 1;
  std::printf("%s: no problems found\n", args[0].c_str());
  return 0;
}

}  // namespace quilltool
