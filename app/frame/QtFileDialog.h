#pragma once
// IFileDialog shown with QFileDialog. Each filter choice is offered with its own description;
// its patterns are handed to the dialog without being shown twice.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "app/frame/FileDialog.h"

class CQtFileDialog final : public IFileDialog {
public:
    explicit CQtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}

    std::string askOpenPath(const CFileDialogRequest& request) override;

    // The dialog's name filters: "description (patterns separated by blanks)".
    static QStringList nameFilters(const CFileDialogRequest& request);

private:
    QPointer<QWidget> parent_;
};
