#include "DemoLogFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <string>

namespace {

void field(std::string& text, const char* format, double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string f(buffer);
    if (f.size() > 8)
        f.resize(8);
    text += std::string(8 - f.size(), ' ') + f;
}

} // namespace

bool writeDemoLogFile(const std::string& path, int records, int blocks, unsigned seed)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 4;
    start.tm_mday = 2;
    start.tm_isdst = -1;
    const std::time_t t0 = std::mktime(&start);
    double speed = 5, direction = 250, ain = 1.2;
    std::string chunk;
    for (int i = 0; i < records; ++i) {
        const double day = std::sin((i / 1440.0 - 0.3) * 2 * M_PI);
        speed = std::max(0.0, speed + noise(random) * 0.3 + (6 + 3 * day - speed) * 0.02);
        direction = std::fmod(direction + noise(random) * 3 + 360, 360);
        ain = std::clamp(ain + noise(random) * 0.02, 0.0, 5.0);
        const std::time_t t = t0 + 60 * static_cast<std::time_t>(i);
        std::tm local{};
        localtime_r(&t, &local);
        char stamp[48];
        std::strftime(stamp, sizeof stamp, "DATE-TIME: %Y/%m/%d %H:%M:00\r\r\n", &local);
        chunk += stamp;
        for (int b = 0; b < blocks; ++b) {
            // Higher instruments see more wind, a little veered, and colder air.
            const double height = 1 + 0.25 * b;
            const double s = std::max(0.0, speed * height + noise(random) * 0.4);
            const double d = std::fmod(direction + 6 * b + noise(random) * 4 + 360, 360);
            const double rad = d * M_PI / 180;
            const double u = -s * std::sin(rad), v = -s * std::cos(rad);
            const double w = noise(random) * 0.1;
            const double temperature = 14 + 5 * day - 0.6 * b + noise(random) * 0.1;
            std::string text;
            field(text, "%.2f", s);
            field(text, "%.1f", d);
            field(text, "%.3f", ain + 0.4 * b);
            field(text, "%.3f", 2.0 + 0.3 * day + 0.1 * b + noise(random) * 0.01);
            field(text, "%.3f", 3.1 - 0.2 * day + noise(random) * 0.01);
            field(text, "%.3f", 0.5 + noise(random) * 0.005);
            field(text, "%.2f", u);
            field(text, "%.2f", v);
            field(text, "%.2f", w);
            field(text, "%.2f", std::hypot(u, v));
            field(text, "%.1f", std::atan2(w, std::max(0.5, s)) * 180 / M_PI);
            field(text, "%.2f", 331.3 + 0.606 * temperature + noise(random) * 0.05);
            field(text, "%.2f", temperature + noise(random) * 0.2);
            chunk += text;
            chunk += "\r\r\n";
        }
        if (chunk.size() > (1 << 20)) {
            std::fputs(chunk.c_str(), file.get());
            chunk.clear();
        }
    }
    std::fputs(chunk.c_str(), file.get());
    return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}
