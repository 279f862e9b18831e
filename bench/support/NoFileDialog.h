#pragma once
// A file dialog that is always cancelled: benchmarks and picture programs run unattended.

#include "core/FileDialog.h"

class CNoFileDialog final : public IFileDialog {
public:
    std::string askOpenPath(const CFileDialogRequest&) override { return {}; }
    std::string askSavePath(const CFileDialogRequest&) override { return {}; }
};
