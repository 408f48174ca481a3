// The modem simulator's receive path fed any bytes, in chunks of any size: the commands it logs,
// their replies and the mode it ends in are those of a second reading of the same bytes, written
// from the line rules (a command starts at "@"; "@DT" carries two hexadecimal digits of length and
// that many bytes of data, line ends inside them included; CR, LF or CR LF end a line, an
// argument is kept up to 1024 characters; in a data mode every byte is looped back) and run
// through a model of its own. So no cut between chunks changes what the modem understood.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/modem-sim/ModemSim.h"

namespace {

using modemsim::LinkMode;
using modemsim::ModemModel;

constexpr size_t kMaxLine = 1024;

struct SecondReading {
    explicit SecondReading(const modemsim::ModemOptions& options) : model(options) {}

    ModemModel model;
    std::vector<std::pair<std::string, std::string>> log;  // line, reply

    void Read(std::string_view in) {
        auto eol = [](char c) { return c == '\r' || c == '\n'; };
        bool skipLf = false;
        for (size_t i = 0; i < in.size();) {
            if (std::exchange(skipLf, false) && in[i] == '\n') {
                ++i;
                continue;
            }
            if (model.Mode() != LinkMode::Command || in[i] != '@') {
                ++i;  // looped back, or noise between commands
                continue;
            }
            std::string line = "@";
            size_t at = i + 1;
            while (line.size() < 3 && at < in.size() && !eol(in[at])) line += in[at++];
            const bool data = line.size() == 3 && std::toupper(static_cast<unsigned char>(line[1])) == 'D' &&
                              std::toupper(static_cast<unsigned char>(line[2])) == 'T';
            if (data) {
                while (line.size() < 5 && at < in.size() && !eol(in[at])) line += in[at++];
                if (line.size() == 5 && std::isxdigit(static_cast<unsigned char>(line[3])) &&
                    std::isxdigit(static_cast<unsigned char>(line[4]))) {
                    size_t length = std::stoul(line.substr(3), nullptr, 16);
                    if (at + length > in.size()) return;  // the data is still coming
                    line.append(in.substr(at, length));
                    at += length;
                }
            }
            for (; at < in.size() && !eol(in[at]); ++at)
                if (line.size() < kMaxLine) line += in[at];
            if (at == in.size()) return;  // the line has not ended yet
            log.emplace_back(line, model.Execute(line));
            skipLf = in[at] == '\r';
            i = at + 1;
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte sets the chunk size the line delivers, the second the unit's channel plan.
    const size_t chunk = 1 + data[0] % 97;
    modemsim::SimOptions options;
    if (data[1] & 1) {
        options.modem.minChannel = 0;
        options.modem.maxChannel = 127;
    }
    options.modem.seed = data[1] >> 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    modemsim::ModemSim sim(options);
    for (size_t at = 0; at < bytes.size(); at += chunk) sim.Receive(bytes.substr(at, chunk));

    SecondReading second(options.modem);
    second.Read(bytes);
    const std::vector<modemsim::LoggedCommand> log = sim.Log();
    if (log.size() != second.log.size()) std::abort();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].line != second.log[i].first || log[i].reply != second.log[i].second) std::abort();
    if (sim.Mode() != second.model.Mode() || sim.Channel() != second.model.Channel()) std::abort();
    return 0;
}
