#include "engine/bytes.h"

namespace quill {

uint32_t getbe(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
  return v;
}

void putbe(uint8_t* p, int n, uint32_t v) {
  for (int i = n - 1; i >= 0; --i) {
    p[i] = static_cast<uint8_t>(v & 0xFF);
    v >>= 8;
  }
}

bool isnumtype(int type) {
  return type == 'D' || type == 'F' || type == 'L' || type == 'S' || type == 'X';
}

bool isfieldtype(int type) { return type == 'B' || type == 'C' || isnumtype(type); }

}  // namespace quill
