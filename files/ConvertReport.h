#pragma once
// The one-line reports of ventora-convert and its commands on standard error.

#include <cstdio>
#include <string>

// Writes "ventora-convert: SUBJECT: WHAT" to err; returns code, the exit code to end with.
int convertReport(std::FILE* err, const std::string& subject, const std::string& what, int code);

// Tells how many of the rows of input were left out for want of a date-time.
void reportUndatedRows(std::FILE* err, const std::string& input, long long undated, long long rows);
