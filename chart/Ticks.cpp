#include "chart/Ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// m * 10^e computed so that whole values stay exact and others are correctly rounded.
double decimal(double m, int e)
{
    return e >= 0 ? m * std::pow(10.0, e) : m / std::pow(10.0, -e);
}

// A little slack for "inside the range", so 12 steps of 0.1 still reach 1.2.
constexpr double kSlack = 1e-9;

} // namespace

int tickExponent(double a, double b)
{
    const double magnitude = std::max(std::fabs(a), std::fabs(b));
    if (magnitude == 0 || !std::isfinite(magnitude))
        return 0;
    const double logarithm = std::log10(magnitude);
    if (magnitude >= 1)
        return static_cast<int>(std::floor(logarithm));
    return -(1 + static_cast<int>(std::floor(std::fabs(logarithm))));
}

namespace {

struct Step {
    double mantissa = 1; // 1, 2 or 5
    int exponent = -1;
    double value() const { return decimal(mantissa, exponent); }
};

Step findStep(double span, int capacity)
{
    if (capacity <= 0)
        return {};
    const double wanted = span / capacity;
    static constexpr double kMantissas[] = {1, 2, 5};
    for (int e = -1; e < 310; ++e)
        for (double m : kMantissas)
            if (decimal(m, e) >= wanted)
                return {m, e};
    return {5, 309};
}

} // namespace

double tickStep(double span, int capacity) { return findStep(span, capacity).value(); }

TickSet computeTicks(double a, double b, int capacity)
{
    TickSet set;
    if (!std::isfinite(a) || !std::isfinite(b) || a == b)
        return set; // equal ends: no ticks, and the scaling loop below would never end
    int p = tickExponent(a, b);
    double sa = decimal(a, -p), sb = decimal(b, -p);
    // A narrow range is scaled up until its ends differ by 0.2; the guard ends the loop for
    // ranges whose ends never reach 100 (negative values).
    for (int guard = 0; std::fabs(sb - sa) < 0.2 && sa < 100 && sb < 100 && guard < 40; ++guard) {
        --p;
        sa = decimal(a, -p);
        sb = decimal(b, -p);
    }
    set.exponent = p;
    const double span = std::fabs(sb - sa);
    const Step step = findStep(span, capacity);
    const double s = step.value();
    if (span < s - s * kSlack)
        return set;
    set.step = s;
    const double lo = std::min(sa, sb) - s * kSlack, hi = std::max(sa, sb) + s * kSlack;
    const double h = std::trunc(sa / s);
    double first = 0, firstScaled = 0;
    bool found = false;
    for (int k = -2; k <= 2; ++k) {
        const double candidate = decimal((h + k) * step.mantissa, step.exponent);
        if (candidate >= lo && candidate <= hi &&
            (!found || std::fabs(candidate - sa) < std::fabs(firstScaled - sa))) {
            first = h + k;
            firstScaled = candidate;
            found = true;
        }
    }
    if (!found)
        return set;
    const double direction = sb > sa ? 1 : -1;
    // Ticks are formed from whole multiples of the step's mantissa, so that 12 x 0.1 reads as
    // 1.2 and the data value of a tick at row 12 is exactly 12.
    for (double k = first;; k += direction) {
        const double scaled = decimal(k * step.mantissa, step.exponent);
        if (scaled < lo || scaled > hi)
            break;
        set.ticks.push_back({scaled, decimal(k * step.mantissa, step.exponent + p)});
    }
    return set;
}

std::vector<double> halfStepMarks(const TickSet& ticks, double a, double b)
{
    std::vector<double> marks;
    if (ticks.ticks.empty())
        return marks;
    const double sa = decimal(a, -ticks.exponent), sb = decimal(b, -ticks.exponent);
    const double lo = std::min(sa, sb), hi = std::max(sa, sb);
    auto add = [&](double m) {
        if (m >= lo && m <= hi && (marks.empty() || std::fabs(marks.back() - m) > ticks.step / 4))
            marks.push_back(m);
    };
    for (const Tick& t : ticks.ticks) {
        const double below = t.scaled - ticks.step / 2, above = t.scaled + ticks.step / 2;
        // Keep the marks ordered along the range.
        if (sb >= sa) {
            add(below);
            add(above);
        } else {
            add(above);
            add(below);
        }
    }
    return marks;
}

double unscaledValue(const TickSet& ticks, double scaled)
{
    return decimal(scaled, ticks.exponent);
}

int tickCapacity(int length, int margin, int labelWidth)
{
    if (labelWidth <= 0 || length - margin <= 0)
        return 0;
    const int room = length - margin;
    return (room + labelWidth - 1) / labelWidth;
}

std::string tickLabel(const Tick& tick)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", tick.scaled);
    return buffer;
}

bool labelFits(int centre, int width, int lo, int hi)
{
    const int left = centre - width / 2;
    return left >= lo && left + width <= hi;
}
