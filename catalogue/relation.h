// Catalogue queries: an album's attributes in their kept order, the albums
// that use an attribute, the name of a record by code, and in how many
// relations an album has rows.
//
// Relation is the BrowseSource over the rows of one relation table that
// share one code, seen from one side:
//   ByTitle: the rows whose Title is the code, in Seq order
//     (tag "Tit+Seq"), each shown as the attribute it links to;
//   ByAttribute: the rows whose Attr is the code, in the
//     order of tag "Attr", each shown as the album it links to.
// Its cursor() is the cursor on the other side's table (tag "Code"), kept on
// the record that the current row links to ("aligned" after every move). A
// row whose other side is missing leaves that cursor without a record and
// with the empty values ("???" names, code -1); the list still walks it.
// The group is found by a 4-byte prefix seek on the code. skip never leaves
// the group: at either end it returns non-zero, stays on the group's first
// or last row, and moved() tells how far it went. seek and select are not
// supported (-1). span, before and seekrank estimate within the group from
// the rows table's tree. A Relation is destroyed before the database is
// closed.
//
// DB_GetArticleAttributes (r, title code): the Relation of relation r
//   (0 artists, 1 songs) by title. DB_GetArticlesFromAttribute (r, code):
//   the Relation of relation r by attribute. The caller owns the result.
// DB_GetName (buffer, table 0..2, code) -> 0 with the record's Name in the
//   buffer (at least kNameBuffer bytes), else the seek's code and
//   "<not found>".
// DB_CountRelations (title code) -> 0, 1 or 2: the relations in which the
//   album has at least one row.
// DB_CountRows (r, title code) -> the album's rows in relation r.
// DB_FirstArtistName (title cursor) -> the full name of the first artist
//   (Aux_attr) of the album the cursor stands on, "" when it has none:
//   what tells apart albums of one name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/browse.h"
#include "catalogue/sparecursors.h"
#include "engine/datafile.h"
#include "engine/noncopyable.h"
#include "engine/rlist.h"

namespace tracklore {

class Relation : public BrowseSource {
 public:
  enum class Direction { ByTitle, ByAttribute };

  Relation(quill::DataFile& rows, quill::DataFile& other, int32_t code, Direction direction);

  ErrorCode first() override;
  ErrorCode last() override;
  ErrorCode skip(int n) override;
  quill::Rlist& cursor() override { return other_; }
  int moved() const override { return moved_; }
  bool valid() const override;
  int32_t recno() const override { return rows_.recno(); }
  int32_t span() override;
  int32_t before() override;
  ErrorCode seekrank(int32_t n) override;

  // What the edits work with.
  quill::Rlist& rows() { return rows_; }
  int32_t code() const { return code_; }
  Direction direction() const { return direction_; }
  // The relation number (0 artists, 1 songs), from the rows table.
  int relation() const { return relation_; }
  // Puts the other cursor on the record that the current row links to.
  void align();
  // Puts the other cursor on the record with this code: 0, or the search's
  // code (the cursor then stands anywhere or nowhere).
  ErrorCode alignto(int32_t code);
  // Stands on the group's last row and leaves the other cursor where it
  // is (the caller aligns it); 0, or non-zero for an empty group.
  ErrorCode lastrow();
  // Notes that the current row was just added as the group's last.
  void notelast();
  // Deletes the current row and stands on a neighbouring row of the group
  // (the last one when the removed row was), aligned; 0 or the code.
  ErrorCode removecurrent();

 private:
  SpareCursor rowscursor_;
  SpareCursor othercursor_;
  quill::Rlist& rows_;
  quill::Rlist& other_;
  int32_t code_;
  Direction direction_;
  int relation_;
  uint8_t key_[4];
  int moved_ = 0;
  // Codes are serials handed out in append order, so the other table holds
  // code c at record c - shift_: one shift for a table never packed, one
  // that grows along the file after a pack. The record at the last shift
  // found is read first, and only one that bears another code costs a
  // search of the tree. Codes are unique, so a live record bearing the
  // code is the one the search would give.
  int32_t shift_;
  int misses_ = 0;  // reads in a row that missed
  // The row noted last and the rows table's stamp then: every change of a
  // key raises the stamp, so while it stands (and no other process can
  // change the table) that row is still the group's last.
  int32_t lastrecno_ = -1;
  int32_t laststamp_ = 0;

  int groupfield() const;
  int linkfield() const;
  ErrorCode seekgroup(quill::SeekWhich which);
  // The rows table's rank of the group's first or last row, -1 when the
  // group is empty.
  int32_t grouprank(quill::SeekWhich which);
};

std::unique_ptr<Relation> DB_GetArticleAttributes(int r, int32_t title);
std::unique_ptr<Relation> DB_GetArticlesFromAttribute(int r, int32_t attr);
ErrorCode DB_GetName(char* buffer, int table, int32_t code);
int DB_CountRelations(int32_t title);
int DB_CountRows(int r, int32_t title);
std::string DB_FirstArtistName(quill::Rlist& titlecursor);

// Finds records of the title and attribute tables by code, with one cursor
// per table kept for a whole run of lookups (a walk over a table asks for
// thousands of names).
class CodeLookup : quill::NonCopyable {
 public:
  CodeLookup();
  ~CodeLookup();

  // Positions table 0..2's cursor on the record with this code: 0 or the
  // seek's code (the cursor is then left where it was).
  ErrorCode find(int table, int32_t code);
  quill::Rlist& cursor(int table);
  // As DB_GetName.
  ErrorCode name(char* buffer, int table, int32_t code);

 private:
  std::unique_ptr<quill::Rlist> cursors_[3];
};

}  // namespace tracklore
