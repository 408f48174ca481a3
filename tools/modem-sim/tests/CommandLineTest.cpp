#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/rtl/Exceptions.h"
#include "tools/modem-sim/CommandLine.h"

namespace modemsim {
namespace {

using namespace std::chrono_literals;

TEST(CommandLineTest, DefaultsServeThe429MHzModelUnpaced) {
    ProgramOptions o = ParseCommandLine({});
    EXPECT_TRUE(o.device.empty());
    EXPECT_EQ(o.sim.modem.minChannel, 7);
    EXPECT_EQ(o.sim.modem.maxChannel, 46);
    EXPECT_EQ(o.sim.modem.channel, 27);
    EXPECT_EQ(o.sim.baud, 0);
    EXPECT_EQ(o.sim.latency, 0us);
    EXPECT_FALSE(o.help);
}

TEST(CommandLineTest, ReadsEveryOption) {
    ProgramOptions o = ParseCommandLine({"--device", "/dev/ttyUSB0", "--channels", "0-127", "--channel", "0",
                                         "--level", "27=-85", "--level", "30-32=-120..-100", "--noise",
                                         "-130..-110", "--latency", "15", "--baud", "19200", "--seed", "7",
                                         "--verbose", "--exit-on-eof"});
    EXPECT_EQ(o.device, "/dev/ttyUSB0");
    EXPECT_EQ(o.sim.modem.minChannel, 0);
    EXPECT_EQ(o.sim.modem.maxChannel, 127);
    EXPECT_EQ(o.sim.modem.channel, 0);
    ASSERT_EQ(o.sim.modem.levels.size(), 4u);
    EXPECT_EQ(o.sim.modem.levels.at(27).low, -85);
    EXPECT_EQ(o.sim.modem.levels.at(27).high, -85);
    for (int ch : {30, 31, 32}) {
        EXPECT_EQ(o.sim.modem.levels.at(ch).low, -120);
        EXPECT_EQ(o.sim.modem.levels.at(ch).high, -100);
    }
    EXPECT_EQ(o.sim.modem.noise.low, -130);
    EXPECT_EQ(o.sim.modem.noise.high, -110);
    EXPECT_EQ(o.sim.latency, 15ms);
    EXPECT_EQ(o.sim.baud, 19200);
    EXPECT_EQ(o.sim.modem.seed, 7u);
    EXPECT_TRUE(o.verbose);
    EXPECT_TRUE(o.exitOnEof);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

TEST(CommandLineTest, RefusesBadArguments) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--latency"},                 // value missing
        {"--latency", "ten"},
        {"--latency", "-5"},
        {"--channels", "46-7"},
        {"--channels", "7-300"},
        {"--channel", "5"},            // outside the default plan 7..46
        {"--level", "27"},
        {"--level", "27=85"},          // levels are at most 0 dBm
        {"--level", "27=-100..-120"},
        {"--level", "x=-85"},
        {"--noise", "-90..-100"},
        {"--baud", "fast"},
        {"--levels", "/nonexistent/levels.txt"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_THROW(ParseCommandLine(args), EInvalidArgument) << joined;
    }
}

TEST(CommandLineTest, LevelFileUsesTheOptionForm) {
    ModemOptions o;
    ParseLevelText("# quiet band\n7-9=-120\n\n  27 = -85  \r\n28=-90..-80\n", o);
    EXPECT_EQ(o.levels.size(), 5u);
    EXPECT_EQ(o.levels.at(8).low, -120);
    EXPECT_EQ(o.levels.at(27).low, -85);
    EXPECT_EQ(o.levels.at(28).high, -80);
    try {
        ParseLevelText("7=-100\n8=loud\n", o);
        FAIL() << "a bad line was accepted";
    } catch (const EInvalidArgument& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
}

TEST(CommandLineTest, LevelFileIsReadFromDisk) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "modem-sim-levels.txt";
    {
        std::ofstream f(path);
        f << "27=-66\n";
    }
    ProgramOptions o = ParseCommandLine({"--levels", path});
    std::remove(path.c_str());
    EXPECT_EQ(o.sim.modem.levels.at(27).low, -66);
}

TEST(CommandLineTest, UsageNamesEveryOption) {
    std::string usage = Usage();
    for (const char* option : {"--device", "--channels", "--channel ", "--level ", "--levels", "--noise",
                               "--latency", "--baud", "--seed", "--verbose", "--exit-on-eof", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace modemsim
