#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "core/CText.h"
#include "files/DataText.h"

TEST(DataText, FieldMarkersAnywhereInTheText)
{
    struct Case {
        const char* text;
        bool marker;
    } cases[] = {
        {"  _err  ", true},  {"_ofl", true},      {"xx_und", true}, {"---- --", true},
        {"  ---- --  ", true}, {"---  --", false}, {"-------", false}, {"_er", false},
        {"   12.5 ", false}, {"", false},         {"_ERR", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasFieldMarker(c.text), c.marker) << '"' << c.text << '"';
        EXPECT_EQ(displayField(c.text), c.marker ? "---  --" : std::string_view(c.text));
    }
}

TEST(DataText, ValuesFollowStrtodAndMarkersGiveMinus999)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"   12.5 ", 12.5},   {"  _err  ", -999},   {" -2.50_ofl", -999}, {"", 0},
        {"abc", 0},          {"  -", 0},           {"-0.25", -0.25},     {"+.5", 0.5},
        {"1.", 1},           {"12.5abc", 12.5},    {"12 34", 12},        {"\t7", 7},
        {"1e3", 1000},       {"2.5E-1", 0.25},     {" 0x10", 16},        {"12e", 12},
        {"1234567890123456789", 1234567890123456789.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fieldValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(std::signbit(fieldValue(" -0.00")));
}

// strtod reads these as NaN or infinity; no spreadsheet or graph can use that, so they are text
// that is no number. Finite numbers at the edges of the range stay as they are.
TEST(DataText, NonFiniteReadingsAreNoNumber)
{
    for (const char* text : {"nan", "  NaN   ", "-nan(12)", "inf", " -inf", "INFINITY", "1e999",
                             "-1e999", "0x1p2000", "9e308"})
        EXPECT_EQ(fieldValue(text), 0.0) << '"' << text << '"';
    EXPECT_EQ(fieldValue("1e308"), 1e308);
    EXPECT_EQ(fieldValue("-1.7e308"), -1.7e308);
    EXPECT_EQ(fieldValue("1e-999"), 0.0);
    EXPECT_EQ(fieldValue("nan_err"), kNoValue);
}

// The quick conversion of plain decimals must give exactly the bits strtod gives.
TEST(DataText, PlainDecimalsConvertBitForBitLikeStrtod)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> digit(0, 9), count(0, 9), coin(0, 3);
    for (int i = 0; i < 200000; ++i) {
        std::string text(static_cast<std::size_t>(coin(random)), ' ');
        if (coin(random) == 0)
            text += '-';
        for (int n = count(random); n > 0; --n)
            text += static_cast<char>('0' + digit(random));
        if (coin(random) != 0) {
            text += '.';
            for (int n = count(random); n > 0; --n)
                text += static_cast<char>('0' + digit(random));
        }
        double fast = fieldValue(text);
        double reference = ctext::toDouble(text);
        ASSERT_EQ(std::memcmp(&fast, &reference, sizeof fast), 0) << '"' << text << '"';
    }
}

TEST(DataText, FieldsOfADataTextAreCutAtEightCharacterSteps)
{
    std::string text = "AAAAAAAABBBBBBBBCC";
    EXPECT_EQ(dataTextField(text, 0), "AAAAAAAA");
    EXPECT_EQ(dataTextField(text, 1), "BBBBBBBB");
    EXPECT_EQ(dataTextField(text, 2), "CC");
    EXPECT_EQ(dataTextField(text, 3), "");
    EXPECT_EQ(dataTextField(text, 12), "");
}
