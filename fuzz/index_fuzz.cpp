// An .idx file of arbitrary bytes beside a sound data file: opening, walking,
// seeking, checking and changing give codes or a fatal message, never an
// access outside a buffer or an endless loop.
#include <memory>
#include <string>
#include <vector>

#include "engine/check.h"
#include "engine/datafile.h"
#include "engine/maintain.h"
#include "engine/rlist.h"
#include "fuzz/fuzzing.h"

namespace {

// The sound table, built once: a name and a number, tagged both ways, small
// pages so that the trees have several levels. The seed corpus holds its
// index as make_corpus.sh builds the same table.
const std::vector<uint8_t>& sound_table() {
  static const std::vector<uint8_t> db1 = [] {
    using namespace quill;
    // A fixed, valid table; the fuzzed copies are what is under test.
    (void)DataFile::create("base", 0, 96);
    (void)insert_field("base", -1, {'C', 20, "Name"}, FieldGroup::Record);
    (void)insert_field("base", -1, {'L', 4, "N"}, FieldGroup::Record);
    (void)insert_tag("base", -1, {{{0, 0, 0}}, "Name"});
    (void)insert_tag("base", -1, {{{1, 0, 0}}, "N"});
    (void)DataFile::reindex("base");
    {
      DataFile table;
      (void)table.open("base");
      Rlist cursor(&table);
      for (int i = 0; i < 60; ++i) {
        cursor.field(0).set(("Track " + std::to_string(i % 17)).c_str());
        cursor.field(1).set(static_cast<long>(i * 7 % 23));
        (void)cursor.append();
      }
    }
    return fuzzing::read_file("base.db1");
  }();
  return db1;
}

// A fatal error can stop a change half way; what the cursor still holds of
// it must not be saved again on the way out.
void forget_changes(quill::Rlist& cursor) {
  for (int f = 0; f < cursor.nfields(); ++f) cursor.field(f).setflag(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::install_reporter();
  fuzzing::InWorkdir here;
  const std::vector<uint8_t>& db1 = sound_table();
  fuzzing::write_file("f.db1", db1.data(), db1.size());
  fuzzing::write_file("f.idx", data, size);
  quill::DataFile table;
  std::unique_ptr<quill::Rlist> cursor;
  try {
    std::vector<std::string> problems;
    quill::checktable("f", &problems);
    if (table.open("f") != quill::Ok) return 0;
    cursor = std::make_unique<quill::Rlist>(&table);
    // Whatever the damaged file makes of these steps is allowed, short of
    // a crash or a read outside a buffer.
    (void)cursor->select(0);
    const uint8_t key[] = {'T', 'r', 'a', 'c', 'k', ' ', '1', 0};
    (void)cursor->seek(key, sizeof key, quill::SeekMode::Prefix, quill::SeekWhich::Last);
    for (int i = 0; i < 100 && cursor->skip(1) == quill::Ok; ++i) {
    }
    (void)cursor->last();
    (void)cursor->del();
    cursor->field(0).set("Fresh");
    (void)cursor->append();
    cursor.reset();
  } catch (const fuzzing::Fatal&) {
    if (cursor) forget_changes(*cursor);
    cursor.reset();
  }
  return 0;
}
