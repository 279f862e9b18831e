#include "tests/export/WorkbookReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t tab; (tab = line.find('\t', begin)) != std::string::npos; begin = tab + 1)
        parts.push_back(line.substr(begin, tab - begin));
    parts.push_back(line.substr(begin));
    return parts;
}

} // namespace

std::string ReadSheet::text(const std::string& cell) const
{
    auto found = cells.find(cell);
    return found == cells.end() ? std::string() : found->second.text;
}

double ReadSheet::number(const std::string& cell) const
{
    auto found = cells.find(cell);
    return found == cells.end() ? 0.0 : found->second.number;
}

char ReadSheet::type(const std::string& cell) const
{
    auto found = cells.find(cell);
    return found == cells.end() ? 0 : found->second.type;
}

std::vector<ReadSheet> readWorkbook(const std::string& path, std::size_t first, std::size_t last)
{
    std::string command = std::string(VENTORA_PYTHON) + " " + READ_WORKBOOK_SCRIPT + " '" + path +
                          "' " + std::to_string(first);
    if (last != std::numeric_limits<std::size_t>::max())
        command += " " + std::to_string(last);
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ADD_FAILURE() << "the workbook reader failed on " << path;
        return {};
    }
    std::vector<ReadSheet> sheets;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> parts = splitTabs(line);
        if (parts.size() == 4 && parts[0] == "sheet") {
            sheets.push_back({parts[1], std::stoul(parts[2]), std::stoul(parts[3]), {}});
        } else if (parts.size() == 3 && !sheets.empty()) {
            ReadCell cell;
            cell.type = parts[1][0];
            cell.text = unescape(parts[2]);
            if (cell.type == 'n')
                cell.number = std::strtod(parts[2].c_str(), nullptr);
            sheets.back().cells[parts[0]] = cell;
        } else {
            ADD_FAILURE() << "unexpected reader line: " << line;
        }
    }
    return sheets;
}

std::string columnName(std::size_t column)
{
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}
