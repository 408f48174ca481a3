// The simulated modem's command interpreter fed any lines: every reply is empty or one frame
// ending in CR LF, and the channel stays inside the plan.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/modem-sim/ModemModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    modemsim::ModemOptions options;
    // The first byte picks the unit's channel plan.
    if (data[0] & 1) {
        options.minChannel = 0;
        options.maxChannel = 127;
    }
    modemsim::ModemModel model(options);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\r', start);
        if (end == std::string_view::npos) end = text.size();
        std::string reply = model.Execute(text.substr(start, end - start));
        if (!reply.empty() && (reply.size() < 2 || reply.substr(reply.size() - 2) != "\r\n")) std::abort();
        if (model.Channel() < model.MinChannel() || model.Channel() > model.MaxChannel()) std::abort();
        for (int ch = model.MinChannel(); ch <= model.MaxChannel(); ch += 13) model.LevelOf(ch);
        start = end + 1;
    }
    return 0;
}
