// quill: the storage engine's own inspection and maintenance tool.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "tools/commands.h"

namespace quilltool {

int fail(const std::string& what, quill::ErrorCode code) {
  std::fprintf(stderr, "quill: %s: %s\n", what.c_str(), quill::errname(code));
  return 1;
}

int usage_error(const std::string& text) {
  std::fprintf(stderr, "quill: %s (see quill --help)\n", text.c_str());
  return 2;
}

bool parse_int(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

}  // namespace quilltool

namespace {

struct Command {
  const char* name;
  int (*run)(const quilltool::Args&);
  const char* synopsis;
};

const Command kCommands[] = {
    {"create", quilltool::cmd_create, "create BASE [--namelen N] [--pagesize P]"},
    {"info", quilltool::cmd_info, "info BASE"},
    {"add-field", quilltool::cmd_add_field, "add-field BASE TYPE LENGTH NAME [--pos N] [--header]"},
    {"add-tag", quilltool::cmd_add_tag, "add-tag BASE NAME FIELD[:LENGTH[:FLAGS]]... [--pos N]"},
    {"append", quilltool::cmd_append, "append BASE FIELD=VALUE..."},
    {"load", quilltool::cmd_load, "load BASE FILE     (one record a line, tab-separated, serial fields left out)"},
    {"list", quilltool::cmd_list, "list BASE [--tag T] [--reverse] [--deleted]"},
    {"seek", quilltool::cmd_seek,
     "seek BASE --tag T [--mode prefix|equal|after] [--which first|last|any] VALUE..."},
    {"update", quilltool::cmd_update, "update BASE RECNO FIELD=VALUE..."},
    {"delete", quilltool::cmd_delete, "delete BASE RECNO..."},
    {"pack", quilltool::cmd_pack, "pack BASE"},
    {"reindex", quilltool::cmd_reindex, "reindex BASE"},
    {"check", quilltool::cmd_check, "check BASE"},
    {"tree", quilltool::cmd_tree, "tree BASE TAG"},
};

void help() {
  std::printf("usage: quill COMMAND ARGS...\n\n"
              "Inspects and maintains Quillstore tables. BASE is a table's path without\n"
              "extension (BASE.db1 holds the records, BASE.idx the index).\n\ncommands:\n");
  for (const Command& c : kCommands) std::printf("  quill %s\n", c.synopsis);
  std::printf("\nExit status: 0 done, 1 failed (the engine's code is named), 2 wrong usage,\n"
              "255 stopped by a fatal error of the engine, a damaged file or no memory left\n"
              "(the message before says which).\n");
}

}  // namespace

int main(int argc, char** argv) {
  quill::install_alloc_check();
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    help();
    return argc < 2 ? 2 : 0;
  }
  quilltool::Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
  return quilltool::usage_error(std::string("unknown command '") + argv[1] + "'");
}
