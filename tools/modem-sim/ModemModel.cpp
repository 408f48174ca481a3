#include "tools/modem-sim/ModemModel.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/rtl/Exceptions.h"

namespace modemsim {

namespace {

enum class Kind {
    Byte,        // two hexadecimal digits, 0..max
    Channel,     // two hexadecimal digits inside the channel plan
    Word,        // one of the code's value words
    ReadOnly,    // a fixed answer, no setting
    UserId,      // four hexadecimal digits, optionally "," + a four-digit code
    UniqueId,    // "@PI", "@PIS", "@PIR", "@PIT", "@PIC"
    Level,       // "@RA", "@RS"
    AirMonitor,  // "@AM" + channel + two digits
    Data,        // "@DT" + length + bytes
    Reset,       // "@IZ"
};

struct CommandInfo {
    const char* code;
    Kind kind;
    int max = 0xFF;
    std::array<const char*, 3> words{};
};

// Every command the workbench's pages send. The word rows are the modem's value words.
const CommandInfo kCommands[] = {
    {"CH", Kind::Channel},
    {"GI", Kind::Byte},
    {"EI", Kind::Byte},
    {"DI", Kind::Byte},
    {"PS", Kind::Byte},
    {"PO", Kind::Byte},
    {"PT", Kind::Byte},
    {"PM", Kind::Byte},
    {"PF", Kind::Byte},
    {"BR", Kind::Byte},
    {"SB", Kind::Byte},
    {"TB", Kind::Byte},
    {"TC", Kind::Byte},
    {"SR", Kind::Byte},
    {"PW", Kind::Byte},
    {"SF", Kind::Byte, 5},
    {"MO", Kind::Byte, 4},
    {"MD", Kind::Word, 0, {"CD", "TX", "BI"}},
    {"CT", Kind::Word, 0, {"ON", "OF"}},
    {"RM", Kind::Word, 0, {"CD", "TX"}},
    {"CS", Kind::Word, 0, {"EN", "DI"}},
    {"RI", Kind::Word, 0, {"ON", "OF"}},
    {"SI", Kind::Word, 0, {"ON", "OF"}},
    {"RR", Kind::Word, 0, {"ON", "OF"}},
    {"EC", Kind::Word, 0, {"ON", "OF"}},
    {"PB", Kind::Word, 0, {"NO", "EV", "OD"}},
    {"RT", Kind::ReadOnly},
    {"VR", Kind::ReadOnly},
    {"SN", Kind::ReadOnly},
    {"FV", Kind::ReadOnly},
    {"UI", Kind::UserId},
    {"PI", Kind::UniqueId},
    {"RA", Kind::Level},
    {"RS", Kind::Level},
    {"AM", Kind::AirMonitor},
    {"DT", Kind::Data},
    {"IZ", Kind::Reset},
};

const CommandInfo* FindCommand(std::string_view code) {
    for (const CommandInfo& s : kCommands)
        if (code == s.code) return &s;
    return nullptr;
}

bool IsHex(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isxdigit(c); });
}

int ParseHex(std::string_view s) { return std::stoi(std::string(s), nullptr, 16); }

std::string Upper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

std::string Hex(uint32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string r(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) r[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return r;
}

void CheckLength(std::string_view bytes) {
    if (bytes.size() > 255) throw EInvalidArgument("a data frame carries at most 255 bytes");
}

}  // namespace

std::string HexByte(int value) { return Hex(static_cast<uint32_t>(value) & 0xFF, 2); }

std::string ValueFrame(std::string_view code, std::string_view payload) {
    std::string r = "*";
    r += code;
    r += '=';
    r += payload;
    r += "\r\n";
    return r;
}

std::string ErrorFrame(int error) { return ValueFrame("ER", HexByte(error)); }

std::string LevelFrame(std::string_view code, int dBm) {
    int magnitude = std::clamp(-dBm, 0, 999);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < 2) digits.insert(0, 1, '0');
    return ValueFrame(code, "-" + digits + "dBm");
}

std::string AirMonitorFrame(int dBm) { return ValueFrame("AM", HexByte(std::clamp(dBm + 256, 0, 255))); }

std::string DataFrame(std::string_view bytes) {
    CheckLength(bytes);
    return ValueFrame("DR", HexByte(static_cast<int>(bytes.size())) + std::string(bytes));
}

