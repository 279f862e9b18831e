// The JSON of a sample as the archiver and the window program's remote station read it from the
// network, and the topic it came on. What is accepted goes back out and reads the same.
#include <cstdint>
#include <string_view>

#include "core/Unit.h"
#include "files/RecordingWriter.h"
#include "mqtt/MqttTopics.h"
#include "mqtt/SamplePayload.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto station = stationOfSampleTopic("ventora", text))
        FUZZ_CHECK(isStationName(*station) && text == sampleTopic("ventora", *station));
    SampleMessage message;
    if (!parseSamplePayload(text, message))
        return 0;
    FUZZ_CHECK(isStationName(message.station));
    FUZZ_CHECK(message.seq > 0);
    FUZZ_CHECK(makesRecordingLine(message.dataText));
    FUZZ_CHECK(message.recordingTime.size() == 19);
    const Unit unit;
    SampleMessage again;
    FUZZ_CHECK(parseSamplePayload(samplePayload(message.station, message.seq,
                                                message.recordingTime, message.dataText, unit),
                                  again));
    FUZZ_CHECK(again.station == message.station && again.seq == message.seq &&
               again.recordingTime == message.recordingTime &&
               again.dataText == message.dataText);
    return 0;
}
