#include "DemoWindow.h"

#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

#include "core/Channels.h"
#include "controls/AnsiText.h"

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.rowCount());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kChannelCount + 1;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0)
        return fromAnsi(rows_.dateTime(row));
    return fromAnsi(displayField(rows_.field(row, index.column() - 1)));
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    if (section == 0)
        return QStringLiteral("Date Time");
    return fromAnsi(viewerColumnTitle(section - 1));
}

DemoWindow::DemoWindow(const CDataTable& rows, bool allChannels) : rows_(rows), model_(rows)
{
    setWindowTitle(QStringLiteral("Chart demo"));
    auto* splitter = new QSplitter(Qt::Vertical, this);
    table_ = new QTableView(splitter);
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->horizontalHeader()->setDefaultSectionSize(100);
    table_->setColumnWidth(0, 140);
    graph_ = new CGraphWnd(32, splitter);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({1000, 1000}); // the graph fills the lower half
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    // Azimuth, Temperature, Humidity and Elevation are shown at first.
    graph_->visibility().assign(kChannelCount, 0);
    for (int k : {1, 3, 4, 10})
        graph_->visibility()[static_cast<std::size_t>(k)] = 1;
    if (allChannels)
        graph_->visibility().assign(kChannelCount, 1);
}

void DemoWindow::buildGraph()
{
    CGraphWnd& g = *graph_;
    for (int i = 0; i < kChannelCount; ++i)
        g.removeSeries(i);
    g.setPartnerList(table_);
    g.pointsBarFlags(kBarHide);
    g.setAxis("", " ", 0, kAxisX);
    g.setAxis("", "", 2, kAxisY);
    g.setStyleKeepRanges(kStyleExtendRanges | kStyleMouseCoordinates);
    for (int k = 0; k < kChannelCount; ++k) {
        const int s = g.addSeries(channelColour(k),
                                  "Channel " + std::to_string(k), true, true, false);
        g.getSeries(s)->points().reserve(static_cast<int>(rows_.rowCount()));
    }
    for (std::size_t row = 0; row < rows_.rowCount(); ++row)
        for (int k = 0; k < kChannelCount; ++k)
            if (g.visibility()[static_cast<std::size_t>(k)])
                g.addPoint(k, static_cast<double>(row), rows_.value(row, k), false);
    DataBounds b;
    if (!g.getDataBounds(b))
        return;
    double d = b.maxY - b.minY;
    if (d == 0)
        d = b.maxY;
    b.minY -= std::fabs(d) * 0.1;
    b.maxY += std::fabs(d) * 0.1;
    g.setDataBounds(b);
    g.zoomReset();
}
