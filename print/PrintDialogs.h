#pragma once
// The two questions of the Print button, behind an interface so that tests can answer them:
// what to print under which title, and the print dialog that sets up the printer (a CUPS
// printer or a PDF file).

#include <QString>

class QPrinter;
class QWidget;

struct PrintChoice {
    QString title;
    bool graph = false; // "Print Graph" rather than "Print Table"
};

class IPrintDialogs {
public:
    virtual ~IPrintDialogs() = default;
    // The print choice dialog; false on Cancel.
    virtual bool choose(QWidget* parent, PrintChoice& choice) = 0;
    // The print dialog for printer; false on Cancel.
    virtual bool setUpPrinter(QWidget* parent, QPrinter& printer) = 0;
};
