#include "tests/tags/audiofiles.h"

#include <taglib/fileref.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace tracklore::test {

namespace {

// Numbers in the byte orders the containers use.
std::string le(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
std::string be(uint64_t value, int bytes) {
  const std::string out = le(value, bytes);
  return std::string(out.rbegin(), out.rend());
}

constexpr int kSamples = 800;  // a tenth of a second at 8 kHz, mono, 16 bits

std::string wav() {
  return "RIFF" + le(36 + kSamples * 2, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
         le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2) + "data" + le(kSamples * 2, 4) +
         std::string(kSamples * 2, '\0');
}

std::string aiff() {
  const std::string rate("\x40\x0B\xFA\x00\x00\x00\x00\x00\x00\x00", 10);  // 8000, 80-bit float
  const std::string comm = "COMM" + be(18, 4) + be(1, 2) + be(kSamples, 4) + be(16, 2) + rate;
  const std::string ssnd = "SSND" + be(8 + kSamples * 2, 4) + std::string(8 + kSamples * 2, '\0');
  return "FORM" + be(4 + comm.size() + ssnd.size(), 4) + "AIFF" + comm + ssnd;
}

// An MP4 container with a movie header and no track: all TagLib needs to
// hold tags.
std::string mp4() {
  std::string mvhd = be(108, 4) + "mvhd" + std::string(12, '\0') + be(1000, 4) + be(0, 4) +
                     be(0x00010000, 4) + be(0x0100, 2) + std::string(10, '\0');
  for (uint32_t m : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u})
    mvhd += be(m, 4);
  mvhd += std::string(24, '\0') + be(1, 4);
  return be(20, 4) + "ftypM4A " + be(0, 4) + "M4A " + be(8 + mvhd.size(), 4) + "moov" + mvhd;
}

std::string guid(const char* hex) {
  std::string out;
  for (int i = 0; hex[i] != '\0'; i += 2) out += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return out;
}

std::string asfobject(const char* id, const std::string& data) {
  return guid(id) + le(24 + data.size(), 8) + data;
}

// An ASF header with the objects TagLib requires (file and stream
// properties, all zero, and an empty header extension) and no data.
std::string asf() {
  const std::string extension = guid("11D2D3ABBAA9CF118EE600C00C205365") + le(6, 2) + le(0, 4);
  const std::string objects = asfobject("A1DCAB8C47A9CF118EE400C00C205365", std::string(80, '\0')) +
                              asfobject("9107DCB7B7A9CF118EE600C00C205365", std::string(78, '\0')) +
                              asfobject("B503BF5F2EA9CF118EE300C00C205365", extension);
  return guid("3026B2758E66CF11A6D900AA0062CE6C") + le(30 + objects.size(), 8) + le(3, 4) +
         "\x01\x02" + objects;
}

std::string ape() { return "MAC " + std::string(60, '\0'); }

bool put(const std::string& path, const std::string& bytes) {
  return static_cast<bool>(std::ofstream(path, std::ios::binary) << bytes);
}

bool run(const std::string& command, std::string* problem) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) == 0) return true;
  *problem = "failed: " + command;
  return false;
}

}  // namespace

const std::vector<std::string>& audioformats() {
  static const std::vector<std::string> formats = {"wav", "aiff", "m4a", "wma", "ape",
                                                   "flac", "ogg", "opus", "mp3", "wv"};
  return formats;
}

bool makeaudio(const std::string& extension, const std::string& path, std::string* problem) {
  if (extension == "wav") return put(path, wav());
  if (extension == "aiff") return put(path, aiff());
  if (extension == "m4a") return put(path, mp4());
  if (extension == "wma") return put(path, asf());
  if (extension == "ape") return put(path, ape());
  const std::string source = path + ".source.wav";
  if (!put(source, wav())) return false;
  const std::string in = "'" + source + "'", out = "'" + path + "'";
  bool ok;
  if (extension == "flac") ok = run("flac -s -f -o " + out + " " + in, problem);
  else if (extension == "ogg") ok = run("oggenc -Q -o " + out + " " + in, problem);
  else if (extension == "opus") ok = run("opusenc --quiet " + in + " " + out, problem);
  else if (extension == "mp3") ok = run("lame --silent " + in + " " + out, problem);
  else if (extension == "wv") ok = run("wavpack -q -y " + in + " -o " + out, problem);
  else ok = (*problem = "no maker for " + extension, false);
  std::remove(source.c_str());
  return ok;
}

bool writeproperties(const std::string& path, const Properties& fields) {
  TagLib::FileRef ref(path.c_str(), false);
  if (ref.isNull()) return false;
  TagLib::PropertyMap map;
  for (const auto& [key, values] : fields)
    for (const std::string& v : values) map[key].append(TagLib::String(v, TagLib::String::UTF8));
  return ref.file()->setProperties(map).isEmpty() && ref.save();
}

bool writetags(const std::string& path, const Tags& tags) {
  const std::pair<const char*, const std::string*> named[] = {
      {"TITLE", &tags.title},   {"ALBUM", &tags.album},       {"ARTIST", &tags.artist},
      {"ALBUMARTIST", &tags.albumartist}, {"TRACKNUMBER", &tags.track}, {"DISCNUMBER", &tags.disc}};
  Properties fields;
  for (const auto& [key, value] : named)
    if (!value->empty()) fields[key] = {*value};
  return writeproperties(path, fields);
}

}  // namespace tracklore::test
