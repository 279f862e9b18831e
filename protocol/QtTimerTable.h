#pragma once
// The protocol engine's timers on the Qt event loop: each engine id maps to one QObject timer.
// Setting a running id restarts it with the new period; every expiry is handed to the callback
// with the engine's id. Event-loop thread only; Qt Core, so programs without windows use it too.

#include <QObject>
#include <functional>
#include <map>

#include "protocol/TimerTable.h"

class CQtTimerTable final : public QObject, public ITimerTable {
    Q_OBJECT
public:
    explicit CQtTimerTable(std::function<void(int id)> onExpiry, QObject* parent = nullptr);
    ~CQtTimerTable() override;

    void setTimer(int id, int periodMs) override;
    void killTimer(int id) override;

    bool isActive(int id) const override { return timers_.count(id) != 0; }
    std::int64_t nowMs() const override;
    // Period of a running timer in milliseconds, 0 when it does not run.
    int period(int id) const;
    bool anyActive() const { return !timers_.empty(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Running {
        int qtId;
        int periodMs;
    };

    std::function<void(int)> onExpiry_;
    std::map<int, Running> timers_; // engine id -> Qt timer
};
