#include "setup/SetupCopy.h"

#include <filesystem>

#include "setup/Launcher.h"
#include "setup/SetupFiles.h"
#include "setup/SetupTexts.h"
#include "setup/UninstallList.h"

CSetupCopy::CSetupCopy(CCopyPlan plan, CShellFolders folders, IMessageBox& messages,
                       ICopyProgress& progress)
    : plan_(std::move(plan)), folders_(std::move(folders)), messages_(messages),
      progress_(progress)
{
}

CopyOutcome CSetupCopy::run(const CSetupState& state)
{
    const CSetupTexts& texts = setupTexts(state.language);
    const std::string& folder = state.installFolder;
    progress_.setWaitCursor(true);
    progress_.disableCancel();

    switch (createFolder(folder)) {
    case FolderResult::Created:
        break;
    case FolderResult::Exists:
        if (!messages_.askYesNo(texts.folderExists, MessageIcon::Question)) {
            progress_.setWaitCursor(false);
            return CopyOutcome::Stay;
        }
        // Others could swap the program the launchers start: such a folder is not used.
        if (!folderIsPrivate(folder)) {
            progress_.setWaitCursor(false);
            messages_.tell(texts.folderNotPrivate, MessageIcon::Stop);
            return CopyOutcome::Stay;
        }
        break;
    case FolderResult::Failed:
        progress_.setWaitCursor(false);
        messages_.tell(setuptext::kFolderFailed, MessageIcon::Stop);
        return CopyOutcome::EndSetup;
    }
    progress_.stepProgress();
    progress_.showStatus();

    // Without a list the files are still installed; they are just not recorded.
    CUninstallList list;
    if (list.open(joinPath(folder, kInstallListName), CUninstallList::Mode::Create) != 0)
        messages_.tell(setuptext::kListFailed, MessageIcon::Exclamation);

    for (const CCopyEntry& entry : plan_.entries) {
        if (!copyEntry(entry, state, list)) {
            progress_.setWaitCursor(false);
            return CopyOutcome::EndSetup;
        }
    }
    createStartMenuLauncher(folder, list);
    list.close();

    progress_.pause(1000);
    progress_.stepProgress();
    progress_.pause(1000);
    progress_.setWaitCursor(false);
    return CopyOutcome::GoOn;
}

// One row of the plan; false when its failure ends the setup.
bool CSetupCopy::copyEntry(const CCopyEntry& entry, const CSetupState& state, CUninstallList& list)
{
    progress_.setStatus(setupTexts(state.language).copyingPrefix + entry.statusName);
    if (entry.pauseBeforeMs > 0)
        progress_.pause(entry.pauseBeforeMs);

    std::string source = dataFolder(state.sourceFolder);
    if (entry.perLanguage)
        source = joinPath(source, languageFolder(state.language));
    source = joinPath(source, entry.sourceName);
    std::string destination = joinPath(state.installFolder, entry.destinationName);

    if (copyReplacing(source, destination) != 0) {
        messages_.tell(entry.failureText, entry.failureIcon);
        if (entry.failureEndsSetup)
            return false;
    }
    for (int step = 0; step < entry.progressSteps; ++step)
        progress_.stepProgress();
    if (entry.pauseAfterMs > 0)
        progress_.pause(entry.pauseAfterMs);
    // Recorded also after a failed copy: an older file of that name may be there.
    list.addLine(destination);
    return true;
}

// The start menu's "Norvik" folder and its launcher; failures here are not reported.
void CSetupCopy::createStartMenuLauncher(const std::string& installFolder, CUninstallList& list)
{
    std::string menuFolder = joinPath(folders_.programs, kLauncherFolder);
    std::error_code ignored;
    std::filesystem::create_directories(menuFolder, ignored);
    std::string launcher = joinPath(menuFolder, kLauncherName);
    list.addLine(launcher);
    createLauncher(launcher, installFolder, plan_.programName);
}
