#pragma once
// IFileDialog shown with QFileDialog, modal to its parent. Each filter choice is offered with
// its own description; its patterns are handed to the dialog without being shown twice. The
// save dialog asks before it overwrites an existing file.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "core/FileDialog.h"

class CQtFileDialog final : public IFileDialog {
public:
    explicit CQtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }

    std::string askOpenPath(const CFileDialogRequest& request) override;
    std::string askSavePath(const CFileDialogRequest& request) override;

    // The dialog's name filters: "description (patterns separated by blanks)".
    static QStringList nameFilters(const CFileDialogRequest& request);

private:
    std::string run(const CFileDialogRequest& request, bool save);

    QPointer<QWidget> parent_;
};
