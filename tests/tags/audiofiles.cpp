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

void le(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void be(std::string& out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr int kSamples = 800;  // a tenth of a second at 8 kHz, mono, 16 bits

std::string wav() {
  std::string out = "RIFF";
  le(out, 36 + kSamples * 2, 4);
  out += "WAVEfmt ";
  le(out, 16, 4);
  le(out, 1, 2);
  le(out, 1, 2);
  le(out, 8000, 4);
  le(out, 16000, 4);
  le(out, 2, 2);
  le(out, 16, 2);
  out += "data";
  le(out, kSamples * 2, 4);
  out.append(kSamples * 2, '\0');
  return out;
}

std::string aiff() {
  std::string comm = "COMM";
  be(comm, 18, 4);
  be(comm, 1, 2);
  be(comm, kSamples, 4);
  be(comm, 16, 2);
  comm += std::string("\x40\x0B\xFA\x00\x00\x00\x00\x00\x00\x00", 10);  // 8000 as 80-bit float
  std::string ssnd = "SSND";
  be(ssnd, 8 + kSamples * 2, 4);
  ssnd.append(8 + kSamples * 2, '\0');
  std::string out = "FORM";
  be(out, 4 + comm.size() + ssnd.size(), 4);
  return out + "AIFF" + comm + ssnd;
}

// An MP4 container with a movie header and no track: all TagLib needs to
// hold tags.
std::string mp4() {
  std::string out;
  be(out, 20, 4);
  out += "ftypM4A ";
  be(out, 0, 4);
  out += "M4A ";
  std::string mvhd;
  be(mvhd, 108, 4);
  mvhd += "mvhd";
  mvhd.append(12, '\0');
  be(mvhd, 1000, 4);
  be(mvhd, 0, 4);
  be(mvhd, 0x00010000, 4);
  be(mvhd, 0x0100, 2);
  mvhd.append(10, '\0');
  for (uint32_t m : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u}) be(mvhd, m, 4);
  mvhd.append(24, '\0');
  be(mvhd, 1, 4);
  be(out, 8 + mvhd.size(), 4);
  return out + "moov" + mvhd;
}

std::string guid(const char* hex) {
  std::string out;
  for (int i = 0; hex[i] != '\0'; i += 2) out += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return out;
}

std::string asfobject(const char* id, const std::string& data) {
  std::string out = guid(id);
  le(out, 24 + data.size(), 8);
  return out + data;
}

// An ASF header with the objects TagLib requires (file and stream
// properties, all zero, and an empty header extension) and no data.
std::string asf() {
  std::string extension = guid("11D2D3ABBAA9CF118EE600C00C205365");
  le(extension, 6, 2);
  le(extension, 0, 4);
  const std::string objects = asfobject("A1DCAB8C47A9CF118EE400C00C205365", std::string(80, '\0')) +
                              asfobject("9107DCB7B7A9CF118EE600C00C205365", std::string(78, '\0')) +
                              asfobject("B503BF5F2EA9CF118EE300C00C205365", extension);
  std::string out = guid("3026B2758E66CF11A6D900AA0062CE6C");
  le(out, 30 + objects.size(), 8);
  le(out, 3, 4);
  out += "\x01\x02";
  return out + objects;
}

std::string ape() { return "MAC " + std::string(60, '\0'); }

bool put(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
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

bool writetags(const std::string& path, const Tags& tags) {
  TagLib::FileRef ref(path.c_str(), false);
  if (ref.isNull()) return false;
  TagLib::PropertyMap map;
  const auto set = [&](const char* key, const std::string& value) {
    if (!value.empty()) map[key] = TagLib::StringList(TagLib::String(value, TagLib::String::UTF8));
  };
  set("TITLE", tags.title);
  set("ALBUM", tags.album);
  set("ARTIST", tags.artist);
  set("ALBUMARTIST", tags.albumartist);
  set("TRACKNUMBER", tags.track);
  set("DISCNUMBER", tags.disc);
  ref.file()->setProperties(map);
  return ref.save();
}

}  // namespace tracklore::test
