#include "engine/check.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "engine/rlist.h"

namespace quill {

namespace {

using Entry = std::pair<std::vector<uint8_t>, int32_t>;  // key, record number

std::string format(const char* fmt, long a = 0, long b = 0, long c = 0) {
  char text[256];
  std::snprintf(text, sizeof text, fmt, a, b, c);
  return text;
}

// Status bytes, deleted count and file length; collects each tag's keys.
void check_records(DataFile& table, std::vector<std::vector<Entry>>* keys,
                   std::vector<std::string>* problems, std::vector<std::string>* notes) {
  const Header& h = table.header();
  int64_t expected = int64_t{h.datastart} + int64_t{h.nrecs} * h.reclen;
  int32_t length = table.length();
  if (length < expected)
    problems->push_back(format("data file is %ld bytes long; its header makes it %ld", length,
                               static_cast<long>(expected)));
  else if (length > expected && notes != nullptr)
    notes->push_back(format("%ld bytes past the last counted record: the trace of an "
                            "interrupted append, never read",
                            static_cast<long>(length - expected)));
  Rlist r(&table);
  long deleted = 0;
  for (ErrorCode rc = r.first(); rc == Ok; rc = r.skip(1)) {
    uint8_t status = r.buffer()[r.reclen() - 1];
    if (status == '*') {
      ++deleted;
      continue;
    }
    if (status != ' ')
      problems->push_back(format("record %ld has status byte 0x%02lx", r.recno(), status));
    if (keys == nullptr) continue;
    for (int t = 0; t < h.ntags; ++t)
      (*keys)[static_cast<size_t>(t)].push_back(
          {std::vector<uint8_t>(r.keyptr(t), r.keyptr(t) + r.keysize(t)), r.recno()});
  }
  if (deleted != h.ndeleted)
    problems->push_back(format("%ld records are marked deleted; the header counts %ld", deleted,
                               h.ndeleted));
}

void check_tree(Btree& tree, int t, std::vector<Entry> expected,
                std::vector<std::string>* problems) {
  std::vector<std::string> found_problems;
  std::vector<Entry> found;
  // The walk's failure is the problems it collects.
  (void)tree.walk(
      [&](const WalkStep& step) {
        for (int i = 0; i < step.page->count(); ++i)
          found.push_back({std::vector<uint8_t>(step.page->key(i),
                                                step.page->key(i) + step.page->keylen(i)),
                           get4(step.page->data(i))});
        return true;
      },
      &found_problems);
  for (const std::string& p : found_problems) problems->push_back("tag " + std::to_string(t) + ": " + p);

  std::sort(expected.begin(), expected.end());
  std::sort(found.begin(), found.end());
  std::vector<Entry> missing, extra;
  std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(),
                      std::back_inserter(missing));
  std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  for (size_t i = 0; i < missing.size() && i < 5; ++i)
    problems->push_back(format("tag %ld: the key of record %ld is missing", t, missing[i].second));
  for (size_t i = 0; i < extra.size() && i < 5; ++i)
    problems->push_back(format("tag %ld: an entry for record %ld matches no live record's key", t,
                               extra[i].second));
  if (missing.size() + extra.size() > 10)
    problems->push_back(format("tag %ld: %ld keys missing and %ld entries too many in all", t,
                               static_cast<long>(missing.size()), static_cast<long>(extra.size())));
}

// Bytes of the index file after every page that its slots count.
void check_index_length(Index& index, std::vector<std::string>* notes) {
  MultiFile& store = index.store();
  int64_t end = store.pagebase();
  for (int t = 0; t < store.nslots(); ++t)
    end += (int64_t{store.slot(t).inuse} + store.slot(t).nfree) * store.slot(t).pagesize;
  int32_t length = store.length();
  if (length > end && notes != nullptr)
    notes->push_back(format("the index file holds %ld bytes that belong to no page: the trace "
                            "of an interrupted page allocation, never read",
                            static_cast<long>(length - end)));
}

}  // namespace

int checktable(const char* base, std::vector<std::string>* problems,
               std::vector<std::string>* notes, Sharing sharing) {
  size_t before = problems->size();
  const bool shared = sharing == Sharing::Shared;
  DataFile table;
  ErrorCode rc = table.open(base, {.readonly = true, .shared = shared});
  if (rc == IndexOutOfDate || rc == BadIndex) {
    problems->push_back(std::string("the index cannot be used: ") + errname(rc));
    // The records can still be checked on their own.
    if (table.open(base, {.readonly = true, .shared = shared, .noindex = true}) == Ok &&
        table.lockheader(shared ? LockMode::Shared : LockMode::None) == Ok)
      check_records(table, nullptr, problems, notes);
    return -1;
  }
  if (rc == Ok && (table.lockindex(shared ? LockMode::Shared : LockMode::None) != Ok ||
                   table.lockheader(shared ? LockMode::Shared : LockMode::None) != Ok))
    rc = TryAgain;
  if (rc != Ok) {
    problems->push_back(std::string("the table cannot be opened: ") + errname(rc));
    return -1;
  }
  const Header& h = table.header();
  std::vector<std::vector<Entry>> keys(h.ntags);
  check_records(table, table.index() ? &keys : nullptr, problems, notes);
  Index* index = table.index();
  if (index != nullptr) {
    for (int t = 0; t < h.ntags; ++t) check_tree(index->tree(t), t, std::move(keys[t]), problems);
    check_index_length(*index, notes);
    if (index->count() != table.nlive())
      problems->push_back(format("the index counts %ld records; %ld are live", index->count(),
                                 table.nlive()));
  }
  return problems->size() == before ? 0 : -1;
}

}  // namespace quill
