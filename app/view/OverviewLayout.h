#pragma once
// The table layouts of the overview view and what each does to the indicators: layout 2
// (first display), 0 (after the set-up menu), 1 (data: the time column and the thirteen
// channels with their units; recording starts) and the single "Setup" column of the
// instrument's set-up menu. Every layout replaces all earlier columns.

#include <optional>
#include <string>
#include <vector>

#include "core/Unit.h"

inline constexpr int kLayoutAfterMenu = 0;
inline constexpr int kLayoutData = 1;
inline constexpr int kLayoutInitial = 2;

enum class ColumnAlign { Left, Center };

struct COverviewColumn {
    std::string title; // Windows-1252; a line feed splits it over two header lines
    ColumnAlign align = ColumnAlign::Left;
    int width = 0;           // pixels
    bool ownerDrawn = false; // drawn as a button by the header
    bool operator==(const COverviewColumn&) const = default;
};

struct COverviewLayout {
    std::vector<COverviewColumn> columns;
    std::optional<int> ledState; // with the red colour and the round shape
    std::optional<bool> recIndicator;
    std::optional<bool> recording; // nothing: left as it is
    bool firstDisplay = false;     // also set up the header font, the list styles, disable it
};

// Layout 0, 1 or 2; any other number only removes the columns.
COverviewLayout overviewLayout(int layout, const Unit& unit = Unit::instance());

// The set-up menu: one left-aligned "Setup" column of 500 pixels, LED grey, "REC" disabled,
// recording flag unchanged.
COverviewLayout setupMenuLayout();
