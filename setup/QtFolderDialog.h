#pragma once
// The Browse dialog: a file dialog proposing the name "Skyvane8u" with the filter "Skyvane8u";
// the full path typed or chosen there becomes the installation folder.

#include "setup/FolderDialog.h"

class CQtFolderDialog final : public IFolderDialog {
public:
    bool chooseFolder(QWidget* parent, std::string& path) override;
};
