#pragma once
// The simulated modem's command interpreter: settings, channel plan, level profile and the reply
// frame of every command. No I/O here: ModemSim feeds it complete command lines and writes what it
// returns, so the protocol can be tested without a terminal.
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace modemsim {

// Receive levels are whole dBm. A range with low == high is a fixed level.
struct LevelRange {
    int low = -110;
    int high = -110;
};

struct ModemOptions {
    // Channel plan of the model: 7..46 for the 429 MHz units, 0..127 for the 434 MHz units.
    int minChannel = 7;
    int maxChannel = 46;
    int channel = 0x1B;  // channel at power-up
    std::map<int, LevelRange> levels;  // level profile per channel
    LevelRange noise{-125, -95};       // channels without a profile entry
    uint32_t seed = 1;                 // random levels and garbling repeat with the seed
    uint32_t uniqueId = 0;             // unique ID at power-up (24 bits)
    uint32_t serialUniqueId = 0x12AB34;  // the ID that "@PIS" derives from the serial number
    std::string version = "12";        // "@VR" answer, two characters
    std::string serialNumber = "5A";   // "@SN" answer, two characters
    char firmware = '1';               // "@FV" answer, one character
};

enum class LinkMode { Command, Text, Binary };  // "CD", "TX", "BI"

// Error codes of the "*ER=" reply.
constexpr int kErrUnknownCommand = 1;
constexpr int kErrBadArgument = 2;

class ModemModel {
public:
    explicit ModemModel(ModemOptions options = {});

    // Runs one command line: "@" + code + argument, without CR LF. Returns the reply frame with its
    // CR LF, or an empty string when the line is not a command (no "@").
    std::string Execute(std::string_view line);

    LinkMode Mode() const { return FMode; }
    void SetMode(LinkMode mode) { FMode = mode; }
    int Channel() const;
    int MinChannel() const { return FOptions.minChannel; }
    int MaxChannel() const { return FOptions.maxChannel; }
    // The value text a query of the code answers ("1B", "ON", "0000"), if the code stores one.
    std::optional<std::string> Setting(std::string_view code) const;

    // Draws the level of a channel from its profile entry (or the noise range).
    int LevelOf(int channel);
    void SetLevel(int channel, LevelRange range);
    void SetLevel(int channel, int dBm) { SetLevel(channel, LevelRange{dBm, dBm}); }

    // Settings back to power-up values (what "@IZ" does); the link mode is left alone.
    void Reset();

    // The model's random source, shared with the transport's garbling so one seed repeats a run.
    std::mt19937& Random() { return FRandom; }

private:
    std::string Query(const std::string& code);
    std::string Set(const std::string& code, std::string_view arg);

    ModemOptions FOptions;
    std::map<std::string, std::string, std::less<>> FSettings;
    LinkMode FMode = LinkMode::Command;
    std::mt19937 FRandom;
};

// Reply frames. Every frame ends in CR LF: the link's parser drops characters between frames, and
// for the level replies the CR LF is part of the frame.
std::string ValueFrame(std::string_view code, std::string_view payload);  // "*CH=1B\r\n"
std::string ErrorFrame(int error);                                        // "*ER=01\r\n"
// "*RA=-85dBm\r\n": the magnitude as two or three decimal digits (levels above -10 dBm keep two
// digits, "-05dBm", since a single digit would not be a valid frame).
std::string LevelFrame(std::string_view code, int dBm);
// "*AM=hh\r\n" with hh = level + 256 as two hexadecimal digits (clamped to 00..FF).
std::string AirMonitorFrame(int dBm);
// Received radio data: "*DR=" + length (2 hex digits) + bytes. At most 255 bytes.
std::string DataFrame(std::string_view bytes);
// Received binary data: "*DC=" + two tag characters + length + bytes. At most 255 bytes.
std::string BinaryFrame(std::string_view bytes, std::string_view tag = "00");
// A multi-part transfer as binary frames: a header (7, part count, 0) and the data parts
// (7, part count, part number, bytes...), the part count being the data parts plus one.
// partSize is 1..252 bytes of data per part; at most 254 data parts.
std::vector<std::string> MultipartFrames(std::string_view data, size_t partSize);
// Port response "*PR=" + three two-character fields.
std::string PortResponseFrame(std::string_view kind, std::string_view field2, std::string_view field3);

std::string HexByte(int value);  // two uppercase hexadecimal digits

}  // namespace modemsim
