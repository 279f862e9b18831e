#include "print/SelDocToPrintDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CSelDocToPrintDlg::CSelDocToPrintDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Skyvane"));
    title_ = new QLineEdit(QStringLiteral("Title"), this);
    title_->selectAll();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Title"), title_);

    auto* group = new QGroupBox(QStringLiteral("Select print"), this);
    table_ = new QRadioButton(QStringLiteral("Print Table"), group);
    graph_ = new QRadioButton(QStringLiteral("Print Graph"), group);
    table_->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(table_);
    choices->addWidget(graph_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QString CSelDocToPrintDlg::title() const { return title_->text(); }

int CSelDocToPrintDlg::selection() const { return graph_->isChecked() ? kPrintGraph : kPrintTable; }
