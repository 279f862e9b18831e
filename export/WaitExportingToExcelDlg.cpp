#include "export/WaitExportingToExcelDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CWaitExportingToExcelDlg::CWaitExportingToExcelDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export to excel"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Exporting operation could take some minutes: \nplease wait...."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
