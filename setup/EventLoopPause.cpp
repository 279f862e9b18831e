#include "setup/EventLoopPause.h"

#include <QEventLoop>
#include <QTimer>

void pauseWithEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
