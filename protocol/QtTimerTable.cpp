#include "protocol/QtTimerTable.h"

#include <QTimerEvent>

#include "core/SteadyTime.h"

CQtTimerTable::CQtTimerTable(std::function<void(int)> onExpiry, QObject* parent)
    : QObject(parent), onExpiry_(std::move(onExpiry))
{
}

CQtTimerTable::~CQtTimerTable()
{
    for (const auto& [id, running] : timers_)
        QObject::killTimer(running.qtId);
}

void CQtTimerTable::setTimer(int id, int periodMs)
{
    killTimer(id);
    const int qtId = startTimer(periodMs < 0 ? 0 : periodMs, Qt::CoarseTimer);
    if (qtId != 0)
        timers_[id] = Running{qtId, periodMs};
}

void CQtTimerTable::killTimer(int id)
{
    auto found = timers_.find(id);
    if (found == timers_.end())
        return;
    QObject::killTimer(found->second.qtId);
    timers_.erase(found);
}

std::int64_t CQtTimerTable::nowMs() const { return steadyNowMs(); }

int CQtTimerTable::period(int id) const
{
    auto found = timers_.find(id);
    return found == timers_.end() ? 0 : found->second.periodMs;
}

void CQtTimerTable::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, running] : timers_) {
        if (running.qtId == event->timerId()) {
            const int engineId = id; // the callback may change the table
            onExpiry_(engineId);
            return;
        }
    }
    QObject::timerEvent(event);
}
