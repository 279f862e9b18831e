#pragma once
// Helpers of the printing tests: a small table model, scripted print dialogs that send the
// printout to a PDF file, and the text and page count of a PDF as poppler-utils read them.

#include <QAbstractTableModel>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "print/PrintDialogs.h"

class TableModel : public QAbstractTableModel {
public:
    // aligns: each column's TextAlignmentRole value, as an int or as Qt::Alignment.
    TableModel(QStringList titles, std::vector<QStringList> rows, std::vector<QVariant> aligns = {})
        : titles_(std::move(titles)), rows_(std::move(rows)), aligns_(std::move(aligns))
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList titles_;
    std::vector<QStringList> rows_;
    std::vector<QVariant> aligns_;
};

// Rows "r<row>c<column>" under the titles "Col <column>".
TableModel* numberedTable(int rows, int columns);

class CScriptedPrintDialogs final : public IPrintDialogs {
public:
    bool choose(QWidget* parent, PrintChoice& choice) override;
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;

    bool chooseAnswer = true;
    PrintChoice choice{QStringLiteral("Title"), false};
    bool printerAnswer = true;
    QString pdfPath;
    std::optional<QPageSize> pageSize;
    int chooseCalls = 0;
    int printerCalls = 0;
};

// pdftotext of one page (from 1), or of the whole file for page 0.
QString pdfText(const QString& path, int page = 0);
// "Pages:" of pdfinfo; -1 when it cannot be read.
int pdfPageCount(const QString& path);
