#pragma once
// The plot's value tool tip: the row under the mouse and the texts of that row's cells for the
// channels the owner shows, each with its label and unit.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Unit.h"
#include "chart/AxisDescription.h"

// The row under an x value: the value written with the X axis format 1, read as a whole number.
int toolTipRow(double x, const CAxisDescription& xAxis);

// The tool tip for one row; cell(column) gives the partner list's text of that row's column.
std::string plotToolTipText(const std::function<std::string(int column)>& cell,
                            const std::vector<std::uint8_t>& visibility,
                            const Unit& unit = Unit::instance());
