// tracklore-cli list / show / xref: reading the catalogue.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "catalogue/browse.h"
#include "catalogue/fullnames.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "engine/keys.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"

namespace tracklore::cli {

using quill::Ok;

namespace {

// The column that the program's lists show after the name: an album's
// completeness mark, an artist's or song's number of uses.
std::string secondcolumn(Kind kind, quill::Rlist& cursor) {
  if (kind != Kind::Album) return std::to_string(cursor.field(F_RefCount).aslong());
  const quill::Field& mark = cursor.field(F_OKField);
  const char* data = reinterpret_cast<const char*>(mark.data());
  return DB_StoredToUtf8(std::string_view(data, strnlen(data, static_cast<size_t>(mark.length()))));
}

// Albums of one name are told apart by their first artist ("--" for none)
// and their number of songs, after the columns the program shows.
void printrow(Kind kind, quill::Rlist& cursor) {
  const int32_t code = cursor.field(F_Code).aslong();
  std::printf("%ld\t%s\t%s", static_cast<long>(code), DB_CurrentFullName(cursor, kind).c_str(),
              secondcolumn(kind, cursor).c_str());
  if (kind == Kind::Album) {
    const std::string artist = DB_FirstArtistName(cursor);
    std::printf("\t%s\t%d", artist.empty() ? "--" : artist.c_str(), DB_CountRows(relationof(Kind::Song), code));
  }
  std::printf("\n");
}

}  // namespace

int cmd_list(const Options& options, TerminalHost&) {
  const std::optional<Kind> named = kindof(options.operands[0]);
  if (!named) return usageerror("list takes albums, artists or songs");
  const Kind kind = *named;
  // Sought as the stored names are made, so that "мум" finds "Мумий Тролль"
  // (stored "Mumij Troll'"); a prefix with nothing to seek by lists all.
  std::string prefix = options.prefix ? DB_SeekForm(*options.prefix) : std::string();

  Session session(false);
  if (!session.ok()) return 1;
  quill::DataFile& data = DB_Table(kindtable(kind));
  FullTable table(data);
  (void)table.select(T_Name);  // a tag of the schema
  if (prefix.empty()) {
    for (ErrorCode rc = table.first(); rc == Ok; rc = table.skip(1)) printrow(kind, table.cursor());
    return 0;
  }
  // The program's search: a prefix in natural order, cut where stored
  // names are cut, so that a long full name still finds its record.
  const size_t most = static_cast<size_t>(kNameLength[kindtable(kind)] - 1);
  if (prefix.size() > most) prefix.resize(most);
  const quill::TagInfo& tag = data.tinfo()[T_Name];
  const auto* key = reinterpret_cast<const uint8_t*>(prefix.data());
  const int length = static_cast<int>(prefix.size());
  if (table.seek(key, length, quill::SeekMode::Prefix, quill::SeekWhich::Last) != Ok) return 0;
  const int32_t last = table.recno();
  // Numbers make the matches of a prefix non-adjacent ("Track 2" lies
  // between "Track 1" and "Track 10"): every record between the first
  // and the last match is tested.
  const quill::KeyDescr descr{tag.comps.data(), static_cast<int>(tag.comps.size()),
                              data.header().fields.data(),
                              static_cast<int>(data.header().fields.size())};
  for (ErrorCode rc = table.seek(key, length, quill::SeekMode::Prefix, quill::SeekWhich::First);
       rc == Ok; rc = table.skip(1)) {
    quill::Rlist& cursor = table.cursor();
    if (quill::compare(quill::CompareMode::Prefix, &descr, key, length, cursor.keyptr(T_Name),
                       cursor.keysize(T_Name)) == 0)
      printrow(kind, cursor);
    if (table.recno() == last) break;
  }
  return 0;
}

int cmd_show(const Options& options, TerminalHost&) {
  Session session(false);
  if (!session.ok()) return 1;
  Record album;
  quill::Rlist titles(&DB_Table(TitleTable));
  if (int status = locate(Kind::Album, options.operands[0], &album, titles); status != 0) return status;

  std::printf("Album:        %s\n", album.name.c_str());
  std::printf("Code:         %ld\n", static_cast<long>(album.code));
  const std::string mark = secondcolumn(Kind::Album, titles);
  std::printf("Mark:         %s\n", mark == " " ? "(blank)" : mark.c_str());
  const int32_t first = titles.field(F_AuxAttr).aslong();
  if (first == -1) {
    std::printf("First artist: (none)\n");
  } else {
    char name[kNameBuffer];
    (void)DB_GetName(name, ArtistTable, first);  // "<not found>" when it fails
    std::printf("First artist: %s (#%ld)\n", DB_FullName(Kind::Artist, first, name).c_str(),
                static_cast<long>(first));
  }

  for (int r = 0; r < kRelations; ++r) {
    const Kind kind = attrkind(r);
    std::printf("%s:\n", kindword(kind, CapPluralForm));
    std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album.code);
    for (ErrorCode step = list->first(); step == Ok; step = list->skip(1)) {
      const int seq = list->rows().field(F_Seq).asint();
      quill::Rlist& other = list->cursor();
      if (other.valid()) {
        Record entry = current(other, kind);
        std::printf("  %d  %s (#%ld)\n", seq, entry.name.c_str(),
                    static_cast<long>(entry.code));
      } else {
        std::printf("  %d  <missing %s #%ld>\n", seq, kindword(kind, SingularForm),
                    static_cast<long>(list->rows().field(F_Attr).aslong()));
      }
    }
  }
  return 0;
}

int cmd_xref(const Options& options, TerminalHost&) {
  const std::optional<Kind> named = attributekind(options.operands[0]);
  if (!named) return usageerror("xref takes artist or song");
  const Kind kind = *named;
  Session session(false);
  if (!session.ok()) return 1;
  Record item;
  if (!resolve(kind, options.operands[1], &item)) return 1;
  std::unique_ptr<Relation> list = DB_GetArticlesFromAttribute(relationof(kind), item.code);
  for (ErrorCode step = list->first(); step == Ok; step = list->skip(1)) {
    quill::Rlist& album = list->cursor();
    const int seq = list->rows().field(F_Seq).asint();
    if (album.valid())
      std::printf("%ld\t%s\t%d\n", static_cast<long>(album.field(F_Code).aslong()),
                  DB_CurrentFullName(album, Kind::Album).c_str(), seq);
    else
      std::printf("%ld\t<missing album>\t%d\n",
                  static_cast<long>(list->rows().field(F_Title).aslong()), seq);
  }
  return 0;
}

}  // namespace tracklore::cli
