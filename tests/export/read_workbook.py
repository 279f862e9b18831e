#!/usr/bin/python3
"""Prints the cells of an .xlsx workbook as openpyxl reads them, for the export tests.

read_workbook.py FILE [FIRST LAST]: for every sheet a line "sheet<TAB>name<TAB>last row
holding a value<TAB>last column holding a value", then one line per cell that holds a value in
rows FIRST..LAST (1-based; all rows by default): "coordinate<TAB>type<TAB>value", type "s" for
text (backslash, tab and line breaks escaped) and "n" for a number (repr of a float).
"""
import sys

import openpyxl


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


def main():
    path = sys.argv[1]
    first = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    last = int(sys.argv[3]) if len(sys.argv) > 3 else None
    book = openpyxl.load_workbook(path, read_only=True)
    out = sys.stdout
    for sheet in book.worksheets:
        lines = []
        last_row = 0
        last_column = 0
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                last_row = max(last_row, cell.row)
                last_column = max(last_column, cell.column)
                if cell.row < first or (last is not None and cell.row > last):
                    continue
                if isinstance(cell.value, str):
                    lines.append("%s\ts\t%s" % (cell.coordinate, escape(cell.value)))
                elif isinstance(cell.value, (int, float)) and not isinstance(cell.value, bool):
                    lines.append("%s\tn\t%r" % (cell.coordinate, float(cell.value)))
                else:
                    lines.append("%s\t?\t%r" % (cell.coordinate, cell.value))
        out.write("sheet\t%s\t%d\t%d\n" % (sheet.title, last_row, last_column))
        out.write("".join(line + "\n" for line in lines))


if __name__ == "__main__":
    main()
