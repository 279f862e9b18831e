#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "controls/AnsiText.h"
#include "setup/SetupTexts.h"
#include "setup/SetupWizard.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kKit = VENTORA_KIT_DIR;

class CFakeFolderDialog final : public IFolderDialog {
public:
    bool chooseFolder(QWidget*, std::string& path) override
    {
        if (answers.empty())
            return false;
        path = answers.front();
        answers.erase(answers.begin());
        return true;
    }
    std::vector<std::string> answers;
};

// The text a text box shows for a file whose lines are all shorter than 127 characters.
QString shownText(const std::string& path)
{
    return fromAnsi(readFile(path)).replace("\r\n", "\n");
}

class SetupWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment_.sourceFolder = kKit;
        environment_.defaultInstallFolder = dir_.file("home/Skyvane8u");
        environment_.shellFolders = {dir_.file("home/applications"), dir_.file("home/Desktop")};
        environment_.plan = linuxCopyPlan();
        environment_.messages = &messages_;
        environment_.folderDialog = &folders_;
        environment_.pause = [this](int milliseconds) {
            pausedMs_ += milliseconds;
            if (onPause_)
                onPause_();
        };
    }

    CSetupWizard& start()
    {
        wizard_ = std::make_unique<CSetupWizard>(environment_);
        wizard_->show();
        return *wizard_;
    }

    QAbstractButton* button(QWizard::WizardButton which) const { return wizard_->button(which); }
    template <typename T> T* child(const char* name) const
    {
        T* found = wizard_->currentPage()->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWizard::WizardButton which)
    {
        ASSERT_TRUE(button(which)->isEnabled()) << "button " << which;
        button(which)->click();
    }
    void expectButtons(bool back, bool next) const
    {
        EXPECT_EQ(button(QWizard::BackButton)->isEnabled(), back);
        EXPECT_EQ(button(QWizard::NextButton)->isEnabled(), next);
    }
    QString title() const { return wizard_->windowTitle(); }

    // Screenshots of every page for the documentation, when asked for.
    void snapshot(const std::string& name) const
    {
        const char* folder = std::getenv("VENTORA_SCREENSHOT_DIR");
        if (!folder)
            return;
        QCoreApplication::processEvents();
        wizard_->grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
    }

    // Pages 1 to 4 with Accept chosen; ends on the folder page.
    void walkToFolderPage(Language language);

    TempDir dir_;
    CScriptedMessageBox messages_;
    CFakeFolderDialog folders_;
    CSetupEnvironment environment_;
    std::unique_ptr<CSetupWizard> wizard_;
    int pausedMs_ = 0;
    std::function<void()> onPause_;
};

