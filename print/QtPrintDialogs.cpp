#include "print/QtPrintDialogs.h"

#include <QPrintDialog>
#include <QPrinter>

#include "print/SelDocToPrintDlg.h"

bool CQtPrintDialogs::choose(QWidget* parent, PrintChoice& choice)
{
    CSelDocToPrintDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.title = dialog.title();
    choice.graph = dialog.selection() == CSelDocToPrintDlg::kPrintGraph;
    return true;
}

bool CQtPrintDialogs::setUpPrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}
