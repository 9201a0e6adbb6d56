#include "tests/engine/testutil.h"

#include <sys/wait.h>
#include <unistd.h>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/check.h"
#include "engine/rlist.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <stdexcept>

namespace quill::test {

namespace {
std::vector<CapturedReports::Message> g_messages;

int capture(ReportLevel level, const char* title, const char* text) {
  g_messages.push_back({level, title, text});
  return 1;
}
}  // namespace

SweepSet sweepset() {
  const char* set = std::getenv("TRACKLORE_SWEEP");
  const bool reduced = set != nullptr && std::string(set) == "reduced";
  SweepSet sweep{reduced ? 1 : 2, reduced ? 8 : 1};
  const char* seeds = std::getenv("TRACKLORE_POWERCUT_SEEDS");
  if (seeds != nullptr && std::atoi(seeds) > 0) sweep.seeds = std::atoi(seeds);
  return sweep;
}

std::vector<int64_t> sweeppoints(const std::vector<int64_t>& points) {
  const size_t stride = static_cast<size_t>(sweepset().stride);
  std::vector<int64_t> taken;
  for (size_t i = 0; i < points.size(); ++i)
    if (i % stride == 0 || i + 1 == points.size()) taken.push_back(points[i]);
  return taken;
}

TempDir::TempDir(TempPlace place) {
  std::filesystem::path base = std::filesystem::temp_directory_path();
  if (place == TempPlace::Memory && access("/dev/shm", W_OK) == 0) base = "/dev/shm";
  std::string pattern = (base / "quilltest.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  previous_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

CapturedReports::CapturedReports() : saved_(reporter) { g_messages.clear(), reporter = capture; }

CapturedReports::~CapturedReports() { reporter = saved_; }

const std::vector<CapturedReports::Message>& CapturedReports::messages() const { return g_messages; }

std::string CapturedReports::text() const {
  const std::vector<std::string> all = texts();
  return std::accumulate(all.begin(), all.end(), std::string());
}

std::vector<std::string> CapturedReports::texts() const {
  std::vector<std::string> all;
  for (const auto& m : g_messages) all.push_back(m.text);
  return all;
}

void CapturedReports::clear() { g_messages.clear(); }

const std::vector<FieldDescr> kExampleFields = {
    {'C', 56, "Name"}, {'X', 4, "Code"}, {'C', 2, "Mark"}, {'L', 4, "Aux"}};

ErrorCode make_table(const std::string& base, const std::vector<FieldDescr>& fields,
                     const std::vector<TagNode>& tags, int namelen, int pagesize) {
  ErrorCode rc = DataFile::create(base.c_str(), namelen, pagesize);
  if (rc != Ok) return rc;
  DataFile table;
  rc = table.opendata(base.c_str(), {});
  if (rc != Ok) return rc;
  for (const FieldDescr& f : fields)
    if (table.header().insert_descr(FieldGroup::Record, -1, f) != 0) return table.close(BadParam);
  for (const TagNode& t : tags)
    if (table.header().insert_tag(t, -1) != 0) return table.close(BadParam);
  if (table.writeheader() != Ok) return table.close(WriteFailed);
  return table.close(Ok);
}

ErrorCode make_names(const std::string& base, int pagesize) {
  ErrorCode rc = make_table(base, {{'C', 30, "Name"}, {'X', 4, "Code"}, {'C', 4, "Mark"}, {'L', 4, "Aux"}},
                            {{{{0, 0, 0}}, "ByName"}, {{{1, 0, 0}}, "ByCode"}}, 0, pagesize);
  return rc == Ok ? DataFile::reindex(base.c_str()) : rc;
}

ErrorCode add(Rlist& r, const std::string& name, long aux) {
  r.field(0).set(name.c_str());
  r.field(2).set("m");
  r.field(3).set(aux);
  return r.append();
}

ErrorCode rename(Rlist& r, const std::string& name) {
  r.field(0).set(name.c_str());
  return r.flush();
}

ErrorCode opens(const std::string& base, OpenMode mode) {
  DataFile table;
  const ErrorCode rc = table.open(base.c_str(), mode);
  (void)table.close();
  return rc;
}

::testing::AssertionResult sound(const std::string& base, std::vector<std::string>* notes) {
  std::vector<std::string> problems;
  if (notes != nullptr) notes->clear();
  if (checktable(base.c_str(), &problems, notes) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << base << ": " << (problems.empty() ? "no problem named" : problems[0]);
}

void append_raw(const std::string& base, const std::vector<std::vector<unsigned char>>& records) {
  const auto need = [&base](bool done, const char* what) {
    if (!done) throw std::runtime_error(std::string("append_raw: ") + what + " of " + base);
  };
  DataFile t;
  need(t.opendata(base.c_str(), {}) == Ok, "open");
  Header& h = t.header();
  int32_t recno = h.nrecs;
  for (const auto& r : records) {
    need(r.size() == h.reclen, "record length");
    need(t.writerecord(recno++, r.data()) == Ok, "write");
    h.ndeleted += r.back() == '*' ? 1 : 0;
  }
  h.nrecs = recno;
  h.serial += static_cast<int32_t>(records.size());
  h.stamp += 1;
  need(t.writehead() == Ok, "header");
  (void)t.close();
}

std::vector<uint8_t> be32(int32_t v) {
  std::vector<uint8_t> b(4);
  put4(b.data(), v);
  return b;
}

std::vector<uint8_t> textkey(const std::string& s) {
  std::vector<uint8_t> b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

std::vector<unsigned char> read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string hex(const std::vector<unsigned char>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) out += {digits[b >> 4], digits[b & 15]};
  return out;
}

void write_all(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Header header_of(const std::string& base) {
  DataFile t;
  if (t.opendata(base.c_str(), {.readonly = true}) == Ok) return t.header();
  const std::vector<unsigned char> b = read_all(base + ".db1");
  Header h;
  if (b.size() >= static_cast<size_t>(kHeadLen)) h.decodehead(b.data());
  return h;
}

std::vector<unsigned char> record_at(const std::string& base, int n) {
  const std::vector<unsigned char> b = read_all(base + ".db1");
  const Header h = header_of(base);
  const size_t at = static_cast<size_t>(h.datastart) + static_cast<size_t>(n) * h.reclen;
  if (h.reclen == 0 || at + h.reclen > b.size()) return {};
  return {b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + h.reclen)};
}

std::set<std::string> entries() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator("."))
    names.insert(e.path().filename().string());
  return names;
}

DirContents dir_contents() {
  DirContents all;
  for (const std::string& name : entries()) all[name] = read_all(name);
  return all;
}

int run_child(const std::function<void()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<PageView> pageviews(Btree& tree, std::vector<std::string>* problems, WalkSummary* summary) {
  std::vector<PageView> out;
  (void)tree.walk(
      [&out](const WalkStep& s) {
        PageView v{s.offset, s.page->parent(), s.level, s.page->halffull(), {}, {}};
        for (int i = 0; i < s.page->count(); ++i)
          v.entries.push_back({{s.page->key(i), s.page->key(i) + s.page->keylen(i)}, get4(s.page->data(i))});
        for (int i = 0; i <= s.page->count(); ++i) v.children.push_back(s.page->child(i));
        out.push_back(std::move(v));
        return true;
      },
      problems, summary);
  return out;
}

WriteFault::WriteFault(int32_t from, const std::string& extension) {
  File::set_write_fault([from, extension](const File& f, int32_t position, int32_t n) {
    const std::string& name = f.name();
    const bool temporary = name.rfind("tmp", 0) == 0 && name.size() > extension.size() &&
                           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
    return temporary && position + n > from;
  });
}

WriteFault::~WriteFault() { File::set_write_fault({}); }

RefusedCalls::RefusedCalls(File::Call call, int error, int from, std::string part, bool once)
    : seen_(std::make_shared<int>(0)), from_(from) {
  File::set_system_fault([=, seen = seen_](const File& f, File::Call c, int64_t, int32_t) {
    if (c != call || f.name().find(part) == std::string::npos) return 0;
    ++*seen;
    return *seen == from || (!once && *seen > from) ? error : 0;
  });
}

RefusedCalls::~RefusedCalls() { File::set_system_fault({}); }

}  // namespace quill::test
