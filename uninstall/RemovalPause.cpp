#include "uninstall/RemovalPause.h"

#include <QEventLoop>
#include <QTimer>

void pauseRemoval(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
