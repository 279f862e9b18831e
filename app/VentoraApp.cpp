#include "app/VentoraApp.h"

#include <QTimer>

#include "app/frame/MainFrame.h"
#include "app/frame/QtFileViewers.h"
#include "app/SettingsFiles.h"
#include "controls/AnsiText.h"

namespace {
CVentoraApp* theApp = nullptr;
constexpr const char* kProfileKey = "Local AppWizard-Generated Applications";
constexpr const char* kRecentGroup = "Recent File List";
} // namespace

CVentoraApp::CVentoraApp(IMessageBox& messages) : messages_(messages) { theApp = this; }

CVentoraApp::~CVentoraApp()
{
    frame_.reset();
    if (theApp == this)
        theApp = nullptr;
}

CVentoraApp* CVentoraApp::instance() { return theApp; }

bool CVentoraApp::initInstance()
{
    if (!initSocketLayer()) {
        messages_.tell("Inizializzazione dei connettori di Windows non riuscita.",
                       MessageIcon::None);
        return false;
    }
    if (!initOle()) {
        messages_.tell("ERROR: Initialize excel COM failed.", MessageIcon::Exclamation);
        return false;
    }
    loadProfile();
    LoadPackageSettings();
    LoadConnectionSettings();
    return createMainWindow();
}

void CVentoraApp::LoadPackageSettings()
{
    appDirectory = currentAppDirectory();
    PackageSettings settings;
    settings.serverPort = serverPort;
    loadPackageSettings(appDirectory, settings, messages_);
    handbook = settings.handbook;
    serverPort = settings.serverPort;
}

void CVentoraApp::LoadConnectionSettings()
{
    loadConnectionSettings(appDirectory, connConfig, messages_);
}

void CVentoraApp::addRecentFile(const std::string& path)
{
    recentFiles_.add(path);
    saveProfile();
}

bool CVentoraApp::createMainWindow()
{
    frame_ = std::make_unique<CMainFrame>(*this);
    fileViewers_ = std::make_unique<CQtFileViewers>(frame_.get(), appDirectory);
    frame_->setFileViewers(fileViewers_.get());
    frame_->showMaximized();
    if (!startFile.empty()) {
        // After the window has been shown: the viewer is modal and runs its own event loop.
        QTimer::singleShot(0, frame_.get(), [this] { frame_->openFile(startFile); });
    }
    return true;
}

void CVentoraApp::loadProfile()
{
    profile_ = std::make_unique<QSettings>(kProfileKey, "Skyvane8u");
    profile_->beginGroup(kRecentGroup);
    for (int i = static_cast<int>(recentFiles_.capacity()); i >= 1; --i) {
        QString path = profile_->value(QString("File%1").arg(i)).toString();
        if (!path.isEmpty())
            recentFiles_.add(toAnsi(path));
    }
    profile_->endGroup();
}

void CVentoraApp::saveProfile()
{
    if (!profile_)
        return;
    profile_->beginGroup(kRecentGroup);
    profile_->remove("");
    const auto& entries = recentFiles_.entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        profile_->setValue(QString("File%1").arg(i + 1), fromAnsi(entries[i]));
    profile_->endGroup();
    profile_->sync();
}
