#include "core/FileDialog.h"

#include "core/CText.h"

std::vector<CFileFilterEntry> parseFileFilter(std::string_view filter)
{
    std::vector<CFileFilterEntry> entries;
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= filter.size();) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string_view::npos)
            bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string_view description = ctext::trimBoth(parts[i]);
        if (description.empty())
            break;
        CFileFilterEntry entry{std::string(description), {}};
        std::string_view patterns = parts[i + 1];
        for (std::size_t start = 0; start <= patterns.size();) {
            std::size_t semicolon = patterns.find(';', start);
            if (semicolon == std::string_view::npos)
                semicolon = patterns.size();
            std::string_view pattern = ctext::trimBoth(patterns.substr(start, semicolon - start));
            if (!pattern.empty())
                entry.patterns.emplace_back(pattern);
            start = semicolon + 1;
        }
        if (!entry.patterns.empty())
            entries.push_back(std::move(entry));
    }
    return entries;
}
