// Comma-separated values as RFC 4180 has them.
//
// Writing: a field is put in double quotes when it holds a comma, a double
// quote, a carriage return or a line feed (or begins or ends with a blank,
// which some readers would trim), with every double quote doubled; records
// end with CR LF. Reading accepts CR LF or LF line ends, quoted fields that
// span lines, a last record without line end and a leading UTF-8 byte order
// mark; anything else malformed is refused with its line number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tracklore::cli {

std::string csvrecord(const std::vector<std::string>& fields);

struct CsvRecord {
  int line = 0;  // where the record begins, from 1
  std::vector<std::string> fields;
};

// False with a message naming the line when the text is not well formed.
bool parsecsv(std::string_view text, std::vector<CsvRecord>* records, std::string* error);

}  // namespace tracklore::cli
