#include "setup/FolderPage.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/AnsiText.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"

CFolderPage::CFolderPage(CSetupWizard& wizard) : CSetupPage(wizard)
{
    label_ = new QLabel(this);
    field_ = new QLineEdit(this);
    field_->setReadOnly(true);
    browse_ = new QPushButton(this);
    status_ = new QLabel(fromAnsi(setuptext::kCopyingFiles), this);
    status_->hide();
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    label_->setObjectName("folderLabel");
    field_->setObjectName("folderField");
    browse_->setObjectName("browse");
    status_->setObjectName("status");
    progress_->setObjectName("progress");

    auto* grid = new QGridLayout;
    grid->addWidget(label_, 0, 0, 1, 2);
    grid->addWidget(field_, 1, 0);
    grid->addWidget(browse_, 1, 1);
    grid->setColumnStretch(0, 1);
    body()->addLayout(grid);
    body()->addStretch(1);
    body()->addWidget(status_);
    body()->addWidget(progress_);

    connect(browse_, &QPushButton::clicked, this, &CFolderPage::browse);
}

void CFolderPage::onSetActive()
{
    CSetupWizard& wizard = setupWizard();
    const CSetupTexts& texts = setupTexts(wizard.state().language);
    wizard.state().installFolder = wizard.environment().defaultInstallFolder;
    showFolder();
    wizard.setWindowTitle(fromAnsi(texts.folderCaption));
    label_->setText(fromAnsi(texts.folderLabel));
    browse_->setText(fromAnsi(texts.browse));
}

// Paths are file-system bytes, not program text: they are shown and taken back unconverted.
void CFolderPage::showFolder()
{
    const std::string& folder = setupWizard().state().installFolder;
    field_->setText(QFile::decodeName(QByteArray::fromStdString(folder)));
}

void CFolderPage::browse()
{
    std::string path;
    if (!setupWizard().environment().folderDialog->chooseFolder(window(), path))
        return;
    setupWizard().state().installFolder = withoutTrailingSeparator(path);
    showFolder();
}

bool CFolderPage::validatePage()
{
    if (copying_)
        return false;
    CSetupWizard& wizard = setupWizard();
    copying_ = true;
    wizard.setBusy(true);
    browse_->setEnabled(false);
    CSetupCopy copy(wizard.environment().plan, wizard.environment().shellFolders,
                    wizard.messages(), *this);
    CopyOutcome outcome = copy.run(wizard.state());
    setWaitCursor(false);
    browse_->setEnabled(true);
    wizard.setBusy(false);
    copying_ = false;
    if (outcome == CopyOutcome::EndSetup)
        wizard.endSetup();
    return outcome == CopyOutcome::GoOn;
}

void CFolderPage::setWaitCursor(bool on)
{
    if (on == waitCursor_)
        return;
    waitCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CFolderPage::disableCancel() { setupWizard().lockCancel(); }

void CFolderPage::showStatus() { status_->show(); }

void CFolderPage::setStatus(std::string_view text) { status_->setText(fromAnsi(text)); }

void CFolderPage::stepProgress()
{
    progress_->setValue(std::min(progress_->value() + 10, progress_->maximum()));
}

void CFolderPage::pause(int milliseconds)
{
    if (setupWizard().environment().pause)
        setupWizard().environment().pause(milliseconds);
}
