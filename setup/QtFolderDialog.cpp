#include "setup/QtFolderDialog.h"

#include <QFile>
#include <QFileDialog>

bool CQtFolderDialog::chooseFolder(QWidget* parent, std::string& path)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("Skyvane8u");
    dialog.setDefaultSuffix(QString());
    dialog.selectFile("Skyvane8u");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    return !path.empty();
}
