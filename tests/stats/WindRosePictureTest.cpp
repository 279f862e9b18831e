// The wind rose drawn: where the wedges go, and the PNG the converter writes.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "stats/WindRosePainter.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

// The colour at a compass bearing and a part of the rose's radius.
QColor colourAt(const QImage& image, const WindRoseLayout& layout, double bearing, double part)
{
    const double a = bearing * M_PI / 180.0;
    const QPointF at = layout.centre + QPointF(std::sin(a), -std::cos(a)) * layout.radius * part;
    return image.pixelColor(at.toPoint());
}

} // namespace

TEST(WindRosePicture, WedgesPointWhereTheWindComesFromStackedByClass)
{
    CWindRose rose;
    // From the east: two at 4-6, one at 0.5-2; from the south: one at 0.5-2.
    for (const char* speed : {"    5.00", "    5.00", "    1.00"})
        rose.add(makeWindSample(0, speed, "   90.0 ", "", ""));
    rose.add(makeWindSample(0, "    1.00", "  180.0 ", "", ""));
    QImage image(900, 640, QImage::Format_RGB32);
    WindRoseLayout layout;
    {
        QPainter painter(&image);
        layout = windRoseLayout(image.rect(), painter.fontMetrics());
        paintWindRose(painter, image.rect(), rose, "m/s", QStringLiteral("test"));
    }
    // The east sector holds 75 %: rings every 20 %, so its wedge reaches 75/80 of the radius,
    // 0.5-2 inside (up to 25/80), 4-6 outside it.
    EXPECT_EQ(colourAt(image, layout, 90, 0.2), windRoseClassColour(0));
    EXPECT_EQ(colourAt(image, layout, 90, 0.6), windRoseClassColour(2));
    EXPECT_EQ(colourAt(image, layout, 95, 0.6), windRoseClassColour(2)); // within the wedge
    EXPECT_EQ(colourAt(image, layout, 95, 0.97), QColor(Qt::white));     // off the spoke
    EXPECT_EQ(colourAt(image, layout, 180, 0.2), windRoseClassColour(0));
    EXPECT_EQ(colourAt(image, layout, 185, 0.4), QColor(Qt::white));
    // Nothing from the west or the north.
    EXPECT_EQ(colourAt(image, layout, 260, 0.3), QColor(Qt::white));
    EXPECT_EQ(colourAt(image, layout, 10, 0.3), QColor(Qt::white));
}

TEST(WindRosePicture, TheConverterWritesAPngOrSaysWhyNot)
{
    TempDir dir;
    std::string data = "    4.00  270.0 ";
    for (int k = 2; k < 13; ++k)
        data += "    0.00";
    writeFile(dir.file("r.ivt"), "2024/03/05 07:09:58#" + data + "\r\r\n");
    const ToolRun drawn =
        convert(dir, "--wind-rose " + dir.file("r.ivt") + " " + dir.file("rose.png"));
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    const QImage picture(QString::fromStdString(dir.file("rose.png")));
    EXPECT_EQ(picture.size(), QSize(900, 640));

    struct Case {
        std::string arguments;
        int exitCode;
    };
    writeFile(dir.file("keep.png"), "older picture");
    const std::vector<Case> cases = {
        {"--wind-rose " + dir.file("r.ivt"), 2},
        {"--wind-rose " + dir.file("r.lvt") + " " + dir.file("x.png"), 2},
        {"--wind-rose " + dir.file("r.ivt") + " " + dir.file("x.jpg"), 2},
        {"--wind-rose " + dir.file("missing.ivt") + " " + dir.file("keep.png"), 1},
        {"--wind-rose " + dir.file("r.ivt") + " " + dir.file("no/such/folder/x.png"), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = convert(dir, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(readFile(dir.file("keep.png")), "older picture");
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));

    // A picture that cannot be written whole (a full disk) leaves the older one as it was, and
    // no unfinished file beside it.
    const ToolRun full =
        convert(dir, "--wind-rose " + dir.file("r.ivt") + " " + dir.file("keep.png"), 4);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err.substr(full.err.find("ventora-convert:")),
              "ventora-convert: " + dir.file("keep.png") + ": cannot write: File too large\n");
    EXPECT_EQ(readFile(dir.file("keep.png")), "older picture");
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"keep.png", "r.ivt", "rose.png", "stderr", "stdout"}));
}
