#include "app/frame/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>

#include "app/frame/AboutDlg.h"
#include "app/remote/RemoteStationDlg.h"
#include "controls/QtFileDialog.h"
#include "core/Unit.h"
#include "app/VentoraApp.h"
#include "controls/PaneMode.h"

namespace {

constexpr unsigned kIndicators[] = {0, CMainFrame::kLinkPaneId};

// A string-table entry: the status-bar text, a line feed, the tool tip.
void applyTips(QAction* action, const char* tip)
{
    const QString text = QString::fromLatin1(tip);
    const qsizetype split = text.indexOf('\n');
    action->setStatusTip(text.left(split));
    action->setToolTip(split < 0 ? text : text.mid(split + 1));
}

} // namespace

CMainFrame::CMainFrame(CVentoraApp& app, QWidget* parent)
    : QMainWindow(parent), app_(app), view_(this), live_(view_, this), statusBar_(this),
      toolBar_(this),
      timers_([this](int id) { onTimer(id); }), port_(view_.comPort(), *this), viewLink_(view_),
      recordingMessages_(app.messages()),
      recording_(app.appDirectory + kRecordingFileName, clock_, recordingMessages_),
      engine_({timers_, port_, viewLink_, *this, recording_, clock_, app.messages(),
               app.connConfig, Unit::instance()}),
      fileDialog_(std::make_unique<CQtFileDialog>(this))
{
    remote_ = std::make_unique<CRemoteSession>(
        CRemoteSession::Frame{view_, live_, app.messages(), recordingMessages_,
                              app.appDirectory + kRecordingFileName,
                              [this](const std::string& text, bool up) {
                                  showLinkState(text,
                                                up ? link_colour::kGreen : link_colour::kYellow,
                                                up ? link_colour::kGreenDisabled
                                                   : link_colour::kYellowDisabled);
                              },
                              [this] { endRemoteStation(); }},
        this);
    app_.mainFrame = this;
    setWindowTitle("Skyvane8u");
    resize(900, 600);
    setCentralWidget(&view_);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    view_.setDialogueLink(&engine_);
    engine_.showDisconnected();
    updateCommandStates();
}

CMainFrame::~CMainFrame()
{
    view_.setDialogueLink(nullptr);
    // The reader thread posts to this frame: it ends before anything here goes away.
    view_.comPort().close();
    setWaitCursor(false);
    if (app_.mainFrame == this)
        app_.mainFrame = nullptr;
}

QAction* CMainFrame::makeAction(int id, const QString& text, const char* tip)
{
    auto* action = new QAction(text, this);
    action->setData(id);
    if (tip)
        applyTips(action, tip);
    return action;
}

QAction* CMainFrame::commandAction(int id) const
{
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        if (action->data().toInt() == id && action->data().isValid())
            return action;
    }
    return nullptr;
}

void CMainFrame::createActions()
{
    QStyle* look = style();
    QAction* open = makeAction(kFileOpen, "&Open...\tCtrl+O", "Open an existing file\nOpen");
    open->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, &CMainFrame::OnFileOpen);

    QAction* disconnect = makeAction(kDisconnect, "Disconnect", "Disconnect\nDisconnect");
    disconnect->setIcon(look->standardIcon(QStyle::SP_BrowserStop));
    connect(disconnect, &QAction::triggered, this, &CMainFrame::OnDisconnect);

    QAction* logging = makeAction(kDatalogging, "DataLogger",
                                  "Activate Datalogging\nActivate Datalogging");
    logging->setIcon(look->standardIcon(QStyle::SP_DriveHDIcon));
    logging->setEnabled(false);

    QAction* autodetect =
        makeAction(kAutodetect, "VA7310 Autodetect", "VA7310 Autodetect\nVA7310 Autodetect");
    autodetect->setIcon(look->standardIcon(QStyle::SP_BrowserReload));
    connect(autodetect, &QAction::triggered, this, &CMainFrame::OnAutodetect);

    QAction* about = makeAction(kAppAbout, "Skyvane Infor&mations ...");
    about->setIcon(look->standardIcon(QStyle::SP_MessageBoxQuestion));
    about->setToolTip("About");
    connect(about, &QAction::triggered, this, &CMainFrame::OnAppAbout);

    QAction* liveGraph = makeAction(kLiveGraph, "Live Graph",
                                    "Draw the data rows as they arrive\nLive Graph");
    connect(liveGraph, &QAction::triggered, &live_, &CLiveMonitor::showGraph);

    QAction* remote = makeAction(kRemoteStation, "Remote Station...",
                                 "Show a station's samples from an MQTT broker\nRemote Station");
    connect(remote, &QAction::triggered, this, &CMainFrame::OnRemoteStation);

    QAction* blank = makeAction(kToolsBlank, QString());
    blank->setEnabled(false);

    // Accelerators without a menu item.
    QAction* newDocument = makeAction(kFileNew, "New");
    newDocument->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newDocument, &QAction::triggered, this, &CMainFrame::OnFileNew);
    QAction* print = makeAction(kFilePrint, "Print");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);
    addAction(newDocument);
    addAction(print);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(commandAction(kFileOpen));
    QAction* exit = file->addAction("&Esc");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* instrument = menuBar()->addMenu("&Instrument");
    instrument->addAction(commandAction(kDisconnect));
    instrument->addAction(commandAction(kDatalogging));
    instrument->addSeparator();
    instrument->addAction(commandAction(kRemoteStation));

    QMenu* viewMenu = menuBar()->addMenu("&View");
    QAction* toolBarShown = toolBar_.toggleViewAction();
    toolBarShown->setText("ToolBar");
    viewMenu->addAction(toolBarShown);
    QAction* statusBarShown = viewMenu->addAction("StatusBar");
    statusBarShown->setCheckable(true);
    statusBarShown->setChecked(true);
    connect(statusBarShown, &QAction::toggled, &statusBar_, &QWidget::setVisible);
    viewMenu->addSeparator();
    viewMenu->addAction(commandAction(kLiveGraph));

    QMenu* tools = menuBar()->addMenu("Tools");
    tools->addAction(commandAction(kToolsBlank));
    tools->addAction(commandAction(kAutodetect));

    QMenu* help = menuBar()->addMenu("&?");
    help->addAction(commandAction(kAppAbout));
}

