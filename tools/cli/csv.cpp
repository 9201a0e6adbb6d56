#include "tools/cli/csv.h"

namespace tracklore::cli {

namespace {

bool needsquotes(const std::string& field) {
  if (field.find_first_of(",\"\r\n") != std::string::npos) return true;
  return !field.empty() && (field.front() == ' ' || field.back() == ' ');
}

}  // namespace

std::string csvrecord(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    const std::string& field = fields[i];
    if (!needsquotes(field)) {
      line += field;
      continue;
    }
    line += '"';
    for (char c : field) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  line += "\r\n";
  return line;
}

bool parsecsv(std::string_view text, std::vector<CsvRecord>* records, std::string* error) {
  records->clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t i = 0;
  int line = 1;
  const auto fail = [&](const std::string& what) {
    *error = "line " + std::to_string(line) + ": " + what;
    return false;
  };
  while (i < text.size()) {
    CsvRecord record;
    record.line = line;
    std::string field;
    for (;;) {
      if (i < text.size() && text[i] == '"') {
        // Quoted: runs to the quote that is not doubled.
        ++i;
        const int opened = line;
        for (;;) {
          if (i >= text.size()) {
            line = opened;
            return fail("a quoted field is not closed");
          }
          char c = text[i++];
          if (c == '"') {
            if (i < text.size() && text[i] == '"') {
              field += '"';
              ++i;
              continue;
            }
            break;
          }
          if (c == '\n') ++line;
          field += c;
        }
        if (i < text.size() && text[i] != ',' && text[i] != '\n' &&
            !(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
          return fail("text follows a closing quote");
      } else {
        while (i < text.size() && text[i] != ',' && text[i] != '\n' &&
               !(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
          if (text[i] == '"') return fail("a quote inside a field that is not quoted");
          field += text[i++];
        }
      }
      record.fields.push_back(field);
      field.clear();
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      // End of the record: CR LF, LF or the end of the text.
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') ++i;
      ++line;
      break;
    }
    records->push_back(std::move(record));
  }
  return true;
}

}  // namespace tracklore::cli
