#include "app/remote/RemoteStationDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

CRemoteStationDlg::CRemoteStationDlg(const RemoteStationChoice& initial, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("Remote Station");
    url_.setText(QString::fromStdString(initial.url));
    url_.setPlaceholderText("mqtt://host[:port][/prefix]");
    url_.setMinimumWidth(280);
    station_.setText(QString::fromStdString(initial.station));
    user_.setText(QString::fromStdString(initial.user));
    user_.setPlaceholderText("(none)");
    password_.setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow("&Broker URL:", &url_);
    form->addRow("&Station:", &station_);
    form->addRow("&User:", &user_);
    form->addRow("&Password:", &password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

RemoteStationChoice CRemoteStationDlg::choice() const
{
    return {url_.text().trimmed().toStdString(), station_.text().trimmed().toStdString(),
            user_.text().trimmed().toStdString(), password_.text().toStdString()};
}
