#include "mqtt/QtMqttLink.h"

#include <mosquitto.h>

CQtMqttLink::CQtMqttLink(Handlers handlers, QObject* parent)
    : QObject(parent), h_(std::move(handlers)), client_(*this)
{
    housekeeping_.setInterval(1000);
    connect(&housekeeping_, &QTimer::timeout, this, &CQtMqttLink::step);
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &CQtMqttLink::attempt);
    connectTimeout_.setSingleShot(true);
    connect(&connectTimeout_, &QTimer::timeout, this, [this] {
        if (!up_)
            failed("no answer within " + std::to_string(kConnectTimeoutMs / 1000) + " s");
    });
}

CQtMqttLink::~CQtMqttLink()
{
    reader_.reset();
    writer_.reset();
    client_.close();
}

void CQtMqttLink::start(const MqttSession& session, std::string name)
{
    session_ = session;
    name_ = std::move(name);
    running_ = true;
    schedule_.reset();
    attempt();
}

void CQtMqttLink::stop(int timeoutMs)
{
    running_ = false;
    retry_.stop();
    connectTimeout_.stop();
    housekeeping_.stop();
    reader_.reset();
    writer_.reset();
    client_.finish(timeoutMs);
    up_ = false;
}

void CQtMqttLink::attempt()
{
    if (!running_)
        return;
    refusal_.clear();
    lostCode_ = -1;
    const int rc = client_.connect(session_);
    if (rc != 0) {
        failed(mqttErrorText(rc));
        return;
    }
    connectTimeout_.start(kConnectTimeoutMs);
    housekeeping_.start();
    watchSocket();
    step(); // the connection packet may go out at once
}

void CQtMqttLink::watchSocket()
{
    const int fd = client_.socket();
    if (fd < 0) {
        reader_.reset();
        writer_.reset();
        return;
    }
    if (!reader_ || reader_->socket() != fd) {
        // A notifier may be the one whose signal runs now: it goes once control returns.
        if (reader_)
            reader_.release()->deleteLater();
        if (writer_)
            writer_.release()->deleteLater();
        reader_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        writer_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        connect(reader_.get(), &QSocketNotifier::activated, this, &CQtMqttLink::step);
        connect(writer_.get(), &QSocketNotifier::activated, this, &CQtMqttLink::step);
    }
    writer_->setEnabled(client_.wantWrite());
}

void CQtMqttLink::step()
{
    if (!running_)
        return;
    client_.step();
    // The client is closed only here, outside its own loop.
    if (!refusal_.empty() || lostCode_ >= 0) {
        const std::string why = !refusal_.empty() ? refusal_
                                 : up_ ? "connection lost (" + mqttErrorText(lostCode_) + ")"
                                       : "cannot connect (" + mqttErrorText(lostCode_) + ")";
        refusal_.clear();
        lostCode_ = -1;
        failed(why);
        return;
    }
    watchSocket();
}

void CQtMqttLink::failed(const std::string& why)
{
    connectTimeout_.stop();
    housekeeping_.stop();
    if (reader_)
        reader_.release()->deleteLater();
    if (writer_)
        writer_.release()->deleteLater();
    client_.close();
    const bool wasUp = up_;
    up_ = false;
    if (!running_)
        return;
    const int pause = schedule_.nextPauseMs();
    const bool report = why != problem_ || wasUp;
    problem_ = why;
    if (report)
        h_.log("broker " + name_ + ": " + why + "; trying again with pauses up to " +
               std::to_string(CReconnectSchedule::kLongestPauseMs / 1000) + " s");
    retry_.start(pause);
    if (wasUp && h_.down)
        h_.down();
}

void CQtMqttLink::mqttConnected(int code)
{
    if (code != 0) {
        refusal_ = "connection refused: " + mqttConnackText(code);
        return;
    }
    connectTimeout_.stop();
    schedule_.reset();
    up_ = true;
    problem_.clear();
    h_.log("connected to the broker " + name_);
    if (h_.up)
        h_.up();
}

void CQtMqttLink::mqttDisconnected(int code)
{
    lostCode_ = code == 0 ? MOSQ_ERR_CONN_LOST : code;
}

void CQtMqttLink::mqttPublished(int mid)
{
    if (h_.published)
        h_.published(mid);
}

void CQtMqttLink::mqttMessage(std::string_view topic, std::string_view payload)
{
    if (h_.message)
        h_.message(topic, payload);
}
