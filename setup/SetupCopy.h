#pragma once
// The copy step of the setup (the folder page's Next): creates the installation folder, writes
// the uninstall list "UnInstall_Skyvane8u.txt" and copies every entry of a copy plan, then
// creates the start-menu launcher. The cursor, the status label, the progress bar and the pauses
// are reached through ICopyProgress and every message through IMessageBox, so that a test runs
// the whole copy in milliseconds and reads the exact texts.

#include <string>
#include <string_view>

#include "core/MessageBox.h"
#include "setup/CopyPlan.h"
#include "setup/SetupPaths.h"
#include "setup/SetupState.h"

class CUninstallList;

class ICopyProgress {
public:
    virtual ~ICopyProgress() = default;
    virtual void setWaitCursor(bool on) = 0;
    // Disables the wizard's Cancel button for the rest of the run.
    virtual void disableCancel() = 0;
    virtual void showStatus() = 0;
    virtual void setStatus(std::string_view text) = 0;
    // Advances the progress bar by one step.
    virtual void stepProgress() = 0;
    virtual void pause(int milliseconds) = 0;
};

enum class CopyOutcome {
    GoOn,     // installed: move to the last page
    Stay,     // the user kept an existing folder: stay on the folder page
    EndSetup, // a fatal failure was reported: the setup ends
};

class CSetupCopy {
public:
    CSetupCopy(CCopyPlan plan, CShellFolders folders, IMessageBox& messages,
               ICopyProgress& progress);

    CopyOutcome run(const CSetupState& state);

private:
    bool copyEntry(const CCopyEntry& entry, const CSetupState& state, CUninstallList& list);
    void createStartMenuLauncher(const std::string& installFolder, CUninstallList& list);

    CCopyPlan plan_;
    CShellFolders folders_;
    IMessageBox& messages_;
    ICopyProgress& progress_;
};
