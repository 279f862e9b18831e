#pragma once
// The VA7310 simulator as a child process on its own pseudo-terminal. It prints its device path
// first; with --verbose its traffic goes to a log file, read back to see what it sent.

#include <string>
#include <sys/types.h>
#include <vector>

class SimProcess {
public:
    SimProcess(std::vector<std::string> args, std::string logPath);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The pseudo-terminal the program opens; empty when the simulator did not start.
    const std::string& device() const { return device_; }

    // The lines the simulator sent whole (terminators included), in the order their last
    // characters went out.
    std::vector<std::string> sentLines() const;
    // The data texts (104 characters, without the carriage return) of the data lines sent whole
    // after the last line equal to reply: what a program connected by that reply must record.
    std::vector<std::string> dataSentAfter(const std::string& reply) const;

    // Stops the simulator (if still running) and waits for it.
    void stop();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string logPath_;
    std::string device_;
};
