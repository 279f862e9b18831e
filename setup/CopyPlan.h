#pragma once
// What the setup copies, as data: one entry per installed file with its status name, source,
// destination, pauses, failure message and progress steps. Two tables exist: the one of the
// original Windows kit and the Linux one, which installs the program file "Skyvane8u" and leaves
// out the Windows runtime libraries.

#include <string>
#include <vector>

#include "core/MessageBox.h"

struct CCopyEntry {
    // Shown after the status prefix, with its leading blank.
    std::string statusName;
    // Below the source's data folder; in its language folder (ENG, ITA) when perLanguage is set.
    std::string sourceName;
    bool perLanguage = false;
    // Below the installation folder.
    std::string destinationName;
    int pauseBeforeMs = 0;
    std::string failureText;
    MessageIcon failureIcon = MessageIcon::Exclamation;
    // A failure ends the setup at once; otherwise the copy goes on.
    bool failureEndsSetup = false;
    int progressSteps = 0;
    int pauseAfterMs = 0;
};

struct CCopyPlan {
    std::vector<CCopyEntry> entries;
    // The installed program, target of the launchers.
    std::string programName;
};

namespace copytext {
inline constexpr const char* kLicenseFailed =
    "Error in copia della licenza \nInstallazione fallita";
inline constexpr const char* kProgramFailed =
    "Errore durante la copia dell' eseguibile \nInstallazione fallita";
inline constexpr const char* kSettingsFailed =
    "Errore nella creazione della cartella Quillon2.\nInstallazione fallita";
inline constexpr const char* kConfigurationFailed =
    "Errore durante la copia dei file di configurazione (port.ini). \nInstallazione fallita";
inline constexpr const char* kRuntimeFailed =
    "Errore durante la copia del file Msvcp60.dll \nInstallazione fallita.";
} // namespace copytext

// The table of the Windows kit: nine files, twelve progress steps with the folder step and the
// final one, eight seconds of pauses with the final two.
CCopyPlan windowsCopyPlan();

// The table installed on this platform.
CCopyPlan linuxCopyPlan();
