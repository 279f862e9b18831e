#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/va7310-sim/WeatherModel.h"

namespace {

std::vector<double> fieldsOf(const std::string& text)
{
    std::vector<double> values;
    for (std::size_t at = 0; at + 8 <= text.size(); at += 8) {
        const std::string field = text.substr(at, 8);
        char* end = nullptr;
        values.push_back(std::strtod(field.c_str(), &end));
        EXPECT_EQ(*end, '\0') << "field '" << field << "' is a number filling its 8 characters";
    }
    return values;
}

TEST(WeatherModelTest, DataTextsArePlausibleConsistentAndSlowlyVarying)
{
    CWeatherModel model(42);
    std::vector<double> previous;
    for (int i = 0; i < 2000; ++i) {
        model.step();
        const std::string text = model.dataText(1.0);
        ASSERT_EQ(text.size(), 104u);
        const std::vector<double> f = fieldsOf(text);
        ASSERT_EQ(f.size(), 13u);
        const double speed = f[0], azimuth = f[1], u = f[6], v = f[7], w = f[8], uv = f[9];
        EXPECT_GE(speed, 0.0);
        EXPECT_LE(speed, 30.0);
        EXPECT_GE(azimuth, 0.0);
        EXPECT_LT(azimuth, 360.05);
        EXPECT_NEAR(f[2], 1013.0, 25.0);
        EXPECT_GE(f[4], 20.0);
        EXPECT_LE(f[4], 100.0);
        EXPECT_NEAR(std::hypot(u, v), speed, 0.02) << "U and V make up the speed";
        EXPECT_NEAR(uv, speed, 0.01);
        if (speed > 1.0) {
            // Wind from the azimuth blows towards the opposite direction.
            const double towards = std::atan2(-u, -v) * 180.0 / M_PI;
            const double difference = std::remainder(towards - azimuth, 360.0);
            EXPECT_NEAR(difference, 0.0, 2.0);
        }
        if (uv > 2.0) {
            EXPECT_NEAR(f[10], std::atan2(w, uv) * 180.0 / M_PI, 0.5) << "elevation from W";
        }
        EXPECT_NEAR(f[11], 340.0, 20.0);
        EXPECT_NEAR(f[12], f[3], 1.0) << "sonic temperature close to the air's";
        if (!previous.empty()) {
            EXPECT_LT(std::abs(speed - previous[0]), 2.0);
            EXPECT_LT(std::abs(f[2] - previous[2]), 0.5);
        }
        previous = f;
    }
}

TEST(WeatherModelTest, SpeedUnitsScaleOnlyTheSpeeds)
{
    CWeatherModel model(3);
    model.step();
    const std::vector<double> ms = fieldsOf(model.dataText(1.0));
    const std::vector<double> kmh = fieldsOf(model.dataText(CWeatherModel::speedFactor("km/h")));
    for (int k = 0; k < 13; ++k) {
        const bool speed = k == 0 || (k >= 6 && k <= 9) || k == 11;
        EXPECT_NEAR(kmh[k], speed ? ms[k] * 3.6 : ms[k], 0.05) << "field " << k;
    }
    EXPECT_NEAR(CWeatherModel::speedFactor("knots"), 1.944, 0.001);
    EXPECT_NEAR(CWeatherModel::speedFactor("mph"), 2.237, 0.001);
    EXPECT_EQ(CWeatherModel::speedFactor("furlongs"), 1.0);
}

TEST(WeatherModelTest, MarkersAndOverflowsKeepTheFieldWidth)
{
    CWeatherModel model(5);
    const std::string marked = model.dataText(1.0, 12, "---- --");
    EXPECT_EQ(marked.size(), 104u);
    EXPECT_EQ(marked.substr(96), " ---- --");
    EXPECT_EQ(model.dataText(1.0, 0, "_err").substr(0, 8), "    _err");
    const std::string huge = model.dataText(1e7);
    EXPECT_EQ(huge.size(), 104u);
    EXPECT_EQ(huge.substr(0, 8), "    _ofl");
    EXPECT_EQ(huge.substr(8, 8), model.dataText(1.0).substr(8, 8)) << "azimuth is no speed";
}

} // namespace
