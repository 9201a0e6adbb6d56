// Comma-separated values as RFC 4180 has them.
//
// Writing: a field is put in double quotes when it holds a comma, a double
// quote, a carriage return or a line feed (or begins or ends with a blank,
// which some readers would trim), with every double quote doubled; records
// end with CR LF. Reading accepts CR LF or LF line ends, quoted fields that
// span lines, a last record without line end and a leading UTF-8 byte order
// mark; anything else malformed is refused with its line number, and so is
// a record longer than kMaxCsvRecord bytes: the input is read a record at a
// time, so that a stream without line ends cannot fill the memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace tracklore::cli {

inline constexpr size_t kMaxCsvRecord = 64 * 1024;

std::string csvrecord(const std::vector<std::string>& fields);

struct CsvRecord {
  int line = 0;  // where the record begins, from 1
  std::vector<std::string> fields;
};

class CsvReader {
 public:
  explicit CsvReader(std::FILE* in) : in_(in) {}

  enum class Step { Record, End, Error };
  // The next record; after Error, error() names the line and the fault.
  Step next(CsvRecord* record);
  const std::string& error() const { return error_; }
  // Carriage returns read so far outside quotes and not before a line feed:
  // a file whose lines end in CR only reads as one long record of them.
  int lonecrs() const { return lonecrs_; }

 private:
  std::FILE* in_;
  std::string ahead_;  // bytes read but not yet taken
  bool started_ = false;
  int line_ = 1;
  size_t taken_ = 0;  // bytes of the record so far
  int lonecrs_ = 0;
  std::string error_;

  int peek();
  int take();
  bool fail(int line, const std::string& what);
};

}  // namespace tracklore::cli
