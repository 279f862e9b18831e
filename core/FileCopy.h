#pragma once
// Moving bytes between open descriptors: short writes continued, EINTR retried. 0 or the errno
// of the failure (EIO for a write that took nothing).

#include <cstddef>

int writeAllBytes(int fd, const char* data, std::size_t size);

// Copies what is left to read from `from` into `to`.
int copyAllBytes(int from, int to);
