#include "export/UtcTimeline.h"

#include <algorithm>

namespace {
constexpr std::int64_t kDay = 86400;
}

std::int64_t CUtcTimeline::inOrder(const CTimeZone::Instants& instants) const
{
    // The second occurrence once the last instant lies past the first one: the clock has gone
    // back. An equal instant (rows of the same second) stays in the same occurrence.
    if (instants.count == 2 && last_ > instants.utc[0] && last_ <= instants.utc[1])
        return instants.utc[1];
    return instants.utc[0];
}

std::int64_t CUtcTimeline::jumpPast(std::int64_t local) const
{
    // Before the gap the offset is the smaller one: the transition lies between the instants
    // the time would have with either offset.
    const std::int64_t before = zone_.offsetAt(local - kDay);
    const std::int64_t after = zone_.offsetAt(local + kDay);
    return zone_.nextTransition(local - std::max(before, after), local - std::min(before, after));
}

std::optional<std::int64_t> CUtcTimeline::instant(std::int64_t local)
{
    const CTimeZone::Instants instants = zone_.instants(local);
    if (instants.count == 0)
        return std::nullopt;
    last_ = inOrder(instants);
    return last_;
}

CUtcTimeline::Bounds CUtcTimeline::period(std::int64_t start, std::int64_t end)
{
    const CTimeZone::Instants first = zone_.instants(start);
    Bounds bounds;
    bounds.start = first.count == 0 ? jumpPast(start) : inOrder(first);
    last_ = bounds.start;

    const CTimeZone::Instants last = zone_.instants(end);
    std::int64_t reached = bounds.start + (end - start);
    if (last.count == 0)
        reached = jumpPast(end);
    else if (last.utc[0] > bounds.start)
        reached = last.utc[0];
    else if (last.count == 2 && last.utc[1] > bounds.start)
        reached = last.utc[1];
    // Clocks going back within the period leave it when they go back before its start.
    const std::int64_t transition = zone_.nextTransition(bounds.start, reached);
    const std::int64_t offset = zone_.offsetAt(transition);
    bounds.end =
        transition < reached && offset < zone_.offsetAt(bounds.start) && transition + offset < start
            ? transition
            : reached;
    return bounds;
}
