#include "tools/cli/albumcsv.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "tools/cli/commands.h"
#include "tools/cli/csv.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

std::FILE* openinput(const std::string& path) {
  if (path == "-") {
    struct stat st;
    if (fstat(STDIN_FILENO, &st) == 0 &&
        (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO)))
      return stdin;
    failure("cannot import from standard input: it is not a file, a pipe or a terminal");
    return nullptr;
  }
  // Not blocking: a named pipe is refused below, not waited on.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    failure("cannot read " + quotedtext(path) + ": " + std::strerror(errno));
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    failure("cannot import " + quotedtext(path) + ": it is not a regular file");
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) close(fd);
  return file;
}

namespace {

// Files written before the album_code column stop after the name.
constexpr size_t kLeastFields = 4;

bool isheader(const CsvRecord& record) {
  const size_t n = record.fields.size();
  if (n != kLeastFields && n != kAlbumColumns.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (strcasecmp(record.fields[i].c_str(), kAlbumColumns[i].c_str()) != 0) return false;
  return true;
}

// Collects the problems of the file, so that all of them are told at once.
class Problems {
 public:
  void add(int line, const std::string& text) {
    if (count_++ < kShown) std::fprintf(stderr, "tracklore-cli: line %d: %s\n", line, text.c_str());
  }
  int count() const { return count_; }
  void finish() const {
    if (count_ > kShown) std::fprintf(stderr, "tracklore-cli: ... and %d more\n", count_ - kShown);
  }

 private:
  static constexpr int kShown = 20;
  int count_ = 0;
};

// The album of the plan that a record belongs to, begun when it is new;
// null (with the problem told) when the record contradicts its album.
// An album_code as the number it is ("007" is "7"); "" when it is not a
// number from 0 on that a code can hold (export writes the album's code).
std::string albumcode(const std::string& field) {
  if (field.empty() || field.size() > 10 || field.find_first_not_of("0123456789") != std::string::npos)
    return "";
  const long long value = std::stoll(field);
  return value <= INT32_MAX ? std::to_string(value) : "";
}

// link: what the record links the album with; null for a bare album.
PlannedAlbum* albumfor(const CsvRecord& record, const std::string& album, const Link* link, Plan* plan,
                       Problems* problems) {
  std::string label = record.fields.size() > kLeastFields ? record.fields[kLeastFields] : "";
  if (!label.empty() && (label = albumcode(record.fields[kLeastFields])).empty()) {
    problems->add(record.line,
                  "the album_code is a number from 0 on, not " + quotedtext(record.fields[kLeastFields]));
    return nullptr;
  }
  const auto seen = [link](const PlannedAlbum& a) {
    return link != nullptr && a.seen.count(std::make_pair(link->kind, link->position)) != 0;
  };
  if (!label.empty()) {
    auto it = plan->labelled.find(label);
    if (it == plan->labelled.end()) {
      plan->albums.push_back({album, record.line, false, label, {}, {}});
      plan->labelled[label] = plan->albums.size() - 1;
      return &plan->albums.back();
    }
    PlannedAlbum& known = plan->albums[it->second];
    if (!DB_SameName(known.name, album)) {
      problems->add(record.line, "album_code " + quotedtext(label) + " belongs to album " +
                                     quotedtext(known.name) + " (line " + std::to_string(known.line) + ")");
      return nullptr;
    }
    if (seen(known)) {
      problems->add(record.line, "album_code " + quotedtext(label) + " has a second " +
                                     kindword(link->kind, SingularForm) + " at position " +
                                     std::to_string(link->position));
      return nullptr;
    }
    return &known;
  }
  const bool another = plan->albums.empty() || !DB_SameName(plan->albums.back().name, album) ||
                       plan->albums.back().bare || !plan->albums.back().label.empty() ||
                       link == nullptr || seen(plan->albums.back());
  if (another) plan->albums.push_back({album, record.line, link == nullptr, {}, {}, {}});
  return &plan->albums.back();
}

// One record into the plan; false (with the problem told) when it is wrong.
bool planrecord(const CsvRecord& record, Plan* plan, Problems* problems) {
  const std::vector<std::string>& f = record.fields;
  if (f.size() != kLeastFields && f.size() != kAlbumColumns.size()) {
    problems->add(record.line, "4 or 5 fields expected (album,kind,position,name[,album_code]), found " +
                                   std::to_string(f.size()));
    return false;
  }
  std::string album, message;
  if (!fullname(Kind::Album, f[0], &album, &message)) {
    problems->add(record.line, message);
    return false;
  }
  std::optional<Link> link;
  if (f[1].empty()) {
    if (!f[2].empty() || !f[3].empty()) {
      problems->add(record.line, "an album without links has an empty position and name");
      return false;
    }
  } else {
    const std::optional<Kind> kind = attributekind(f[1]);
    if (!kind) {
      problems->add(record.line, "the kind is artist, song or empty, not " + quotedtext(f[1]));
      return false;
    }
    link = Link{*kind, -1, {}};
    if (!parsecount(f[2], &link->position)) {
      problems->add(record.line, "the position is a number from 0 on, not " + quotedtext(f[2]));
      return false;
    }
    if (!fullname(link->kind, f[3], &link->name, &message)) {
      problems->add(record.line, message);
      return false;
    }
  }
  PlannedAlbum* target = albumfor(record, album, link ? &*link : nullptr, plan, problems);
  if (target == nullptr) return false;
  if (link) {
    target->seen.insert(std::make_pair(link->kind, link->position));
    target->links.push_back(std::move(*link));
  }
  return true;
}

}  // namespace

bool makeplan(std::FILE* in, Plan* plan) {
  CsvReader reader(in);
  CsvRecord record;
  Problems problems;
  bool first = true;
  CsvReader::Step step;
  while ((step = reader.next(&record)) == CsvReader::Step::Record) {
    const bool header = first && isheader(record);
    first = false;
    if (header) continue;
    if (record.fields.size() == 1 && record.fields[0].empty()) continue;  // a blank line
    planrecord(record, plan, &problems);
  }
  problems.finish();
  const std::string lineends =
      reader.lonecrs() > 0 ? " (its lines seem to end in a carriage return alone: save it with LF or "
                             "CR LF line ends)"
                           : "";
  if (step == CsvReader::Step::Error) {
    failure(reader.error() + "; nothing was imported" + lineends);
    return false;
  }
  if (problems.count() > 0) {
    failure(std::to_string(problems.count()) + " record" + (problems.count() == 1 ? "" : "s") +
            " cannot be imported; nothing was imported" + lineends);
    return false;
  }
  for (PlannedAlbum& album : plan->albums)
    std::stable_sort(album.links.begin(), album.links.end(), [](const Link& a, const Link& b) {
      return a.kind != b.kind ? a.kind < b.kind : a.position < b.position;
    });
  return true;
}

}  // namespace tracklore::cli
