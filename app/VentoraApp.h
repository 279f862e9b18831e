#pragma once
// The application object: start-up in a fixed order, the settings read from the working
// directory, and the non-owning pointers through which other code reaches the main frame and
// the main view. One object per process, reached through instance().

#include <QSettings>
#include <memory>
#include <string>

#include "core/ConnConfig.h"
#include "core/MessageBox.h"
#include "app/RecentFileList.h"

class CMainFrame;
class CVentoraView;
class IFileViewers;

class CVentoraApp {
public:
    explicit CVentoraApp(IMessageBox& messages);
    virtual ~CVentoraApp();
    CVentoraApp(const CVentoraApp&) = delete;
    CVentoraApp& operator=(const CVentoraApp&) = delete;

    // The application object of this process, or null before one is constructed.
    static CVentoraApp* instance();

    // Start-up; false ends the program.
    bool initInstance();

    void LoadPackageSettings();
    void LoadConnectionSettings();

    // Profile: the recent-file list under "Local AppWizard-Generated Applications".
    CRecentFileList& recentFiles() { return recentFiles_; }
    void addRecentFile(const std::string& path);

    IMessageBox& messages() { return messages_; }

    int serverPort = 0;
    CConnConfig connConfig;
    std::string appDirectory;
    std::string handbook;
    // A record or log file named on the command line: its viewer opens once the main window
    // shows. Empty for none.
    std::string startFile;
    CMainFrame* mainFrame = nullptr;
    CVentoraView* mainView = nullptr;

protected:
    // Platform services that exist on Windows only; here they start by doing nothing.
    virtual bool initSocketLayer() { return true; }
    virtual bool initOle() { return true; }
    // Builds and shows the main window; false when it cannot be created.
    virtual bool createMainWindow();

private:
    void loadProfile();
    void saveProfile();

    IMessageBox& messages_;
    std::unique_ptr<QSettings> profile_;
    CRecentFileList recentFiles_;
    std::unique_ptr<IFileViewers> fileViewers_; // outlives the frame that runs them
    std::unique_ptr<CMainFrame> frame_;
};
