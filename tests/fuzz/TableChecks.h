#pragma once
// What must hold for any table a reader made, whatever the file: every field can be cut, read
// as a finite number and shown, and the CSV of the table is well formed, with one record per
// row and one value per column.

#include "files/DataTable.h"

void checkTable(const CDataTable& rows);
