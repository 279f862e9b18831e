#include "viewers/ViewerDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "controls/AnsiText.h"
#include "controls/BarIcons.h"
#include "controls/IconButton.h"
#include "controls/WaitCursor.h"
#include "files/RecordFileReader.h"
#include "viewers/DataTableModel.h"
#include "viewers/GraphSettingDlg.h"

namespace {

constexpr int kRowHeight = 18;

// Underlines the text of the cell under the pointer (the list's "hot" item).
class CHotUnderlineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_MouseOver)
            option->font.setUnderline(true);
    }
};

} // namespace

CViewerDialog::CViewerDialog(CViewerContext context, ViewerFile kind, const ToolTips& toolTips,
                             std::vector<std::uint8_t> initialVisibility, QWidget* parent)
    : QDialog(parent), messages_(context.messages), path_(std::move(context.path)),
      appDirectory_(std::move(context.appDirectory)), fileDialog_(context.fileDialog),
      outputs_(std::move(context.outputs)), kind_(kind),
      initialVisibility_(std::move(initialVisibility))
{
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1100, 760);
    // The dialog font: 8 points with the metrics of Arial (Liberation Sans), as the main
    // window's, so that the fixed column widths hold their texts.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    dialogFont.setPointSizeF(8.0);
    setFont(dialogFont);

    auto* upper = new QWidget(this);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(4, 4, 4, 0);
    upperLayout->setSpacing(4);
    bar_ = new QHBoxLayout;
    bar_->setSpacing(2);
    upperLayout->addLayout(bar_);

    // The bar in button order, with the operation each one runs.
    using Slot = void (CViewerDialog::*)();
    const std::array<Slot, kButtonCount> operations = {
        &CViewerDialog::OnSaveAs, &CViewerDialog::OnCopyTable, &CViewerDialog::OnCopyGraph,
        &CViewerDialog::OnZoomIn, &CViewerDialog::OnZoomOut,   &CViewerDialog::OnGraphSettings,
        &CViewerDialog::OnExport, &CViewerDialog::OnPrint};
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new CIconButton(upper);
        button->setIcons(barIcon(static_cast<BarIcon>(i)));
        button->setTooltipText(QString::fromLatin1(toolTips[static_cast<std::size_t>(i)]));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, operations[static_cast<std::size_t>(i)]);
        bar_->addWidget(button);
        buttons_[static_cast<std::size_t>(i)] = button;
    }
    buttons_[ZoomOut]->setEnabled(false);
    bar_->addSpacing(16);
    bar_->addStretch(1);

    table_ = new QTableView(upper);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table_->setWordWrap(false);
    table_->setShowGrid(false);
    table_->setMouseTracking(true);
    table_->setItemDelegate(new CHotUnderlineDelegate(table_));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->setIconSize(QSize(16, 16));
    upperLayout->addWidget(table_, 1);

    graphHost_ = new QWidget(this);
    graphLayout_ = new QVBoxLayout(graphHost_);
    graphLayout_->setContentsMargins(0, 0, 0, 0);

    // Equal stretch: the graph fills the lower half of the client area.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(upper, 1);
    layout->addWidget(graphHost_, 1);
}

CViewerDialog::~CViewerDialog()
{
    // The graph reads the partner list while it goes; take it down before the lists.
    delete graph_;
    graph_ = nullptr;
}

std::vector<std::uint8_t>& CViewerDialog::visibility()
{
    return graph_ ? graph_->visibility() : initialVisibility_;
}

void CViewerDialog::addBarWidget(QWidget* widget)
{
    bar_->insertWidget(bar_->count() - 1, widget); // before the closing stretch
}

void CViewerDialog::setTableModel(QAbstractItemModel* model)
{
    if (auto* rows = qobject_cast<CDataTableModel*>(model))
        connect(rows, &CDataTableModel::fileDamaged, this, &CViewerDialog::checkFile,
                Qt::QueuedConnection);
    table_->setModel(model);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CViewerDialog::updateSelectedRow);
}

void CViewerDialog::updateSelectedRow()
{
    int first = -1;
    for (const QItemSelectionRange& range : table_->selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    selectedRow_ = first;
    table_->viewport()->update();
}

void CViewerDialog::createGraph()
{
    graph_ = new CGraphWnd(kGraphSlots, graphHost_);
    graph_->setWindowTitle(QStringLiteral("Graph Window"));
    graph_->visibility() = initialVisibility_;
    graphLayout_->addWidget(graph_);
}

void CViewerDialog::buildGraph()
{
    CWaitCursor wait;
    if (!graph_)
        createGraph();
    prepareGraphSource();
    graph_->setPartnerList(graphPartner());
    graph_->pointsBarFlags(kBarHide);
    fillViewerGraph(*graph_, rows_, graphPlan());
    graph_->zoomReset();
}

bool CViewerDialog::checkFile()
{
    if (!rows_.damaged())
        return true;
    messages_.tell(kRecordFileOpenError, MessageIcon::Stop);
    rows_.release();
    rowsEmptied();
    if (graph_)
        buildGraph(); // no rows, no points
    return false;
}

void CViewerDialog::OnSaveAs() { saveFileAs(kind_, path_, appDirectory_, fileDialog_, messages_); }

void CViewerDialog::OnCopyTable()
{
    CWaitCursor wait;
    const std::string text = tableText();
    if (checkFile())
        QGuiApplication::clipboard()->setText(fromAnsi(text));
}

void CViewerDialog::OnCopyGraph()
{
    if (graph_)
        QGuiApplication::clipboard()->setImage(graph_->grabGraph());
}

void CViewerDialog::OnZoomIn()
{
    if (graph_)
        graph_->zoomIn();
    buttons_[ZoomOut]->setEnabled(true);
}

void CViewerDialog::OnZoomOut()
{
    if (graph_)
        graph_->panel()->command(kCmdZoomOut);
    buttons_[ZoomOut]->setEnabled(false);
}

void CViewerDialog::OnGraphSettings()
{
    const int seriesCount = static_cast<int>(graphPlan().colours.size());
    CGraphSettingDlg dialog(graphSettingBoxes(visibility(), graphCaptions(), seriesCount), this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    applyGraphSettingBoxes(accepted, dialog.boxes(), visibility());
    // A viewer whose file could not be read has no graph, whatever is chosen here: Print and
    // Copy Graph stay without effect on it.
    if (graph_) {
        buildGraph();
        checkFile(); // the values of channels added to the graph come from the file
    }
}

void CViewerDialog::OnExport()
{
    if (outputs_)
        outputs_->exportTable(this, rows_, dataTitles());
    checkFile();
}

void CViewerDialog::OnPrint()
{
    // An empty viewer (its file could not be read) has no graph to print.
    if (outputs_ && graph_)
        outputs_->print(this, *table_, *graph_);
    checkFile();
}
