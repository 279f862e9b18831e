#pragma once
// The main window: toolbar, menus and accelerators of the program's commands, the two-pane
// coloured status bar whose second pane shows the link state, and the overview view as its
// client area. It hosts the protocol engine and stays a translator: timer expiries, the lines
// that the serial reader thread completes (queued onto the window thread, by value) and the
// user's commands go to the engine, which answers through the interfaces the frame implements.

#include <QMainWindow>
#include <QToolBar>
#include <memory>
#include <string>

#include "core/Clock.h"
#include "app/frame/FileOpen.h"
#include "app/frame/FrameView.h"
#include "app/frame/QueuedMessageBox.h"
#include "app/live/LiveMonitor.h"
#include "app/remote/RemoteSession.h"
#include "app/view/VentoraView.h"
#include "controls/StatusBar.h"
#include "files/RecordingWriter.h"
#include "protocol/QtTimerTable.h"
#include "protocol/EnginePort.h"
#include "protocol/ProtocolEngine.h"

class CVentoraApp;
class QAction;

class CMainFrame : public QMainWindow, private IProtocolFrame, private ILineTarget {
    Q_OBJECT
public:
    // Command ids of the menus, the toolbar and the accelerators.
    enum CommandId {
        kToolsBlank = 5,
        kDisconnect = 32772,
        kDatalogging = 32789,
        kAutodetect = 32801,
        kFileNew = 57600,
        kFileOpen = 57601,
        kFileSave = 57603,
        kFilePrint = 57607,
        kAppAbout = 57664,
        kLiveGraph = 33001,     // View > "Live Graph"
        kRemoteStation = 33002, // Instrument > "Remote Station..."
    };
    static constexpr unsigned kLinkPaneId = 61446;
    static constexpr int kLinkPaneWidth = 200;

    explicit CMainFrame(CVentoraApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Commands.
    void OnFileOpen();
    // Runs the viewer that the path's extension names, as File > Open does with its choice.
    void openFile(const std::string& path);
    void OnAutodetect();
    void OnDisconnect();
    void OnAppAbout();
    // Instrument > "Remote Station...": the dialog, then startRemoteStation().
    void OnRemoteStation();
    // Shows a station's samples from a broker instead of a local instrument.
    bool startRemoteStation(const RemoteStationChoice& choice);
    // Ctrl+N: the single document holds no data; a new one lays the empty table out again,
    // which is only done while no link is open (it would wipe a live table's columns).
    void OnFileNew();
    // Ctrl+P: the print dialog, then a page on which the overview draws nothing.
    void OnFilePrint();

    // Operations of the link, used by other windows.
    bool OpenLink() { return engine_.OpenLink(); }
    void CloseLink() { engine_.CloseLink(); }
    void AddCommand(int address, int type) { engine_.AddCommand(address, type); }
    void SendCommand(const std::string& text) { engine_.SendCommand(text); }
    void OnSerialReply(std::string line);

    // Stand-ins for tests; the viewers of record and log files are attached here.
    void setFileDialog(std::unique_ptr<IFileDialog> dialog) { fileDialog_ = std::move(dialog); }
    void setFileViewers(IFileViewers* viewers) { viewers_ = viewers; }

    CProtocolEngine& engine() { return engine_; }
    CVentoraView& view() { return view_; }
    CLiveMonitor& live() { return live_; }
    CRemoteSession& remote() { return *remote_; }
    XStatusBar& linkStatusBar() { return statusBar_; }
    QToolBar& toolBar() { return toolBar_; }
    const CQtTimerTable& timers() const { return timers_; }
    // The action of a command id, or null.
    QAction* commandAction(int id) const;
    // The link pane's enabled text.
    std::string linkPaneText();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // IProtocolFrame
    void showLinkState(std::string_view text, std::uint32_t colour,
                       std::uint32_t disabledColour) override;
    void setWaitCursor(bool wait) override;
    void commandStatesChanged() override { updateCommandStates(); }

    // ILineTarget: called on the reader thread; each call is queued onto the window thread.
    void postLine(std::string line, unsigned generation) override;
    void postDisconnectRequest(unsigned session) override;
    void postWatchdogStop(unsigned generation) override;

    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* makeAction(int id, const QString& text, const char* tip = nullptr);
    void onTimer(int id);
    void updateCommandStates();
    // The remote session has ended: the link pane and the commands as after a disconnect.
    void endRemoteStation();

    CVentoraApp& app_;
    CSystemClock clock_;
    CVentoraView view_;
    CLiveMonitor live_;
    XStatusBar statusBar_;
    QToolBar toolBar_;
    CQtTimerTable timers_;
    CEnginePort port_;
    CFrameView viewLink_;
    CQueuedMessageBox recordingMessages_; // failures show after the reply handler returns
    CRecordingWriter recording_;
    CProtocolEngine engine_;
    std::unique_ptr<CRemoteSession> remote_;
    RemoteStationChoice remoteChoice_{"mqtt://localhost", "", "", ""};
    std::unique_ptr<IFileDialog> fileDialog_;
    IFileViewers* viewers_ = nullptr;
    bool waitCursor_ = false;
};
