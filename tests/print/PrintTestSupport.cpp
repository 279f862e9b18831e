#include "PrintTestSupport.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    const auto column = static_cast<std::size_t>(index.column());
    if (role == Qt::TextAlignmentRole && column < aligns_.size())
        return aligns_[column];
    if (role != Qt::DisplayRole)
        return {};
    return rows_[static_cast<std::size_t>(index.row())].value(index.column());
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return titles_.value(section);
}

TableModel* numberedTable(int rows, int columns)
{
    QStringList titles;
    for (int c = 0; c < columns; ++c)
        titles << QStringLiteral("Col %1").arg(c);
    std::vector<QStringList> cells;
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << QStringLiteral("r%1c%2").arg(r).arg(c);
        cells.push_back(row);
    }
    return new TableModel(titles, cells);
}

bool CScriptedPrintDialogs::choose(QWidget*, PrintChoice& answer)
{
    ++chooseCalls;
    answer = choice;
    return chooseAnswer;
}

bool CScriptedPrintDialogs::setUpPrinter(QWidget*, QPrinter& printer)
{
    ++printerCalls;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    if (pageSize)
        printer.setPageSize(*pageSize);
    return printerAnswer;
}

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString& path, int page)
{
    QStringList arguments;
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << QStringLiteral("-layout") << path << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), arguments);
}

int pdfPageCount(const QString& path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
