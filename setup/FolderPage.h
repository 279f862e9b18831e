#pragma once
// Page 4: the installation folder with Browse, and the copy run by Next with its status label
// and progress bar. The page is the copy's window side (cursor, status, bar, pauses).

#include "setup/SetupCopy.h"
#include "setup/SetupPage.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CFolderPage : public CSetupPage, private ICopyProgress {
    Q_OBJECT
public:
    explicit CFolderPage(CSetupWizard& wizard);

    void onSetActive() override;
    // Next: runs the copy; the wizard moves on only when it went through.
    bool validatePage() override;

private:
    void browse();
    void showFolder();

    void setWaitCursor(bool on) override;
    void disableCancel() override;
    void showStatus() override;
    void setStatus(std::string_view text) override;
    void stepProgress() override;
    void pause(int milliseconds) override;

    QLabel* label_;
    QLineEdit* field_;
    QPushButton* browse_;
    QLabel* status_;
    QProgressBar* progress_;
    bool waitCursor_ = false;
    bool copying_ = false;
};
