// Helpers shared by the engine tests.
#pragma once

#include <string>
#include <vector>

#include "engine/descr.h"
#include "engine/errors.h"

namespace quill::test {

// A fresh empty directory, removed with everything in it at destruction;
// the process's current directory is moved into it while it lives (the
// engine makes its temporary files in the current directory).
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
};

// Collects every message the engine reports while it lives.
class CapturedReports {
 public:
  struct Message {
    int level;
    std::string title;
    std::string text;
  };
  CapturedReports();
  ~CapturedReports();
  const std::vector<Message>& messages() const;
  // All texts joined, for a quick EXPECT on contents.
  std::string text() const;
  void clear();

 private:
  Reporter saved_;
};

// Writes a table file with these fields and tags and no records, the way the
// structure change would leave it (without an index file).
ErrorCode make_table(const std::string& base, const std::vector<FieldDescr>& fields,
                     const std::vector<TagNode>& tags = {}, int namelen = 0, int pagesize = 0);

// Creates the empty index file of a table made by make_table.
ErrorCode make_index(const std::string& base);

// Appends records (each a whole record, status byte last) as they would lie
// on disk and counts them in the header as the cursor would (slots,
// deletions, serials, stamp); no index is touched.
void append_raw(const std::string& base, const std::vector<std::vector<unsigned char>>& records);

std::vector<unsigned char> read_all(const std::string& path);
void write_all(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace quill::test
