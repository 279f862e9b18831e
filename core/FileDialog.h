#pragma once
// The program's file dialogs behind a small interface, so that tests can choose the file. A
// request carries the dialog's settings in the program's own terms: default extension, default
// name, initial folder and a filter text of "description|patterns|...||" pairs.

#include <string>
#include <string_view>
#include <vector>

struct CFileDialogRequest {
    std::string defaultExtension; // added to a typed name without one
    std::string defaultName;      // file name shown at first
    std::string initialDirectory;
    std::string filter;           // "description|*.a;*.b|description|*.c||"
};

// One choice of a filter text: what the user reads and the wildcard patterns it stands for.
struct CFileFilterEntry {
    std::string description;
    std::vector<std::string> patterns;
    bool operator==(const CFileFilterEntry&) const = default;
};

// Splits a filter text into its choices: descriptions and patterns alternate between "|"
// characters, patterns are separated by ";", blanks around either are dropped, and the list
// ends at the first empty description. A description without patterns is dropped.
std::vector<CFileFilterEntry> parseFileFilter(std::string_view filter);

class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    // Runs the file-open dialog; the chosen path, or empty when the user cancelled.
    virtual std::string askOpenPath(const CFileDialogRequest& request) = 0;
    // Runs the file-save dialog, which asks before it lets an existing file be chosen; the
    // chosen path, or empty when the user cancelled.
    virtual std::string askSavePath(const CFileDialogRequest& request) = 0;
};
