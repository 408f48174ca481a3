#pragma once
// Options of the modem-sim program. Kept in the library so they are tested like the rest.
#include <string>
#include <string_view>
#include <vector>

#include "tools/modem-sim/ModemSim.h"

namespace modemsim {

struct ProgramOptions {
    SimOptions sim;
    std::string device;  // empty: serve a new pseudo-terminal
    bool verbose = false;
    bool exitOnEof = false;
    bool help = false;
    // A settings file that gets the device the simulator serves as the workbench's port.
    std::string iniFile;
    // With iniFile: this port is written instead, and nothing is served.
    std::string writePort;
};

// Parses the arguments after the program name. Raises EInvalidArgument with a message for the user.
ProgramOptions ParseCommandLine(const std::vector<std::string>& args);

// One level profile entry: "CH=DBM", "CH=LOW..HIGH", or a channel range "FROM-TO=..." (decimal).
void ParseLevelEntry(std::string_view entry, ModemOptions& options);
// A level file: one entry per line; blank lines and lines starting with "#" are skipped.
void ParseLevelText(std::string_view text, ModemOptions& options);

std::string Usage();

// Writes port as the workbench's serial port ("Port" of section "ComPort1") into the settings
// file, keeping every other key and comment; a missing file is created. Raises on failure.
void WritePortSetting(const std::string& iniFile, const std::string& port);

}  // namespace modemsim
