#include "catalogue/nametable.h"

#include "catalogue/optionaltable.h"
#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace tracklore {

bool DB_NameTableThere() { return DB_OptionalTableThere(NameTable); }

ErrorCode DB_AddNameTable() { return DB_AddOptionalTable(NameTable); }

ErrorCode DB_NameEntries(Kind kind, int32_t code, std::vector<int32_t>* recnos) {
  recnos->clear();
  quill::DataFile& table = DB_Table(NameTable);
  if (!table.isopen() || table.nlive() <= 0) return quill::Ok;
  SpareCursor spare(table, T_KindCodePart);
  quill::Rlist& cursor = *spare;
  // Kind and code: the part of the key that all entries of one name share.
  uint8_t lead[6];
  quill::put2(lead, kindtable(kind));
  quill::put4(lead + 2, code);
  const quill::KeyLead bound{lead, sizeof lead};
  ErrorCode rc = cursor.seek(lead, sizeof lead, quill::SeekMode::Prefix, quill::SeekWhich::First);
  while (rc == quill::Ok) {
    recnos->push_back(cursor.recno());
    rc = cursor.skip(1, bound);
  }
  return rc == quill::NotFound || rc == quill::TooFar ? quill::Ok : rc;
}

}  // namespace tracklore
