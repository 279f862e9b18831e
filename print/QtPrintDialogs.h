#pragma once
// IPrintDialogs shown for real: CSelDocToPrintDlg, then QPrintDialog without page range,
// selection or current-page choices. Its "Print to File (PDF)" entry stays offered: on a
// machine without printers it is the only way to print.

#include "print/PrintDialogs.h"

class CQtPrintDialogs final : public IPrintDialogs {
public:
    bool choose(QWidget* parent, PrintChoice& choice) override;
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;
};
