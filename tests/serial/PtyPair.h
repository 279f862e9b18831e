#pragma once
// Test helpers for the serial port: a raw pseudo-terminal pair whose master side plays the
// instrument, and an ILineTarget that collects what the reader thread hands over.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "serial/LineTarget.h"

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    void send(const std::string& bytes);
    // Everything the master can read within waitMs (stops early after quietMs of silence).
    std::string receive(int waitMs = 500, int quietMs = 50);
    // Waits until the port's side has read every byte sent; false on time-out.
    bool waitDrained(int timeoutMs = 2000);
    // Closes both of our ends: the port's side sees a hang-up.
    void hangUp();

private:
    int master_ = -1;
    int heldSlave_ = -1; // keeps the master from seeing a hang-up while no port is open
    std::string slavePath_;
};

class CLineCollector final : public ILineTarget {
public:
    void postLine(std::string line, unsigned generation) override;
    void postDisconnectRequest(unsigned session) override;
    void postWatchdogStop(unsigned generation) override;

    // Wait until at least n lines / disconnect requests arrived; false on time-out.
    bool waitLines(std::size_t n, int timeoutMs = 2000);
    bool waitDisconnects(int n, int timeoutMs = 2000);
    std::vector<std::string> lines() const;
    // The generation each line carried, in the order of lines().
    std::vector<unsigned> generations() const;
    int disconnects() const;
    // The session each disconnect request carried.
    std::vector<unsigned> disconnectSessions() const;
    int watchdogStops() const;
    // The generation each watchdog stop carried.
    std::vector<unsigned> watchdogGenerations() const;
    // Runs on the reader thread inside postLine, after the line has been recorded.
    void onLine(std::function<void()> action);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::vector<unsigned> generations_;
    std::vector<unsigned> sessions_;
    std::function<void()> onLine_;
    int disconnects_ = 0;
    int watchdogStops_ = 0;
    std::vector<unsigned> watchdogGenerations_;
};

// CPU time the process used, in milliseconds.
double processCpuMs();
