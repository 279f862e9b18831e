#pragma once
// Conversion between baud rates in bits per second and the termios speed codes.

#include <termios.h>

inline constexpr speed_t kNoSpeed = static_cast<speed_t>(-1);

// The termios code of a standard rate (50 ... 4000000), kNoSpeed for any other number.
speed_t speedFromBaud(int baud);
// Bits per second of a termios code, -1 for an unknown code.
int baudFromSpeed(speed_t speed);
