#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>

#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "uninstall/UninstallDlg.h"

namespace fs = std::filesystem;

namespace {

QPushButton* buttonCalled(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

// Runs the dialog inside an installation folder that holds a list naming one file.
class UninstallDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(dir_.path());
        writeFile(dir_.file("Skyvane8u"), "program");
        writeFile(dir_.file("License.txt"), "licence");
        writeFile(dir_.file("UnInstall_Quillon6.txt"), dir_.file("Skyvane8u") + "\r\r\n");
        environment_.messages = &messages_;
        environment_.shellFolders.programs = dir_.file("applications");
        environment_.pause = [this](int milliseconds) {
            positions_.push_back(progress()->value());
            pausedMs_ += milliseconds;
        };
        dialog_ = std::make_unique<CUninstallDlg>(environment_);
        dialog_->show();
    }
    void TearDown() override { fs::current_path(previous_); }

    QProgressBar* progress() const { return dialog_->findChild<QProgressBar*>("progress"); }

    TempDir dir_;
    fs::path previous_;
    CScriptedMessageBox messages_;
    CUninstallEnvironment environment_;
    std::unique_ptr<CUninstallDlg> dialog_;
    std::vector<int> positions_;
    int pausedMs_ = 0;
};

TEST_F(UninstallDlgTest, ShowsTheQuestionWithOkAndAnnulla)
{
    EXPECT_EQ(dialog_->windowTitle(), "Uninstall Quillon6");
    EXPECT_EQ(dialog_->findChild<QLabel*>("question")->text(),
              "Are you sure you want to Uninstall Quillon6 ?");
    EXPECT_EQ(progress()->minimum(), 0);
    EXPECT_EQ(progress()->maximum(), 6);
    EXPECT_EQ(progress()->value(), 0);
    EXPECT_FALSE(dialog_->windowIcon().isNull());
    if (const char* folder = std::getenv("VENTORA_SCREENSHOT_DIR")) {
        QCoreApplication::processEvents();
        dialog_->grab().save(QString(folder) + "/uninstall.png");
    }
}

TEST_F(UninstallDlgTest, AnnullaLeavesEverything)
{
    buttonCalled(*dialog_, "Annulla")->click();
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->isVisible());
    for (const char* kept : {"Skyvane8u", "License.txt", "UnInstall_Quillon6.txt"})
        EXPECT_TRUE(fs::exists(dir_.file(kept))) << kept;
    EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UninstallDlgTest, OkRemovesTheListedFilesStepsTheBarAndCloses)
{
    buttonCalled(*dialog_, "OK")->click();
    EXPECT_EQ(positions_, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(pausedMs_, 2100);
    EXPECT_EQ(messages_.shown(),
              (std::vector<ShownMessage>{{"Uninstall Complete.\r\nPlease remove Quillon6 Folder "
                                          "manually.",
                                          MessageIcon::Information, false}}));
    for (const char* gone : {"Skyvane8u", "License.txt", "UnInstall_Quillon6.txt"})
        EXPECT_FALSE(fs::exists(dir_.file(gone))) << gone;
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(UninstallDlgTest, OkWithoutAListClosesSilently)
{
    fs::remove(dir_.file("UnInstall_Quillon6.txt"));
    buttonCalled(*dialog_, "OK")->click();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_TRUE(positions_.empty());
    EXPECT_TRUE(fs::exists(dir_.file("License.txt")));
}

} // namespace
