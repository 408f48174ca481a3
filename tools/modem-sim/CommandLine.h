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
};

// Parses the arguments after the program name. Raises EInvalidArgument with a message for the user.
ProgramOptions ParseCommandLine(const std::vector<std::string>& args);

// One level profile entry: "CH=DBM", "CH=LOW..HIGH", or a channel range "FROM-TO=..." (decimal).
void ParseLevelEntry(std::string_view entry, ModemOptions& options);
// A level file: one entry per line; blank lines and lines starting with "#" are skipped.
void ParseLevelText(std::string_view text, ModemOptions& options);

std::string Usage();

}  // namespace modemsim
