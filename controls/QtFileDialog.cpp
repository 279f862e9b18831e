#include "controls/QtFileDialog.h"

#include <QFile>
#include <QFileDialog>

#include "controls/AnsiText.h"

QStringList CQtFileDialog::nameFilters(const CFileDialogRequest& request)
{
    QStringList filters;
    for (const CFileFilterEntry& entry : parseFileFilter(request.filter)) {
        QStringList patterns;
        for (const std::string& pattern : entry.patterns)
            patterns << fromAnsi(pattern);
        // The dialog reads the patterns from the last parentheses and, with the details hidden,
        // shows only what comes before them: the description exactly as written.
        filters << fromAnsi(entry.description) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::string CQtFileDialog::askOpenPath(const CFileDialogRequest& request)
{
    return run(request, false);
}

std::string CQtFileDialog::askSavePath(const CFileDialogRequest& request)
{
    return run(request, true);
}

std::string CQtFileDialog::run(const CFileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent_, QString(), QFile::decodeName(request.initialDirectory.c_str()));
    // Saving asks before an existing file is replaced (the overwrite prompt).
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(fromAnsi(request.defaultExtension));
    dialog.setNameFilters(nameFilters(request));
    if (!request.defaultName.empty())
        dialog.selectFile(fromAnsi(request.defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}
