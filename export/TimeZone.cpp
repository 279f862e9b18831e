#include "export/TimeZone.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "stats/CivilTime.h"

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kHour = 3600;

std::string zoneFolder()
{
    const char* folder = std::getenv("TZDIR");
    return folder && *folder ? folder : "/usr/share/zoneinfo";
}

// A zone file of the database starts with the magic "TZif"; other files there (zone.tab,
// tzdata.zi) are no zones.
bool isZoneFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char magic[4] = {};
    return file.read(magic, sizeof magic) && std::string_view(magic, 4) == "TZif";
}

// The database name in a path into the database ("/usr/share/zoneinfo/Europe/Berlin").
std::string nameInDatabase(const std::string& path)
{
    constexpr std::string_view kMark = "zoneinfo/";
    const std::size_t at = path.find(kMark);
    if (at == std::string::npos)
        return {};
    std::string name = path.substr(at + kMark.size());
    // posix/ and right/ hold the same zones, with and without leap seconds.
    if (name.starts_with("posix/"))
        name.erase(0, 6);
    return name;
}

} // namespace

int CTimeZone::select(const std::string& name)
{
    if (name.empty() || name.front() == '/' || name.find("..") != std::string::npos ||
        !isZoneFile(zoneFolder() + "/" + name))
        return ENOENT;
    name_ = name;
    cachedHour_ = INT64_MIN;
    return 0;
}

std::string CTimeZone::systemZoneName()
{
    std::string name = "/etc/localtime"; // what the C library reads when TZ is not set
    if (const char* tz = std::getenv("TZ")) {
        name = tz;
        if (name.starts_with(":"))
            name.erase(0, 1);
        if (name.empty())
            return "UTC";
        if (name.front() != '/')
            return name;
    }
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(name, error);
    if (error)
        return name == "/etc/localtime" ? "UTC" : name; // no zone file at all: the C library's UTC
    if (std::string inDatabase = nameInDatabase(file.string()); !inDatabase.empty())
        return inDatabase;
    // A copy of a zone file rather than a link: Debian names the zone in /etc/timezone.
    std::ifstream names("/etc/timezone");
    std::string named;
    std::getline(names, named);
    return named;
}

void CTimeZone::apply() const
{
    const char* current = std::getenv("TZ");
    if (current && name_ == current)
        return;
    ::setenv("TZ", name_.c_str(), 1);
    ::tzset();
}

std::int64_t CTimeZone::offsetAt(std::int64_t utc) const
{
    apply();
    const auto t = static_cast<std::time_t>(utc);
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return 0;
    return local.tm_gmtoff;
}

CTimeZone::Instants CTimeZone::computeInstants(std::int64_t local) const
{
    // The offsets a day before and after cover both sides of any transition near the time.
    Instants found;
    for (const std::int64_t probe : {local - kDay, local, local + kDay}) {
        const std::int64_t offset = offsetAt(probe);
        const std::int64_t utc = local - offset;
        if (offsetAt(utc) != offset ||
            std::find(found.utc, found.utc + found.count, utc) != found.utc + found.count)
            continue;
        if (found.count < 2)
            found.utc[found.count++] = utc;
    }
    if (found.count == 2 && found.utc[0] > found.utc[1])
        std::swap(found.utc[0], found.utc[1]);
    return found;
}

CTimeZone::Instants CTimeZone::instants(std::int64_t local) const
{
    // Rows come in time order: an hour whose first and last second map with the same single
    // offset maps so throughout (no zone changes its offset twice within an hour), and costs
    // no further look-up.
    const std::int64_t hour = floorToStep(local, kHour);
    if (hour != cachedHour_) {
        const Instants first = computeInstants(hour);
        const Instants last = computeInstants(hour + kHour - 1);
        cachedHour_ = hour;
        cachedOffset_ = hour - first.utc[0];
        cachedUniform_ =
            first.count == 1 && last.count == 1 && hour + kHour - 1 - last.utc[0] == cachedOffset_;
    }
    if (!cachedUniform_)
        return computeInstants(local);
    Instants one;
    one.count = 1;
    one.utc[0] = local - cachedOffset_;
    return one;
}

std::int64_t CTimeZone::nextTransition(std::int64_t after, std::int64_t limit) const
{
    const std::int64_t offset = offsetAt(after);
    if (limit <= after || offsetAt(limit) == offset)
        return limit;
    std::int64_t same = after;
    std::int64_t changed = limit;
    while (changed - same > 1) {
        const std::int64_t middle = same + (changed - same) / 2;
        (offsetAt(middle) == offset ? same : changed) = middle;
    }
    return changed;
}
