#pragma once
// A viewer's file as its viewer shows it, read apart from the window: the rows (a record file
// with its value columns for the graph, a log file in its two passes), whether the reading
// worked, and the messages the reading would have shown, held back so that the window shows
// them once the reading is over. readViewerFile() is plain model code: the window runs it on a
// worker thread and takes the result by value; a control follows its progress and can stop it.

#include <string>
#include <vector>

#include "core/MessageBox.h"
#include "files/DataTable.h"
#include "files/LoadControl.h"
#include "viewers/SaveAs.h"

struct CHeldMessage {
    std::string text;
    MessageIcon icon = MessageIcon::Stop;
    bool operator==(const CHeldMessage&) const = default;
};

struct CViewerFileData {
    CDataTable rows;
    bool read = false;      // the reader's result: false when the file could not be read
    bool cancelled = false; // stopped through the control: there is nothing to show
    std::vector<CHeldMessage> messages;
};

CViewerFileData readViewerFile(ViewerFile kind, const std::string& path,
                               CLoadControl* control = nullptr);

// Shows the held messages in the order the reading gave them.
void showHeldMessages(const CViewerFileData& data, IMessageBox& messages);
