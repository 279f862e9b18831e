#include "stats/WindRoseCommand.h"

#include <QGuiApplication>
#include <QImage>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "files/ConvertReport.h"
#include "files/FirstMessage.h"
#include "files/OutputFile.h"
#include "stats/CivilTime.h"
#include "stats/RecordSamples.h"
#include "stats/WindRosePainter.h"

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 640;

// Painting text needs a GUI application; without a display it runs offscreen.
std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ventora-convert";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int runWindRoseCommand(int argc, const char* const* argv, std::FILE* err)
{
    if (argc != 2) {
        std::fputs(kWindRoseUsage, err);
        return 2;
    }
    const std::string input = argv[0], output = argv[1];
    if (std::filesystem::path(input).extension().string() != ".ivt")
        return convertReport(err, input, "a wind rose is made from a record (.ivt) file", 2);
    if (std::filesystem::path(output).extension().string() != ".png")
        return convertReport(err, output, "the wind rose is written as a PNG picture (.png)", 2);
    std::error_code error;
    if (std::filesystem::equivalent(input, output, error))
        return convertReport(err, output, "is the input file; choose another output file", 2);

    CWindRose rose;
    double first = std::numeric_limits<double>::infinity();
    double last = -std::numeric_limits<double>::infinity();
    RecordSampleCounts counts;
    CFirstMessage messages;
    errno = 0;
    const bool opened = readRecordSamples(
        input, messages,
        [&](const WindSample& sample) {
            rose.add(sample);
            first = std::min(first, sample.time);
            last = std::max(last, sample.time);
            return true;
        },
        counts);
    if (!opened)
        return convertReport(err, input, messages.line(), 1);

    const std::unique_ptr<QGuiApplication> application = guiApplication();
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    {
        QPainter painter(&picture);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        QString title = QStringLiteral("Wind rose of ") +
                        QString::fromLocal8Bit(std::filesystem::path(input).filename().string());
        if (first <= last)
            title += QStringLiteral(", ") +
                     QString::fromStdString(formatCivilDateTime(static_cast<std::int64_t>(first))) +
                     QStringLiteral(" to ") +
                     QString::fromStdString(formatCivilDateTime(static_cast<std::int64_t>(last)));
        paintWindRose(painter, picture.rect(), rose, {}, title);
    }
    // The picture goes to a new file that replaces the output only once it is whole.
    COutputFile file;
    if (int failure = file.open(output); failure != 0)
        return convertReport(err, output, std::string("cannot create: ") + std::strerror(failure),
                             1);
    errno = 0;
    int failure = 0;
    if (!picture.save(QString::fromLocal8Bit(file.writePath()), "PNG"))
        failure = errno != 0 ? errno : EIO;
    else
        failure = file.commit();
    if (failure != 0) {
        file.discard();
        return convertReport(err, output, std::string("cannot write: ") + std::strerror(failure),
                             1);
    }
    if (counts.undated > 0)
        reportUndatedRows(err, input, counts.undated, counts.rows);
    return 0;
}
