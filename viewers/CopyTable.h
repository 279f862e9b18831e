#pragma once
// Copy Table: the viewers' tables as plain text for the clipboard (Windows-1252 bytes). Every
// row gives its 14 cell texts, columns 0 to 13, and ends with CR LF. The record viewer joins
// the texts as displayed (a field with a marker reads "---  --") with no separator; the log
// viewer joins its raw fields with tabs.

#include <string>

#include "files/DataTable.h"

std::string recordTableText(const CDataTable& rows);
std::string logTableText(const CDataTable& rows);
