#pragma once
// The data side of a graph window: a fixed number of series slots with their points, the
// owner's visibility flags, the two axis descriptions and the operations on them. Every
// operation that changes what is shown sends a numbered notification through notify(), which
// the window forwards to its frame; here it goes nowhere.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/AxisDescription.h"
#include "chart/GraphNotify.h"
#include "chart/GraphProps.h"

struct DataBounds {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

class CGraphBaseClass {
public:
    explicit CGraphBaseClass(int slotCount);
    virtual ~CGraphBaseClass();
    CGraphBaseClass(const CGraphBaseClass&) = delete;
    CGraphBaseClass& operator=(const CGraphBaseClass&) = delete;

    int slotCount() const { return static_cast<int>(slots_.size()); }

    // 1: lowest empty slot, or -1 when all are used. Notification 4.
    virtual int addSeries(std::uint32_t colour, const std::string& title, bool notify = true,
                          bool sorted = true, bool duplicatesAllowed = false);
    // 2: the index, or -1 for a bad index or an empty slot. Notification 5.
    virtual int removeSeries(int index, bool notify = true);
    // 3
    CGraphProps* getSeries(int index) const;
    // 4
    int seriesCount() const;
    // 5 and 6: walk the occupied slots; the position becomes -1 (and the result null) at the end.
    CGraphProps* firstSeries(int& position) const;
    CGraphProps* nextSeries(int& position) const;
    // 7: adds by the collection's rules (position -1) or at a position; returns the position
    // argument, or -1 when the series does not exist. Notification 1 with the actual index.
    virtual int addPoint(int series, double x, double y, bool notify = true, int position = -1);

    // Makes the series' points (i, values[i]), read from values as they are drawn (see
    // CPointsCollection::setIndexedValues); its points change wholesale (notification 6).
    // False when the series does not exist.
    bool setSeriesValues(int series, std::shared_ptr<const IIndexedValues> values,
                         bool notify = true);

    // Points removed, edited or cleared (notifications 2, 3 and 6); false for a bad index.
    bool removePoint(int series, int index, bool notify = true);
    bool editPoint(int series, int index, double y, bool notify = true);
    bool clearSeries(int series, bool notify = true);

    // 8: style with the current view ranges. 10: style and ranges. Notification 8 each.
    void setStyleKeepRanges(unsigned style, bool notify = true);
    void setStyleAndRanges(unsigned style, double xFrom, double xTo, double yFrom, double yTo,
                           bool notify = true);
    // 9 and 11: the plot's style and view ranges (the defaults while there is no plot).
    virtual unsigned getStyle() const { return kStyleInitial; }
    virtual PlotRanges getViewRanges() const { return {}; }

    // 12: union of the bounds of the visible series with points (points that are not finite do
    // not count); false when there is none.
    bool getDataBounds(DataBounds& bounds) const;
    // 13: the first visible non-empty series takes the bounds, later ones are widened.
    bool setDataBounds(const DataBounds& bounds);

    // 14 and 15 (axis 1 = X, 0 = Y; anything else counts as Y). Notification 9.
    const CAxisDescription& getAxis(int axis) const;
    void setAxis(const std::string& title, const std::string& unit, int precision, int axis,
                 bool notify = true);
    // 16: the value in format 0..2 of the axis; another index gives an empty text.
    std::string formatValue(double value, int axis, int formatIndex) const;

    // 17: 1 shows the points bar, 2 hides it, 4 and 8 send it its commands 12 and 11.
    virtual void pointsBarFlags(int flags) { (void)flags; }

    // One flag per series index, sized and set by the owner.
    std::vector<std::uint8_t>& visibility() { return visibility_; }
    const std::vector<std::uint8_t>& visibility() const { return visibility_; }

protected:
    // Forwards a notification to the frame; the window overrides it.
    virtual void notify(const CGraphNotify& record) { (void)record; }

private:
    std::vector<std::unique_ptr<CGraphProps>> slots_;
    std::vector<std::uint8_t> visibility_;
    CAxisDescription xAxis_;
    CAxisDescription yAxis_;
};
