#include "catalogue/historytext.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"

namespace tracklore {

namespace {

using Image = IntentEntry::Image;

bool live(const Image* image) { return image != nullptr && image->bytes.back() != '*'; }

const uint8_t* field(const Image& image, int f) {
  return image.bytes.data() + DB_Table(image.table).finfo()[static_cast<size_t>(f)].offset;
}

// The name a record of table 0..2 holds, as stored.
std::string storedname(const Image& image) {
  const size_t offset = DB_Table(image.table).finfo()[F_Name].offset;
  const char* text = reinterpret_cast<const char*>(image.bytes.data() + offset);
  return std::string(text, strnlen(text, image.bytes.size() - offset));
}

// As the user gave it: the name table holds the record's full name as it
// is now.
std::string nameof(const Image& image) {
  return DB_FullName(kindoftable(image.table), quill::get4(field(image, F_Code)), storedname(image));
}

// The record of table 0..2 with this code, from the step or the tables.
std::string nameof(const HistoryStep& step, int table, int32_t code) {
  for (const IntentEntry* entry : {&step.after, &step.before})
    for (const Image& image : entry->images)
      if (image.table == table && quill::get4(field(image, F_Code)) == code)
        return nameof(image);
  char buffer[kNameBuffer] = "";
  if (CodeLookup().name(buffer, table, code) != quill::Ok) return "#" + std::to_string(code);
  return DB_FullName(kindoftable(table), code, buffer);
}

// As the user knew it before the edit: the full name from the name
// table's records the step imaged (a rename or a delete declares them),
// else as nameof.
std::string namebefore(const HistoryStep& step, const Image& image) {
  const int32_t code = quill::get4(field(image, F_Code));
  std::vector<const Image*> parts;
  for (const Image& entry : step.before.images)
    if (entry.table == NameTable && live(&entry) && quill::get2(field(entry, F_Kind)) == image.table &&
        quill::get4(field(entry, F_NameCode)) == code)
      parts.push_back(&entry);
  if (parts.empty()) return nameof(image);
  std::sort(parts.begin(), parts.end(), [](const Image* a, const Image* b) {
    return quill::get2(field(*a, F_Part)) < quill::get2(field(*b, F_Part));
  });
  std::string full;
  for (const Image* part : parts) {
    const size_t offset = DB_Table(NameTable).finfo()[F_Text].offset;
    const char* text = reinterpret_cast<const char*>(part->bytes.data() + offset);
    full.append(text, strnlen(text, part->bytes.size() - 1 - offset));
  }
  return full;
}

std::string quoted(const std::string& name) { return "'" + name + "'"; }

const Image* find(const IntentEntry& entry, int table, int32_t recno) {
  for (const Image& image : entry.images)
    if (image.table == table && image.recno == recno) return &image;
  return nullptr;
}

}  // namespace

std::string describestep(const HistoryStep& step) {
  const std::string& op = step.before.operation;
  // The records the edit made, took away and rewrote, by what they were.
  const Image *made = nullptr, *gone = nullptr, *renamed = nullptr, *row = nullptr;
  const Image* rowgone = nullptr;
  int purged = 0;
  for (const Image& after : step.after.images) {
    const Image* before = find(step.before, after.table, after.recno);
    const bool rowtable = after.table == ArtistRows || after.table == SongRows;
    if (after.table > SongRows && !rowtable) continue;
    if (live(&after) && !live(before)) (rowtable ? row : made) = &after;
    if (!live(&after) && live(before) && rowtable) rowgone = before;
    // An album deleted takes the entries only it used: it is the one named.
    if (!live(&after) && live(before) && !rowtable) {
      if (gone == nullptr || after.table == TitleTable) gone = before;
      ++purged;
    }
    if (!rowtable && live(&after) && live(before)) renamed = &after;
  }
  auto rowtext = [&](const Image& r, const char* word) {
    const int attributes = r.table == ArtistRows ? ArtistTable : SongTable;  // the table the row links to
    return op + " of " + quoted(nameof(step, attributes, quill::get4(field(r, F_Attr)))) + word +
           quoted(nameof(step, TitleTable, quill::get4(field(r, F_Title))));
  };
  if ((op == "link" || op == "move") && row != nullptr)
    return rowtext(*row, op == "link" ? " to " : " on ");
  if (op == "unlink" && rowgone != nullptr) return rowtext(*rowgone, " from ");
  if (op == "rename" && renamed != nullptr)
    return op + " of " + quoted(namebefore(step, *find(step.before, renamed->table, renamed->recno))) +
           " to " + quoted(nameof(*renamed));
  if (op == "mark" && renamed != nullptr) return "completeness mark of " + quoted(nameof(*renamed));
  if (op == "add" && made != nullptr) return op + " of " + quoted(nameof(*made));
  if (op.rfind("delete", 0) == 0 && gone != nullptr) return "delete of " + quoted(namebefore(step, *gone));
  if (op == "purge" && purged == 1) return "purge of " + quoted(namebefore(step, *gone));
  if (op == "purge") return "purge of " + std::to_string(purged) + " unused artists and songs";
  if (op == "merge" && gone != nullptr) {
    // KEEP: the other record of OTHER's table imaged; of artists and songs
    // (whose albums' other entries are imaged too) the one rewritten.
    for (const Image& after : step.after.images) {
      const Image* before = find(step.before, after.table, after.recno);
      if (after.table == gone->table && live(&after) && live(before) &&
          quill::get4(field(after, F_Code)) != quill::get4(field(*gone, F_Code)) &&
          (after.table == TitleTable || after.bytes != before->bytes))
        return op + " of " + quoted(namebefore(step, *gone)) + " into " + quoted(nameof(after));
    }
    return op + " of " + quoted(namebefore(step, *gone));
  }
  return op;
}

}  // namespace tracklore
