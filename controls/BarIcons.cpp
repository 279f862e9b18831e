#include "controls/BarIcons.h"

#include <QString>

// The resources live in a static library; make sure their initialiser is linked and run.
static void initControlsResources() { Q_INIT_RESOURCE(controls); }

namespace {

QPixmap load(const QString& name)
{
    initControlsResources();
    return QPixmap(QStringLiteral(":/controls/") + name);
}

} // namespace

QPixmap barIcon(BarIcon icon)
{
    static const char* const kNames[] = {"bar_saveas", "bar_copytable", "bar_copygraph",
                                         "bar_zoomin", "bar_zoomout",   "bar_graphsettings",
                                         "bar_export", "bar_print"};
    return load(QString::fromLatin1(kNames[static_cast<int>(icon)]) + ".png");
}

QPixmap channelBitmap(int channel)
{
    if (channel < 0 || channel > 12)
        return {};
    return load(QStringLiteral("channel_%1.png").arg(channel, 2, 10, QChar('0')));
}

QPixmap rowIcon() { return load(QStringLiteral("row.png")); }
