#include "tools/cli/args.h"

#include <cerrno>
#include <cstdlib>

#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

bool setchoice(Choice* slot, Choice value, const char* conflict, std::string* error) {
  if (*slot != Choice::Ask && *slot != value) {
    *error = conflict;
    return false;
  }
  *slot = value;
  return true;
}

}  // namespace

bool parsecount(const std::string& text, long* value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v > 32767) return false;
  *value = v;
  return true;
}

bool parseargs(int argc, char** argv, Options* options, std::string* error) {
  bool optionsended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&](const char* what) -> const char* {
      if (i + 1 >= argc) {
        *error = arg + " needs " + what;
        return nullptr;
      }
      return argv[++i];
    };
    const auto take = [&](const char* what, std::string* into) {
      const char* v = value(what);
      if (v != nullptr) *into = v;
      return v != nullptr;
    };
    if (optionsended || arg.empty() || arg[0] != '-' || arg == "-") {
      if (options->command.empty()) options->command = arg;
      else options->operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsended = true;
    } else if (arg == "-h" || arg == "--help") {
      options->help = true;
    } else if (arg == "-C") {
      if (!take("a directory", &options->directory)) return false;
    } else if (arg == "--main") {
      if (!take("a file stem", &options->mainname)) return false;
    } else if (arg == "--yes" || arg == "--no") {
      if (!setchoice(&options->answer, arg == "--yes" ? Choice::Yes : Choice::No,
                     "--yes and --no exclude each other", error))
        return false;
    } else if (arg == "--purge" || arg == "--keep") {
      if (!setchoice(&options->purge, arg == "--purge" ? Choice::Yes : Choice::No,
                     "--purge and --keep exclude each other", error))
        return false;
    } else if (arg == "--prefix") {
      if (!take("a text", &options->prefix.emplace())) return false;
    } else if (arg == "--kind") {
      if (!take("album, artist or song", &options->kind.emplace())) return false;
    } else if (arg == "--at") {
      const char* seq = value("a position");
      if (seq == nullptr) return false;
      long at;
      if (!parsecount(seq, &at)) {
        *error = "--at takes a position from 0 on, not " + quotedtext(seq);
        return false;
      }
      options->at = at;
    } else if (arg == "--dry-run") {
      options->dryrun = true;
    } else if (arg == "--hidden") {
      options->hidden = true;
    } else if (arg == "--report") {
      const char* file = value("a file");
      if (file == nullptr) return false;
      options->report = file;
    } else if (arg == "--prefer-files") {
      const char* album = value("an album");
      if (album == nullptr) return false;
      options->preferfiles.push_back(album);
    } else {
      *error = "unknown option " + quotedtext(arg);
      return false;
    }
  }
  return true;
}

}  // namespace tracklore::cli
