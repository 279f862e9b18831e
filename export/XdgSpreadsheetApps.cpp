#include "export/XdgSpreadsheetApps.h"

#include <QProcess>

namespace {

constexpr int kStartMilliseconds = 3000;
constexpr int kAnswerMilliseconds = 5000;

} // namespace

CXdgSpreadsheetApps::CXdgSpreadsheetApps(QString program) : program_(std::move(program)) {}

bool CXdgSpreadsheetApps::canOpenWorkbooks()
{
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.start(program_, {QStringLiteral("query"), QStringLiteral("default"),
                           QString::fromLatin1(kWorkbookMimeType)});
    if (!query.waitForStarted(kStartMilliseconds))
        return false;
    if (!query.waitForFinished(kAnswerMilliseconds)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}
