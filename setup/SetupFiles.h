#pragma once
// The file operations of the setup, with the outcomes it tells apart. Failures return the
// errno of the operation; nothing throws.

#include <string>

enum class FolderResult { Created, Exists, Failed };

// Creates one folder (not its parents). A name holding a line break is refused: it could not
// be written as one line of an uninstall list.
FolderResult createFolder(const std::string& path);

// Copies source over destination, replacing an existing file; the copy keeps the source's
// permission bits, so the program stays executable. 0 or an errno.
int copyReplacing(const std::string& source, const std::string& destination);

// Makes a regular file readable and writable by its owner, the counterpart of clearing the
// read-only attribute. Symbolic links and folders are left alone. 0 or an errno.
int setNormalAttributes(const std::string& path);
