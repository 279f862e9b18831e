#pragma once
// Debian's mosquitto broker for a test: a private configuration in the test's folder, a free
// loopback port, persistence in that folder (saved every second, so that a killed broker comes
// back with its sessions), optionally a password file and a TLS listener with certificates
// made by openssl. Started and stopped by the test; killed when the object goes away.

#include <memory>
#include <string>

#include "tests/support/RecordProcess.h"

class BrokerProcess {
public:
    struct Options {
        bool password = false; // user kUser with kPassword, anonymous refused
        bool tls = false;      // TLS only, with a certificate for 127.0.0.1 signed by caFile()
        bool logPackets = true; // every packet in the log (the tests read it); off for speed
    };
    static constexpr const char* kUser = "station";
    static constexpr const char* kPassword = "s3cret:pw";

    BrokerProcess(std::string folder, Options options);
    ~BrokerProcess();

    // Starts the broker and waits until it accepts connections; false when it did not.
    bool start();
    // Ends the broker with a signal (SIGKILL: as a crash) and waits for it.
    void stop(int signal);

    int port() const { return port_; }
    std::string caFile() const { return folder_ + "/ca.crt"; }
    // mqtt://127.0.0.1:PORT (mqtts:// with TLS), with the user and password when asked.
    std::string url(bool withCredentials = true) const;
    std::string logPath() const { return folder_ + "/broker.log"; }
    // The broker's CPU seconds so far (-1 when it does not run).
    double cpuSeconds() const { return process_ ? process_->cpuSeconds() : -1; }

private:
    bool makeCertificates();

    std::string folder_;
    Options options_;
    int port_ = 0;
    bool ready_ = false;
    std::unique_ptr<RecordProcess> process_;
};
