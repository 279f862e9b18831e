#pragma once
// ventora-record --subscribe URL --out-dir DIR: the archiver of a station network. A persistent
// session (a fixed client id, clean session off) on PREFIX/+/sample, so that the broker keeps
// what arrives while the archiver is away; each sample goes to its station's daily file through
// CStationArchive, duplicates dropped by seq. Logs, signals and reconnect pauses as the
// recorder's.

#include <QObject>
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "mqtt/QtMqttLink.h"
#include "mqtt/StationArchive.h"
#include "tools/record/LogLine.h"
#include "tools/record/OutputQueue.h"
#include "tools/record/MqttOptions.h"
#include "tools/record/SignalWatch.h"

class CArchiveApp final : public QObject {
public:
    explicit CArchiveApp(const MqttOptions& options, QObject* parent = nullptr);

    // Checks the folder, starts watching the signals and connects. 0, or the exit code after a
    // one-line message.
    int start();

    // The client id of the persistent session: the same for the same host and folder.
    static std::string clientId(const std::string& outDir);

private:
    // Through a queue of its own, as the recorder's: a stalled reader of standard error never
    // holds up the archive (a line that does not fit is dropped).
    void log(std::string_view text) const { logOut_.push(logLine(clock_, text)); }
    void onMessage(std::string_view topic, std::string_view payload);
    void onSignal(int signal);

    MqttOptions options_;
    CSystemClock clock_;
    mutable COutputQueue logOut_;
    CStationArchive archive_;
    CQtMqttLink link_;
    CSignalWatch signals_;
    unsigned long long malformed_ = 0;
    bool reportedMalformed_ = false;
    bool stopped_ = false;
};
