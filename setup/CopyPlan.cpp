#include "setup/CopyPlan.h"

namespace {

CCopyEntry licenseEntry()
{
    CCopyEntry entry;
    entry.statusName = " License.Txt";
    entry.sourceName = "License.txt";
    entry.perLanguage = true;
    entry.destinationName = "License.txt";
    entry.pauseBeforeMs = 500;
    entry.failureText = copytext::kLicenseFailed;
    entry.failureIcon = MessageIcon::Stop;
    entry.failureEndsSetup = true;
    return entry;
}

CCopyEntry fileEntry(const std::string& name, int pauseBefore, const char* failureText, int steps,
                     int pauseAfter)
{
    CCopyEntry entry;
    entry.statusName = " " + name;
    entry.sourceName = name;
    entry.destinationName = name;
    entry.pauseBeforeMs = pauseBefore;
    entry.failureText = failureText;
    entry.progressSteps = steps;
    entry.pauseAfterMs = pauseAfter;
    return entry;
}

// The rows both tables share, with the program file named for its platform.
std::vector<CCopyEntry> commonEntries(const std::string& program)
{
    using namespace copytext;
    return {
        licenseEntry(),
        fileEntry(program, 500, kProgramFailed, 2, 500),
        fileEntry("Skyvane8u.ini", 500, kSettingsFailed, 0, 500),
        fileEntry("port.ini", 500, kConfigurationFailed, 2, 500),
        fileEntry("Connection.ini", 500, kConfigurationFailed, 2, 500),
        fileEntry("plant.bmp", 500, kConfigurationFailed, 2, 500),
    };
}

} // namespace

CCopyPlan windowsCopyPlan()
{
    CCopyPlan plan{commonEntries("Skyvane8u.exe"), "Skyvane8u.exe"};
    plan.entries.push_back(fileEntry("Msvcp60.dll", 0, copytext::kRuntimeFailed, 2, 0));
    plan.entries.push_back(fileEntry("MSVCRT.DLL", 500, copytext::kRuntimeFailed, 0, 0));
    plan.entries.push_back(fileEntry("MFC42.DLL", 0, copytext::kRuntimeFailed, 0, 0));
    return plan;
}

CCopyPlan linuxCopyPlan() { return CCopyPlan{commonEntries("Skyvane8u"), "Skyvane8u"}; }
