#pragma once
// A new file beside another one: the first step of replacing a file safely. The content goes
// to the new file, which is renamed over the target only when it is complete, so a failure
// leaves the target as it was, and a symbolic link at the target is replaced, not followed.

#include <string>

// Creates a new, empty file with a unique hidden name (".<name>.<number>.tmp") in the folder of
// target, open for writing (fd, close-on-exec), with the mode a new file gets (0666 less the
// umask). 0, or the errno of the failure with fd -1.
int createSiblingFile(const std::string& target, std::string& path, int& fd);

// Renames path over target (atomically replacing a file or a link there); on failure path is
// removed. 0 or the errno of the rename.
int renameOver(const std::string& path, const std::string& target);
