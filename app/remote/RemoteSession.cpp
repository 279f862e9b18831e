#include "app/remote/RemoteSession.h"

#include <QTimer>

#include "app/live/LiveMonitor.h"
#include "mqtt/MqttTopics.h"
#include "mqtt/SamplePayload.h"

CRemoteSession::CRemoteSession(Frame frame, QObject* parent)
    : QObject(parent), f_(std::move(frame)), viewLink_(f_.view),
      feed_(viewLink_, f_.recordingPath, f_.recordingMessages),
      link_({[this] { up(); }, [this] { down(); }, nullptr,
             [this](std::string_view topic, std::string_view payload) { message(topic, payload); },
             [this](std::string_view line) { log(line); }},
            this)
{
}

bool CRemoteSession::start(const RemoteStationChoice& choice)
{
    std::string error;
    if (!parseMqttUrl(choice.url, url_, &error)) {
        f_.messages.tell("Invalid broker address " + choice.url + ": " + error + ".",
                         MessageIcon::Stop);
        return false;
    }
    if (!isStationName(choice.station)) {
        f_.messages.tell("Invalid station name \"" + choice.station +
                             "\": it may not be empty nor hold '/', '+' or '#'.",
                         MessageIcon::Stop);
        return false;
    }
    if (!choice.user.empty()) {
        url_.user = choice.user;
        url_.password = choice.password;
    }
    station_ = choice.station;
    topic_ = sampleTopic(url_.prefix, station_);
    const MqttSession session = url_.session();
    active_ = true;
    everUp_ = false;
    f_.showLink("Remote " + station_ + ": connecting to " + url_.host, false);
    link_.start(session, url_.display());
    return true;
}

void CRemoteSession::stop()
{
    if (!active_)
        return;
    active_ = false;
    link_.stop(500);
    feed_.end();
}

void CRemoteSession::up()
{
    everUp_ = true;
    link_.client().subscribe(topic_, 1);
    feed_.begin();
    f_.showLink("Remote " + station_ + " via " + url_.host, true);
}

void CRemoteSession::down()
{
    f_.showLink("Remote " + station_ + ": reconnecting to " + url_.host, false);
}

void CRemoteSession::log(std::string_view)
{
    // The link logs each new failure; one before the first connection ends the session.
    if (!active_ || everUp_ || link_.up() || link_.problem().empty())
        return;
    fail("cannot connect to the broker " + url_.display() + ": " + link_.problem());
}

void CRemoteSession::fail(const std::string& text)
{
    // Not from inside the link's own call: the session ends once control is back in the loop.
    QTimer::singleShot(0, this, [this, text] {
        if (!active_)
            return;
        stop();
        f_.messages.tell("Remote station " + station_ + ": " + text + ".", MessageIcon::Stop);
        if (f_.ended)
            f_.ended();
    });
}

void CRemoteSession::message(std::string_view topic, std::string_view payload)
{
    SampleMessage sample;
    if (topic != topic_ || !parseSamplePayload(payload, sample) || sample.station != station_)
        return;
    const int rows = f_.view.rowCount();
    if (feed_.take(sample))
        f_.live.takeRows(rows);
}
