#include "tools/modem-sim/CommandLine.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"

namespace modemsim {

namespace {

[[noreturn]] void Fail(const std::string& message) { throw EInvalidArgument(String(message)); }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

long long Number(std::string_view text, long long min, long long max, const std::string& what) {
    text = Trim(text);
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        Fail(what + ": \"" + std::string(text) + "\" is not a number");
    if (value < min || value > max)
        Fail(what + ": " + std::to_string(value) + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    return value;
}

int Level(std::string_view text) { return static_cast<int>(Number(text, -255, 0, "level (dBm)")); }

LevelRange ParseLevelRange(std::string_view text) {
    size_t dots = text.find("..");
    if (dots == std::string_view::npos) {
        int level = Level(text);
        return {level, level};
    }
    LevelRange r{Level(text.substr(0, dots)), Level(text.substr(dots + 2))};
    if (r.low > r.high) Fail("level range " + std::string(text) + ": lowest first");
    return r;
}

// "7-46" or "27"; no sign allowed, so the dash is unambiguous.
std::pair<int, int> ParseChannels(std::string_view text) {
    size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        int ch = static_cast<int>(Number(text, 0, 255, "channel"));
        return {ch, ch};
    }
    int from = static_cast<int>(Number(text.substr(0, dash), 0, 255, "channel"));
    int to = static_cast<int>(Number(text.substr(dash + 1), 0, 255, "channel"));
    if (from > to) Fail("channel range " + std::string(text) + ": lowest first");
    return {from, to};
}

}  // namespace

void ParseLevelEntry(std::string_view entry, ModemOptions& options) {
    entry = Trim(entry);
    size_t eq = entry.find('=');
    if (eq == std::string_view::npos) Fail("level entry \"" + std::string(entry) + "\": expected CH=DBM");
    auto [from, to] = ParseChannels(entry.substr(0, eq));
    LevelRange range = ParseLevelRange(entry.substr(eq + 1));
    for (int ch = from; ch <= to; ++ch) options.levels[ch] = range;
}

void ParseLevelText(std::string_view text, ModemOptions& options) {
    int lineNo = 0;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = Trim(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        try {
            ParseLevelEntry(line, options);
        } catch (const EInvalidArgument& e) {
            Fail("line " + std::to_string(lineNo) + ": " + e.what());
        }
    }
}

ProgramOptions ParseCommandLine(const std::vector<std::string>& args) {
    ProgramOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) Fail(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--device") {
            o.device = value();
        } else if (a == "--channels") {
            auto [from, to] = ParseChannels(value());
            o.sim.modem.minChannel = from;
            o.sim.modem.maxChannel = to;
        } else if (a == "--channel") {
            o.sim.modem.channel = static_cast<int>(Number(value(), 0, 255, "--channel"));
        } else if (a == "--level") {
            ParseLevelEntry(value(), o.sim.modem);
        } else if (a == "--levels") {
            const std::string& path = value();
            std::ifstream in(path, std::ios::binary);
            if (!in) Fail("cannot read level file " + path);
            std::stringstream text;
            text << in.rdbuf();
            try {
                ParseLevelText(text.str(), o.sim.modem);
            } catch (const EInvalidArgument& e) {
                Fail(path + ": " + e.what());
            }
        } else if (a == "--noise") {
            o.sim.modem.noise = ParseLevelRange(value());
        } else if (a == "--latency") {
            o.sim.latency = std::chrono::milliseconds(Number(value(), 0, 60000, "--latency"));
        } else if (a == "--baud") {
            o.sim.baud = static_cast<int>(Number(value(), 0, 4000000, "--baud"));
        } else if (a == "--seed") {
            o.sim.modem.seed = static_cast<uint32_t>(Number(value(), 0, 0xFFFFFFFFLL, "--seed"));
        } else if (a == "--verbose" || a == "-v") {
            o.verbose = true;
        } else if (a == "--exit-on-eof") {
            o.exitOnEof = true;
        } else if (a == "--ini") {
            o.iniFile = value();
        } else if (a == "--write-port") {
            o.writePort = value();
        } else {
            Fail("unknown option " + a);
        }
    }
    if (!o.writePort.empty() && o.iniFile.empty()) Fail("--write-port needs --ini (the settings file to write)");
    const ModemOptions& m = o.sim.modem;
    if (m.channel < m.minChannel || m.channel > m.maxChannel)
        Fail("channel " + std::to_string(m.channel) + " is outside the channel range " +
             std::to_string(m.minChannel) + "-" + std::to_string(m.maxChannel) + " (use --channel)");
    return o;
}

std::string Usage() {
    return R"(Usage: modem-sim [options]

Plays the radio modem on a pseudo-terminal: prints the terminal's device path on the first line,
then answers the modem's commands ("@CH", "@RA", ...) until it gets SIGINT or SIGTERM.

Options:
  --device PATH        serve an existing terminal (a serial port) instead of a new pseudo-terminal
  --channels FROM-TO   channel plan of the model (default 7-46; the 434 MHz units use 0-127)
  --channel N          channel at power-up (default 27, "@CH" answers 1B)
  --level CH=DBM       level of a channel in dBm, e.g. --level 27=-85; repeatable.
                       CH may be a range (7-46=-100), DBM a random range (-120..-100)
  --levels FILE        level entries from a file, one per line in the --level form; "#" comments
  --noise LOW..HIGH    random level of channels without an entry (default -125..-95)
  --latency MS         time between a command and its reply (default 0)
  --baud N             pace the pseudo-terminal as a line at N bit/s (one byte = 10/N s);
                       with --device, the line speed (default 19200)
  --seed N             seed of the random levels (default 1)
  --verbose, -v        print every command received and its reply on standard error
  --exit-on-eof        also stop when standard input ends
  --ini FILE           write the device served as the workbench's port ("Port" of section
                       "ComPort1") into its settings file FILE, keeping everything else
  --write-port NAME    with --ini: write NAME (e.g. ttyUSB0) instead, serve nothing and exit
  --help, -h           this text

In the data modes ("@MDTX", "@MDBI") every byte received is echoed back; closing the terminal
(or, on a real port, dropping DTR) returns to command mode. Unknown commands and bad arguments
are answered "*ER=01" and "*ER=02".
)";
}

void WritePortSetting(const std::string& iniFile, const std::string& port) {
    TMemIniFile ini{String(iniFile)};
    ini.WriteString(u"ComPort1", u"Port", String(port));
    ini.UpdateFile();
}

}  // namespace modemsim
