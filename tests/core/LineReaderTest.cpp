#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "core/LineReader.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> pieces(const std::string& content, std::size_t maxChars)
{
    TempDir dir;
    writeFile(dir.file("f.txt"), content);
    CLineReader reader(maxChars);
    EXPECT_TRUE(reader.open(dir.file("f.txt")));
    std::vector<std::string> result;
    std::string_view piece;
    while (reader.next(piece))
        result.emplace_back(piece);
    return result;
}

} // namespace

TEST(LineReader, SplitsLikeFgetsOnATextModeStream)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(pieces("ab\ncd", 10), (V{"ab\n", "cd"}));
    EXPECT_EQ(pieces("ab\r\n\r\n", 10), (V{"ab\n", "\n"}));
    // CR CR LF reads as CR LF.
    EXPECT_EQ(pieces("ab\r\r\n", 10), (V{"ab\r\n"}));
    // A line of exactly maxChars characters: its line feed comes as a piece of its own.
    EXPECT_EQ(pieces("abcd\nx\n", 4), (V{"abcd", "\n", "x\n"}));
    EXPECT_EQ(pieces("abc\nx", 4), (V{"abc\n", "x"}));
    // CR LF counts as one character.
    EXPECT_EQ(pieces("abc\r\nx", 4), (V{"abc\n", "x"}));
    EXPECT_EQ(pieces("abcdefghij", 4), (V{"abcd", "efgh", "ij"}));
    EXPECT_EQ(pieces("", 4), V{});
}

TEST(LineReader, LongFileAcrossBlockBoundaries)
{
    std::string content;
    for (int i = 0; i < 40000; ++i)
        content += std::string(static_cast<std::size_t>(i % 300), 'a' + i % 26) + "\r\r\n";
    auto got = pieces(content, 255);
    std::size_t expected = 0;
    for (int i = 0; i < 40000; ++i)
        expected += (i % 300 + 1) >= 255 ? 2 : 1; // text + CR, then the LF or the tail
    EXPECT_EQ(got.size(), expected);
    std::string joined;
    for (auto& piece : got)
        joined += piece;
    std::string translated;
    for (std::size_t i = 0; i < content.size(); ++i)
        if (!(content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n'))
            translated += content[i];
    EXPECT_EQ(joined, translated);
}

TEST(LineReader, MissingFileOrFolderDoesNotOpen)
{
    TempDir dir;
    CLineReader reader(10);
    EXPECT_FALSE(reader.open(dir.file("missing")));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(reader.open(dir.directory()));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_FALSE(reader.isOpen());
}

// A read that fails is no end of file: the reader stops and says why.
TEST(LineReader, ReadErrorIsNotTheEnd)
{
    CLineReader reader(10);
    ASSERT_TRUE(reader.open("/proc/self/mem")); // reading its first page fails with EIO
    std::string_view piece;
    EXPECT_FALSE(reader.next(piece));
    EXPECT_EQ(reader.error(), EIO);
}
