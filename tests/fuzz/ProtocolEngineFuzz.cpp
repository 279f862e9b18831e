// The protocol engine driven by a script of events, one per line, with the test fakes around it:
//   A<answers>  autodetect, the message boxes answered by the letters (y yes, else no)
//   X<answers>  exit          D  disconnect        F  line failure
//   Q  "?" typed (set-up menu request)            C  a dialogue line completed by the reader
//   T<ms>       time passes (at most a minute)
//   R<text>     the reader hands over text and CR; r<text> the text alone
//   I<identity> an instrument on COM1 at 9600 answering D and M (streaming when RS232)
//   M<name>     that COM name cannot be opened
//   E<event>    the next recorded line runs that event (D, F, X or T) meanwhile, as a message
//               box pumping events would
// Unknown lines are ignored.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/CText.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/protocol/ProtocolFakes.h"

namespace {

void answer(CScriptedMessageBox& messages, std::string_view letters)
{
    for (char c : letters)
        messages.answer(c == 'y');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view script(reinterpret_cast<const char*>(data), size);
    CProtocolRig rig;
    std::unique_ptr<CFakeInstrument> instrument;
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        if (line.empty())
            continue;
        const std::string_view rest = line.substr(1);
        switch (line[0]) {
        case 'A':
            answer(rig.messages, rest);
            rig.engine.OnAutodetect();
            break;
        case 'X':
            answer(rig.messages, rest);
            rig.engine.OnExit();
            break;
        case 'D':
            rig.engine.OnDisconnect();
            break;
        case 'F':
            rig.engine.OnLineFailure();
            break;
        case 'Q':
            rig.engine.requestDialogue();
            break;
        case 'C':
            rig.engine.OnDialogueLineComplete();
            break;
        case 'T':
            rig.time.advance(std::clamp(ctext::toInt(rest), 0, 60000));
            break;
        case 'R':
            rig.deliver(std::string(rest) + "\r");
            break;
        case 'r':
            rig.deliver(std::string(rest));
            break;
        case 'I':
            if (!instrument) {
                InstrumentConfig config;
                config.identity = std::string(rest);
                config.streamPeriodMs = rest.find("232") != std::string_view::npos ? 1000 : 0;
                instrument = std::make_unique<CFakeInstrument>(rig, config);
            }
            break;
        case 'M':
            rig.port.missing.insert(std::string(rest));
            break;
        case 'E': {
            const char event = rest.empty() ? 'D' : rest[0];
            rig.sink.duringAppend = [&rig, event] {
                rig.sink.duringAppend = nullptr;
                if (event == 'D')
                    rig.engine.OnDisconnect();
                else if (event == 'F')
                    rig.engine.OnLineFailure();
                else if (event == 'X')
                    rig.engine.OnExit();
                else if (event == 'T')
                    rig.time.advance(2500);
            };
            break;
        }
        default:
            break;
        }
        // The frame enables exactly one of its two link commands at any time.
        FUZZ_CHECK(rig.engine.canAutodetect() != rig.engine.canDisconnect());
    }
    return 0;
}
