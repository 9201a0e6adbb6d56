// AlbumsByName: the albums that use one artist or song, each once, in the
// order of their names (the browse list's order), for the found list.
//
// The rows of a relation are in the order they were linked, and an album
// that uses a song twice has two of them; this list reads the group once
// when it is made, keeps each album's code once and sorts the codes by the
// title table's Name key (equal names by code). Its cursor is a cursor on
// the title table (tag "Code") kept on the current album. An album deleted
// after the list was made reads as missing, as in a Relation. seek and
// select are not supported (GeneralError). Destroyed before the database
// is closed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "catalogue/browse.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace tracklore {

class AlbumsByName : public BrowseSource {
 public:
  // codes: album codes in name order, each once.
  AlbumsByName(quill::DataFile& titles, std::vector<int32_t> codes);

  ErrorCode first() override { return standat(0); }
  ErrorCode last() override { return standat(static_cast<int32_t>(codes_.size()) - 1); }
  ErrorCode skip(int n) override;
  quill::Rlist& cursor() override { return cursor_; }
  int moved() const override { return moved_; }
  ErrorCode seek(const uint8_t*, int, quill::SeekMode, quill::SeekWhich) override {
    return quill::GeneralError;
  }
  ErrorCode select(int) override { return quill::GeneralError; }
  bool valid() const override { return at_ >= 0 && at_ < static_cast<int32_t>(codes_.size()); }
  int32_t recno() const override { return valid() ? cursor_.recno() : -1; }
  int32_t span() override { return static_cast<int32_t>(codes_.size()); }
  int32_t before() override { return valid() ? at_ : -1; }
  ErrorCode seekrank(int32_t n) override;

 private:
  quill::Rlist cursor_;
  std::vector<int32_t> codes_;
  int32_t at_ = -1;
  int moved_ = 0;

  ErrorCode standat(int32_t index);
};

// The albums of relation r (0 artists, 1 songs) that use the attribute's
// code, each once, in name order. The caller owns the result.
std::unique_ptr<AlbumsByName> DB_AlbumsInNameOrder(int r, int32_t attr);

}  // namespace tracklore
