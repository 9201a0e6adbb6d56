#include "catalogue/schema.h"

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

constexpr TagDef kNamedTags[] = {{"Name", 0, 1}, {"Code", 1, 1}};
constexpr TagDef kRowTags[] = {{"Tit+Seq", 0, 2}, {"Attr", 2, 1}};

// The names are built the same way everywhere: "attr%03d" and "rel%03d".
constexpr const char* kFixedNames[kTables] = {nullptr, "attr001", "attr002", "rel001", "rel002"};

}  // namespace

TableLayout tablelayout(int index) {
  switch (index) {
    case TitleTable: return {kTitleFields, 4, kNamedTags, 2};
    case ArtistTable: return {kArtistFields, 3, kNamedTags, 2};
    case SongTable: return {kSongFields, 3, kNamedTags, 2};
    default: return {kRowFields, 3, kRowTags, 2};
  }
}

const char* fixedname(int index) {
  return index > 0 && index < kTables ? kFixedNames[index] : nullptr;
}

}  // namespace tracklore
