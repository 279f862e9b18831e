#pragma once
// Reads an .xlsx workbook back with a real spreadsheet reader (openpyxl, through
// read_workbook.py) so that tests check what a spreadsheet program sees.

#include <cstddef>
#include <limits>
#include <map>
#include <string>
#include <vector>

struct ReadCell {
    char type = 0; // 's' text, 'n' number
    std::string text;
    double number = 0;
};

struct ReadSheet {
    std::string name;
    std::size_t lastRow = 0;               // last row holding a value, 1-based
    std::size_t lastColumn = 0;            // last column holding a value, 1-based
    std::map<std::string, ReadCell> cells; // by coordinate: "A1"

    bool has(const std::string& cell) const { return cells.count(cell) != 0; }
    std::string text(const std::string& cell) const;
    double number(const std::string& cell) const;
    char type(const std::string& cell) const;
};

// The sheets of the workbook with the cells of rows first..last; an empty list when the reader
// fails (the failure is reported to GoogleTest).
std::vector<ReadSheet> readWorkbook(const std::string& path, std::size_t first = 1,
                                    std::size_t last = std::numeric_limits<std::size_t>::max());

// Column letters of a 1-based column: 1 "A", 27 "AA".
std::string columnName(std::size_t column);
