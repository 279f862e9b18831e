#include "viewers/ViewerOutputs.h"

#include "controls/QtMessageBox.h"
#include "export/ExcelExport.h"
#include "print/ViewerPrint.h"

namespace {

// The real outputs: the spreadsheet export and printing, with message boxes of their own that
// stand over the viewer that asks.
class CViewerOutputs : public IViewerOutputs {
public:
    CViewerOutputs() : printMessages_(QStringLiteral("Skyvane8u")), printer_(printMessages_) {}

    void exportTable(QWidget* viewer, const CDataTable& table,
                     const std::vector<std::string>& columnTitles) override
    {
        export_.exportTable(viewer, table, columnTitles);
    }

    void print(QWidget* viewer, QTableView& table, CGraphWnd& graph) override
    {
        printMessages_.setParent(viewer);
        printer_.print(viewer, table, graph);
    }

private:
    CExcelExport export_;
    CQtMessageBox printMessages_;
    CViewerPrint printer_;
};

} // namespace

std::unique_ptr<IViewerOutputs> makeViewerOutputs() { return std::make_unique<CViewerOutputs>(); }
