#pragma once
// The recorder's soak: ventora-record against the paced simulator on a link path, the simulator
// killed and restarted on the same path every so many lines (an unplug and a replug), then the
// recording compared with what each simulator sent while the recorder was connected.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct SoakConfig {
    std::string workDir; // emptied of the soak's files first
    int baud = 115200;
    int periodMs = 50;   // 20 lines a second
    long lines = 100000; // lines to send while connected, in all
    long replugEvery = 10000;
    // With --echo to a FIFO whose reader takes this many bytes a second (0: no echo): a reader
    // slower than the echo, so that the echo queue fills and drops lines.
    int echoReaderBytesPerSecond = 0;
    std::function<void(std::string_view)> progress; // one line per run, when set
};

struct SoakResult {
    long sent = 0;           // data lines sent while the recorder was connected
    long recorded = 0;       // lines in the recording file
    long lostInFlight = 0;   // the last line of a run, sent as the link went down
    long lostMidRun = 0;     // any other line sent but not recorded
    long strayLines = 0;     // recorded lines that no simulator sent after its identification
    long malformedLines = 0; // lines of the file without the recording layout (a partial line)
    std::vector<double> reconnectSeconds; // from each kill to the recorder's "found"
    double firstConnectSeconds = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long residentStartKb = -1; // once connected and recording
    long residentEndKb = -1;
    long echoBytesRead = 0;            // by the slow echo reader
    int exitStatus = -1;               // after SIGTERM
    std::vector<std::string> problems; // empty when the soak passed

    bool passed() const { return problems.empty(); }
    // The figures as a short table.
    std::string report(const SoakConfig& config) const;
};

SoakResult runSoak(const SoakConfig& config);
