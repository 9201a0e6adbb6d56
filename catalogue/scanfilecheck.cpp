#include "catalogue/scanfilecheck.h"

#include <vector>

#include "catalogue/relation.h"
#include "catalogue/scanfiles.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/rlist.h"

namespace tracklore {

void DB_CheckScanFiles(VerifySummary* summary) {
  quill::DataFile& table = DB_Table(ScanFileTable);
  if (!table.isopen() || table.nlive() <= 0) return;
  std::vector<int32_t> drop;
  {
    quill::Rlist cursor(&table);
    (void)cursor.select(T_KindIdPart);  // a tag of the schema
    CodeLookup albums;
    int entrykind = -1, next = 0;
    int32_t id = -1;
    std::vector<int32_t> group;
    bool broken = false;
    const auto settle = [&] {
      if (broken) drop.insert(drop.end(), group.begin(), group.end());
      group.clear();
      broken = false;
      next = 0;
    };
    for (ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1)) {
      if (cursor.isdeleted()) continue;
      const int k = cursor.field(F_Kind).asint();
      const int32_t i = cursor.field(F_FileId).aslong();
      if (k != entrykind || i != id) settle();
      entrykind = k;
      id = i;
      group.push_back(cursor.recno());
      if (cursor.field(F_Part).asint() != next++) broken = true;
      if (k == AlbumEntryKind && albums.find(TitleTable, i) != quill::Ok) broken = true;
      if (k < FileEntryKind || k > ArtistsEntryKind) broken = true;
    }
    settle();
  }
  summary->found += static_cast<int>(drop.size());
  if (drop.empty() || DB_IsReadOnly()) return;
  quill::Rlist cursor(&table);
  (void)cursor.select(T_KindIdPart);  // a tag of the schema
  for (int32_t recno : drop) {
    ErrorCode rc = cursor.gorecord(recno);
    if (rc == quill::Ok) rc = cursor.del();
    if (rc == quill::Ok) ++summary->corrected;
    else ++summary->failed;
  }
}

}  // namespace tracklore
