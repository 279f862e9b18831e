#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <filesystem>

#include "app/frame/MainFrame.h"
#include "app/VentoraApp.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

// Runs start-up inside a temporary working directory with a private profile location.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir_.file("profile")));
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    TempDir dir_;
    std::filesystem::path previous_;
    CScriptedMessageBox messages_;
};

class FailingApp : public CVentoraApp {
public:
    FailingApp(IMessageBox& messages, bool sockets, bool ole)
        : CVentoraApp(messages), sockets_(sockets), ole_(ole)
    {
    }

protected:
    bool initSocketLayer() override { return sockets_; }
    bool initOle() override { return ole_; }

private:
    bool sockets_;
    bool ole_;
};

} // namespace

TEST_F(StartupTest, ReadsBothFilesFromTheWorkingDirectoryAndShowsTheFrame)
{
    writeFile(dir_.file("Skyvane8u.ini"), "HANDBOOK=guide.pdf\nSERVER_PORT=8080\n");
    writeFile(dir_.file("Connection.ini"), "CONN_MODE=0\n");
    CVentoraApp app(messages_);
    ASSERT_TRUE(app.initInstance());
    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_EQ(app.appDirectory, dir_.directory());
    EXPECT_EQ(app.handbook, "guide.pdf");
    EXPECT_EQ(app.serverPort, 8080);
    EXPECT_EQ(app.connConfig.connMode, 0);
    ASSERT_NE(app.mainFrame, nullptr);
    EXPECT_EQ(app.mainFrame->windowTitle(), "Skyvane8u");
    EXPECT_TRUE(app.mainFrame->isMaximized() || app.mainFrame->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(CVentoraApp::instance(), &app);
}

TEST_F(StartupTest, MissingFilesAreReportedInOrderAndStartUpGoesOn)
{
    CVentoraApp app(messages_);
    ASSERT_TRUE(app.initInstance());
    ASSERT_EQ(messages_.shown().size(), 2u);
    EXPECT_EQ(messages_.shown()[0].icon, MessageIcon::None);
    EXPECT_EQ(messages_.shown()[1].text, "WARNING: Unable to open file Connection.ini");
    EXPECT_EQ(app.connConfig.connMode, -1);
}

TEST_F(StartupTest, PlatformFailuresEndStartUpWithTheirMessages)
{
    {
        FailingApp app(messages_, false, true);
        EXPECT_FALSE(app.initInstance());
        EXPECT_EQ(messages_.texts(),
                  std::vector<std::string>{
                      "Inizializzazione dei connettori di Windows non riuscita."});
        EXPECT_EQ(app.mainFrame, nullptr);
    }
    messages_.clear();
    FailingApp app(messages_, true, false);
    EXPECT_FALSE(app.initInstance());
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0],
              (ShownMessage{"ERROR: Initialize excel COM failed.", MessageIcon::Exclamation,
                            false}));
}

TEST_F(StartupTest, RecentFilesPersistInTheProfileWithFourEntries)
{
    {
        CVentoraApp app(messages_);
        ASSERT_TRUE(app.initInstance());
        for (const char* path : {"/a.ivt", "/b.lvt", "/c.ivt", "/d.ivt", "/e.ivt", "/b.lvt"})
            app.addRecentFile(path);
        EXPECT_EQ(app.recentFiles().entries(),
                  (std::vector<std::string>{"/b.lvt", "/e.ivt", "/d.ivt", "/c.ivt"}));
    }
    CVentoraApp again(messages_);
    ASSERT_TRUE(again.initInstance());
    EXPECT_EQ(again.recentFiles().entries(),
              (std::vector<std::string>{"/b.lvt", "/e.ivt", "/d.ivt", "/c.ivt"}));
}
