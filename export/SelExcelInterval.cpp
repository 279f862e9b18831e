#include "export/SelExcelInterval.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "controls/AnsiText.h"

namespace {

constexpr int kLabelWidth = 75;
constexpr int kStartWidth = 250;

// Two columns: the interval's label and the date-time text of its first row.
class CIntervalListModel final : public QAbstractTableModel {
public:
    CIntervalListModel(const CDataTable& table, const std::vector<ExportRange>& intervals,
                       QObject* parent)
        : QAbstractTableModel(parent), table_(table), intervals_(intervals)
    {
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(intervals_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        auto interval = static_cast<std::size_t>(index.row());
        if (index.column() == 0)
            return QString::fromStdString(intervalLabel(interval));
        return fromAnsi(table_.dateTime(intervals_[interval].first));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("Interval ")
                            : QStringLiteral("Interval Start Date-Time");
    }

private:
    const CDataTable& table_;
    const std::vector<ExportRange>& intervals_;
};

} // namespace

CSelExcelInterval::CSelExcelInterval(const CDataTable& table, QWidget* parent)
    : QDialog(parent), table_(table), intervals_(exportIntervals(table.rowCount()))
{
    setWindowTitle(QStringLiteral("Select interval to Export"));

    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("Interval List"));
    list_->setAccessibleName(QStringLiteral("Interval List"));
    list_->setModel(new CIntervalListModel(table_, intervals_, list_));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setColumnWidth(0, kLabelWidth);
    list_->setColumnWidth(1, kStartWidth);
    list_->setMinimumWidth(kLabelWidth + kStartWidth + 2 * list_->frameWidth() + 20);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelExcelInterval::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ok_->setEnabled(selectedInterval() >= 0); });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        list_->selectRow(index.row());
        accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int CSelExcelInterval::selectedInterval() const
{
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CSelExcelInterval::accept()
{
    int interval = selectedInterval();
    if (interval < 0)
        return;
    const ExportRange& range = intervals_[static_cast<std::size_t>(interval)];
    start_ = static_cast<long long>(range.first);
    end_ = static_cast<long long>(range.first + range.count);
    QDialog::accept();
}
