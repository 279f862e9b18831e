#include "tests/support/BrokerProcess.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that nothing listens on now: the kernel's pick for a socket bound to port 0.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

BrokerProcess::BrokerProcess(std::string folder, Options options)
    : folder_(std::move(folder)), options_(options), port_(freePort())
{
    std::filesystem::create_directories(folder_ + "/store");
    std::ofstream conf(folder_ + "/mosquitto.conf");
    conf << "listener " << port_ << " 127.0.0.1\n"
         << "user root\n"
         << "persistence true\npersistence_location " << folder_ << "/store/\n"
         << "autosave_interval 1\n"
         << "log_dest file " << logPath() << "\n"
         << (options_.logPackets ? "log_type all\n" : "log_type error\nlog_type warning\n");
    if (options_.password) {
        run("mosquitto_passwd -c -b '" + folder_ + "/passwords' " + kUser + " '" + kPassword +
            "'");
        conf << "allow_anonymous false\npassword_file " << folder_ << "/passwords\n";
    } else {
        conf << "allow_anonymous true\n";
    }
    if (options_.tls && makeCertificates())
        conf << "cafile " << caFile() << "\ncertfile " << folder_ << "/server.crt\nkeyfile "
             << folder_ << "/server.key\n";
}

BrokerProcess::~BrokerProcess() { stop(SIGKILL); }

bool BrokerProcess::makeCertificates()
{
    const std::string f = "'" + folder_ + "/";
    std::ofstream(folder_ + "/san.ext") << "subjectAltName=IP:127.0.0.1,DNS:localhost\n";
    const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    return run("openssl req -x509" + ec + " -keyout " + f + "ca.key' -out " + f +
               "ca.crt' -subj /CN=ventora-test-ca -days 2") &&
           run("openssl req" + ec + " -keyout " + f + "server.key' -out " + f +
               "server.csr' -subj /CN=127.0.0.1") &&
           run("openssl x509 -req -in " + f + "server.csr' -CA " + f + "ca.crt' -CAkey " + f +
               "ca.key' -CAcreateserial -out " + f + "server.crt' -days 2 -extfile " + f +
               "san.ext'");
}

bool BrokerProcess::start()
{
    process_ = std::make_unique<RecordProcess>(
        "/usr/sbin/mosquitto", std::vector<std::string>{"-c", folder_ + "/mosquitto.conf"},
        folder_ + "/broker.out", folder_ + "/broker.err");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts(port_))
            return true;
        if (process_->wait(0) >= 0)
            return false; // it ended (a bad configuration, a port taken meanwhile)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void BrokerProcess::stop(int signal)
{
    if (!process_)
        return;
    process_->signal(signal);
    process_->wait(10000);
    process_.reset();
}

std::string BrokerProcess::url(bool withCredentials) const
{
    std::string credentials;
    if (withCredentials && options_.password)
        credentials = std::string(kUser) + ":" + "s3cret%3Apw" + "@";
    return std::string(options_.tls ? "mqtts://" : "mqtt://") + credentials + "127.0.0.1:" +
           std::to_string(port_);
}
