#pragma once
// Instrument > "Remote Station...": one station's samples from a broker, shown in the overview,
// the live graph and the statistics strip as they arrive, and recorded while the REC flag is
// set. The broker's first failure before it accepted the connection (a wrong password, nothing
// listening, no answer) ends the session with one message; a connection lost later is tried
// again with growing pauses, the status bar saying so.

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

#include "app/frame/FrameView.h"
#include "app/remote/RemoteFeed.h"
#include "mqtt/MqttUrl.h"
#include "mqtt/QtMqttLink.h"

class CLiveMonitor;

struct RemoteStationChoice {
    std::string url; // mqtt://host[:port][/prefix] or mqtts://
    std::string station;
    std::string user;
    std::string password;
};

class CRemoteSession final : public QObject {
public:
    struct Frame {
        CVentoraView& view;
        CLiveMonitor& live;
        IMessageBox& messages;
        // The recording's failures: told from inside the broker client's step, so shown once
        // that step has returned (a CQueuedMessageBox), as the serial link's are.
        IMessageBox& recordingMessages;
        std::string recordingPath;
        // The status bar's link pane: the text, and whether the link is up (green) or not.
        std::function<void(const std::string& text, bool up)> showLink;
        // The session has ended by itself (after its message).
        std::function<void()> ended;
    };

    explicit CRemoteSession(Frame frame, QObject* parent = nullptr);

    // Starts; false (after a message) when the choice cannot be used.
    bool start(const RemoteStationChoice& choice);
    // Ends the session: Disconnect, or closing the window.
    void stop();

    bool active() const { return active_; }

private:
    void up();
    void down();
    void message(std::string_view topic, std::string_view payload);
    void log(std::string_view line);
    void fail(const std::string& text);

    Frame f_;
    CFrameView viewLink_;
    CRemoteFeed feed_;
    CQtMqttLink link_;
    MqttUrl url_;
    std::string station_;
    std::string topic_; // the station's sample topic
    bool active_ = false;
    bool everUp_ = false;
};
