#include "bench/support/PatternFiles.h"

#include <cstdio>
#include <fstream>

namespace {

// Writes what appendLines(text, i) appends for i from 0 to count - 1, a megabyte at a time.
template <typename AppendLines>
bool writeLines(const std::string& path, int count, AppendLines appendLines)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (int i = 0; i < count && out; ++i) {
        appendLines(chunk, i);
        if (chunk.size() > (1 << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
    out.close();
    return !out.fail();
}

} // namespace

void appendPatternFields(std::string& line, int i)
{
    char field[16];
    for (int k = 0; k < 13; ++k) {
        if ((i + k) % 997 == 0) {
            line += "  _err  ";
            continue;
        }
        double value = ((i * 7919LL + k * 104729LL) % 200000) / 100.0 - 500.0;
        std::snprintf(field, sizeof field, "%8.2f", value);
        line.append(field, 8);
    }
}

bool writePatternRecordFile(const std::string& path, int lines)
{
    return writeLines(path, lines, [](std::string& text, int seconds) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2024/%02d/%02d %02d:%02d:%02d#",
                      1 + (seconds / 86400 / 28) % 12, 1 + (seconds / 86400) % 28,
                      (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
        text += stamp;
        appendPatternFields(text, seconds);
        text += "\r\r\n";
    });
}

bool writePatternLogFile(const std::string& path, int records)
{
    return writeLines(path, records, [](std::string& text, int i) {
        char stamp[48];
        std::snprintf(stamp, sizeof stamp, "DATE-TIME: 2024/01/%02d %02d:%02d:00\r\r\n",
                      1 + (i / 1440) % 28, (i / 60) % 24, i % 60);
        text += stamp;
        for (int block = 0; block < 2; ++block) {
            appendPatternFields(text, i + block);
            text += "\r\r\n";
        }
    });
}

namespace {
constexpr const char* kStamp = "DATE-TIME: 2024/01/01 00:00:00\r\r\n";
}

bool writeManyBlocksLogFile(const std::string& path)
{
    return writeLines(path, 1000001, [](std::string& text, int i) {
        text += i == 0 ? kStamp : "1\n";
    });
}

bool writeHashLinesFile(const std::string& path, std::size_t bytes)
{
    return writeLines(path, static_cast<int>(bytes / 2), [](std::string& text, int) {
        text += "#\n";
    });
}

bool writeEmptyBlocksLogFile(const std::string& path)
{
    constexpr int kBlocks = 64;
    return writeLines(path, 1 + kBlocks + 90000, [](std::string& text, int i) {
        if (i == 0 || i > kBlocks) {
            text += kStamp;
        } else {
            appendPatternFields(text, i);
            text += "\r\r\n";
        }
    });
}
