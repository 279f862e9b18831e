#pragma once
// Readers take lines in pieces of at most 255 characters, as a 256-byte fgets buffer does; a
// longer line is read as several lines.

#include <cstddef>

inline constexpr std::size_t kLinePieceLength = 255;
