#include "chart/GraphBaseClass.h"

#include <algorithm>

CGraphBaseClass::CGraphBaseClass(int slotCount)
    : slots_(static_cast<std::size_t>(std::max(0, slotCount)))
{
}

CGraphBaseClass::~CGraphBaseClass() = default;

int CGraphBaseClass::addSeries(std::uint32_t colour, const std::string& title, bool notify,
                               bool sorted, bool duplicatesAllowed)
{
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i])
            continue;
        slots_[i] = std::make_unique<CGraphProps>(colour, title, sorted, duplicatesAllowed);
        this->notify({.code = kNotifySeriesAdded, .redraw = notify, .series = static_cast<int>(i)});
        return static_cast<int>(i);
    }
    return -1;
}

int CGraphBaseClass::removeSeries(int index, bool notify)
{
    if (!getSeries(index))
        return -1;
    slots_[static_cast<std::size_t>(index)].reset();
    this->notify({.code = kNotifySeriesRemoved, .redraw = notify, .series = index});
    return index;
}

CGraphProps* CGraphBaseClass::getSeries(int index) const
{
    if (index < 0 || index >= slotCount())
        return nullptr;
    return slots_[static_cast<std::size_t>(index)].get();
}

int CGraphBaseClass::seriesCount() const
{
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                          [](const auto& slot) { return slot != nullptr; }));
}

CGraphProps* CGraphBaseClass::firstSeries(int& position) const
{
    position = -1;
    return nextSeries(position);
}

CGraphProps* CGraphBaseClass::nextSeries(int& position) const
{
    for (int i = std::max(position + 1, 0); i < slotCount(); ++i)
        if (slots_[static_cast<std::size_t>(i)]) {
            position = i;
            return slots_[static_cast<std::size_t>(i)].get();
        }
    position = -1;
    return nullptr;
}

int CGraphBaseClass::addPoint(int series, double x, double y, bool notify, int position)
{
    CGraphProps* props = getSeries(series);
    if (!props)
        return -1;
    CPointsCollection& points = props->points();
    const int index = position < 0 ? points.addPoint(x, y) : points.insertPoint(position, x, y);
    if (index < 0)
        return position; // a position past the end adds nothing
    this->notify({.code = kNotifyPointAdded, .redraw = notify, .series = series, .index = index,
                  .x = x, .y = y});
    return position;
}

bool CGraphBaseClass::removePoint(int series, int index, bool notify)
{
    CGraphProps* props = getSeries(series);
    if (!props || !props->points().removePoint(index))
        return false;
    this->notify({.code = kNotifyPointRemoved, .redraw = notify, .series = series, .index = index});
    return true;
}

bool CGraphBaseClass::editPoint(int series, int index, double y, bool notify)
{
    CGraphProps* props = getSeries(series);
    if (!props || !props->points().setPointY(index, y))
        return false;
    this->notify({.code = kNotifyPointEdited, .redraw = notify, .series = series, .index = index,
                  .x = props->points().at(index).x, .y = y});
    return true;
}

bool CGraphBaseClass::setSeriesValues(int series, std::shared_ptr<const IIndexedValues> values,
                                      bool notify)
{
    CGraphProps* props = getSeries(series);
    if (!props || !values)
        return false;
    props->points().setIndexedValues(std::move(values));
    this->notify({.code = kNotifySeriesCleared, .redraw = notify, .series = series});
    return true;
}

bool CGraphBaseClass::clearSeries(int series, bool notify)
{
    CGraphProps* props = getSeries(series);
    if (!props)
        return false;
    props->points().clear();
    this->notify({.code = kNotifySeriesCleared, .redraw = notify, .series = series});
    return true;
}

void CGraphBaseClass::setStyleKeepRanges(unsigned style, bool notify)
{
    const PlotRanges ranges = getViewRanges();
    setStyleAndRanges(style, ranges.xFrom, ranges.xTo, ranges.yFrom, ranges.yTo, notify);
}

void CGraphBaseClass::setStyleAndRanges(unsigned style, double xFrom, double xTo, double yFrom,
                                        double yTo, bool notify)
{
    this->notify({.code = kNotifyStyleAndRanges, .redraw = notify, .style = style,
                  .ranges = {xFrom, xTo, yFrom, yTo}});
}

bool CGraphBaseClass::getDataBounds(DataBounds& bounds) const
{
    bool found = false;
    for (const auto& slot : slots_) {
        // A series of points that are all skipped (not finite) holds none that could be shown.
        if (!slot || !slot->visible() || !slot->points().hasBounds())
            continue;
        const CPointsCollection& p = slot->points();
        if (!found) {
            bounds = {p.minX(), p.maxX(), p.minY(), p.maxY()};
            found = true;
            continue;
        }
        bounds.minX = std::min(bounds.minX, p.minX());
        bounds.maxX = std::max(bounds.maxX, p.maxX());
        bounds.minY = std::min(bounds.minY, p.minY());
        bounds.maxY = std::max(bounds.maxY, p.maxY());
    }
    return found;
}

bool CGraphBaseClass::setDataBounds(const DataBounds& bounds)
{
    bool found = false;
    for (const auto& slot : slots_) {
        if (!slot || !slot->visible() || slot->points().empty())
            continue;
        CPointsCollection& p = slot->points();
        if (!found) {
            p.setBounds(bounds.minX, bounds.maxX, bounds.minY, bounds.maxY);
            found = true;
            continue;
        }
        p.setBounds(std::min(p.minX(), bounds.minX), std::max(p.maxX(), bounds.maxX),
                    std::min(p.minY(), bounds.minY), std::max(p.maxY(), bounds.maxY));
    }
    return found;
}

const CAxisDescription& CGraphBaseClass::getAxis(int axis) const
{
    return axis == kAxisX ? xAxis_ : yAxis_;
}

void CGraphBaseClass::setAxis(const std::string& title, const std::string& unit, int precision,
                              int axis, bool notify)
{
    (axis == kAxisX ? xAxis_ : yAxis_).set(title, unit, precision);
    this->notify({.code = kNotifyAxisChanged, .redraw = notify,
                  .axis = axis == kAxisX ? kAxisX : kAxisY});
}

std::string CGraphBaseClass::formatValue(double value, int axis, int formatIndex) const
{
    return getAxis(axis).format(value, formatIndex);
}
