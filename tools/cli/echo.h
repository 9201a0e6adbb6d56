// Text from the user, a file or the tables as a message shows it.
//
// What a message quotes must neither act on the terminal (an escape
// sequence in a name would clear the screen) nor hide the rest of the
// message (a NUL ends a C string, a huge field buries the line). So control
// characters (C0, DEL, C1) are written as escapes (\n, \r, \t, \xNN,
// \u0085), bytes that are not UTF-8 as \xNN, and a quoted value is cut
// after kEchoedCharacters characters with the length it had. Every message
// that echoes input, and the engine's and catalogue's messages, which echo
// names, pass through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tracklore::cli {

inline constexpr size_t kEchoedCharacters = 64;

// Whether line breaks stay as they are: the catalogue's messages have
// several lines; a value never has.
enum class LineBreaks { Escape, Keep };

// The UTF-8 text with its control characters and malformed bytes escaped.
std::string escaped(std::string_view utf8, LineBreaks breaks = LineBreaks::Escape);

// A value within double quotes, escaped, and cut when long:
// "aaaa..." (70000 bytes).
std::string quotedtext(std::string_view utf8);

}  // namespace tracklore::cli
