#pragma once
// How much of a file the program may take into memory. A reader keeps every byte of a file it
// shows, so a file larger than the machine's memory cannot be shown; it is refused up front
// instead of being read for minutes and then failing. File sizes only hint at the memory a
// reader needs (a sparse or growing file, lines that are dropped), so reservations are capped.

#include <cstddef>

// Bytes of physical memory, or the largest size_t when the system cannot tell.
std::size_t physicalMemoryBytes();

// Bytes of memory that can be had without swapping (MemAvailable), or the physical memory when
// the system cannot tell.
std::size_t availableMemoryBytes();

// True when a file of this many bytes may be read into memory whole.
bool fileFitsInMemory(std::size_t fileBytes);

// The reservation to make for a file of this many bytes: the size, capped.
std::size_t reservationHint(std::size_t fileBytes);

inline constexpr std::size_t kMaxReservation = std::size_t{256} << 20;
