#pragma once
// Loads the welcome and licence texts of the wizard: the file is read in pieces of at most 127
// characters (so a longer line is broken into several), every CR and LF is removed from a
// piece, and each piece is added to the text followed by "\r\n", the text box's line break.

#include <string>
#include <string_view>

inline constexpr std::size_t kTextPieceLength = 127;

// Replaces text with the file's lines. 0, or the errno when the file cannot be opened or read
// into memory (EFBIG for a file larger than the machine's memory, ENOMEM when memory runs out;
// text is then empty).
int loadSetupText(const std::string& path, std::string& text);

// The same reading from a file's bytes in memory: 0 or ENOMEM.
int readSetupText(std::string_view bytes, std::string& text);