void SetupWizardTest::walkToFolderPage(Language language)
{
    const CSetupTexts& texts = setupTexts(language);
    bool english = language == Language::English;
    const std::string suffix = english ? "eng" : "ita";
    const std::string folder = kKit + (english ? "/data/ENG/" : "/data/ITA/");
    start();

    // Page 1: Italian captions, Next only.
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::LanguagePage);
    EXPECT_EQ(title(), "Quillon2 Setup");
    expectButtons(false, true);
    EXPECT_EQ(button(QWizard::BackButton)->text(), "Indietro");
    EXPECT_EQ(button(QWizard::NextButton)->text(), "Avanti");
    EXPECT_EQ(button(QWizard::CancelButton)->text(), "Annulla");
    EXPECT_TRUE(child<QRadioButton>("italiano")->isChecked());
    child<QRadioButton>("english")->click();
    EXPECT_EQ(button(QWizard::NextButton)->text(), "Next");
    EXPECT_EQ(button(QWizard::CancelButton)->text(), "Cancel");
    child<QRadioButton>(english ? "english" : "italiano")->click();
    EXPECT_EQ(button(QWizard::BackButton)->text(), fromAnsi(texts.back));
    expectButtons(false, true);
    snapshot("1-language-" + suffix);
    click(QWizard::NextButton);

    // Page 2: the welcome text, disabled; Back stays off.
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::WelcomePage);
    EXPECT_EQ(title(), fromAnsi(texts.setupCaption));
    EXPECT_EQ(child<QPlainTextEdit>("welcomeText")->toPlainText(),
              shownText(folder + "Welcome.txt"));
    EXPECT_FALSE(child<QPlainTextEdit>("welcomeText")->isEnabled());
    expectButtons(false, true);
    snapshot("2-welcome-" + suffix);
    click(QWizard::NextButton);

    // Page 3: Back only until Accept; Decline takes Next away again.
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::LicensePage);
    EXPECT_EQ(title(), fromAnsi(texts.setupCaption));
    EXPECT_EQ(child<QPlainTextEdit>("licenseText")->toPlainText(),
              shownText(folder + "License.txt"));
    auto* accept = child<QRadioButton>("accept");
    auto* decline = child<QRadioButton>("decline");
    EXPECT_EQ(accept->text(), fromAnsi(texts.accept));
    EXPECT_EQ(decline->text(), fromAnsi(texts.decline));
    EXPECT_FALSE(accept->isChecked() || decline->isChecked());
    expectButtons(true, false);
    decline->click();
    expectButtons(true, false);
    accept->click();
    expectButtons(false, true);
    decline->click();
    expectButtons(true, false);

    // Back to page 2 and forward again: the welcome text once, the choice cleared.
    click(QWizard::BackButton);
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::WelcomePage);
    EXPECT_EQ(child<QPlainTextEdit>("welcomeText")->toPlainText(),
              shownText(folder + "Welcome.txt"));
    expectButtons(false, true);
    click(QWizard::NextButton);
    EXPECT_FALSE(accept->isChecked() || decline->isChecked());
    expectButtons(true, false);
    accept->click();
    snapshot("3-licence-" + suffix);
    click(QWizard::NextButton);

    // Page 4: the default folder, Next only.
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::FolderPage);
    EXPECT_EQ(title(), fromAnsi(texts.folderCaption));
    EXPECT_EQ(child<QLabel>("folderLabel")->text(), fromAnsi(texts.folderLabel));
    EXPECT_EQ(child<QPushButton>("browse")->text(), fromAnsi(texts.browse));
    EXPECT_EQ(child<QLineEdit>("folderField")->text().toStdString(), dir_.file("home/Skyvane8u"));
    EXPECT_FALSE(child<QLabel>("status")->isVisible());
    expectButtons(false, true);
    EXPECT_TRUE(button(QWizard::CancelButton)->isEnabled());
    EXPECT_TRUE(messages_.shown().empty());
}

class SetupWizardLanguageTest : public SetupWizardTest,
                                public ::testing::WithParamInterface<Language> {};

TEST_P(SetupWizardLanguageTest, WalksAllPagesAndInstallsTheKit)
{
    Language language = GetParam();
    const CSetupTexts& texts = setupTexts(language);
    bool english = language == Language::English;
    walkToFolderPage(language);
    if (HasFatalFailure())
        return;
    snapshot(english ? "4-folder-eng" : "4-folder-ita");

    onPause_ = [this, english] {
        if (pausedMs_ == 4500) // the plant picture's pause
            snapshot(english ? "4-copying-eng" : "4-copying-ita");
    };
    std::string install = dir_.file("chosen/Skyvane8u");
    fs::create_directories(dir_.file("chosen"));
    folders_.answers = {install + "/"};
    child<QPushButton>("browse")->click();
    EXPECT_EQ(child<QLineEdit>("folderField")->text().toStdString(), install);
    click(QWizard::NextButton);

    // Page 5: only Finish, Cancel gone for good.
    EXPECT_TRUE(messages_.shown().empty()) << messages_.texts()[0];
    ASSERT_EQ(wizard_->currentId(), CSetupWizard::EndPage);
    EXPECT_EQ(pausedMs_, 7500);
    EXPECT_EQ(title(), fromAnsi(texts.setupCaption));
    EXPECT_FALSE(button(QWizard::CancelButton)->isEnabled());
    EXPECT_FALSE(button(QWizard::BackButton)->isVisible());
    EXPECT_FALSE(button(QWizard::NextButton)->isVisible());
    EXPECT_TRUE(button(QWizard::FinishButton)->isVisible());
    EXPECT_EQ(button(QWizard::FinishButton)->text(), fromAnsi(texts.finish));
    EXPECT_EQ(child<QLabel>("endQuestion")->text(), fromAnsi(texts.endQuestion));
    EXPECT_EQ(child<QCheckBox>("desktopCheck")->text(), fromAnsi(texts.desktopCheck));
    EXPECT_TRUE(child<QCheckBox>("desktopCheck")->isChecked());
    EXPECT_EQ(child<QLabel>("englishPicture")->isVisible(), english);
    EXPECT_EQ(child<QLabel>("italianPicture")->isVisible(), !english);
    snapshot(english ? "5-end-eng" : "5-end-ita");

    // Every installed file is the kit's.
    const std::string data = kKit + "/data/";
    EXPECT_EQ(readFile(install + "/License.txt"),
              readFile(data + (english ? "ENG" : "ITA") + "/License.txt"));
    for (const char* name :
         {"Skyvane8u", "Skyvane8u.ini", "port.ini", "Connection.ini", "plant.bmp"})
        EXPECT_EQ(readFile(install + "/" + name), readFile(data + name)) << name;
    EXPECT_TRUE(fs::status(install + "/Skyvane8u").permissions() >= fs::perms::owner_exec);

    click(QWizard::FinishButton);
    EXPECT_EQ(wizard_->result(), QDialog::Accepted);
    EXPECT_FALSE(wizard_->isVisible());
    EXPECT_EQ(readFile(install + "/UnInstall_Skyvane8.txt"),
              dir_.file("home/Desktop/Skyvane8u.desktop") + "\r\r\n");
    EXPECT_TRUE(fs::exists(dir_.file("home/Desktop/Skyvane8u.desktop")));
    EXPECT_TRUE(fs::exists(dir_.file("home/applications/Norvik/Skyvane8u.desktop")));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, SetupWizardLanguageTest,
                         ::testing::Values(Language::Italian, Language::English),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Italian";
                         });

