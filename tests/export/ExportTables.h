#pragma once
// Tables for the export tests: rows given literally, or n generated rows whose date-time and
// values tell which row they are.

#include <string>
#include <utility>
#include <vector>

#include "files/DataTable.h"

inline CDataTable recordTable(const std::vector<std::pair<std::string, std::string>>& rows)
{
    CDataTable table;
    table.reset(CDataTable::Layout::Record);
    for (const auto& [dateTime, dataText] : rows) {
        table.addRow(dateTime);
        table.addDataLine(dataText);
    }
    return table;
}

// Row i: date-time "2024/01/dd hh:mm:ss" counting seconds from i, field k the number
// i * 100 + k right-aligned in 8 characters.
inline std::string padded(std::size_t value, std::size_t width, char fill)
{
    std::string text = std::to_string(value);
    return std::string(text.size() < width ? width - text.size() : 0, fill) + text;
}

inline std::string generatedDateTime(std::size_t i)
{
    return "2024/01/" + padded(1 + i / 86400, 2, '0') + " " + padded(i / 3600 % 24, 2, '0') + ":" +
           padded(i / 60 % 60, 2, '0') + ":" + padded(i % 60, 2, '0');
}

inline double generatedValue(std::size_t i, int k) { return static_cast<double>(i * 100 + k); }

inline CDataTable generatedTable(std::size_t rows)
{
    CDataTable table;
    table.reset(CDataTable::Layout::Record);
    std::string dataText;
    for (std::size_t i = 0; i < rows; ++i) {
        table.addRow(generatedDateTime(i));
        dataText.clear();
        for (int k = 0; k < CDataTable::kFieldsPerBlock; ++k)
            dataText += padded(i * 100 + static_cast<std::size_t>(k), 8, ' ');
        table.addDataLine(dataText);
    }
    return table;
}

inline std::vector<std::string> recordTitles()
{
    return {"SoW",
            "Azimuth \xB0",
            "Pressure mbar",
            "Temperature \xB0"
            "C",
            "Humidity %",
            "Ain4",
            "U",
            "V",
            "W",
            "U-V",
            "Elevation \xB0",
            "SoS",
            "T.Sonic \xB0"
            "C"};
}