void CMainFrame::createToolBar()
{
    toolBar_.setWindowTitle("ToolBar");
    toolBar_.setObjectName("ToolBar");
    toolBar_.setMovable(false);
    toolBar_.setIconSize(QSize(16, 16));
    for (int id : {kFileOpen, kDisconnect, kDatalogging, kAutodetect})
        toolBar_.addAction(commandAction(id));
    toolBar_.addSeparator();
    toolBar_.addAction(commandAction(kAppAbout));
    addToolBar(Qt::TopToolBarArea, &toolBar_);
}

void CMainFrame::createStatusBar()
{
    statusBar_.create(this, kIndicators, 2, statusbar::kStyleStretch, app_.messages());
    statusBar_.setPaneInfo(1, kLinkPaneId, 0, kLinkPaneWidth);
    statusBar_.pane(1).setMode(panemode::kText | panemode::kFormatCenter);
    statusBar_.setPaneText(0, "Ready");
}

void CMainFrame::updateCommandStates()
{
    const bool remote = remote_ && remote_->active();
    commandAction(kAutodetect)->setEnabled(engine_.canAutodetect() && !remote);
    commandAction(kRemoteStation)->setEnabled(engine_.canAutodetect() && !remote);
    commandAction(kDisconnect)->setEnabled(engine_.canDisconnect() || remote);
    if (!engine_.portOpen() && !remote)
        live_.linkClosed();
}

std::string CMainFrame::linkPaneText() { return statusBar_.pane(1).text(true); }

void CMainFrame::showLinkState(std::string_view text, std::uint32_t colour,
                               std::uint32_t disabledColour)
{
    XPaneInfo& pane = statusBar_.pane(1);
    pane.setColors(static_cast<std::int32_t>(colour), static_cast<std::int32_t>(disabledColour));
    pane.setTexts(std::string(text), std::string());
    statusBar_.update();
}

void CMainFrame::setWaitCursor(bool wait)
{
    if (wait == waitCursor_)
        return;
    waitCursor_ = wait;
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CMainFrame::postLine(std::string line, unsigned generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, line = std::move(line)]() mutable {
            if (port_.acceptLine(generation, engine_.portOpen()))
                OnSerialReply(std::move(line));
        },
        Qt::QueuedConnection);
}

void CMainFrame::postDisconnectRequest(unsigned session)
{
    QMetaObject::invokeMethod(
        this,
        [this, session] {
            if (port_.acceptDisconnect(session))
                engine_.OnLineFailure();
        },
        Qt::QueuedConnection);
}

void CMainFrame::postWatchdogStop(unsigned generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (port_.acceptWatchdogStop(generation))
                engine_.OnDialogueLineComplete();
        },
        Qt::QueuedConnection);
}

void CMainFrame::OnSerialReply(std::string line)
{
    // The rows the reply added to the table go on to the live graph and the statistics.
    const int rows = view_.rowCount();
    engine_.OnSerialReply(std::move(line));
    live_.takeRows(rows);
}

void CMainFrame::onTimer(int id) { engine_.OnTimer(id); }

void CMainFrame::OnAutodetect() { engine_.OnAutodetect(); }

void CMainFrame::OnDisconnect()
{
    if (remote_->active()) {
        remote_->stop();
        endRemoteStation();
        return;
    }
    engine_.OnDisconnect();
}

void CMainFrame::OnRemoteStation()
{
    CRemoteStationDlg dialog(remoteChoice_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    remoteChoice_ = dialog.choice();
    remoteChoice_.password.clear(); // asked again each time, never kept
    startRemoteStation(dialog.choice());
}

bool CMainFrame::startRemoteStation(const RemoteStationChoice& choice)
{
    if (!engine_.canAutodetect() || remote_->active())
        return false;
    live_.linkClosed(); // the remote rows are a new link for the graph and the statistics
    const bool started = remote_->start(choice);
    updateCommandStates();
    return started;
}

void CMainFrame::endRemoteStation()
{
    engine_.showDisconnected();
    updateCommandStates();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (remote_->active()) {
        remote_->stop();
        endRemoteStation();
    }
    if (engine_.OnExit())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::OnFileOpen()
{
    openFile(fileDialog_->askOpenPath(openFileRequest(app_.appDirectory)));
}

void CMainFrame::openFile(const std::string& path)
{
    if (path.empty() || !viewers_)
        return;
    switch (viewerForPath(path)) {
    case ViewerKind::Record:
        viewers_->runRecordViewer(path);
        break;
    case ViewerKind::Log:
        viewers_->runLogViewer(path);
        break;
    case ViewerKind::None:
        break;
    }
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::OnFileNew()
{
    if (engine_.canAutodetect())
        view_.OnInitialUpdate();
}

void CMainFrame::OnFilePrint()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter page(&printer); // one empty page: the overview prints nothing
}