TEST_F(SetupWizardTest, CancelBeforeTheCopyClosesWithoutInstalling)
{
    start();
    click(QWizard::NextButton);
    click(QWizard::CancelButton);
    EXPECT_EQ(wizard_->result(), QDialog::Rejected);
    EXPECT_FALSE(wizard_->isVisible());
    EXPECT_FALSE(fs::exists(dir_.file("home")));
}

TEST_F(SetupWizardTest, ExistingFolderKeptStaysOnTheFolderPageWithoutCancel)
{
    walkToFolderPage(Language::English);
    fs::create_directories(dir_.file("home/Skyvane8u"));
    click(QWizard::NextButton);

    EXPECT_EQ(messages_.texts(),
              std::vector<std::string>{"Folder already exists.Do you want to overwrite it ?"});
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::FolderPage);
    EXPECT_FALSE(fs::exists(dir_.file("home/Skyvane8u/Skyvane8u")));
    EXPECT_FALSE(button(QWizard::CancelButton)->isEnabled());
    expectButtons(false, true);
    // Escape and the close button are refused as well.
    wizard_->reject();
    EXPECT_TRUE(wizard_->isVisible());

    // Another folder, and the copy goes through.
    folders_.answers = {dir_.file("home/Other")};
    child<QPushButton>("browse")->click();
    click(QWizard::NextButton);
    EXPECT_EQ(wizard_->currentId(), CSetupWizard::EndPage);
    EXPECT_TRUE(fs::exists(dir_.file("home/Other/Skyvane8u")));

    child<QCheckBox>("desktopCheck")->setChecked(false);
    click(QWizard::FinishButton);
    EXPECT_FALSE(fs::exists(dir_.file("home/Other/UnInstall_Skyvane8.txt")));
    EXPECT_FALSE(fs::exists(dir_.file("home/Desktop")));
}

TEST_F(SetupWizardTest, MissingTextsAreReportedAndAMissingLicenceEndsTheSetup)
{
    environment_.sourceFolder = dir_.file("empty");
    fs::create_directories(dir_.file("home"));
    start();
    click(QWizard::NextButton);
    EXPECT_EQ(messages_.shown(),
              (std::vector<ShownMessage>{
                  {"Error:Unable to open Wellcome.txt file", MessageIcon::None, false}}));
    EXPECT_EQ(child<QPlainTextEdit>("welcomeText")->toPlainText(), "");
    click(QWizard::NextButton);
    EXPECT_EQ(messages_.texts().back(), "Error:Unable to open License.txt file");
    child<QRadioButton>("accept")->click();
    click(QWizard::NextButton);
    messages_.clear();

    click(QWizard::NextButton);
    EXPECT_EQ(messages_.texts(),
              std::vector<std::string>{"Error in copia della licenza \nInstallazione fallita"});
    EXPECT_EQ(wizard_->result(), QDialog::Rejected);
    EXPECT_FALSE(wizard_->isVisible());
}

} // namespace
