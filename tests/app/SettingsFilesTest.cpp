#include <gtest/gtest.h>

#include "app/SettingsFiles.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

CConnConfig loadConnection(const std::string& content, CScriptedMessageBox& messages)
{
    TempDir dir;
    writeFile(dir.file("Connection.ini"), content);
    CConnConfig config;
    loadConnectionSettings(dir.directory(), config, messages);
    return config;
}

} // namespace

TEST(ConnectionSettings, ReadsEveryKeyWithBlanksAfterTheEqualsSign)
{
    CScriptedMessageBox messages;
    CConnConfig config = loadConnection("CONN_MODE=0\r\nCOM_PORT=   3\nCOM_BAUDRATE=38400\n"
                                        "SERVER_MODE=2\nIP_ADDRESS= 10.0.0.7 \nIP_PORT=502\n"
                                        "MODEM_PORT=4\nMODEM_BAUDRATE=19200",
                                        messages);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(config.connMode, 0);
    EXPECT_EQ(config.comPort, 3);
    EXPECT_EQ(config.comBaudrate, 38400);
    EXPECT_EQ(config.serverMode, 2);
    EXPECT_EQ(config.ipAddress, "10.0.0.7");
    EXPECT_EQ(config.ipPort, 502);
    EXPECT_EQ(config.modemPort, 4);
    // The last line has no line feed and is still read.
    EXPECT_EQ(config.modemBaudrate, 19200);
}

TEST(ConnectionSettings, ValueComesFromTheColumnAfterTheKeyLength)
{
    CScriptedMessageBox messages;
    // Indented by two blanks: the value starts two characters early ("T=3", "RT=12345").
    CConnConfig config = loadConnection("  COM_PORT=3\n  MODEM_PORT=12345\n", messages);
    EXPECT_EQ(config.comPort, 0);
    EXPECT_EQ(config.modemPort, 0);
    // Indented by one blank with a long value: "=123456" still reads 0; a key further in reads
    // whatever the fixed column holds.
    config = loadConnection("xxCONN_MODE=7\nIP_ADDRESS=\n", messages);
    EXPECT_EQ(config.connMode, 0);
    EXPECT_EQ(config.ipAddress, "");
}

TEST(ConnectionSettings, MalformedNumbersReadAsZeroAndLinkFieldsAreNeverLoaded)
{
    CScriptedMessageBox messages;
    TempDir dir;
    writeFile(dir.file("Connection.ini"),
              "CONN_MODE=abc\nCOM_PORT=7x\nLINK_PORT=5\nlinkBaudrate=9600\nCOM_BAUDRATE=-12\n");
    CConnConfig config;
    config.linkPort = 2;
    config.linkBaudrate = 57600;
    loadConnectionSettings(dir.directory(), config, messages);
    EXPECT_EQ(config.connMode, 0);
    EXPECT_EQ(config.comPort, 7);
    EXPECT_EQ(config.comBaudrate, -12);
    EXPECT_EQ(config.linkPort, 2);
    EXPECT_EQ(config.linkBaudrate, 57600);
}

TEST(ConnectionSettings, LongLineIsReadInPiecesOf79Characters)
{
    CScriptedMessageBox messages;
    // The key stands after 75 blanks, so the first piece holds "    COM_" only and the second
    // piece "PORT=9" contains no key.
    std::string line = std::string(75, ' ') + "COM_PORT=9\n";
    CConnConfig config = loadConnection(line, messages);
    EXPECT_EQ(config.comPort, -1);
}

TEST(ConnectionSettings, MissingFileWarnsAndKeepsTheDefaults)
{
    CScriptedMessageBox messages;
    TempDir dir;
    CConnConfig config;
    loadConnectionSettings(dir.directory(), config, messages);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0],
              (ShownMessage{"WARNING: Unable to open file Connection.ini",
                            MessageIcon::Information, false}));
    EXPECT_EQ(config.connMode, -1);
    EXPECT_EQ(config.ipAddress, "-1");
    EXPECT_EQ(config.modemBaudrate, -1);
}

TEST(PackageSettings, HandbookAndServerPort)
{
    struct Row {
        const char* content;
        const char* handbook;
        int serverPort;
    };
    const Row rows[] = {
        {"HANDBOOK = manual.pdf \nSERVER_PORT= 1024 \n", "manual.pdf", 1024},
        {"SERVER_PORT=abc\n", "", 0},
        {"MY_HANDBOOK_FILE=a=b\n", "a=b", 0},
        {"HANDBOOK=first\nHANDBOOK=second", "second", 0},
        // One line matching both tests: both take the text after the first "=".
        {"HANDBOOK SERVER_PORT=80\n", "80", 80},
        {"HANDBOOK without value\n", "", 0},
    };
    for (const Row& row : rows) {
        CScriptedMessageBox messages;
        TempDir dir;
        writeFile(dir.file("Skyvane8u.ini"), row.content);
        PackageSettings settings;
        loadPackageSettings(dir.directory(), settings, messages);
        EXPECT_EQ(settings.handbook, row.handbook) << row.content;
        EXPECT_EQ(settings.serverPort, row.serverPort) << row.content;
        EXPECT_TRUE(messages.shown().empty());
    }
}

TEST(PackageSettings, MissingFileShowsAPlainMessageNamingIt)
{
    CScriptedMessageBox messages;
    TempDir dir;
    PackageSettings settings;
    loadPackageSettings(dir.directory(), settings, messages);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::None);
    EXPECT_NE(messages.shown()[0].text.find("Skyvane8u.ini"), std::string::npos);
    EXPECT_EQ(settings.serverPort, 0);
    EXPECT_EQ(settings.handbook, "");
}
