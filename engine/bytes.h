// Number encodings and field type letters.
//
// Integers inside records and keys are big-endian, so that keys compare
// component by component; doubles and floats are stored natively (IEEE 754,
// little-endian). Integers of file headers, descriptors and index structures
// are little-endian (getle*/putle*).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quill {

uint32_t getbe(const uint8_t* p, int n);
void putbe(uint8_t* p, int n, uint32_t v);

// Inline, for the comparisons of keys.
inline int32_t get4(const uint8_t* p) {
  return static_cast<int32_t>((static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                              (static_cast<uint32_t>(p[2]) << 8) | p[3]);
}
// Eight bytes as one number that orders as the bytes do.
inline uint64_t getbe64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}
inline int16_t get2(const uint8_t* p) { return static_cast<int16_t>((p[0] << 8) | p[1]); }
inline void put4(uint8_t* p, int32_t v) { putbe(p, 4, static_cast<uint32_t>(v)); }
inline void put2(uint8_t* p, int v) { putbe(p, 2, static_cast<uint32_t>(v) & 0xFFFF); }

inline double getdouble(const uint8_t* p) { double d; std::memcpy(&d, p, 8); return d; }
inline void putdouble(uint8_t* p, double d) { std::memcpy(p, &d, 8); }
inline float getfloat(const uint8_t* p) { float f; std::memcpy(&f, p, 4); return f; }
inline void putfloat(uint8_t* p, float f) { std::memcpy(p, &f, 4); }

inline uint16_t getle16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t getles16(const uint8_t* p) { return static_cast<int16_t>(getle16(p)); }
inline uint32_t getle32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t getles32(const uint8_t* p) { return static_cast<int32_t>(getle32(p)); }
inline void putle16(uint8_t* p, uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }
inline void putle32(uint8_t* p, uint32_t v) {
  p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; p[2] = (v >> 16) & 0xFF; p[3] = v >> 24;
}

// Field type letters: B raw bytes, C string, D double, F float, L long,
// S short, X serial.
bool isnumtype(int type);
inline int numsize(int type) {
  switch (type) {
    case 'D': return 8;
    case 'F': case 'L': case 'X': return 4;
    case 'S': return 2;
    default: return 0;
  }
}
bool isfieldtype(int type);

}  // namespace quill
