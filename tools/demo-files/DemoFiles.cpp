#include "tools/demo-files/DemoFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

// One 8-character field: the number right-aligned, as the instrument sends it.
void appendField(std::string& text, const char* format, double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string f(buffer);
    if (f.size() > 8)
        f.resize(8);
    text += std::string(8 - f.size(), ' ') + f;
}

// Local midnight at the start of a day of 2026 (month 1 to 12).
std::time_t midnight2026(int month, int day)
{
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = month - 1;
    start.tm_mday = day;
    start.tm_isdst = -1;
    return std::mktime(&start);
}

void appendLocalTime(std::string& text, std::time_t t, const char* format)
{
    std::tm local{};
    localtime_r(&t, &local);
    char stamp[48];
    text.append(stamp, std::strftime(stamp, sizeof stamp, format, &local));
}

// Writes what appendLines(text, i) appends for i from 0 to count - 1, a megabyte at a time;
// false when anything could not be written.
template <typename AppendLines>
bool writeDemoFile(const std::string& path, int count, AppendLines appendLines)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::string chunk;
    bool written = true;
    for (int i = 0; i < count && written; ++i) {
        appendLines(chunk, i);
        if (chunk.size() > (1 << 20) || i + 1 == count) {
            written = std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
            chunk.clear();
        }
    }
    return std::fclose(file) == 0 && written;
}

} // namespace

bool writeDemoRecordFile(const std::string& path, int rows, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    const std::time_t t0 = midnight2026(3, 14);
    double speed = 4, direction = 220, pressure = 1013, humidity = 70;
    return writeDemoFile(path, rows, [&](std::string& text, int i) {
        const double day = std::sin((i / 86400.0 - 0.3) * 2 * M_PI);
        speed = std::max(0.0, speed + noise(random) * 0.05 + (5 + 3 * day - speed) * 0.001);
        const double gusty = std::max(0.0, speed + noise(random) * 0.8);
        direction = std::fmod(direction + noise(random) * 0.3 + 360, 360);
        pressure += noise(random) * 0.01 + (1013 - pressure) * 0.0005;
        const double temperature = 12 + 6 * day + noise(random) * 0.1;
        humidity = std::clamp(humidity + noise(random) * 0.05 - day * 0.002, 20.0, 100.0);
        const double rad = direction * M_PI / 180;
        const double u = -gusty * std::sin(rad), v = -gusty * std::cos(rad);
        const double w = noise(random) * 0.08;
        const double elevation = std::atan2(w, std::max(0.5, gusty)) * 180 / M_PI;
        const double sos = 331.3 + 0.606 * temperature + noise(random) * 0.05;
        appendLocalTime(text, t0 + i, "%Y/%m/%d %H:%M:%S#");
        appendField(text, "%.2f", gusty);
        appendField(text, "%.1f", direction);
        appendField(text, "%.1f", pressure);
        appendField(text, "%.2f", temperature);
        appendField(text, "%.1f", humidity);
        appendField(text, "%.3f", 2.5 + noise(random) * 0.01);
        appendField(text, "%.2f", u);
        appendField(text, "%.2f", v);
        appendField(text, "%.2f", w);
        appendField(text, "%.2f", std::hypot(u, v));
        appendField(text, "%.1f", elevation);
        appendField(text, "%.2f", sos);
        appendField(text, "%.2f", temperature + noise(random) * 0.2);
        text += "\r\r\n";
    });
}

bool writeDemoLogFile(const std::string& path, int records, int blocks, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    const std::time_t t0 = midnight2026(5, 2);
    double speed = 5, direction = 250, ain = 1.2;
    return writeDemoFile(path, records, [&](std::string& text, int i) {
        const double day = std::sin((i / 1440.0 - 0.3) * 2 * M_PI);
        speed = std::max(0.0, speed + noise(random) * 0.3 + (6 + 3 * day - speed) * 0.02);
        direction = std::fmod(direction + noise(random) * 3 + 360, 360);
        ain = std::clamp(ain + noise(random) * 0.02, 0.0, 5.0);
        appendLocalTime(text, t0 + 60 * static_cast<std::time_t>(i),
                        "DATE-TIME: %Y/%m/%d %H:%M:00\r\r\n");
        for (int b = 0; b < blocks; ++b) {
            // Higher instruments see more wind, a little veered, and colder air.
            const double height = 1 + 0.25 * b;
            const double s = std::max(0.0, speed * height + noise(random) * 0.4);
            const double d = std::fmod(direction + 6 * b + noise(random) * 4 + 360, 360);
            const double rad = d * M_PI / 180;
            const double u = -s * std::sin(rad), v = -s * std::cos(rad);
            const double w = noise(random) * 0.1;
            const double temperature = 14 + 5 * day - 0.6 * b + noise(random) * 0.1;
            appendField(text, "%.2f", s);
            appendField(text, "%.1f", d);
            appendField(text, "%.3f", ain + 0.4 * b);
            appendField(text, "%.3f", 2.0 + 0.3 * day + 0.1 * b + noise(random) * 0.01);
            appendField(text, "%.3f", 3.1 - 0.2 * day + noise(random) * 0.01);
            appendField(text, "%.3f", 0.5 + noise(random) * 0.005);
            appendField(text, "%.2f", u);
            appendField(text, "%.2f", v);
            appendField(text, "%.2f", w);
            appendField(text, "%.2f", std::hypot(u, v));
            appendField(text, "%.1f", std::atan2(w, std::max(0.5, s)) * 180 / M_PI);
            appendField(text, "%.2f", 331.3 + 0.606 * temperature + noise(random) * 0.05);
            appendField(text, "%.2f", temperature + noise(random) * 0.2);
            text += "\r\r\n";
        }
    });
}
