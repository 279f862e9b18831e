#include "tests/support/ScriptedFileDialog.h"

std::string CScriptedFileDialog::askOpenPath(const CFileDialogRequest& request)
{
    return answer(request, false);
}

std::string CScriptedFileDialog::askSavePath(const CFileDialogRequest& request)
{
    return answer(request, true);
}

std::string CScriptedFileDialog::answer(const CFileDialogRequest& request, bool save)
{
    requests.push_back(request);
    saveRequests.push_back(save);
    if (answers.empty())
        return {};
    std::string path = answers.front();
    answers.pop_front();
    return path;
}
