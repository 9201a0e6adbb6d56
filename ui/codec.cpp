#include "ui/codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

#include "catalogue/cp1252.h"
#include "engine/rbuf.h"

namespace tracklore {

namespace {

struct Tables {
  std::array<char16_t, 256> toUnicode{};
  std::unordered_map<char32_t, unsigned char> toByte;
  Tables() {
    for (int b = 0; b < 256; ++b) {
      const auto u = static_cast<char16_t>(cp1252char(static_cast<uint8_t>(b)));
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

std::string fieldText(quill::Field& field) {
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(std::max(field.length(), 0))));
}

}  // namespace tracklore
