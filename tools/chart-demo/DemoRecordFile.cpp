#include "DemoRecordFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

namespace {

// One 8-character field: the number right-aligned, as the instrument sends it.
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

bool writeDemoRecordFile(const std::string& path, int rows, unsigned seed)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 2;
    start.tm_mday = 14;
    start.tm_isdst = -1;
    const std::time_t t0 = std::mktime(&start);
    double speed = 4, direction = 220, pressure = 1013, humidity = 70;
    for (int i = 0; i < rows; ++i) {
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
        std::string text;
        field(text, "%.2f", gusty);
        field(text, "%.1f", direction);
        field(text, "%.1f", pressure);
        field(text, "%.2f", temperature);
        field(text, "%.1f", humidity);
        field(text, "%.3f", 2.5 + noise(random) * 0.01);
        field(text, "%.2f", u);
        field(text, "%.2f", v);
        field(text, "%.2f", w);
        field(text, "%.2f", std::hypot(u, v));
        field(text, "%.1f", elevation);
        field(text, "%.2f", sos);
        field(text, "%.2f", temperature + noise(random) * 0.2);
        const std::time_t t = t0 + i;
        std::tm local{};
        localtime_r(&t, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &local);
        // The recording file's lines end CR CR LF on disk.
        std::fprintf(file.get(), "%s#%s\r\r\n", stamp, text.c_str());
    }
    return std::fflush(file.get()) == 0;
}
