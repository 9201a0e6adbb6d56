// Audio files opened by what their first bytes say, not by their name: a
// FLAC file named .mp3 is read as the FLAC file it is, with its tags.
#pragma once

#include <memory>

namespace TagLib {
class File;
class IOStream;
}  // namespace TagLib

namespace tracklore::tags {

// The file of the format that the stream's content shows, its audio
// properties not read; null when the content is none that is known here
// (the caller then goes by the extension). The stream must outlive it.
std::unique_ptr<TagLib::File> openbycontent(TagLib::IOStream* stream);

}  // namespace tracklore::tags
