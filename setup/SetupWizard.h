#pragma once
// The installation wizard: five pages (language, welcome, licence, folder with the copy, end).
// It holds the run's state and the pages' button rule: either Next only (Back disabled) or
// Back only (Next disabled). Each page acts when it becomes active and when it is left, on
// either direction, through CSetupPage's onSetActive/onKillActive.

#include <QWizard>
#include <functional>

#include "core/MessageBox.h"
#include "setup/CopyPlan.h"
#include "setup/FolderDialog.h"
#include "setup/SetupPaths.h"
#include "setup/SetupState.h"

// What the wizard needs from outside; tests give temporary folders, a scripted message box and
// folder dialog, and a pause that does not wait.
struct CSetupEnvironment {
    std::string sourceFolder;
    std::string defaultInstallFolder;
    CShellFolders shellFolders;
    CCopyPlan plan;
    IMessageBox* messages = nullptr;
    IFolderDialog* folderDialog = nullptr;
    std::function<void(int milliseconds)> pause;
};

enum class WizardButtons { NextOnly, BackOnly };

class CSetupPage;

class CSetupWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { LanguagePage, WelcomePage, LicensePage, FolderPage, EndPage };

    explicit CSetupWizard(CSetupEnvironment environment, QWidget* parent = nullptr);

    CSetupState& state() { return state_; }
    const CSetupEnvironment& environment() const { return environment_; }
    IMessageBox& messages() { return *environment_.messages; }

    void setButtons(WizardButtons buttons);
    WizardButtons buttons() const { return buttons_; }
    // Back, Next and Cancel captions of a language.
    void setCaptions(Language language);

    // The copy has started: Cancel is disabled for good and closing the window is refused.
    void lockCancel();
    bool cancelLocked() const { return cancelLocked_; }
    // While the copy runs no button works.
    void setBusy(bool busy);
    // Ends the run at once, after a failure that the user has been told about.
    void endSetup();

    void reject() override;

private:
    void pageChanged(int id);
    void applyButtons();
    CSetupPage* setupPage(int id) const;

    CSetupEnvironment environment_;
    CSetupState state_;
    WizardButtons buttons_ = WizardButtons::NextOnly;
    bool cancelLocked_ = false;
    bool busy_ = false;
    int activeId_ = -1;
};
