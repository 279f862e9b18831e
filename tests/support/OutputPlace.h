#pragma once
// What stands at an output path before one of our writers writes there, for the tables of
// outputs x failures that every writer is tried on: nothing yet, an older file (mode 0640), a
// symbolic link to an older file, a FIFO that a reader drains, a device (/dev/null; /dev/full
// for a full disk). After a failure the place must be exactly as it was; after success the new
// bytes must have arrived where the path leads.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"

enum class OutputKind { NewName, OlderFile, Link, Fifo, Device, FullDevice };

const char* outputKindName(OutputKind kind);

class COutputPlace {
public:
    // Lays out the place in dir under name (devices are the system's own).
    COutputPlace(const TempDir& dir, OutputKind kind, const std::string& name);
    ~COutputPlace();
    COutputPlace(const COutputPlace&) = delete;
    COutputPlace& operator=(const COutputPlace&) = delete;

    const std::string& path() const { return path_; }
    bool regular() const
    {
        return kind_ == OutputKind::NewName || kind_ == OutputKind::OlderFile ||
               kind_ == OutputKind::Link;
    }

    // What the writer's bytes became: the file the path leads to, or what the FIFO's reader got
    // (small outputs only: the FIFO holds 1 MiB).
    std::string received() const;
    // The folder holds exactly what was laid out, the older file with its bytes and mode, and
    // the link, FIFO or device is still what it was.
    ::testing::AssertionResult unharmed() const;

private:
    const TempDir& dir_;
    OutputKind kind_;
    std::string path_;
    int fifoReader_ = -1;
};

inline constexpr const char* kOlderBytes = "an older output";
