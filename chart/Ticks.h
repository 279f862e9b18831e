#pragma once
// Tick values of the rulers and the grid: a power-of-ten exponent for the range, a step from
// the 1-2-5 series starting at 0.1 and the round values inside the range.

#include <string>
#include <vector>

struct Tick {
    double scaled = 0; // value times 10^-exponent, what the labels show
    double value = 0;  // data value
};

struct TickSet {
    int exponent = 0;
    double step = 0; // in scaled units; 0 when there are no ticks
    std::vector<Tick> ticks;
};

// The power of ten of the larger magnitude of a and b (0 for 0).
int tickExponent(double a, double b);

// The first value of 0.1, 0.2, 0.5, 1, 2, 5, 10, ... not below span / capacity (0.1 for a
// capacity of 0 or less).
double tickStep(double span, int capacity);

// Ticks for the range a..b with room for capacity ticks.
TickSet computeTicks(double a, double b, int capacity);

// Marks half a step below and above each tick that fall inside a..b, in scaled units.
std::vector<double> halfStepMarks(const TickSet& ticks, double a, double b);

// The data value of a scaled value of ticks (scaled times 10^exponent).
double unscaledValue(const TickSet& ticks, double scaled);

// How many ticks fit: (length - margin) / label width, rounded up; 0 when nothing fits.
int tickCapacity(int length, int margin, int labelWidth);

// The label text of a tick: "%.1f" of its scaled value.
std::string tickLabel(const Tick& tick);

// True when a text of the given width, centred on a pixel, lies within lo..hi.
bool labelFits(int centre, int width, int lo, int hi);
