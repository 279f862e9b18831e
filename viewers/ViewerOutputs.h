#pragma once
// What a viewer hands on to the spreadsheet export and to printing. The viewers see only this
// interface; makeViewerOutputs() supplies the real outputs.

#include <memory>
#include <string>
#include <vector>

#include "files/DataTable.h"

class QWidget;
class QTableView;
class CGraphWnd;

class IViewerOutputs {
public:
    virtual ~IViewerOutputs() = default;
    // Export button: the table and the titles (Windows-1252) of the value columns written, one
    // per column from column 0 on: the record viewer's 13 header titles; the log viewer's titles
    // of all its data columns in order.
    virtual void exportTable(QWidget* viewer, const CDataTable& table,
                             const std::vector<std::string>& columnTitles) = 0;
    // Print button: the viewer's table view and its graph window.
    virtual void print(QWidget* viewer, QTableView& table, CGraphWnd& graph) = 0;
};
// The outputs of one viewer (it owns them for its lifetime, so the export notice window lives
// with the viewer). Declared here, defined in ViewerOutputs.cpp.
std::unique_ptr<IViewerOutputs> makeViewerOutputs();
