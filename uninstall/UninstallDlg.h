#pragma once
// The uninstaller's confirmation window "Uninstall Quillon6": banner, question, a progress bar
// from 0 to 6, "OK" (remove, then close) and "Annulla" (close, nothing deleted).

#include <QDialog>
#include <functional>
#include <string>

#include "core/MessageBox.h"
#include "uninstall/Uninstaller.h"

class QProgressBar;
class QPushButton;

struct CUninstallEnvironment {
    IMessageBox* messages = nullptr;
    // The start menu's programs folder and the desktop, where the setup put its launchers.
    CShellFolders shellFolders;
    std::function<void(int milliseconds)> pause;
};

class CUninstallDlg : public QDialog, private IRemovalProgress {
    Q_OBJECT
public:
    explicit CUninstallDlg(CUninstallEnvironment environment, QWidget* parent = nullptr);

    void reject() override;

private:
    void confirm();
    void setProgress(int position) override;
    void pause(int milliseconds) override;

    CUninstallEnvironment environment_;
    QProgressBar* progress_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool removing_ = false;
};
