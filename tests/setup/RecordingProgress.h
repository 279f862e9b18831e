#pragma once
// An ICopyProgress for tests: records every call as one readable line, and pauses not at all.

#include <string>
#include <vector>

#include "setup/SetupCopy.h"

class CRecordingProgress final : public ICopyProgress {
public:
    void setWaitCursor(bool on) override { events.push_back(on ? "wait" : "arrow"); }
    void disableCancel() override { events.push_back("no-cancel"); }
    void showStatus() override { events.push_back("show-status"); }
    void setStatus(std::string_view text) override
    {
        events.push_back("status " + std::string(text));
    }
    void stepProgress() override
    {
        events.push_back("step");
        ++steps;
    }
    void pause(int milliseconds) override
    {
        events.push_back("pause " + std::to_string(milliseconds));
        pausedMs += milliseconds;
    }

    std::vector<std::string> events;
    int steps = 0;
    int pausedMs = 0;
};
