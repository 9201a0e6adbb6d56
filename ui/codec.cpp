#include "ui/codec.h"

#include <array>
#include <unordered_map>

namespace tracklore {

namespace {

// 0x80..0x9F; the rest of the code page is ISO 8859-1, which is Unicode's
// first 256 code points.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

struct Tables {
  std::array<char16_t, 256> toUnicode{};
  std::unordered_map<char32_t, unsigned char> toByte;
  Tables() {
    for (int b = 0; b < 256; ++b) {
      char16_t u = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
      toUnicode[static_cast<size_t>(b)] = u;
      if (b != 0) toByte.emplace(u, static_cast<unsigned char>(b));
    }
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

}  // namespace

QString fromStored(std::string_view bytes) {
  const Tables& t = tables();
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b == 0) break;
    text.append(QChar(t.toUnicode[b]));
  }
  return text;
}

unsigned char storedByte(char32_t ch) {
  const Tables& t = tables();
  auto it = t.toByte.find(ch);
  return it == t.toByte.end() ? 0 : it->second;
}

bool toStored(const QString& text, std::string* out, int* bad) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    unsigned char b = storedByte(text.at(i).unicode());
    if (b == 0) {
      if (bad != nullptr) *bad = static_cast<int>(i);
      return false;
    }
    bytes.push_back(static_cast<char>(b));
  }
  *out = std::move(bytes);
  return true;
}

std::string toStoredLossy(const QString& text) {
  std::string bytes;
  for (QChar c : text) {
    unsigned char b = storedByte(c.unicode());
    bytes.push_back(b == 0 ? '?' : static_cast<char>(b));
  }
  return bytes;
}

}  // namespace tracklore
