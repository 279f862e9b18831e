#pragma once
// Program text is Windows-1252 bytes (files, the serial line, messages); it becomes Unicode only
// when it reaches the screen. These two functions are the only crossing between the two.

#include <QString>
#include <string>
#include <string_view>

// Windows-1252 bytes to a QString (the degree sign 0xB0 becomes U+00B0).
QString fromAnsi(std::string_view text);

// A QString to Windows-1252 bytes; characters outside the code page become '?'.
std::string toAnsi(const QString& text);
