// Keys of arbitrary bytes under every comparison mode: no read outside the
// lengths given, and the stored order is antisymmetric.
#include <cstdlib>
#include <vector>

#include "engine/keys.h"
#include "fuzz/fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  static const FieldDescr fields[] = {{'C', 20, "T"}, {'L', 4, "N"}, {'S', 2, "S"}, {'B', 3, "B"},
                                      {'C', 8, "F"},  {'D', 8, "D"}};
  static const Component comps[] = {{0, 20, CF_VAR | CF_COLLATE}, {1, 4, 0},       {2, 2, CF_DESC},
                                    {3, 3, 0},                    {4, 8, CF_BINARY}, {5, 8, 0}};
  if (size < 2) return 0;
  KeyDescr kd{comps, 1 + data[0] % 6, fields, 6};
  size_t split = 2 + data[1] % (size - 1);
  if (split > size) split = size;
  // Exactly sized copies, so that a sanitizer sees any read past the end.
  std::vector<uint8_t> a(data + 2, data + split), b(data + split, data + size);
  for (CompareMode mode : {CompareMode::Stored, CompareMode::Prefix, CompareMode::Whole}) {
    compare(mode, &kd, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    compare(mode, &kd, b.data(), static_cast<int>(b.size()), a.data(), static_cast<int>(a.size()));
  }
  int ab = compare(CompareMode::Stored, &kd, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  int ba = compare(CompareMode::Stored, &kd, b.data(), static_cast<int>(b.size()), a.data(), static_cast<int>(a.size()));
  if ((ab > 0 && ba >= 0) || (ab < 0 && ba <= 0)) std::abort();
  continues(&kd, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  textcmp(1, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  textcmp(0, a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  numtail(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  return 0;
}
