// The music database: five tables in one directory, their fields, tags and
// invariants, and the kind names that every message uses; beside them the
// name table, which only this program reads.
//
//   index  table name        holds                             kind
//   0      main ("maindb")   titles (albums)                   0
//   1      "attr001"         artists                           1
//   2      "attr002"         songs                             2
//   3      "rel001"          relation 0: album -> artists      rows
//   4      "rel002"          relation 1: album -> songs        rows
//   5      "fullname"        full names (fullnames.h)          entries
//   6      "scanfile"        the files scans catalogued        entries
//                            (scanfiles.h)
//
// The five tables are the file format that other programs share, byte for
// byte; kTables counts them. The name table and the scan's file table are
// optional: either may be missing (a database made before it, or by
// another program). kAllTables counts the set with both, and a loop over
// kAllTables must skip a table that is not open (DB_OptionalTable).
//
// Relation r (0 artists, 1 songs) links the title table with attribute
// table r + 1; its rows live in table r + 3. A kind is the index of its
// table (0 album, 1 artist, 2 song).
//
// Fields (type, length):
//   title:     Name C56, Code X, OK_field C2, Aux_attr L
//   attribute: Name C51 (artists) / C61 (songs), Code X, Ref_count L
//   relation:  Title L, Seq S, Attr L
//   name:      Kind S, Code L, Part S, Text C121
//   scanfile:  Kind S, Id L, Part S, Album L, Song L, Seq S, Disc S,
//              Track S, Title L, Group L, SizeHi L, SizeLo L, TimeHi L,
//              TimeLo L, Nsec L, Text C121
// Tags: title and attribute tables "Name" (Name), "Code" (Code); relation
// tables "Tit+Seq" (Title, Seq), "Attr" (Attr); name table "Kind+Code+Part"
// (Kind, Code, Part); scanfile table "Kind+Id+Part" (Kind, Id, Part). Every component is the
// whole field without flags; the engine resolves Name to a collated,
// variable-length text component. No tag is unique.
//
// Invariants of a consistent database:
//  1. every row's Title names a live album and its Attr a live attribute of
//     the relation's table;
//  2. an album's rows in one relation carry Seq 0, 1, 2, ... without gap or
//     repetition;
//  3. an attribute's Ref_count is the number of rows whose Attr is its Code;
//  4. an album's Aux_attr is the Attr of its lowest-Seq artist row, -1 when
//     it has none;
//  5. Code is unique within each table;
//  6. a record of kind 0..2 has name-table entries only when its full name
//     is not its stored name read as UTF-8; they are parts 0, 1, 2, ... of
//     the full name's UTF-8 bytes, each at most kNamePartBytes long and cut
//     between characters, and the full name's stored form is the record's
//     Name.
// A new album has OK_field "*" and Aux_attr -1, a new attribute Ref_count
// 0. OK_field is " " once the album has rows in both relations, "*" before;
// it is brought up to date when an album is left, and never verified.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/kind.h"
#include "engine/header.h"

namespace tracklore {

// Table indexes.
enum : int { TitleTable = 0, ArtistTable = 1, SongTable = 2, ArtistRows = 3, SongRows = 4 };
enum : int { NameTable = 5, ScanFileTable = 6 };
constexpr int kTables = 5;     // the tables of the shared file format
constexpr int kAllTables = 7;  // with the two optional ones

// The name table and the scan's file table: made when missing, skipped when
// not open.
inline constexpr bool DB_OptionalTable(int index) { return index >= kTables; }
constexpr int kRelations = 2;

inline constexpr int attrtable(int r) { return r + 1; }
inline constexpr int rowtable(int r) { return r + 3; }
// The relations by name, for those who choose one.
enum class Rel { Artists = 0, Songs = 1 };
inline constexpr int relationindex(Rel r) { return static_cast<int>(r); }

// Field numbers.
enum : int { F_Name = 0, F_Code = 1 };
enum : int { F_OKField = 2, F_AuxAttr = 3 };        // title table
enum : int { F_RefCount = 2 };                      // attribute tables
enum : int { F_Title = 0, F_Seq = 1, F_Attr = 2 };  // relation tables
enum : int { F_Kind = 0, F_NameCode = 1, F_Part = 2, F_Text = 3 };  // name table
// scanfile table (Kind and Part as in the name table)
enum : int { F_FileId = 1, F_FileAlbum = 3, F_FileSong = 4, F_FileSeq = 5, F_FileDisc = 6 };
enum : int { F_FileTrack = 7, F_FileTitle = 8, F_FileGroup = 9, F_FileSizeHi = 10 };
enum : int { F_FileSizeLo = 11, F_FileTimeHi = 12, F_FileTimeLo = 13, F_FileNsec = 14 };
enum : int { F_FileText = 15 };

// Tag numbers.
enum : int { T_Name = 0, T_Code = 1 };    // title and attribute tables
enum : int { T_TitSeq = 0, T_Attr = 1 };  // relation tables
enum : int { T_KindCodePart = 0 };        // name table
enum : int { T_KindIdPart = 0 };          // scanfile table

// The largest position in an album's list: Seq is a 2-byte signed field.
constexpr int kMaxSeq = 32767;

// The length of each kind's Name field; a name holds one byte less.
constexpr int kNameLength[3] = {56, 51, 61};
// A buffer that holds any stored name with its terminator.
constexpr int kNameBuffer = 61;

// The most UTF-8 bytes of a full name in one entry (Text C121 holds them
// and a terminator): a full name of kFullNameChars characters takes at
// most nine entries.
constexpr int kNamePartBytes = 120;

// The stem of the main table's files is kept in a buffer of this size.
constexpr int kMainNameSize = 128;
constexpr const char* kDefaultMainName = "maindb";

// KindNames[kind][form]: singular, capitalised singular, plural,
// capitalised plural; English, translated by DB_Tr("Kind", ...) where a
// user reads them.
enum : int { SingularForm = 0, CapSingularForm = 1, PluralForm = 2, CapPluralForm = 3 };
extern const char* const KindNames[3][4];
inline const char* kindword(Kind kind, int form) { return KindNames[kindtable(kind)][form]; }

// The schema as constant data, from which creation builds the tables.
struct FieldDef {
  char type;
  int16_t length;  // 0 for numeric fields: the engine fixes their width
  const char* name;
};
struct TagDef {
  const char* name;
  int16_t field;  // the first component's field
  int16_t count;  // components: that many consecutive fields
};
struct TableLayout {
  const FieldDef* fields;
  int nfields;
  const TagDef* tags;
  int ntags;
};

// The fields and tags of table index 0..6. The attribute tables' Name
// carries the kind's length from kNameLength.
TableLayout tablelayout(int index);

// The fixed name of table 1..6 ("attr001", "rel002", "fullname", "scanfile").
const char* fixedname(int index);

// What table 0..6 holds, in words for a progress line ("album songs"),
// where its file name would mean nothing to a user; in the user's language
// (DB_Tr).
const char* tablecontent(int index);

// Whether the header of an opened table is that of table index 0..6: its
// fields (name, type, and the length of text fields) and its tags (name and
// component fields) in order. "" when it is, else the first difference, for
// a message.
std::string schemadifference(int index, const quill::Header& header);

}  // namespace tracklore
