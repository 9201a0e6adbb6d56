// printf-style formatting into a string, for the catalogue's messages.
#pragma once

#include <string>

namespace tracklore {

std::string textf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tracklore
