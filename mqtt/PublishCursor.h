#pragma once
// Where publishing stands in the recording files: the name of the file (in the folder of the
// recording) and the byte offset after the last line the broker acknowledged, and that line's
// sequence number. It is kept in a small text file beside the recording,
//   file=dump-20240517.ivt
//   offset=12700
//   seq=100
// replaced atomically (a new file renamed over it after fdatasync), so a crash leaves the old
// or the new cursor, never a mix.

#include <cstdint>
#include <string>

struct PublishCursor {
    std::string file; // a name without folder; empty: no line published yet
    std::uint64_t offset = 0;
    std::uint64_t seq = 0; // 0: none yet; the next line gets seq + 1

    bool operator==(const PublishCursor&) const = default;
};

// 0, ENOENT when there is no cursor yet, EINVAL for a file that is no cursor, or the errno.
int loadPublishCursor(const std::string& path, PublishCursor& cursor);
// 0 or the errno; the old cursor stays on failure.
int savePublishCursor(const std::string& path, const PublishCursor& cursor);
