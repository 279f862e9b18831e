#pragma once
// File > Open: the dialog's settings and the choice of viewer by the chosen file's extension,
// compared case-sensitively ("ivt" record files, "lvt" log files). The viewers are reached
// through IFileViewers; each runs modally on the path it is given.

#include <string>
#include <string_view>

#include "core/FileDialog.h"

inline constexpr std::string_view kOpenFileFilter =
    "Ventora files (*.ivt;*.lvt)|*.ivt;*.lvt; | Instrument Ventora files (*.ivt;)|*.ivt; | "
    "Logger Ventora files (*.lvt;)|*.lvt||";

// The file-open dialog of the Open command: default extension "ivt", default name "Ventora",
// starting in the program's folder.
CFileDialogRequest openFileRequest(const std::string& appDirectory);

enum class ViewerKind { None, Record, Log };

// The text after the last "." of the path's file name; empty when there is none.
std::string fileExtension(std::string_view path);

// Record viewer for exactly "ivt", log viewer for exactly "lvt", nothing otherwise.
ViewerKind viewerForPath(std::string_view path);

class IFileViewers {
public:
    virtual ~IFileViewers() = default;
    virtual void runRecordViewer(const std::string& path) = 0;
    virtual void runLogViewer(const std::string& path) = 0;
};
