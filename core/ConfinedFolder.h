#pragma once
// Paths that must stay inside one folder (an installation): the uninstaller deletes, and the
// setup changes attributes, only where a path resolves inside it. A path is inside when its
// parent folder, with every link on the way resolved, is the folder or lies below it, and its
// last part is a plain name. Relative paths count from the folder; a ".." anywhere and a NUL byte
// are refused outright. A few files outside the folder (the launchers the setup made) may be
// allowed one by one. The folder "/" holds nothing: it would confine nothing.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where a path resolved to: its parent folder, canonical, and its name in that folder.
struct CConfinedTarget {
    std::string folder;
    std::string name;
};

enum class Confinement {
    Inside,     // target set
    Outside,    // outside the folder, or a ".." or NUL byte in it
    Unresolved, // the parent folder does not exist (or cannot be looked at): nothing to do
};

class CConfinedFolder {
public:
    // folder: canonicalised here; one that does not exist holds nothing.
    explicit CConfinedFolder(const std::string& folder);

    // Also takes exactly this file, wherever it is.
    void allowFile(const std::string& path);

    // The canonical folder; empty when it holds nothing.
    const std::string& folder() const { return folder_; }

    Confinement resolve(std::string_view path, CConfinedTarget& target) const;

private:
    std::string folder_;
    std::vector<std::pair<std::string, std::string>> allowed_; // canonical parent, name
};

// Opens the target's folder by walking its canonical path one folder at a time without
// following a link, so a link swapped in since resolve() is refused (ELOOP or ENOTDIR). An
// O_PATH descriptor for the *at() calls (close-on-exec), or -1 with errno set.
int openConfinedFolder(const CConfinedTarget& target);
