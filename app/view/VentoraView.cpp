#include "app/view/VentoraView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "app/VentoraApp.h"
#include "controls/AnsiText.h"
#include "controls/HeaderCtrlEx.h"
#include "controls/LedCell.h"

namespace {

const QRect kFormUnits(0, 0, 685, 321);
const QRect kListUnits(0, 0, 682, 232);
const QRect kRecUnits(5, 244, 24, 14);
const QPoint kLedUnits(30, 247);

} // namespace

QRect CVentoraView::dialogUnitsToPixels(const QRect& units)
{
    return QRect(units.x() * 6 / 4, units.y() * 13 / 8, units.width() * 6 / 4,
                 units.height() * 13 / 8);
}

CVentoraView::CVentoraView(QWidget* parent)
    : QWidget(parent), rec_(QStringLiteral("REC"), this), led_(this), list_(this)
{
    if (CVentoraApp* app = CVentoraApp::instance())
        app->mainView = this;
    // The form's dialog font: 8 points with the metrics of Arial (Liberation Sans), close to the
    // original dialog font, so that the fixed pixel widths of the columns hold their texts.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    dialogFont.setPointSizeF(8.0);
    setFont(dialogFont);
    list_.setModel(&model_);
    // The list is disabled (the program scrolls it), but its rows must stay readable.
    QPalette palette = list_.palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Window));
    list_.setPalette(palette);
    placeControls();
    SetupColumns(kLayoutInitial);
    qApp->installEventFilter(this);
}

CVentoraView::~CVentoraView()
{
    qApp->removeEventFilter(this);
    if (CVentoraApp* app = CVentoraApp::instance(); app && app->mainView == this)
        app->mainView = nullptr;
    comPort_.close();
}

QSize CVentoraView::sizeHint() const { return dialogUnitsToPixels(kFormUnits).size(); }

void CVentoraView::placeControls()
{
    list_.setGeometry(dialogUnitsToPixels(kListUnits));
    rec_.setGeometry(dialogUnitsToPixels(kRecUnits));
    const QRect ledAt = dialogUnitsToPixels(QRect(kLedUnits, QSize(0, 0)));
    led_.setGeometry(QRect(ledAt.topLeft(), QSize(led::kCell, led::kCell)));
    initialPlaces_.clear();
    for (QWidget* child : {static_cast<QWidget*>(&rec_), static_cast<QWidget*>(&led_),
                           static_cast<QWidget*>(&list_)})
        initialPlaces_.emplace_back(child, child->geometry());
}

void CVentoraView::OnInitialUpdate()
{
    initialised_ = true;
    placeControls();
    fitWindow();
    SetupColumns(kLayoutInitial);
}

void CVentoraView::fitWindow()
{
    QWidget* frame = window();
    if (frame == this || frame->isMaximized() || frame->isFullScreen())
        return;
    const QSize form = sizeHint();
    const QSize excess = size() - form;
    const QSize fitted(frame->width() - std::max(0, excess.width()),
                       frame->height() - std::max(0, excess.height()));
    if (fitted != frame->size())
        frame->resize(fitted);
}

void CVentoraView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        fitWindow();
    }
}

void CVentoraView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The form's controls keep their places whatever the window's size.
    for (auto& [child, place] : initialPlaces_)
        child->setGeometry(place);
}

void CVentoraView::applyLayout(const COverviewLayout& layout)
{
    std::vector<COverviewColumn> columns = layout.columns;
    model_.setColumns(std::move(columns));
    for (std::size_t i = 0; i < model_.columns().size(); ++i)
        list_.horizontalHeader()->resizeSection(static_cast<int>(i), model_.columns()[i].width);
    if (layout.firstDisplay) {
        list_.setupButtonHeader();
        list_.setExtendedStyle(CHeaderCtrlMy::FullRowSelect | CHeaderCtrlMy::OneClickActivate |
                               CHeaderCtrlMy::UnderlineHot);
        list_.setEnabled(false);
    }
    if (layout.ledState)
        setLed(led::kRed, *layout.ledState, led::kRound);
    if (layout.recIndicator)
        setRecIndicator(*layout.recIndicator);
    if (layout.recording)
        setRecording(*layout.recording);
}

void CVentoraView::SetupColumns(int layout) { applyLayout(overviewLayout(layout)); }

void CVentoraView::SetupMenuColumns() { applyLayout(setupMenuLayout()); }

int CVentoraView::rowCount() const { return model_.rowCount(); }

int CVentoraView::appendRow(std::string_view text) { return model_.appendRow(text); }

int CVentoraView::appendDataRow(std::string_view time, std::string_view data)
{
    return model_.appendDataRow(time, data);
}

void CVentoraView::setCellText(int row, int column, std::string_view text)
{
    model_.setCell(row, column, text);
}

std::string CVentoraView::cellText(int row, int column) const { return model_.cell(row, column); }

void CVentoraView::deleteAllRows() { model_.deleteAllRows(); }

void CVentoraView::scrollList()
{
    const int horizontal = list_.horizontalScrollBar()->value();
    list_.scrollToBottom();
    list_.horizontalScrollBar()->setValue(horizontal);
}

int CVentoraView::promptRow() const
{
    const int row = rowCount() - 4;
    return row >= 0 ? row : -1;
}

void CVentoraView::appendToPromptRow(std::string_view text)
{
    const int row = promptRow();
    if (row < 0 || text.empty())
        return;
    model_.setCell(row, 0, model_.cell(row, 0) + std::string(text));
}

void CVentoraView::setLed(int colour, int state, int shape) { led_.setLed(colour, state, shape); }

void CVentoraView::setLedState(int state) { led_.setLed(led_.colour(), state, led_.shape()); }

void CVentoraView::setRecIndicator(bool enabled) { rec_.setEnabled(enabled); }

void CVentoraView::showLinkClosed()
{
    setLedState(led::kGrey);
    setRecIndicator(false);
}

void CVentoraView::handleKey(KeyKind kind, std::string_view typed)
{
    if (!dialogueLink_)
        return;
    const CKeyAction action =
        filterKey(kind, typed, dialogueLink_->dialogue(), dialogueLink_->lineType());
    if (action.requestDialogue)
        dialogueLink_->requestDialogue();
    if (!action.write.empty())
        comPort_.writeText(action.write);
    appendToPromptRow(action.echo);
}

bool CVentoraView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target->window() != window())
        return false;
    // A key press travels from the focus widget up to the window; act on its first receiver.
    QWidget* first = QWidget::keyboardGrabber();
    if (!first)
        first = window()->focusWidget();
    if (!first)
        first = window();
    if (target != first)
        return false;

    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        handleKey(KeyKind::Enter, {});
    else if (key->key() == Qt::Key_Escape)
        handleKey(KeyKind::Escape, {});
    else if (!key->text().isEmpty())
        handleKey(KeyKind::Typed, toAnsi(key->text()));
    return false; // the key goes on to the window as usual
}
