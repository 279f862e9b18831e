#pragma once
// Writer of an uninstall list: one absolute path per line, each followed by the bytes CR CR LF
// (the on-disk form of a "%s\r\n" line written through a text-mode stream, which the
// uninstaller and existing lists rely on). Each line reaches the disk as soon as it is added.

#include <cstdio>
#include <memory>
#include <string>

class CUninstallList {
public:
    enum class Mode { Create, Append };

    // Opens the list, emptied (Create) or kept (Append). A symbolic link or anything else but a
    // regular file at path is replaced by a new list, never written through. 0 or the errno of
    // the failure.
    int open(const std::string& path, Mode mode);
    bool isOpen() const { return file_ != nullptr; }

    // Adds one line; does nothing when the list is not open. 0 or an errno.
    int addLine(const std::string& path);

    void close() { file_.reset(); }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};

inline constexpr const char* kInstallListName = "UnInstall_Skyvane8u.txt";
inline constexpr const char* kDesktopListName = "UnInstall_Skyvane8.txt";
