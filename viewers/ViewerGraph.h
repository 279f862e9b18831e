#pragma once
// How a viewer fills its graph from its rows. Series i is named "Channel i" and plots data
// column firstColumn + i against the row index; a series is filled only while its visibility
// flag is set. The y bounds are widened by 10 % at both ends so that no line runs along the
// plot's edge.

#include <cstdint>
#include <vector>

#include "chart/GraphBaseClass.h"
#include "files/DataTable.h"

struct CViewerGraphPlan {
    std::vector<std::uint32_t> colours; // one series per colour (0xRRGGBB)
    int firstColumn = 0;                // 0-based data column of series 0
};

// Record viewer: the 13 channels in channel order with their channel colours.
CViewerGraphPlan recordGraphPlan();
// Log viewer: five series from firstColumn on, red, green, blue, olive and cyan.
CViewerGraphPlan logGraphPlan(int firstColumn);

// Visibility flags at first (13 each): Azimuth, Temperature, Humidity and Elevation for the
// record viewer; the five series of the log viewer.
std::vector<std::uint8_t> recordInitialVisibility();
std::vector<std::uint8_t> logInitialVisibility();

// The record channels the flags show, as a set of value columns (bit k: channel k).
std::uint16_t recordPlottedColumns(const std::vector<std::uint8_t>& flags);

// Has record rows read in place hold the value columns of the channels the flags show, so that
// their graph reads them compactly (the values of a column it lacks come from the text). 0, or
// the store's failure: ENOMEM, or EIO for a file cut shorter, which the store then reports as
// damaged.
int holdPlottedColumns(CDataTable& rows, const std::vector<std::uint8_t>& flags);

// The y range shown for data bounds: both ends moved out by 10 % of the spread (of the value
// itself when all values are equal; to -1..1 when all are 0). Never empty, never NaN: an end
// that is not a finite number, or one beyond +-1e307, is held to +-1e307.
DataBounds widenedYBounds(const DataBounds& bounds);

// Rebuilds the graph's series from the rows: removes the plan's series (with notification),
// sets the axes (x: unit " ", precision 0; y: precision 2) and the style (extending ranges and
// mouse coordinates on, point marks and grid off), creates the series sorted by x without
// duplicates, adds the points of the visible ones and sets the widened data bounds. False
// when no visible series got a point (the bounds are left alone then).
bool fillViewerGraph(CGraphBaseClass& graph, const CDataTable& rows, const CViewerGraphPlan& plan);
