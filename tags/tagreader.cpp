// Tags through TagLib's generic property map.
#include "tags/tagreader.h"

#include <taglib/fileref.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfile.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <set>
#include <vector>

#include "tags/contentformat.h"

namespace tracklore::tags {

namespace {

// TagLib describes every oddity of a damaged file on stderr; the scan
// reports the file once, in its own words.
class QuietListener : public TagLib::DebugListener {
 public:
  void printMessage(const TagLib::String&) override {}
};

void quiet() {
  static QuietListener listener;
  static const bool installed = (TagLib::setDebugListener(&listener), true);
  (void)installed;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const std::set<std::string>& extensions() {
  static const std::set<std::string> known = [] {
    std::set<std::string> names;
    for (const TagLib::String& e : TagLib::FileRef::defaultFileExtensions())
      names.insert(lower(e.to8Bit(true)));
    return names;
  }();
  return known;
}

std::string first(const TagLib::PropertyMap& map, const char* key) {
  auto it = map.find(key);
  if (it == map.end() || it->second.isEmpty()) return std::string();
  return it->second.front().to8Bit(true);
}

std::vector<std::string> every(const TagLib::PropertyMap& map, const char* key) {
  std::vector<std::string> values;
  auto it = map.find(key);
  if (it == map.end()) return values;
  for (const TagLib::String& value : it->second)
    if (!value.isEmpty()) values.push_back(value.to8Bit(true));
  return values;
}

// "1" from ID3 TCMP, MP4 cpil and most taggers; some write "true" or "yes".
bool flagset(const std::string& text) {
  const std::string word = lower(text);
  return leadingnumber(text) > 0 || word == "true" || word == "yes";
}

bool fill(TagLib::File* file, TrackTags* tags) {
  if (file == nullptr || !file->isValid()) return false;
  const TagLib::PropertyMap map = file->properties();
  tags->title = first(map, "TITLE");
  tags->album = first(map, "ALBUM");
  tags->artists = every(map, "ARTIST");
  // ID3 TPE2, MP4 aART and APE's "Album Artist" all come as ALBUMARTIST;
  // Vorbis comments keep the field as the tagger spelled it.
  tags->albumartist = first(map, "ALBUMARTIST");
  if (tags->albumartist.empty()) tags->albumartist = first(map, "ALBUM ARTIST");
  tags->compilation = flagset(first(map, "COMPILATION"));
  tags->track = leadingnumber(first(map, "TRACKNUMBER"));
  tags->disc = leadingnumber(first(map, "DISCNUMBER"));
  return true;
}

}  // namespace

int leadingnumber(const std::string& text) {
  size_t at = text.find_first_not_of(' ');
  long value = 0;
  bool digits = false;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    digits = true;
    value = std::min<long>(value * 10 + (text[at] - '0'), INT_MAX);
  }
  return digits ? static_cast<int>(value) : 0;
}

bool isaudioname(const std::string& filename) {
  const size_t dot = filename.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  return extensions().count(lower(filename.substr(dot + 1))) != 0;
}

bool readtags(const std::string& path, TrackTags* tags, std::string* reason) {
  quiet();
  TagLib::FileStream stream(path.c_str(), true);
  if (stream.isOpen()) {
    std::unique_ptr<TagLib::File> file = openbycontent(&stream);
    if (file && fill(file.get(), tags)) return true;
    if (file) {
      *reason = "damaged or not an audio file of its kind";
      return false;
    }
  }
  // Content none of the known signatures: TagLib goes by the extension.
  TagLib::FileRef ref(path.c_str(), false);
  if (!ref.isNull() && fill(ref.file(), tags)) return true;
  *reason = "damaged or not an audio file of its kind";
  return false;
}

bool readtagsfrombytes(const uint8_t* data, size_t size, TrackTags* tags) {
  quiet();
  TagLib::ByteVector bytes(reinterpret_cast<const char*>(data), static_cast<unsigned int>(size));
  // Without a file name only the content tells the format: ours first,
  // then TagLib's detection for the formats we do not tell apart.
  TagLib::ByteVectorStream stream(bytes);
  if (std::unique_ptr<TagLib::File> file = openbycontent(&stream)) return fill(file.get(), tags);
  TagLib::FileRef ref(&stream, false);
  return !ref.isNull() && fill(ref.file(), tags);
}

}  // namespace tracklore::tags
