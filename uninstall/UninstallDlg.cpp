#include "uninstall/UninstallDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "controls/AnsiText.h"

static void initUninstallResources() { Q_INIT_RESOURCE(uninstall); }

CUninstallDlg::CUninstallDlg(CUninstallEnvironment environment, QWidget* parent)
    : QDialog(parent), environment_(std::move(environment))
{
    initUninstallResources();
    setWindowTitle("Uninstall Quillon6");
    setWindowIcon(QIcon(":/uninstall/icon.png"));

    auto* banner = new QLabel(this);
    banner->setPixmap(QPixmap(":/uninstall/banner.png"));
    auto* question = new QLabel("Are you sure you want to Uninstall Quillon6 ?", this);
    question->setObjectName("question");
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(0, kRemovalSteps);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    ok_ = new QPushButton("OK", this);
    cancel_ = new QPushButton("Annulla", this);
    ok_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner);
    layout->addWidget(question);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok_, &QPushButton::clicked, this, &CUninstallDlg::confirm);
    connect(cancel_, &QPushButton::clicked, this, &CUninstallDlg::reject);
}

void CUninstallDlg::confirm()
{
    if (removing_)
        return;
    removing_ = true;
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    // The folder is taken when the user confirms; without one there is no list to read.
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (!error) {
        CUninstaller uninstaller(*environment_.messages, *this);
        uninstaller.run(folder, environment_.shellFolders);
    }
    removing_ = false;
    accept();
}

void CUninstallDlg::reject()
{
    if (!removing_)
        QDialog::reject();
}

void CUninstallDlg::setProgress(int position) { progress_->setValue(position); }

void CUninstallDlg::pause(int milliseconds)
{
    if (environment_.pause)
        environment_.pause(milliseconds);
}
