#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "setup/TextLoader.h"
#include "tests/support/TempDir.h"

namespace {

std::string loaded(const std::string& content)
{
    TempDir dir;
    writeFile(dir.file("Welcome.txt"), content);
    std::string text = "left over from the last activation";
    EXPECT_EQ(loadSetupText(dir.file("Welcome.txt"), text), 0);
    return text;
}

TEST(TextLoader, EachPieceBecomesOneLineOfTheTextBox)
{
    const std::string a127(127, 'a');
    struct Row {
        std::string file;
        std::string text;
    };
    const Row rows[] = {
        {"", ""},
        {"one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"one\ntwo", "one\r\ntwo\r\n"},
        // Stray CRs anywhere in a piece go.
        {"a\rb\r\r\n", "ab\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
        // Windows-1252 bytes pass through untouched.
        {"perch\xE9 \xE8\r\n", "perch\xE9 \xE8\r\n"},
        // A line longer than 127 characters breaks after 127 of them.
        {a127 + "bc\r\n", a127 + "\r\nbc\r\n"},
        {std::string(300, 'x'), std::string(127, 'x') + "\r\n" + std::string(127, 'x') + "\r\n" +
                                    std::string(46, 'x') + "\r\n"},
        // Exactly 127 characters: its line end arrives as a piece of its own.
        {a127 + "\r\nz\r\n", a127 + "\r\n\r\nz\r\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(loaded(row.file), row.text) << row.file.substr(0, 40);
}

TEST(TextLoader, MissingFileLeavesTheTextEmpty)
{
    TempDir dir;
    std::string text = "old";
    EXPECT_EQ(loadSetupText(dir.file("nothing.txt"), text), ENOENT);
    EXPECT_EQ(text, "");
    EXPECT_NE(loadSetupText(dir.path().string(), text), 0);
}

} // namespace

TEST(TextLoader, FileLargerThanMemoryIsRefused)
{
    TempDir dir;
    writeFile(dir.file("Welcome.txt"), "hello\n");
    std::filesystem::resize_file(dir.file("Welcome.txt"), std::uintmax_t{1} << 40);
    std::string text = "left over";
    EXPECT_EQ(loadSetupText(dir.file("Welcome.txt"), text), EFBIG);
    EXPECT_EQ(text, "");
}
