#pragma once
// The Browse dialog of the folder page behind an interface, so that tests choose a folder
// without a window.

#include <string>

class QWidget;

class IFolderDialog {
public:
    virtual ~IFolderDialog() = default;
    // Asks for the installation folder; false when the user cancels. The path is native bytes.
    virtual bool chooseFolder(QWidget* parent, std::string& path) = 0;
};
