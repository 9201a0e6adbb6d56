// Arbitrary bytes as a given name: the full form is valid UTF-8 within its
// length, and the stored form fits its field and derives to itself again.
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/schema.h"
#include "catalogue/storedform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracklore;
  if (size < 1) return 0;
  const int kind = data[0] % 3;
  const std::string given(reinterpret_cast<const char*>(data + 1), size - 1);
  const FullForm full = DB_FullForm(given);
  // Valid UTF-8 reads back unchanged.
  if (DB_FullForm(full.text).text != full.text) std::abort();
  const StoredForm form = DB_StoredForm(kindoftable(kind), full.text);
  if (form.stored.size() >= static_cast<size_t>(kNameLength[kind])) std::abort();
  if (form.stored.find('\0') != std::string::npos) std::abort();
  if (DB_StoredForm(kindoftable(kind), DB_StoredToUtf8(form.stored)).stored != form.stored) std::abort();
  DB_SeekForm(given);
  DB_SameName(given, full.text);
  return 0;
}
