#pragma once
// Every caption, label and question of the setup wizard in its two languages, as
// Windows-1252 bytes. The copy's failure messages are part of the copy plan.

#include <string>

#include "setup/SetupState.h"

struct CSetupTexts {
    std::string back;
    std::string next;
    std::string cancel;
    std::string finish;
    // Wizard caption of the welcome, licence and last pages.
    std::string setupCaption;
    // Wizard caption of the folder page.
    std::string folderCaption;
    std::string accept;
    std::string decline;
    std::string folderLabel;
    std::string browse;
    // Prefix of the status label while a file is copied.
    std::string copyingPrefix;
    std::string folderExists;
    // An existing folder that another user owns or others may write in.
    std::string folderNotPrivate;
    std::string endQuestion;
    std::string desktopCheck;
};

const CSetupTexts& setupTexts(Language language);

// Fixed texts that do not depend on the language.
namespace setuptext {
inline constexpr const char* kWizardCaption = "Quillon2 Setup";
inline constexpr const char* kLanguageGroup = "Seleziona Lingua \\ Select Language";
inline constexpr const char* kItalian = "Italiano";
inline constexpr const char* kEnglish = "English";
inline constexpr const char* kCopyingFiles = "Copying Files...";
inline constexpr const char* kWelcomeMissing = "Error:Unable to open Wellcome.txt file";
inline constexpr const char* kLicenseMissing = "Error:Unable to open License.txt file";
inline constexpr const char* kFolderFailed = "error creating Skyvane8u folder\nSetup failed";
inline constexpr const char* kListFailed = "Error : unable to open UnInstall_Skyvane8u.txt";
} // namespace setuptext
