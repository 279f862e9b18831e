#pragma once
// The choice of Instrument > "Remote Station...": the broker's address, the station, and the
// user and password when the broker asks for them.

#include <QDialog>
#include <QLineEdit>

#include "app/remote/RemoteSession.h"

class CRemoteStationDlg final : public QDialog {
public:
    explicit CRemoteStationDlg(const RemoteStationChoice& initial, QWidget* parent = nullptr);

    RemoteStationChoice choice() const;

private:
    QLineEdit url_;
    QLineEdit station_;
    QLineEdit user_;
    QLineEdit password_;
};
