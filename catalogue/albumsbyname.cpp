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

namespace {

struct Named {
  int32_t code;
  std::vector<uint8_t> key;
};

}  // namespace

std::unique_ptr<CodeList> DB_AlbumsInNameOrder(int r, int32_t attr) {
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
  return std::make_unique<CodeList>(titles, std::move(codes));
}

}  // namespace tracklore
