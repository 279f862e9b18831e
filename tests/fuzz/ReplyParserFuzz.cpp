// Instrument replies as the protocol reads them: identification, measure replies, streamed
// data lines and their fields.
#include <cstdint>
#include <string_view>

#include "protocol/ReplyParser.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    if (const auto identification = parseIdentification(reply)) {
        FUZZ_CHECK(identification->lineType.empty() || identification->lineType == "232" ||
                   identification->lineType == "485");
        FUZZ_CHECK(identification->unit.size() < size);
    } else {
        FUZZ_CHECK(reply.find('&') == std::string_view::npos);
    }
    const auto measure = parseMeasureReply(reply);
    FUZZ_CHECK(measure.has_value() == (reply.find('&') != std::string_view::npos));
    for (const std::string& text : {measure.value_or(""), parseDataLine(reply)}) {
        FUZZ_CHECK(text.size() <= size);
        const auto fields = splitDataFields(text);
        FUZZ_CHECK(fields.size() <= kFieldCount);
        FUZZ_CHECK(fields.size() == std::min(kFieldCount, text.size() / kFieldWidth));
        for (std::string_view field : fields)
            FUZZ_CHECK(field.size() == kFieldWidth);
    }
    return 0;
}