std::string BinaryFrame(std::string_view bytes, std::string_view tag) {
    CheckLength(bytes);
    if (tag.size() != 2) throw EInvalidArgument("the tag of a binary frame is two characters");
    return ValueFrame("DC", std::string(tag) + HexByte(static_cast<int>(bytes.size())) + std::string(bytes));
}

std::vector<std::string> MultipartFrames(std::string_view data, size_t partSize) {
    if (partSize == 0 || partSize > 252) throw EInvalidArgument("part size must be 1..252");
    size_t parts = std::max<size_t>(1, (data.size() + partSize - 1) / partSize);
    if (parts > 254) throw EInvalidArgument("a multi-part transfer has at most 254 data parts");
    const char count = static_cast<char>(parts + 1);
    std::vector<std::string> frames;
    frames.push_back(BinaryFrame(std::string{'\x07', count, '\0'}));
    for (size_t p = 1; p <= parts; ++p) {
        std::string body{'\x07', count, static_cast<char>(p)};
        size_t from = (p - 1) * partSize;
        if (from < data.size()) body += data.substr(from, partSize);
        frames.push_back(BinaryFrame(body));
    }
    return frames;
}

std::string PortResponseFrame(std::string_view kind, std::string_view field2, std::string_view field3) {
    if (kind.size() != 2 || field2.size() != 2 || field3.size() != 2)
        throw EInvalidArgument("port response fields are two characters each");
    return ValueFrame("PR", std::string(kind) + std::string(field2) + std::string(field3));
}

ModemModel::ModemModel(ModemOptions options) : FOptions(std::move(options)), FRandom(FOptions.seed) {
    if (FOptions.minChannel < 0 || FOptions.maxChannel > 255 || FOptions.minChannel > FOptions.maxChannel)
        throw EInvalidArgument("channel range must lie within 0..255, lowest first");
    if (FOptions.channel < FOptions.minChannel || FOptions.channel > FOptions.maxChannel)
        throw EInvalidArgument("the power-up channel lies outside the channel range");
    if (FOptions.version.size() != 2 || FOptions.serialNumber.size() != 2)
        throw EInvalidArgument("version and serial number answers are two characters");
    Reset();
}

void ModemModel::Reset() {
    FSettings.clear();
    for (const CommandInfo& s : kCommands) {
        if (s.kind == Kind::Byte) FSettings[s.code] = "00";
        if (s.kind == Kind::Word) FSettings[s.code] = s.words[0];
    }
    // The words of these codes list the "on" state first; the modem starts with them off.
    for (const char* code : {"CT", "RI", "SI", "RR", "EC"}) FSettings[code] = "OF";
    FSettings["CH"] = HexByte(FOptions.channel);
    FSettings["EI"] = "01";
    FSettings["DI"] = "01";
    FSettings["PS"] = "FF";
    FSettings["PO"] = "FF";
    FSettings["PT"] = "FF";
    FSettings["MO"] = "03";
    FSettings["RT"] = "NA";
    FSettings["VR"] = FOptions.version;
    FSettings["SN"] = FOptions.serialNumber;
    FSettings["FV"] = std::string(1, FOptions.firmware);
    FSettings["UI"] = "0000";
    FSettings["PI"] = Hex(FOptions.uniqueId & 0xFFFFFF, 6);
    FSettings.erase("MD");  // the link mode answers for itself
}

int ModemModel::Channel() const { return ParseHex(FSettings.find("CH")->second); }

std::optional<std::string> ModemModel::Setting(std::string_view code) const {
    if (code == "MD") return std::string(FindCommand("MD")->words[static_cast<size_t>(FMode)]);
    auto it = FSettings.find(code);
    if (it == FSettings.end()) return std::nullopt;
    return it->second;
}

void ModemModel::SetLevel(int channel, LevelRange range) {
    if (range.low > range.high) std::swap(range.low, range.high);
    FOptions.levels[channel] = range;
}

int ModemModel::LevelOf(int channel) {
    auto it = FOptions.levels.find(channel);
    LevelRange r = it != FOptions.levels.end() ? it->second : FOptions.noise;
    if (r.low >= r.high) return r.low;
    return std::uniform_int_distribution<int>(r.low, r.high)(FRandom);
}

