#pragma once
// ventora-record as a child process: its standard output and error go to files (or terminals),
// signals and its exit are the test's to give and to wait for, and /proc tells its CPU time and
// resident memory. It starts as from a shell: every signal at its default disposition, none
// blocked, whatever the test process does; optionally with a file size limit (ulimit -f).

#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

class RecordProcess {
public:
    RecordProcess(std::vector<std::string> args, const std::string& stdoutPath,
                  const std::string& stderrPath, rlim_t fileSizeLimit = RLIM_INFINITY);
    // Another program, run the same way (the broker of the station-network tests).
    RecordProcess(const std::string& program, std::vector<std::string> args,
                  const std::string& stdoutPath, const std::string& stderrPath,
                  rlim_t fileSizeLimit = RLIM_INFINITY);
    ~RecordProcess(); // kills the recorder if it still runs
    RecordProcess(const RecordProcess&) = delete;
    RecordProcess& operator=(const RecordProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    void signal(int signal) const;
    // Changes the running recorder's file size limit, as prlimit(1) does.
    bool setFileSizeLimit(rlim_t limit) const;
    // Waits up to timeoutMs for the recorder to end: its exit status, 128 + the signal that
    // ended it, or -1 when it still runs.
    int wait(int timeoutMs);

    // User and system CPU seconds so far, and resident memory in kB (-1 when unknown).
    double cpuSeconds() const;
    long residentKb() const;

private:
    pid_t pid_ = -1;
    int status_ = -1;
};
