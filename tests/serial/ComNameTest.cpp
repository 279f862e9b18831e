#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "serial/ComName.h"
#include "tests/support/TempDir.h"

namespace {

struct NameCase {
    const char* what;
    std::string name;
    std::map<std::string, std::string> env;
    std::string ini; // port.ini contents; empty: no file
    std::string expected;
};

TEST(ComNameTest, ResolvesFromEnvironmentThenIniThenDefault)
{
    const std::string ini = "# comment\r\n"
                            "; COM1=/dev/commented\r\n"
                            "  com2 = /dev/ttyUSB0  \r\n"
                            "COM3=\r\n"
                            "COM4\r\n"
                            "COM12=/dev/ttyACM1\n";
    const NameCase cases[] = {
        {"environment wins", "COM2", {{"VENTORA_COM2", "/tmp/sim"}}, ini, "/tmp/sim"},
        {"empty variable is unset", "COM2", {{"VENTORA_COM2", ""}}, ini, "/dev/ttyUSB0"},
        {"ini key in any case, blanks and CR ignored", "COM2", {}, ini, "/dev/ttyUSB0"},
        {"commented line ignored", "COM1", {}, ini, "/dev/ttyS0"},
        {"empty ini value falls back", "COM3", {}, ini, "/dev/ttyS2"},
        {"line without = ignored", "COM4", {}, ini, "/dev/ttyS3"},
        {"two-digit port", "COM12", {}, ini, "/dev/ttyACM1"},
        {"two-digit default", "COM10", {}, "", "/dev/ttyS9"},
        {"lower-case name", "com1", {{"VENTORA_COM1", "/dev/pts/7"}}, "", "/dev/pts/7"},
        {"no ini file", "COM1", {}, "", "/dev/ttyS0"},
        {"other variable ignored", "COM1", {{"VENTORA_COM11", "/x"}}, "", "/dev/ttyS0"},
        {"path unchanged", "/dev/pts/3", {{"VENTORA_COM1", "/x"}}, ini, "/dev/pts/3"},
        {"COM0 is no COM name", "COM0", {}, ini, "COM0"},
        {"COM without number", "COM", {}, ini, "COM"},
        {"trailing letters", "COM1x", {}, ini, "COM1x"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string iniFile = dir.file("port.ini");
        if (!c.ini.empty())
            writeFile(iniFile, c.ini);
        const EnvLookup env = [&](const std::string& name) -> std::optional<std::string> {
            const auto found = c.env.find(name);
            if (found == c.env.end())
                return std::nullopt;
            return found->second;
        };
        EXPECT_EQ(resolveComName(c.name, env, iniFile), c.expected);
    }
}

// A line too long to be a device path is ignored whole: no piece of it counts as a line.
TEST(ComNameTest, OverlongIniLinesAreIgnoredWhole)
{
    const std::string hidden = "COM1=/dev/hidden\n";
    const struct {
        const char* what;
        std::string ini;
        std::optional<std::string> com1;
    } cases[] = {
        {"plain", "COM1=/dev/a\n", "/dev/a"},
        {"after a long line", std::string(20000, 'x') + "\nCOM1=/dev/b", "/dev/b"},
        {"inside a long line", std::string(8191, 'x') + hidden, std::nullopt},
        {"end of a long line", std::string(10000, ' ') + hidden, std::nullopt},
        {"longest line kept", "COM1=/" + std::string(8184, 'p') + "\n",
         "/" + std::string(8184, 'p')},
        {"no line end", "COM1=/dev/c", "/dev/c"},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(comPathInIni(c.ini, 1), c.com1) << c.what;
}

TEST(ComNameTest, ComNumbers)
{
    EXPECT_EQ(comNumber("COM1"), 1);
    EXPECT_EQ(comNumber("Com255"), 255);
    EXPECT_EQ(comNumber("COM-1"), std::nullopt);
    EXPECT_EQ(comNumber("LPT1"), std::nullopt);
    EXPECT_EQ(comNumber("COM12345"), std::nullopt);
}

} // namespace
