#include "tools/record/ArchiveApp.h"

#include <QCoreApplication>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "mqtt/MqttTopics.h"
#include "mqtt/SamplePayload.h"

CArchiveApp::CArchiveApp(const MqttOptions& options, QObject* parent)
    : QObject(parent), options_(options), logOut_(STDERR_FILENO, 64 * 1024),
      archive_(options.outDir, [this](std::string_view text) { log(text); }),
      link_({[this] {
                 link_.client().subscribe(allSamplesTopic(options_.broker.prefix), 1);
             },
             nullptr, nullptr,
             [this](std::string_view topic, std::string_view payload) {
                 onMessage(topic, payload);
             },
             [this](std::string_view text) { log(text); }},
            this)
{
}

std::string CArchiveApp::clientId(const std::string& outDir)
{
    char resolved[PATH_MAX];
    const std::string folder = ::realpath(outDir.c_str(), resolved) ? resolved : outDir;
    char hash[20];
    std::snprintf(hash, sizeof hash, "%08zx",
                  std::hash<std::string>{}(folder) & 0xFFFFFFFFu);
    // At most 23 characters, the limit every broker accepts.
    return ("va-" + hostName()).substr(0, 14) + "-" + hash;
}

int CArchiveApp::start()
{
    struct stat info {};
    if (::mkdir(options_.outDir.c_str(), 0777) != 0 &&
        (::stat(options_.outDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
        std::fprintf(stderr, "ventora-record: cannot use the folder %s: %s\n",
                     options_.outDir.c_str(), std::strerror(errno));
        return 1;
    }
    if (int error = signals_.start([this](int signal) { onSignal(signal); }); error != 0) {
        std::fprintf(stderr, "ventora-record: cannot watch the stop signals: %s\n",
                     std::strerror(error));
        return 1;
    }
    MqttSession session = options_.broker.session();
    session.caFile = options_.caFile;
    session.clientId = clientId(options_.outDir);
    session.cleanSession = false;
    log("archiving " + allSamplesTopic(options_.broker.prefix) + " into " + options_.outDir +
        " (session " + session.clientId + ")");
    link_.start(session, options_.broker.display());
    return 0;
}

void CArchiveApp::onMessage(std::string_view topic, std::string_view payload)
{
    const auto station = stationOfSampleTopic(options_.broker.prefix, topic);
    SampleMessage sample;
    if (!station || !parseSamplePayload(payload, sample) || sample.station != *station) {
        ++malformed_;
        if (!reportedMalformed_)
            log("ignoring a message on " + std::string(topic) +
                " that is no sample of that station (more are counted, not logged)");
        reportedMalformed_ = true;
        return;
    }
    archive_.store(sample);
}

void CArchiveApp::onSignal(int signal)
{
    if (signal == SIGHUP) {
        log("SIGHUP: the archive files are opened for each line; nothing to reopen");
        return;
    }
    if (stopped_)
        return;
    stopped_ = true;
    log(signal == SIGINT ? "SIGINT: stopping" : "SIGTERM: stopping");
    link_.stop();
    log("stopped after " + std::to_string(archive_.stored()) + " samples stored, " +
        std::to_string(archive_.duplicates()) + " duplicates and " +
        std::to_string(malformed_) + " malformed messages dropped");
    logOut_.flush(std::chrono::steady_clock::now() + std::chrono::seconds(1));
    QCoreApplication::exit(0);
}
