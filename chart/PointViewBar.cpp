#include "chart/PointViewBar.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "chart/GraphBaseClass.h"
#include "controls/AnsiText.h"

// The points of one series as a two-column table, read straight from the collection.
class PointsTableModel : public QAbstractTableModel {
public:
    explicit PointsTableModel(const CGraphBaseClass& graph) : graph_(graph) {}

    void show(int series)
    {
        beginResetModel();
        series_ = series;
        endResetModel();
    }
    int series() const { return series_; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        const CGraphProps* s = graph_.getSeries(series_);
        return parent.isValid() || !s ? 0 : s->points().count();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const CGraphProps* s = graph_.getSeries(series_);
        if (role != Qt::DisplayRole || !s || index.row() >= s->points().count())
            return {};
        const GraphPoint& p = s->points().at(index.row());
        const int axis = index.column() == 0 ? kAxisX : kAxisY;
        return fromAnsi(graph_.formatValue(index.column() == 0 ? p.x : p.y, axis, 0));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section;
        return section == 0 ? QStringLiteral("x") : QStringLiteral("y");
    }

private:
    const CGraphBaseClass& graph_;
    int series_ = -1;
};

CPointViewBar::CPointViewBar(const CGraphBaseClass& graph, QWidget* parent)
    : QDockWidget(QStringLiteral("Points"), parent), graph_(graph),
      model_(new PointsTableModel(graph))
{
    setProperty("childId", kChildId);
    setObjectName(QStringLiteral("Points"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    series_ = new QComboBox(content);
    table_ = new QTableView(content);
    model_->setParent(this);
    table_->setModel(model_);
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(series_);
    layout->addWidget(table_);
    setWidget(content);
    content->resize(150, 200);
    connect(series_, &QComboBox::currentIndexChanged, this, [this](int) { reload(); });
}

CPointViewBar::~CPointViewBar() = default;

int CPointViewBar::shownSeries() const { return model_->series(); }
int CPointViewBar::rowCount() const { return model_->rowCount(); }

void CPointViewBar::reloadSeriesList()
{
    const QSignalBlocker block(series_);
    const int previous = series_->currentData().isValid() ? series_->currentData().toInt() : -1;
    series_->clear();
    int position = -1;
    for (const CGraphProps* s = graph_.firstSeries(position); s; s = graph_.nextSeries(position))
        series_->addItem(fromAnsi(s->title()), position);
    const int at = series_->findData(previous);
    series_->setCurrentIndex(at >= 0 ? at : 0);
}

void CPointViewBar::reload()
{
    const QVariant chosen = series_->currentData();
    model_->show(chosen.isValid() ? chosen.toInt() : -1);
    stale_ = false;
}

void CPointViewBar::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (stale_) {
        reloadSeriesList();
        reload();
    }
}

void CPointViewBar::handleNotify(const CGraphNotify& record)
{
    const bool seriesListChanged =
        record.code == kNotifySeriesAdded || record.code == kNotifySeriesRemoved;
    const bool pointsChanged = record.code == kNotifyPointAdded ||
                               record.code == kNotifyPointRemoved ||
                               record.code == kNotifyPointEdited ||
                               record.code == kNotifySeriesCleared;
    if (!seriesListChanged && !(pointsChanged && record.series == model_->series()))
        return;
    // A hidden bar only remembers that its list is out of date.
    if (isHidden()) {
        stale_ = true;
        return;
    }
    if (seriesListChanged)
        reloadSeriesList();
    if (record.redraw)
        reload();
    else
        stale_ = true;
}

void CPointViewBar::command(int id)
{
    if (id == kCmdReload) {
        reloadSeriesList();
        reload();
    } else if (id == kCmdShowLast) {
        if (stale_)
            reload();
        if (model_->rowCount() > 0)
            table_->scrollTo(model_->index(model_->rowCount() - 1, 0));
    }
}
