#pragma once
// The file operations of the setup, with the outcomes it tells apart. Failures return the
// errno of the operation; nothing throws.

#include <string>
#include <string_view>

#include "core/ConfinedFolder.h"

enum class FolderResult { Created, Exists, Failed };

// Creates one folder (not its parents). A name holding a line break is refused: it could not
// be written as one line of an uninstall list.
FolderResult createFolder(const std::string& path);

// The writers below never write through what stands at the destination: the new content goes to
// a new file beside it, renamed over it, so a symbolic link there is replaced and the file it
// leads to (perhaps outside the installation) is left alone.

// True when an existing folder may hold an installation: a folder of the user running the
// setup that neither group nor others may write in (they could swap the program that the
// launcher starts later).
bool folderIsPrivate(const std::string& path);

// Copies source over destination, replacing an existing file; the copy keeps the source's
// permission bits (never setuid or setgid), so the program stays executable. 0 or an errno; a failed copy leaves the
// destination as it was.
int copyReplacing(const std::string& source, const std::string& destination);

// Writes bytes as the file at path, replacing what is there, with the given permission bits
// (-1: those of a new file). 0 or an errno.
int writeReplacing(const std::string& path, std::string_view bytes, int mode = -1);

// Opens path for writing (fd, close-on-exec): emptied (a new file replacing what is there) or,
// with append, added to when it is a regular file and created anew otherwise. 0 or an errno.
int openForWriting(const std::string& path, bool append, int& fd);

// Makes a regular file readable and writable by its owner, the counterpart of clearing the
// read-only attribute, when path lies inside scope (the installation). Symbolic links, folders
// and paths outside are left alone (EPERM for those). 0 or an errno.
int setNormalAttributes(const CConfinedFolder& scope, const std::string& path);
