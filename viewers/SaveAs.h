#pragma once
// Save As: the save dialog of each viewer, the extension rule and the copy of the opened file.
// The chosen name must end in exactly the viewer's extension ("ivt" or "lvt", compared
// case-sensitively). The copy is written as every output of ours is (files/OutputFile.h): a new
// file beside the chosen one that then replaces it, so a failed copy (unwritable folder, full
// disk) leaves the chosen file as it was; choosing the opened file itself changes nothing.

#include <string>
#include <string_view>

#include "core/FileDialog.h"
#include "core/MessageBox.h"

enum class ViewerFile { Record, Log };

inline constexpr std::string_view kBadExtensionMessage = "ERROR: Bad File extention.";
inline constexpr std::string_view kSaveFailedMessage = "ERROR: Unable to save selected file.";

// Default extension "ivt" or "lvt", default name "Ventora", the program's folder and the
// viewer's one-choice filter.
CFileDialogRequest saveAsRequest(ViewerFile kind, const std::string& appDirectory);

enum class SaveAsResult { Cancelled, BadExtension, SameFile, Saved, Failed };

// Runs the save dialog and copies source to the chosen path. A bad extension shows
// kBadExtensionMessage and a failed copy kSaveFailedMessage (stop icon each).
SaveAsResult saveFileAs(ViewerFile kind, const std::string& source, const std::string& appDirectory,
                        IFileDialog& dialog, IMessageBox& messages);

// Copies source over target as an output of ours: 0, or the errno of the step that failed
// (the new file is removed then).
int copyFileOver(const std::string& source, const std::string& target);
