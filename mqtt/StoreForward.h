#pragma once
// Store and forward over the recording files: the recording is the durable queue, the cursor
// file (PublishCursor.h) says how far the broker has acknowledged it. next() reads the line
// after the last one handed out, with its sequence number; at most `window` lines are in flight
// at once. acknowledged() moves the cursor over the lines acknowledged without a gap and saves
// it at most once a second; the owner saves it soon after nothing is left to send (each save
// waits for the disk, so neither a backlog nor a steady stream saves after every line); rewind() hands the unacknowledged lines out again after a lost connection, with the
// same numbers. With daily files, the end of one file leads on to the next day's file once it
// exists; a file that became shorter than the cursor (emptied, or replaced) is read from its
// start.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mqtt/PublishCursor.h"

class CStoreForward {
public:
    using Log = std::function<void(std::string_view line)>;

    struct Files {
        std::string path;          // the recording file as given ("data/dump.ivt")
        bool daily = false;        // the files are path with -YYYYMMDD (see dailyFileName)
        std::string currentPath;   // where the recorder writes now (the file at a first start)
    };

    struct Line {
        std::string recordingTime; // "YYYY/MM/DD HH:MM:SS"
        std::string dataText;      // 104 characters
        std::uint64_t seq = 0;
        bool fresh = false;        // read for the first time since the start (not a resend)
    };

    CStoreForward(Files files, int window, Log log);

    // Reads the cursor file (path + ".cursor"); without one, publishing starts at the start of
    // the current file. 0, or the errno (EINVAL for a damaged cursor) after a log line.
    int start();

    // The next line to publish, or nothing when the window is full or no whole line is left.
    std::optional<Line> next();
    // The line next() handed out last went out as message mid.
    void sent(int mid);
    // The line next() handed out last could not be sent: it comes again from next().
    void unsend();
    void acknowledged(int mid);
    // Lines in flight are handed out again, from the cursor on.
    void rewind();
    // Saves the cursor if it moved since the last save; 0 or the errno.
    int save();

    std::size_t inFlight() const { return inFlight_.size(); }
    bool windowFull() const { return inFlight_.size() >= window_; }
    const PublishCursor& cursor() const { return cursor_; }
    std::string cursorPath() const { return files_.path + ".cursor"; }

private:
    struct Flight {
        int mid = 0;
        std::uint64_t seq = 0;
        std::string file;
        std::uint64_t start = 0; // offset of the line
        std::uint64_t end = 0;   // offset after it
        bool acked = false;
    };

    std::string folder() const;
    std::string pathOf(const std::string& name) const;
    // The daily file after name that exists, if any.
    std::optional<std::string> nextFile(const std::string& name) const;
    // Reads more of the current file into the buffer; false at its end.
    bool fill();
    void moveTo(const std::string& name, std::uint64_t offset, std::uint64_t seq);
    bool beyondHighWater() const;

    Files files_;
    std::size_t window_;
    Log log_;
    PublishCursor cursor_;
    PublishCursor saved_;
    std::chrono::steady_clock::time_point savedAt_{};
    std::string readFile_;
    std::uint64_t readOffset_ = 0; // offset of buffer_[0]
    std::string buffer_;
    std::uint64_t nextSeq_ = 1;
    std::optional<Flight> handedOut_; // read by next(), not yet sent()
    std::deque<Flight> inFlight_;
    std::string highFile_; // the furthest line read so far
    std::uint64_t highOffset_ = 0;
};
