#include "catalogue/duplicates.h"

#include <cstring>
#include <memory>

#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/keys.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::Ok;

namespace {

std::string storedname(quill::Rlist& cursor) {
  const quill::Field& name = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(name.data());
  return std::string(data, strnlen(data, static_cast<size_t>(name.length())));
}

// An album is told apart by its first artist and counted by its songs.
Duplicate describe(Kind kind, const NamedRecord& record, CodeLookup& lookup) {
  Duplicate d{record.code, DB_FullName(kind, record.code, record.name), 0, {}};
  if (lookup.find(kindtable(kind), record.code) != Ok) return d;
  quill::Rlist& cursor = lookup.cursor(kindtable(kind));
  if (kind != Kind::Album) {
    d.uses = cursor.field(F_RefCount).aslong();
    return d;
  }
  const int32_t first = cursor.field(F_AuxAttr).aslong();
  char name[kNameBuffer];
  if (first != -1 && lookup.name(name, ArtistTable, first) == Ok)
    d.artist = DB_FullName(Kind::Artist, first, name);
  std::unique_ptr<Relation> songs = DB_GetArticleAttributes(relationof(Kind::Song), record.code);
  for (ErrorCode rc = songs->first(); rc == Ok; rc = songs->skip(1)) ++d.uses;
  return d;
}

// A run of records whose stored names compare equal, split by their full
// names: stored names are cut to the field, and two long names that only
// begin alike are not alike.
void split(Kind kind, const std::vector<NamedRecord>& run, std::vector<DuplicateGroup>* groups) {
  struct Class {
    std::string seekform;
    std::vector<const NamedRecord*> members;
  };
  std::vector<Class> classes;
  for (const NamedRecord& record : run) {
    const std::string form = DB_SeekForm(DB_FullName(kind, record.code, record.name));
    const auto* bytes = reinterpret_cast<const uint8_t*>(form.data());
    Class* home = nullptr;
    for (Class& c : classes)
      if (quill::textcmp(1, reinterpret_cast<const uint8_t*>(c.seekform.data()),
                         static_cast<int>(c.seekform.size()), bytes,
                         static_cast<int>(form.size())) == 0)
        home = &c;
    if (home == nullptr) home = &classes.emplace_back(Class{form, {}});
    home->members.push_back(&record);
  }
  CodeLookup lookup;
  for (const Class& c : classes) {
    if (c.members.size() < 2) continue;
    DuplicateGroup group;
    for (const NamedRecord* record : c.members) group.push_back(describe(kind, *record, lookup));
    groups->push_back(std::move(group));
  }
}

}  // namespace

std::vector<DuplicateGroup> DB_FindDuplicates(Kind kind) {
  std::vector<DuplicateGroup> groups;
  if (!validkind(kind)) return groups;
  quill::DataFile& data = DB_Table(kindtable(kind));
  quill::Rlist cursor(&data);
  (void)cursor.select(T_Name);  // a tag of the schema
  if (cursor.selected() != T_Name) return groups;
  const quill::TagInfo& tag = data.tinfo()[T_Name];
  const quill::KeyDescr descr{tag.comps.data(), static_cast<int>(tag.comps.size()),
                              data.header().fields.data(),
                              static_cast<int>(data.header().fields.size())};
  // Records alike are neighbours in name order: one pass holds the run of
  // those equal to the last key read.
  std::vector<uint8_t> last;
  std::vector<NamedRecord> run;
  for (ErrorCode rc = cursor.first(); rc == Ok; rc = cursor.skip(1)) {
    const uint8_t* key = cursor.keyptr(T_Name);
    const int length = cursor.keysize(T_Name);
    if (!run.empty() && quill::compare(quill::CompareMode::Stored, &descr, last.data(),
                                       static_cast<int>(last.size()), key, length) != 0) {
      if (run.size() > 1) split(kind, run, &groups);
      run.clear();
    }
    last.assign(key, key + length);
    run.push_back({cursor.field(F_Code).aslong(), storedname(cursor)});
  }
  if (run.size() > 1) split(kind, run, &groups);
  return groups;
}

}  // namespace tracklore
