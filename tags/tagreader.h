// The tags of one audio file, through TagLib.
//
// Only the tags are read, never the audio properties: a file costs one
// open and a few reads. Every format TagLib reads is taken (MP3 with ID3v1
// and ID3v2, FLAC, Ogg Vorbis, Opus, MP4/M4A, WAV, AIFF, WMA, APE,
// WavPack, ...), told by its content (a FLAC file named .mp3 is read as
// FLAC), through TagLib's generic property map, so that each format's own
// frames count: every value of ARTIST; the album artist from ALBUMARTIST
// (ID3 TPE2, MP4 aART) or a Vorbis comment "ALBUM ARTIST"; the compilation
// flag from COMPILATION (ID3 TCMP, MP4 cpil). A track or disc number
// "3/12" is 3; a missing or unreadable number is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/scan.h"

namespace tracklore::tags {

// Whether the file name's extension is one that TagLib reads.
bool isaudioname(const std::string& filename);

// Reads title, album, artists, album artist, compilation flag, track and
// disc of the file at path into tags (other members untouched). False, with the reason, when
// the file is not one TagLib can read (damaged, or not what its extension
// says).
bool readtags(const std::string& path, TrackTags* tags, std::string* reason);

// The same from bytes in memory, the format told by the content (for the
// fuzz target); false when TagLib does not take them.
bool readtagsfrombytes(const uint8_t* data, size_t size, TrackTags* tags);

// The leading number of "3/12" (0 when there is none).
int leadingnumber(const std::string& text);

}  // namespace tracklore::tags
