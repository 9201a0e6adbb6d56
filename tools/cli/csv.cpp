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

int CsvReader::peek() {
  if (ahead_.empty()) {
    const int c = std::getc(in_);
    if (c == EOF) return EOF;
    ahead_ += static_cast<char>(c);
  }
  return static_cast<unsigned char>(ahead_.front());
}

int CsvReader::take() {
  const int c = peek();
  if (c != EOF) {
    ahead_.erase(0, 1);
    ++taken_;
  }
  return c;
}

bool CsvReader::fail(int line, const std::string& what) {
  error_ = "line " + std::to_string(line) + ": " + what;
  return false;
}

CsvReader::Step CsvReader::next(CsvRecord* record) {
  if (!started_) {
    started_ = true;
    static const std::string kMark = "\xEF\xBB\xBF";
    while (ahead_.size() < kMark.size()) {
      const int c = std::getc(in_);
      if (c == EOF) break;
      ahead_ += static_cast<char>(c);
    }
    if (ahead_.compare(0, kMark.size(), kMark) == 0) ahead_.erase(0, kMark.size());
  }
  if (peek() == EOF) return std::ferror(in_) ? (fail(line_, "cannot be read"), Step::Error) : Step::End;

  record->line = line_;
  record->fields.clear();
  taken_ = 0;
  const auto ends = [&] {
    const int c = peek();
    if (c == EOF || c == ',' || c == '\n') return true;
    if (c != '\r') return false;
    // A lone CR is text; only CR LF ends a record.
    take();
    if (peek() == '\n') return true;
    ahead_.insert(0, 1, '\r');
    --taken_;
    ++lonecrs_;
    return false;
  };
  const auto toolong = [&] { return taken_ > kMaxCsvRecord; };
  std::string field;
  for (;;) {
    if (peek() == '"') {
      // Quoted: runs to the quote that is not doubled.
      take();
      const int opened = line_;
      for (;;) {
        const int c = take();
        if (c == EOF) return fail(opened, "a quoted field is not closed"), Step::Error;
        if (toolong()) break;
        if (c == '"') {
          if (peek() != '"') break;
          take();
        } else if (c == '\n') {
          ++line_;
        }
        field += static_cast<char>(c);
      }
      if (!toolong() && !ends()) return fail(line_, "text follows a closing quote"), Step::Error;
    } else {
      while (!toolong() && !ends()) {
        if (peek() == '"') return fail(line_, "a quote inside a field that is not quoted"), Step::Error;
        field += static_cast<char>(take());
      }
    }
    if (toolong())
      return fail(record->line, "a record longer than " + std::to_string(kMaxCsvRecord) +
                                    " bytes; nothing more is read"),
             Step::Error;
    record->fields.push_back(std::move(field));
    field.clear();
    if (peek() == ',') {
      take();
      continue;
    }
    // End of the record: CR LF, LF or the end of the input.
    if (peek() == '\r') take();
    if (peek() == '\n') take();
    ++line_;
    return Step::Record;
  }
}

}  // namespace tracklore::cli
