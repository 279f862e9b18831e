#pragma once
// Wizard-wide state of the setup program: the chosen language, the folder the setup was started
// from (the source of every installed file) and the installation folder.

#include <string>

enum class Language { Italian = 0, English = 1 };

struct CSetupState {
    Language language = Language::Italian;
    // Ends in one separator.
    std::string sourceFolder;
    // Never ends in a separator.
    std::string installFolder;
};
