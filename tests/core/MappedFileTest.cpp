// The file snapshot: what it maps, and a file cut shorter while mapped read as zeros past its new
// end instead of raising SIGBUS.
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "core/MappedFile.h"
#include "tests/support/TempDir.h"

TEST(MappedFile, MapsReadsOrRefusesByKindOfFile)
{
    TempDir dir;
    const std::string content(3 * 4096 + 17, 'x');
    writeFile(dir.file("data.ivt"), content);
    writeFile(dir.file("empty.ivt"), "");
    ASSERT_EQ(::mkfifo(dir.file("pipe.ivt").c_str(), 0600), 0);
    struct Case {
        std::string path;
        int result;
        std::string bytes;
        bool mapped;
    };
    const Case cases[] = {
        {dir.file("data.ivt"), 0, content, true},
        {dir.file("empty.ivt"), 0, "", false},
        {dir.file("pipe.ivt"), 0, "", false}, // no writer: read at once as empty
        {dir.file("missing.ivt"), ENOENT, "", false},
        {dir.directory(), EISDIR, "", false},
    };
    for (const Case& c : cases) {
        CMappedFile file;
        EXPECT_EQ(file.open(c.path), c.result) << c.path;
        EXPECT_EQ(file.bytes(), c.bytes) << c.path;
        EXPECT_EQ(file.mapped(), c.mapped) << c.path;
        EXPECT_FALSE(file.damaged()) << c.path;
    }
}

TEST(MappedFile, AFileCutShorterReadsAsZerosPastItsNewEnd)
{
    TempDir dir;
    const std::string content(8 * 4096, 'y');
    writeFile(dir.file("dump.ivt"), content);
    CMappedFile file;
    ASSERT_EQ(file.open(dir.file("dump.ivt")), 0);
    ASSERT_TRUE(file.mapped());
    ASSERT_EQ(::truncate(dir.file("dump.ivt").c_str(), 4096 + 10), 0);

    const std::string_view bytes = file.bytes();
    EXPECT_EQ(bytes.size(), content.size()); // the snapshot's size
    EXPECT_EQ(bytes.substr(0, 4096 + 10), content.substr(0, 4096 + 10));
    EXPECT_FALSE(file.damaged()); // the last page still exists
    EXPECT_EQ(bytes[5 * 4096], '\0'); // past the new end: a zero, not SIGBUS
    EXPECT_TRUE(file.damaged());
    EXPECT_EQ(bytes.substr(2 * 4096), std::string(6 * 4096, '\0'));

    // A later snapshot of the same file is whole again.
    CMappedFile again;
    ASSERT_EQ(again.open(dir.file("dump.ivt")), 0);
    EXPECT_EQ(again.bytes(), content.substr(0, 4096 + 10));
    EXPECT_FALSE(again.damaged());
}
