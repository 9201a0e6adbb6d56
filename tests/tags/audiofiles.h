// Tiny silent audio files of every format the scan reads, made on the spot
// (shared by the tag tests, the CLI and UI tests' libraries and the
// benchmark's generated library).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tracklore::test {

struct Tags {
  std::string title, album, artist, albumartist, track, disc;
};

// The extensions of the formats that can be made here.
const std::vector<std::string>& audioformats();

// Makes a silent file of the format (its extension) at path; false with the
// reason when the encoder is missing or fails.
bool makeaudio(const std::string& extension, const std::string& path, std::string* problem);

// Fields as a format spells them (TagLib's property names), each with its values.
using Properties = std::map<std::string, std::vector<std::string>>;

// Writes the fields into the file through TagLib; false when it refuses one.
bool writeproperties(const std::string& path, const Properties& fields);

// Writes the tags that are not empty.
bool writetags(const std::string& path, const Tags& tags);

}  // namespace tracklore::test
