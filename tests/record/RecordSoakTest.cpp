// The recorder's soak, short: two unplugs and replugs of the simulator on the same link path.
// The rate is the long soak's (20 lines a second at 115200 baud); 1000 lines take about 50 s.
#include <gtest/gtest.h>

#include "bench/record/RecordSoak.h"
#include "tests/support/TempDir.h"

TEST(RecordSoakTest, NoLineIsLostOrCutAcrossTwoReplugs)
{
    TempDir dir;
    SoakConfig config;
    config.workDir = dir.directory() + "soak";
    config.lines = 1000;
    config.replugEvery = 350;
    const SoakResult result = runSoak(config);
    const std::string report = result.report(config);
    EXPECT_TRUE(result.passed()) << report;
    EXPECT_EQ(result.reconnectSeconds.size(), 2u) << report;
    EXPECT_GE(result.sent, 1000);
    EXPECT_EQ(result.recorded + result.lostInFlight, result.sent) << report;
    EXPECT_LE(result.lostInFlight, 3) << report; // at most the line in flight at each hang-up
    EXPECT_EQ(result.exitStatus, 0);
}
