#include "files/ConvertReport.h"

int convertReport(std::FILE* err, const std::string& subject, const std::string& what, int code)
{
    std::fprintf(err, "ventora-convert: %s: %s\n", subject.c_str(), what.c_str());
    return code;
}

void reportUndatedRows(std::FILE* err, const std::string& input, long long undated, long long rows)
{
    convertReport(err, input,
                  std::to_string(undated) + " of " + std::to_string(rows) +
                      " rows left out: no date-time of the form YYYY/MM/DD HH:MM:SS",
                  0);
}
