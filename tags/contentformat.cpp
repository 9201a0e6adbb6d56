// The formats told apart by their signatures.
#include "tags/contentformat.h"

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/speexfile.h>
#include <taglib/tfile.h>
#include <taglib/tiostream.h>
#include <taglib/trueaudiofile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

namespace tracklore::tags {

namespace {

enum class Format {
  Unknown, Mpeg, Flac, Vorbis, Opus, OggFlac, Speex, Wav, Aiff, Mp4, Asf, Ape, WavPack, Mpc, Tta
};

bool at(const TagLib::ByteVector& head, unsigned int offset, const char* magic, unsigned int length) {
  return head.size() >= offset + length && head.containsAt(TagLib::ByteVector(magic, length), offset);
}

// The size of an ID3v2 tag that heads the bytes (0 when none): FLAC and
// MP3 files alike may begin with one.
long id3size(const TagLib::ByteVector& head) {
  if (!at(head, 0, "ID3", 3) || head.size() < 10) return 0;
  long size = 0;
  for (unsigned int i = 6; i < 10; ++i) size = (size << 7) | (static_cast<unsigned char>(head[i]) & 0x7F);
  const bool footer = (static_cast<unsigned char>(head[5]) & 0x10) != 0;
  return size + 10 + (footer ? 10 : 0);
}

Format sniff(const TagLib::ByteVector& head) {
  if (at(head, 0, "fLaC", 4)) return Format::Flac;
  if (at(head, 0, "OggS", 4)) {
    if (at(head, 28, "\x01vorbis", 7)) return Format::Vorbis;
    if (at(head, 28, "OpusHead", 8)) return Format::Opus;
    if (at(head, 28, "\x7F" "FLAC", 5)) return Format::OggFlac;
    if (at(head, 28, "Speex   ", 8)) return Format::Speex;
    return Format::Unknown;
  }
  if (at(head, 0, "RIFF", 4) && at(head, 8, "WAVE", 4)) return Format::Wav;
  if (at(head, 0, "FORM", 4) && (at(head, 8, "AIFF", 4) || at(head, 8, "AIFC", 4))) return Format::Aiff;
  if (at(head, 4, "ftyp", 4)) return Format::Mp4;
  if (at(head, 0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8)) return Format::Asf;
  if (at(head, 0, "MAC ", 4)) return Format::Ape;
  if (at(head, 0, "wvpk", 4)) return Format::WavPack;
  if (at(head, 0, "MPCK", 4) || at(head, 0, "MP+", 3)) return Format::Mpc;
  if (at(head, 0, "TTA1", 4)) return Format::Tta;
  if (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
      (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0)
    return Format::Mpeg;
  return Format::Unknown;
}

std::unique_ptr<TagLib::File> make(Format format, TagLib::IOStream* s) {
  TagLib::ID3v2::FrameFactory* frames = TagLib::ID3v2::FrameFactory::instance();
  switch (format) {
    case Format::Mpeg: return std::make_unique<TagLib::MPEG::File>(s, frames, false);
    case Format::Flac: return std::make_unique<TagLib::FLAC::File>(s, frames, false);
    case Format::Vorbis: return std::make_unique<TagLib::Ogg::Vorbis::File>(s, false);
    case Format::Opus: return std::make_unique<TagLib::Ogg::Opus::File>(s, false);
    case Format::OggFlac: return std::make_unique<TagLib::Ogg::FLAC::File>(s, false);
    case Format::Speex: return std::make_unique<TagLib::Ogg::Speex::File>(s, false);
    case Format::Wav: return std::make_unique<TagLib::RIFF::WAV::File>(s, false);
    case Format::Aiff: return std::make_unique<TagLib::RIFF::AIFF::File>(s, false);
    case Format::Mp4: return std::make_unique<TagLib::MP4::File>(s, false);
    case Format::Asf: return std::make_unique<TagLib::ASF::File>(s, false);
    case Format::Ape: return std::make_unique<TagLib::APE::File>(s, false);
    case Format::WavPack: return std::make_unique<TagLib::WavPack::File>(s, false);
    case Format::Mpc: return std::make_unique<TagLib::MPC::File>(s, false);
    case Format::Tta: return std::make_unique<TagLib::TrueAudio::File>(s, frames, false);
    case Format::Unknown: break;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<TagLib::File> openbycontent(TagLib::IOStream* stream) {
  stream->seek(0);
  TagLib::ByteVector head = stream->readBlock(64);
  Format format = sniff(head);
  if (const long skip = id3size(head); skip > 0) {
    stream->seek(skip);
    format = at(stream->readBlock(4), 0, "fLaC", 4) ? Format::Flac : Format::Mpeg;
  }
  stream->seek(0);
  return make(format, stream);
}

}  // namespace tracklore::tags
