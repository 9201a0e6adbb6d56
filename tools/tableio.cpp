#include "tools/tableio.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/bytes.h"
#include "tools/commands.h"

namespace quilltool {

using namespace quill;

namespace {

int findname(const std::string& name, int count, const std::string& (*nameof)(const Header&, int),
             const Header& h) {
  for (int i = 0; i < count; ++i)
    if (nameof(h, i) == name) return i;
  long number;
  if (parse_int(name, number) && number >= 0 && number < count) return static_cast<int>(number);
  return -1;
}

const std::string& fieldname(const Header& h, int i) { return h.fields[static_cast<size_t>(i)].name; }
const std::string& tagname(const Header& h, int i) { return h.tags[static_cast<size_t>(i)].name; }

bool parse_double(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0';
}

bool parse_hex(const std::string& text, std::vector<uint8_t>& bytes) {
  if (text.size() % 2 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    char pair[3] = {text[i], text[i + 1], 0};
    char* end = nullptr;
    long v = std::strtol(pair, &end, 16);
    if (*end != '\0') return false;
    bytes.push_back(static_cast<uint8_t>(v));
  }
  return true;
}

bool bad_value(const std::string& text, char type, const std::string& name) {
  std::fprintf(stderr, "quill: '%s' is not a value for field %s (type %c)\n", text.c_str(),
               name.c_str(), type);
  return false;
}

}  // namespace

int findfield(const Header& h, const std::string& name) {
  return findname(name, h.nfields, fieldname, h);
}

int findtag(const Header& h, const std::string& name) { return findname(name, h.ntags, tagname, h); }

std::string printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string fieldtext(Field& field) {
  const uint8_t* p = field.data();
  char text[64];
  switch (field.type()) {
    case 'C': {
      const void* nul = std::memchr(p, 0, static_cast<size_t>(field.length()));
      size_t n = nul ? static_cast<const uint8_t*>(nul) - p : static_cast<size_t>(field.length());
      return printable(std::string(reinterpret_cast<const char*>(p), n));
    }
    case 'L': case 'X': case 'S':
      return std::to_string(field.type() == 'S' ? get2(p) : get4(p));
    case 'D': std::snprintf(text, sizeof text, "%.17g", getdouble(p)); return text;
    case 'F': std::snprintf(text, sizeof text, "%.9g", static_cast<double>(getfloat(p))); return text;
    default: {
      std::string hex;
      for (int i = 0; i < field.length(); ++i) {
        std::snprintf(text, sizeof text, "%02x", p[i]);
        hex += text;
      }
      return hex;
    }
  }
}

bool setfield(Field& field, const std::string& text) {
  switch (field.type()) {
    case 'C':
      field.set(text.c_str());
      return true;
    case 'L': case 'S': case 'X': {
      long v;
      if (!parse_int(text, v)) return bad_value(text, field.type(), field.name());
      if (field.type() == 'S' ? (v < INT16_MIN || v > INT16_MAX) : (v < INT32_MIN || v > INT32_MAX))
        return bad_value(text, field.type(), field.name());
      field.set(v);
      return true;
    }
    case 'D': case 'F': {
      double v;
      if (!parse_double(text, v)) return bad_value(text, field.type(), field.name());
      if (field.type() == 'D') putdouble(field.data(), v);
      else putfloat(field.data(), static_cast<float>(v));
      field.setflag(1);
      return true;
    }
    default: {
      std::vector<uint8_t> bytes;
      if (!parse_hex(text, bytes) || bytes.size() > static_cast<size_t>(field.length()))
        return bad_value(text, field.type(), field.name());
      std::memcpy(field.data(), bytes.data(), bytes.size());
      field.setflag(1);
      return true;
    }
  }
}

bool assign(Rlist& cursor, const Header& h, const std::vector<std::string>& pairs) {
  for (const std::string& pair : pairs) {
    size_t eq = pair.find('=');
    if (eq == std::string::npos) {
      std::fprintf(stderr, "quill: '%s' is not FIELD=VALUE\n", pair.c_str());
      return false;
    }
    int f = findfield(h, pair.substr(0, eq));
    if (f < 0) {
      std::fprintf(stderr, "quill: no field '%s'\n", pair.substr(0, eq).c_str());
      return false;
    }
    if (!setfield(cursor.field(f), pair.substr(eq + 1))) return false;
  }
  return true;
}

std::string recordline(Rlist& cursor) {
  std::string line = std::to_string(cursor.recno());
  for (int f = 0; f < cursor.nfields(); ++f) line += "\t" + fieldtext(cursor.field(f));
  return line;
}

bool searchkey(const DataFile& table, int tag, const std::vector<std::string>& values,
               std::vector<uint8_t>* key) {
  const TagInfo& info = table.tinfo()[static_cast<size_t>(tag)];
  const Header& h = table.header();
  if (values.size() > info.comps.size()) {
    std::fprintf(stderr, "quill: tag %s has %zu components\n", h.tags[static_cast<size_t>(tag)].name.c_str(),
                 info.comps.size());
    return false;
  }
  key->clear();
  for (size_t i = 0; i < values.size(); ++i) {
    const Component& c = info.comps[i];
    const FieldDescr& f = h.fields[static_cast<size_t>(c.field)];
    const std::string& text = values[i];
    uint8_t b[8];
    long v;
    double d;
    switch (f.type) {
      case 'C':
        key->insert(key->end(), text.begin(), text.end());
        key->push_back(0);
        break;
      case 'L': case 'X': case 'S':
        if (!parse_int(text, v)) return bad_value(text, f.type, f.name);
        if (f.type == 'S') put2(b, static_cast<int>(v));
        else put4(b, static_cast<int32_t>(v));
        key->insert(key->end(), b, b + (f.type == 'S' ? 2 : 4));
        break;
      case 'D': case 'F':
        if (!parse_double(text, d)) return bad_value(text, f.type, f.name);
        if (f.type == 'D') putdouble(b, d);
        else putfloat(b, static_cast<float>(d));
        key->insert(key->end(), b, b + (f.type == 'D' ? 8 : 4));
        break;
      default: {
        std::vector<uint8_t> bytes;
        if (!parse_hex(text, bytes)) return bad_value(text, f.type, f.name);
        key->insert(key->end(), bytes.begin(), bytes.end());
      }
    }
  }
  if (static_cast<int>(key->size()) > info.keylen) {
    std::fprintf(stderr, "quill: the search key is longer than the tag's keys (%d bytes)\n", info.keylen);
    return false;
  }
  return true;
}

}  // namespace quilltool
