#pragma once
// The numbered notifications a graph sends to its frame, the record that carries their
// arguments, and the plot style bits and menu commands shared by model and window code.

#include "chart/PlotMath.h"

enum GraphNotifyCode {
    kNotifyPointAdded = 1,
    kNotifyPointRemoved = 2,
    kNotifyPointEdited = 3,
    kNotifySeriesAdded = 4,
    kNotifySeriesRemoved = 5,
    kNotifySeriesCleared = 6,
    kNotifyStyleAndRanges = 8,
    kNotifyAxisChanged = 9,
    kNotifyFrameCommand = 10,
};

// Plot style bits.
enum PlotStyle : unsigned {
    kStyleExtendRanges = 1,
    kStylePointMarks = 2,
    kStyleMouseCoordinates = 4,
    kStyleGrid = 8,
    kStyleInitial = kStyleExtendRanges | kStylePointMarks | kStyleGrid,
};

// Context menu and frame commands.
enum GraphCommand {
    kCmdPointMarks = 4097,
    kCmdAxis = 4100,
    kCmdZoomTool = 4101,
    kCmdZoomIn = 4103,
    kCmdZoomOut = 4104,
    kCmdTogglePointsBar = 4108,
};

// Frame command values (notification 10).
enum FrameCommandValue { kFrameRender = 1, kFrameRepaintRulers = 4 };

// Points bar flags.
enum PointsBarFlag { kBarShow = 1, kBarHide = 2, kBarCommand12 = 4, kBarCommand11 = 8 };

// Axis selector of the axis operations.
enum GraphAxis { kAxisY = 0, kAxisX = 1 };

// The message number the notifications travel under.
inline constexpr int kGraphNotifyMessage = 50000;

struct CGraphNotify {
    int code = 0;
    bool redraw = true; // the notify flag: redraw at once
    int series = -1;
    int index = -1; // point index
    double x = 0;
    double y = 0;
    unsigned style = 0;
    PlotRanges ranges{};
    int axis = kAxisX;
    int value = 0; // frame command value
};
