#include "viewers/DispayLoggedDataDlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>

#include "core/Channels.h"
#include "viewers/CopyTable.h"
#include "viewers/LogBlocks.h"
#include "viewers/ViewerColumns.h"

namespace {

const CViewerDialog::ToolTips kToolTips = {
    "Save as...", "Copy Table to clipboard", "Copy Graph to clipboard", "Zoom +",
    "Zoom -",     "Graph Settings",          "Export to Excel",         "Print"};

} // namespace

CDispayLoggedDataDlg::CDispayLoggedDataDlg(CViewerContext context, QWidget* parent)
    : CDispayLoggedDataDlg(std::move(context), CViewerFileData(), parent)
{
    CViewerFileData file = readViewerFile(ViewerFile::Log, path());
    showHeldMessages(file, messages_);
    showFile(std::move(file));
}

CDispayLoggedDataDlg::CDispayLoggedDataDlg(CViewerContext context, CViewerFileData file,
                                           QWidget* parent)
    : CViewerDialog(std::move(context), ViewerFile::Log, kToolTips, logInitialVisibility(), parent),
      model_(rows_), source_(rows_)
{
    setWindowTitle(QStringLiteral("Ventora Log Viewer"));
    addBarWidget(new QLabel(QStringLiteral("CURRENT PLOT"), this));
    plot_ = new QComboBox(this);
    plot_->setMinimumContentsLength(8);
    addBarWidget(plot_);
    connect(plot_, &QComboBox::activated, this, &CDispayLoggedDataDlg::OnBlockChoice);

    sourceList_ = new QTableView(this);
    sourceList_->setModel(&source_);
    sourceList_->hide();

    setTableModel(&model_);
    showFile(std::move(file));
}

void CDispayLoggedDataDlg::showFile(CViewerFileData file)
{
    rows_ = std::move(file.rows);
    if (!file.read)
        return;
    model_.reload();
    model_.setHeaderBitmaps(initialHeaderBitmaps(model_.columnCount()));
    setColumnWidths();
    for (int block = 0; block < rows_.blockCount(); ++block)
        plot_->addItem(QString::fromLatin1(kModelName));
    plot_->setCurrentIndex(0);
    buildGraph();
}

void CDispayLoggedDataDlg::setColumnWidths()
{
    for (int column = 0; column < model_.columnCount(); ++column)
        table().setColumnWidth(column, logColumnWidth(column));
}

void CDispayLoggedDataDlg::OnBlockChoice(int block)
{
    const int newStart = blockStartColumn(block);
    if (block < 0 || block >= rows_.blockCount() || newStart == startColumn_)
        return;
    {
        const QSignalBlocker quiet(plot_);
        plot_->setCurrentIndex(block);
    }
    std::vector<int> bitmaps = model_.headerBitmaps();
    moveBlockBitmaps(bitmaps, startColumn_, newStart);
    model_.setHeaderBitmaps(std::move(bitmaps));

    QScrollBar* scroll = table().horizontalScrollBar();
    scroll->setValue(scroll->value() + blockChoiceScroll(startColumn_, newStart));
    const QHeaderView* header = table().horizontalHeader();
    scroll->setValue(scrollToShowColumn(scroll->value(), table().viewport()->width(),
                                        header->sectionPosition(newStart),
                                        header->sectionSize(newStart)));

    startColumn_ = newStart;
    std::vector<std::uint8_t>& flags = visibility();
    flags.resize(kChannelCount);
    for (int i = 0; i < kLogPlottedColumns; ++i)
        flags[static_cast<std::size_t>(i)] = 1;
    buildGraph();
}

std::string CDispayLoggedDataDlg::tableText() const { return logTableText(rows_); }

std::vector<std::string> CDispayLoggedDataDlg::dataTitles() const
{
    return logDataTitles(rows_.blockCount());
}
