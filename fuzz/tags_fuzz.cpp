// Damaged audio files through the tag reader of the folder scan: whatever
// the bytes, reading ends with tags or a refusal, never a crash or a read
// outside a buffer. The first byte picks a format; its magic is put in
// front of the rest, so that the input passes each parser's first check
// and reaches the tag structures behind it.
#include <cstring>
#include <string>

#include "fuzz/fuzzing.h"
#include "tags/tagreader.h"

namespace {

struct Format {
  const char* extension;
  const char* magic;
  size_t length;
};

const Format kFormats[] = {
    {"mp3", "ID3\x03\x00\x00", 6},
    {"flac", "fLaC\x00\x00\x00\x22", 8},
    {"ogg", "OggS\x00\x02", 6},
    {"opus", "OggS\x00\x02", 6},
    {"m4a", "\x00\x00\x00\x14" "ftypM4A ", 12},
    {"wav", "RIFF\xff\xff\x00\x00WAVE", 12},
    {"aiff", "FORM\x00\x00\xff\xff" "AIFF", 12},
    {"wma", "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16},
    {"ape", "MAC ", 4},
    {"wv", "wvpk", 4},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const Format& format = kFormats[data[0] % (sizeof kFormats / sizeof kFormats[0])];
  std::string bytes(format.magic, format.length);
  bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string path = fuzzing::workdir() + "/input." + format.extension;
  fuzzing::write_file(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  tracklore::TrackTags tags;
  std::string reason;
  tracklore::tags::readtags(path, &tags, &reason);
  tracklore::tags::readtagsfrombytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &tags);
  return 0;
}
