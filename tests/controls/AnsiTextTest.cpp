// The crossing between Windows-1252 program text and the screen's Unicode, and the CSV's UTF-8,
// use one code page table: every byte must come back unchanged and read the same in both.
#include <gtest/gtest.h>

#include "controls/AnsiText.h"
#include "core/CText.h"

TEST(AnsiText, EveryByteCrossesBothWaysAndReadsAsInTheCsv)
{
    for (int value = 1; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const QString shown = fromAnsi(byte);
        ASSERT_EQ(shown.size(), 1) << value;
        EXPECT_EQ(toAnsi(shown), byte) << value;
        std::string utf8;
        ctext::appendUtf8(utf8, byte);
        EXPECT_EQ(shown.toStdString(), utf8) << value;
    }
    EXPECT_EQ(fromAnsi("\xB0\x80\x9F"), QStringLiteral(u"\u00B0\u20AC\u0178"));
    EXPECT_EQ(toAnsi(QStringLiteral(u"\u20AC\u4E2D")), "\x80?");
}
