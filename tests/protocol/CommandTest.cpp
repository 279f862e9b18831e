#include <gtest/gtest.h>

#include "protocol/Autodetect.h"
#include "protocol/Command.h"
#include "protocol/ReplyParser.h"

TEST(CommandTest, FramesTextByLineTypeAndDialogue)
{
    struct Row {
        int address;
        int type;
        const char* lineType;
        bool dialogue;
        const char* text;
    };
    const Row rows[] = {
        {1, CCommand::Identify, "", false, "D1.."},
        {1, CCommand::Measure, "485", false, "M1.."},
        {0x1F, CCommand::Measure, "485", false, "MF.."}, // only the low four bits
        {10, CCommand::SetupRs485, "485", true, "SA.."},
        {0, CCommand::DataLine, "", false, "*0.."},
        {1, CCommand::DataLine, "232", false, ""},      // RS232 streams by itself
        {1, CCommand::SetupRs232, "232", true, "?"},    // opens the menu
        {1, CCommand::Identify, "232", false, ""},
    };
    for (const Row& row : rows) {
        auto command = CCommand::create(row.address, row.type, row.lineType, row.dialogue);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->text(), row.text) << row.type << " " << row.lineType;
        EXPECT_EQ(command->timeout(), 200);
        EXPECT_EQ(command->type(), row.type);
        EXPECT_EQ(command->address(), row.address);
    }
}

TEST(CommandTest, UnknownTypesCannotBeCreated)
{
    for (int type : {0, 21, 27, -1})
        EXPECT_EQ(CCommand::create(1, type, "485", false), nullptr) << type;
}

TEST(ReplyParserTest, Identification)
{
    struct Row {
        const char* reply;
        bool recognised;
        const char* lineType;
        const char* unit;
    };
    const Row rows[] = {
        {"Vavizi232&m/s&\r", true, "232", "m/s"},
        {"Dirado485&knots&\r", true, "485", "knots"},
        {"Vavizi232&&\r", true, "232", ""},        // two "&" with nothing between
        {"Dirado485&m/s\r", true, "485", ""},      // one "&": no unit
        {"Dirado485&a&b&\r", true, "485", "a&b"},  // first to last "&"
        {"Other&m/s&\r", true, "", "m/s"},         // unknown identity keeps the line type
        {"Vavizi232 &m/s&\r", true, "", "m/s"},
        {"Vavizi232\r", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        auto reply = parseIdentification(row.reply);
        ASSERT_EQ(reply.has_value(), row.recognised) << row.reply;
        if (reply) {
            EXPECT_EQ(reply->lineType, row.lineType) << row.reply;
            EXPECT_EQ(reply->unit, row.unit) << row.reply;
        }
    }
}

TEST(ReplyParserTest, DataTextOfMeasureRepliesAndStreamedLines)
{
    const std::string data(104, 'x');
    const std::string padded = std::string(96, '1') + "   12.5 ";
    EXPECT_EQ(parseMeasureReply("IIIIM1I&" + data + "&\r"), data);
    EXPECT_EQ(parseMeasureReply("anything&" + data + "  &\r"), data);
    EXPECT_EQ(parseMeasureReply("IIIIM1I&abc  \r"), "");  // one "&": empty data
    EXPECT_EQ(parseMeasureReply("IIIIM1I" + data + "\r"), std::nullopt);
    EXPECT_EQ(parseMeasureReply("IIIIM1I&" + padded + "&\r"), padded);
    EXPECT_EQ(parseMeasureReply("IIIIM1I&" + padded + "  &\r"), padded.substr(0, 103));

    const std::string hundred(100, '1');
    const std::pair<std::string, std::string> lines[] = {
        {data + "\r", data},
        {data + "   \r", data},
        {"  12.5   \r", "  12.5"},
        // Exactly 104 characters: a last field padded with a blank keeps the text complete.
        {padded + "\r", padded},
        {padded + "\r\n", padded},
        // Any other length loses its blanks; a longer text is never cut to a complete-looking
        // one, whose fields would be shifted.
        {padded + "  \r", padded.substr(0, 103)},
        {hundred + std::string(6, ' ') + "\r", hundred},
    };
    for (const auto& [line, expected] : lines)
        EXPECT_EQ(parseDataLine(line), expected) << "[" << line << "]";
}

TEST(ReplyParserTest, SplitsWholeFieldsOnly)
{
    struct Row {
        std::size_t length;
        std::size_t fields;
    };
    for (Row row : {Row{0, 0}, Row{7, 0}, Row{8, 1}, Row{100, 12}, Row{104, 13}, Row{130, 13}}) {
        std::string data;
        for (std::size_t i = 0; i < row.length; ++i)
            data += static_cast<char>('a' + i / 8 % 26);
        auto fields = splitDataFields(data);
        ASSERT_EQ(fields.size(), row.fields) << row.length;
        for (std::size_t k = 0; k < fields.size(); ++k)
            EXPECT_EQ(fields[k], std::string(8, static_cast<char>('a' + k))) << row.length;
    }
}

TEST(AutodetectTest, VisitsThreePortsAtFiveRatesThenEnds)
{
    CAutodetect search;
    search.start();
    std::vector<CAutodetect::Setting> visited;
    while (auto setting = search.next(false))
        visited.push_back(*setting);
    ASSERT_EQ(visited.size(), 15u);
    const int rates[] = {9600, 19200, 38400, 57600, 115200};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(visited[i], (CAutodetect::Setting{1 + i / 5, rates[i % 5]})) << i;
}

TEST(AutodetectTest, GarbledAnswersAreTriedSixTimesAndMissingPortsSkipped)
{
    CAutodetect search;
    search.start();
    EXPECT_EQ(search.next(false), (CAutodetect::Setting{1, 9600}));
    for (int retry = 1; retry < 6; ++retry)
        EXPECT_EQ(search.next(true), (CAutodetect::Setting{1, 9600})) << retry;
    EXPECT_EQ(search.next(true), (CAutodetect::Setting{1, 19200}));
    // A garbled answer after a silent one counts from the start again.
    EXPECT_EQ(search.next(true), (CAutodetect::Setting{1, 19200}));
    EXPECT_EQ(search.next(false), (CAutodetect::Setting{1, 38400}));
    search.portFailed();
    EXPECT_EQ(search.next(false), (CAutodetect::Setting{2, 9600}));
    search.portFailed();
    EXPECT_EQ(search.next(false), (CAutodetect::Setting{3, 9600}));
    search.portFailed();
    EXPECT_EQ(search.next(false), std::nullopt);
}
