#pragma once
// A main frame in a temporary program folder with scripted message boxes, a scripted file
// dialog and viewers that only record what they were asked to open. COM1..COM3 point at missing
// devices in that folder until a test maps one to a simulator.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/frame/FileOpen.h"
#include "app/frame/MainFrame.h"
#include "app/VentoraApp.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

class CRecordedViewers final : public IFileViewers {
public:
    void runRecordViewer(const std::string& path) override { runs.push_back("record " + path); }
    void runLogViewer(const std::string& path) override { runs.push_back("log " + path); }

    std::vector<std::string> runs;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest();
    ~FrameTest() override;

    // COMn opens path from now on.
    void mapCom(int n, const std::string& path);
    // Answers the two questions of the autodetect command and starts it.
    void startAutodetect(bool deleteRecording);
    // Answers "Confirm disconnection ?" with Yes and disconnects.
    void disconnect();

    std::string linkPane() { return frame->linkPaneText(); }
    bool actionEnabled(int id) { return frame->commandAction(id)->isEnabled(); }
    int rows() { return frame->view().rowCount(); }
    std::string cell(int row, int column) { return frame->view().cellText(row, column); }
    int columns() { return frame->view().tableModel().columnCount(); }
    // The text of column 0 of every row.
    std::vector<std::string> firstColumn();

    TempDir dir;
    CScriptedMessageBox messages;
    std::unique_ptr<CVentoraApp> app;
    std::unique_ptr<CMainFrame> frame;
    CScriptedFileDialog* fileDialog = nullptr; // owned by the frame
    CRecordedViewers viewers;
};
