#pragma once
// An IFileDialog for tests: answers open and save dialogs alike from one script of paths ("" is
// a cancel, as is an exhausted script) and records every request with the kind of dialog.

#include <deque>
#include <string>
#include <vector>

#include "core/FileDialog.h"

class CScriptedFileDialog final : public IFileDialog {
public:
    std::string askOpenPath(const CFileDialogRequest& request) override;
    std::string askSavePath(const CFileDialogRequest& request) override;

    std::deque<std::string> answers; // "" cancels
    std::vector<CFileDialogRequest> requests;
    std::vector<bool> saveRequests; // per request: true for a save dialog

private:
    std::string answer(const CFileDialogRequest& request, bool save);
};
