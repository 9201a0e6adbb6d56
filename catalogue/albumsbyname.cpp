#include "catalogue/albumsbyname.h"

#include <algorithm>
#include <utility>

#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/index.h"
#include "engine/keys.h"

namespace tracklore {

using quill::Ok;

AlbumsByName::AlbumsByName(quill::DataFile& titles, std::vector<int32_t> codes)
    : cursor_(&titles), codes_(std::move(codes)) {
  cursor_.select(T_Code);
}

ErrorCode AlbumsByName::standat(int32_t index) {
  if (codes_.empty()) {
    at_ = -1;
    return quill::NotFound;
  }
  at_ = std::clamp<int32_t>(index, 0, static_cast<int32_t>(codes_.size()) - 1);
  uint8_t key[4];
  quill::put4(key, codes_[static_cast<size_t>(at_)]);
  // A missing album reads as such; the list still walks its row.
  if (cursor_.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::First) != Ok) {
    cursor_.unset();
    cursor_.clear();
  }
  return Ok;
}

ErrorCode AlbumsByName::skip(int n) {
  if (!valid()) {
    moved_ = 0;
    return quill::NotFound;
  }
  const int32_t from = at_;
  standat(at_ + n);
  moved_ = at_ - from;
  return moved_ == n ? Ok : quill::NotFound;
}

ErrorCode AlbumsByName::seekrank(int32_t n) { return standat(n); }

namespace {

struct Named {
  int32_t code;
  std::vector<uint8_t> key;
};

}  // namespace

std::unique_ptr<AlbumsByName> DB_AlbumsInNameOrder(int r, int32_t attr) {
  quill::DataFile& titles = DB_Table(TitleTable);
  std::vector<Named> albums;
  {
    const std::unique_ptr<Relation> rows = DB_GetArticlesFromAttribute(r, attr);
    for (ErrorCode rc = rows->first(); rc == Ok && rows->valid(); rc = rows->skip(1)) {
      quill::Rlist& album = rows->cursor();
      if (!album.valid()) continue;
      const uint8_t* key = album.keyptr(T_Name);
      albums.push_back({static_cast<int32_t>(album.field(F_Code).aslong()),
                        std::vector<uint8_t>(key, key + album.keysize(T_Name))});
    }
  }
  // Without an index there is no Name order to follow: codes' order then.
  quill::Index* index = titles.index();
  const quill::KeyDescr* kd = index != nullptr ? index->tree(T_Name).keydescr() : nullptr;
  const quill::Comparator cmp = kd != nullptr ? quill::comparatorfor(kd) : nullptr;
  std::sort(albums.begin(), albums.end(), [&](const Named& a, const Named& b) {
    const int order = cmp == nullptr ? 0
                                     : cmp(quill::CompareMode::Stored, kd, a.key.data(),
                                           static_cast<int>(a.key.size()), b.key.data(),
                                           static_cast<int>(b.key.size()));
    return order != 0 ? order < 0 : a.code < b.code;
  });
  // An album's rows share its key and code: they are neighbours now.
  std::vector<int32_t> codes;
  for (const Named& album : albums)
    if (codes.empty() || codes.back() != album.code) codes.push_back(album.code);
  return std::make_unique<AlbumsByName>(titles, std::move(codes));
}

}  // namespace tracklore
