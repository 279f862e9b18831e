#pragma once
// One series of a graph: colour, title, visibility and its points. Colours are 0xRRGGBB.

#include <cstdint>
#include <string>

#include "chart/PointsCollection.h"

class CGraphProps {
public:
    CGraphProps(std::uint32_t colour, std::string title, bool sorted = true,
                bool duplicatesAllowed = false);

    std::uint32_t colour() const { return colour_; }
    // Changing the colour also changes the pen and brush drawn with it.
    void setColour(std::uint32_t colour) { colour_ = colour & 0xFFFFFFu; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    // Series made by the graph's add operation always draw; a bare series may opt out.
    bool hasDrawingTools() const { return drawingTools_; }
    void setDrawingTools(bool on) { drawingTools_ = on; }

    CPointsCollection& points() { return points_; }
    const CPointsCollection& points() const { return points_; }

private:
    std::uint32_t colour_;
    std::string title_;
    bool visible_ = true;
    bool drawingTools_ = true;
    CPointsCollection points_;
};
