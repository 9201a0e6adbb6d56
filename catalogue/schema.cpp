#include "catalogue/schema.h"

#include "catalogue/text.h"

namespace tracklore {

const char* const KindNames[3][4] = {
    {"album", "Album", "albums", "Albums"},
    {"artist", "Artist", "artists", "Artists"},
    {"song", "Song", "songs", "Songs"},
};

namespace {

constexpr FieldDef kTitleFields[] = {
    {'C', 56, "Name"}, {'X', 0, "Code"}, {'C', 2, "OK_field"}, {'L', 0, "Aux_attr"}};
constexpr FieldDef kArtistFields[] = {{'C', 51, "Name"}, {'X', 0, "Code"}, {'L', 0, "Ref_count"}};
constexpr FieldDef kSongFields[] = {{'C', 61, "Name"}, {'X', 0, "Code"}, {'L', 0, "Ref_count"}};
constexpr FieldDef kRowFields[] = {{'L', 0, "Title"}, {'S', 0, "Seq"}, {'L', 0, "Attr"}};
constexpr FieldDef kNameFields[] = {
    {'S', 0, "Kind"}, {'L', 0, "Code"}, {'S', 0, "Part"}, {'C', kNamePartBytes + 1, "Text"}};

// 64-bit sizes and times as two L fields, high half first.
constexpr FieldDef kScanFileFields[] = {
    {'S', 0, "Kind"},   {'L', 0, "Id"},     {'S', 0, "Part"},   {'L', 0, "Album"},
    {'L', 0, "Song"},   {'S', 0, "Seq"},    {'S', 0, "Disc"},   {'S', 0, "Track"},
    {'L', 0, "Title"},  {'L', 0, "Group"},  {'L', 0, "SizeHi"}, {'L', 0, "SizeLo"}, {'L', 0, "TimeHi"}, {'L', 0, "TimeLo"},
    {'L', 0, "Nsec"},   {'C', kNamePartBytes + 1, "Text"}};

constexpr TagDef kNamedTags[] = {{"Name", 0, 1}, {"Code", 1, 1}};
constexpr TagDef kRowTags[] = {{"Tit+Seq", 0, 2}, {"Attr", 2, 1}};
constexpr TagDef kNameTags[] = {{"Kind+Code+Part", 0, 3}};
constexpr TagDef kScanFileTags[] = {{"Kind+Id+Part", 0, 3}};

// The names are built the same way everywhere: "attr%03d" and "rel%03d".
constexpr const char* kFixedNames[kAllTables] = {nullptr,  "attr001", "attr002", "rel001",
                                                 "rel002", "fullname", "scanfile"};

// "Name C 56", "Code X": what a message says of a field.
std::string fielddescription(const char* name, char type, int length) {
  return type == 'C' ? textf("%s C %d", name, length) : textf("%s %c", name, type);
}

}  // namespace

TableLayout tablelayout(int index) {
  switch (index) {
    case TitleTable: return {kTitleFields, 4, kNamedTags, 2};
    case ArtistTable: return {kArtistFields, 3, kNamedTags, 2};
    case SongTable: return {kSongFields, 3, kNamedTags, 2};
    case NameTable: return {kNameFields, 4, kNameTags, 1};
    case ScanFileTable: return {kScanFileFields, 16, kScanFileTags, 1};
    default: return {kRowFields, 3, kRowTags, 2};
  }
}

const char* fixedname(int index) {
  return index > 0 && index < kAllTables ? kFixedNames[index] : nullptr;
}

const char* tablecontent(int index) {
  static constexpr const char* kContents[kAllTables] = {
      "albums", "artists", "songs", "album artists", "album songs", "full names", "scanned files"};
  return index >= 0 && index < kAllTables ? kContents[index] : "";
}

std::string schemadifference(int index, const quill::Header& header) {
  const TableLayout layout = tablelayout(index);
  if (header.fields.size() != static_cast<size_t>(layout.nfields))
    return textf("it has %zu fields, not %d", header.fields.size(), layout.nfields);
  for (int f = 0; f < layout.nfields; ++f) {
    const FieldDef& want = layout.fields[f];
    const quill::FieldDescr& have = header.fields[static_cast<size_t>(f)];
    // The engine fixes the width of numeric fields; a text field's length
    // is the catalogue's.
    if (have.name != want.name || have.type != want.type ||
        (want.type == 'C' && have.length != want.length))
      return textf("field %d is %s, not %s", f,
                   fielddescription(have.name.c_str(), have.type, have.length).c_str(),
                   fielddescription(want.name, want.type, want.length).c_str());
  }
  if (header.tags.size() != static_cast<size_t>(layout.ntags))
    return textf("it has %zu tags, not %d", header.tags.size(), layout.ntags);
  for (int t = 0; t < layout.ntags; ++t) {
    const TagDef& want = layout.tags[t];
    const quill::TagNode& have = header.tags[static_cast<size_t>(t)];
    bool same = have.name == want.name && have.comps.size() == static_cast<size_t>(want.count);
    for (size_t c = 0; same && c < have.comps.size(); ++c)
      same = have.comps[c].field == want.field + static_cast<int>(c);
    if (!same) return textf("tag %d (%s) is not the tag %s", t, have.name.c_str(), want.name);
  }
  return "";
}

}  // namespace tracklore
