// Names a scan takes from file and folder names when the tags give none.
#pragma once

#include <string>
#include <string_view>

namespace tracklore {

// The song name of a file without a title tag: the file name without its
// extension and without a leading track number that a separator follows
// ("05 - ", "05. ", "05_", "A1 "), underscores made blanks.
// "05 - 99 Luftballons.mp3" -> "99 Luftballons"; "1979.mp3" -> "1979".
std::string titlefromfilename(std::string_view filename);

// What a folder's name says of a disc: "CD1", "Disc 2", "disk_3", "Disc One"
// are disc folders whose album is their parent's; "The River (Disc 2)" is
// disc 2 of "The River".
struct DiscFolder {
  int disc = 0;       // 0: not a disc folder
  std::string album;  // the rest of the name; empty when the whole name is the disc's
};
DiscFolder discfolder(std::string_view name);

}  // namespace tracklore
