#include <gtest/gtest.h>

#include <sys/stat.h>

#include "export/XdgSpreadsheetApps.h"
#include "tests/support/TempDir.h"

// The real desktop query, with scripts in the place of xdg-mime.
TEST(XdgSpreadsheetApps, AProgramIsThereOnlyWhenTheQueryNamesOne)
{
    struct Case {
        const char* what;
        std::string script; // empty: no such program
        bool canOpen;
    };
    const std::string type = kWorkbookMimeType;
    const Case cases[] = {
        {"names a program for the .xlsx type",
         "[ \"$1 $2 $3\" = \"query default " + type + "\" ] && echo libreoffice-calc.desktop\n",
         true},
        {"names nothing", "exit 0\n", false},
        {"prints a blank line", "echo\n", false},
        {"fails", "echo libreoffice-calc.desktop; exit 1\n", false},
        {"is missing", "", false},
    };
    TempDir dir;
    int n = 0;
    for (const Case& c : cases) {
        std::string path = dir.file("xdg-mime-" + std::to_string(++n));
        if (!c.script.empty()) {
            writeFile(path, "#!/bin/sh\n" + c.script);
            ::chmod(path.c_str(), 0755);
        }
        CXdgSpreadsheetApps apps(QString::fromStdString(path));
        EXPECT_EQ(apps.canOpenWorkbooks(), c.canOpen) << c.what;
    }
}