std::string ModemModel::Execute(std::string_view line) {
    if (line.empty() || line[0] != '@') return {};
    if (line.size() < 3) return ErrorFrame(kErrUnknownCommand);
    const std::string code = Upper(line.substr(1, 2));
    if (!FindCommand(code)) return ErrorFrame(kErrUnknownCommand);
    std::string_view arg = line.substr(3);
    if (arg.empty()) return Query(code);
    return Set(code, arg);
}

std::string ModemModel::Query(const std::string& code) {
    const CommandInfo& info = *FindCommand(code);
    switch (info.kind) {
    case Kind::Level:
        return LevelFrame(code, LevelOf(Channel()));
    case Kind::AirMonitor:
    case Kind::Data:
        return ErrorFrame(kErrBadArgument);  // both need their argument
    case Kind::Reset:
        Reset();
        return ValueFrame(code, "00");
    default:
        return ValueFrame(code, *Setting(code));
    }
}

std::string ModemModel::Set(const std::string& code, std::string_view arg) {
    const CommandInfo& info = *FindCommand(code);
    const std::string bad = ErrorFrame(kErrBadArgument);

    // "/w" asks the modem to keep the setting over power-down; a simulator has nothing to keep.
    if (info.kind == Kind::Byte || info.kind == Kind::Channel || info.kind == Kind::Word ||
        info.kind == Kind::UserId) {
        if (arg.size() > 2 && (arg.substr(arg.size() - 2) == "/w" || arg.substr(arg.size() - 2) == "/W"))
            arg.remove_suffix(2);
    }

    switch (info.kind) {
    case Kind::Byte:
    case Kind::Channel: {
        if (arg.size() != 2 || !IsHex(arg)) return bad;
        int value = ParseHex(arg);
        if (info.kind == Kind::Channel ? (value < FOptions.minChannel || value > FOptions.maxChannel)
                                       : value > info.max)
            return bad;
        FSettings[code] = HexByte(value);
        return ValueFrame(code, HexByte(value));
    }
    case Kind::Word: {
        std::string word = Upper(arg);
        for (size_t i = 0; i < info.words.size(); ++i) {
            if (info.words[i] && word == info.words[i]) {
                if (code == "MD")
                    FMode = static_cast<LinkMode>(i);
                else
                    FSettings[code] = word;
                return ValueFrame(code, word);
            }
        }
        return bad;
    }
    case Kind::UserId: {
        std::string_view id = arg.substr(0, 4);
        std::string_view rest = arg.substr(id.size());
        if (id.size() != 4 || !IsHex(id)) return bad;
        if (!rest.empty() && (rest.size() != 5 || rest[0] != ',' ||
                              !std::all_of(rest.begin() + 1, rest.end(),
                                           [](unsigned char c) { return std::isdigit(c); })))
            return bad;
        FSettings[code] = Upper(id);
        return ValueFrame(code, Upper(id));
    }
    case Kind::UniqueId: {
        std::string sub = Upper(arg);
        if (sub == "R") return ValueFrame(code, "R");  // waiting for a peer's ID
        if (sub == "S") FSettings[code] = Hex(FOptions.serialUniqueId & 0xFFFFFF, 6);
        else if (sub == "C") FSettings[code] = "000000";
        else if (sub != "T") return bad;
        return ValueFrame(code, FSettings[code]);
    }
    case Kind::AirMonitor: {
        if ((arg.size() != 2 && arg.size() != 4) || !IsHex(arg)) return bad;
        int channel = ParseHex(arg.substr(0, 2));
        if (channel < FOptions.minChannel || channel > FOptions.maxChannel) return bad;
        return AirMonitorFrame(LevelOf(channel));
    }
    case Kind::Data: {
        if (arg.size() < 2 || !IsHex(arg.substr(0, 2))) return bad;
        int length = ParseHex(arg.substr(0, 2));
        if (arg.size() - 2 != static_cast<size_t>(length)) return bad;
        return ValueFrame(code, HexByte(length));
    }
    case Kind::ReadOnly:
    case Kind::Level:
    case Kind::Reset:
        return bad;
    }
    return bad;
}

}  // namespace modemsim
