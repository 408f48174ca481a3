#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "tools/modem-sim/ModemModel.h"

namespace modemsim {
namespace {

struct Case {
    const char* command;
    const char* reply;  // without CR LF
};

// Queries of a modem at power-up: one reply per command, in the form the link's parser reads.
TEST(ModemModelTest, QueriesAnswerThePowerUpValues) {
    const Case cases[] = {
        {"@CH", "*CH=1B"},   {"@MO", "*MO=03"},   {"@SF", "*SF=00"},   {"@EI", "*EI=01"},
        {"@GI", "*GI=00"},   {"@DI", "*DI=01"},   {"@UI", "*UI=0000"}, {"@PI", "*PI=000000"},
        {"@MD", "*MD=CD"},   {"@PS", "*PS=FF"},   {"@PO", "*PO=FF"},   {"@PT", "*PT=FF"},
        {"@PM", "*PM=00"},   {"@PF", "*PF=00"},   {"@CT", "*CT=OF"},   {"@RM", "*RM=CD"},
        {"@CS", "*CS=EN"},   {"@RI", "*RI=OF"},   {"@SI", "*SI=OF"},   {"@RR", "*RR=OF"},
        {"@EC", "*EC=OF"},   {"@PB", "*PB=NO"},   {"@RT", "*RT=NA"},   {"@VR", "*VR=12"},
        {"@SN", "*SN=5A"},   {"@FV", "*FV=1"},    {"@BR", "*BR=00"},   {"@SB", "*SB=00"},
        {"@TB", "*TB=00"},   {"@TC", "*TC=00"},   {"@SR", "*SR=00"},   {"@PW", "*PW=00"},
    };
    ModemModel modem;
    for (const Case& c : cases) EXPECT_EQ(modem.Execute(c.command), std::string(c.reply) + "\r\n") << c.command;
}

// A setting answers its code with the new value, and the next query sees it.
TEST(ModemModelTest, SettingsAreStoredAndEchoed) {
    const Case cases[] = {
        {"@CH07", "*CH=07"},       {"@CH2e", "*CH=2E"},     {"@GI00/w", "*GI=00"},  {"@EI05", "*EI=05"},
        {"@DI7F/w", "*DI=7F"},     {"@SF05", "*SF=05"},     {"@MO01", "*MO=01"},    {"@PSFE/w", "*PS=FE"},
        {"@PO0F", "*PO=0F"},       {"@PT3C", "*PT=3C"},     {"@PM10", "*PM=10"},    {"@CTON", "*CT=ON"},
        {"@CSDI", "*CS=DI"},       {"@PBEV", "*PB=EV"},     {"@RMTX", "*RM=TX"},    {"@ECON", "*EC=ON"},
        {"@UI0000,8945", "*UI=0000"}, {"@UI12ab", "*UI=12AB"},
    };
    for (const Case& c : cases) {
        ModemModel modem;
        std::string command = c.command;
        EXPECT_EQ(modem.Execute(command), std::string(c.reply) + "\r\n") << command;
        std::string query = command.substr(0, 3);
        EXPECT_EQ(modem.Execute(query), std::string(c.reply) + "\r\n") << query << " after " << command;
    }
}

// Bad arguments are refused with "*ER=02" and leave the setting as it was; unknown codes get
// "*ER=01".
TEST(ModemModelTest, RefusesUnknownCommandsAndBadArguments) {
    const Case cases[] = {
        {"@XY", "*ER=01"},         {"@C", "*ER=01"},          {"@", "*ER=01"},
        {"@CH06", "*ER=02"},       // below the 429 MHz plan (a setting button with no selection)
        {"@CH2F", "*ER=02"},       {"@GIFFFFFFFF", "*ER=02"}, {"@CHZZ", "*ER=02"},
        {"@CH1", "*ER=02"},        {"@SF06", "*ER=02"},       {"@MO05", "*ER=02"},
        {"@MDXX", "*ER=02"},       {"@CTYES", "*ER=02"},      {"@VR13", "*ER=02"},
        {"@RA05", "*ER=02"},       {"@UI12", "*ER=02"},       {"@UI0000,89", "*ER=02"},
        {"@PIX", "*ER=02"},        {"@AM", "*ER=02"},         {"@AM2F08", "*ER=02"},
        {"@DT", "*ER=02"},         {"@DT05ABC", "*ER=02"},    {"@CH/w", "*ER=02"},
    };
    ModemModel modem;
    for (const Case& c : cases) EXPECT_EQ(modem.Execute(c.command), std::string(c.reply) + "\r\n") << c.command;
    EXPECT_EQ(modem.Channel(), 0x1B);
    EXPECT_EQ(*modem.Setting("SF"), "00");
    EXPECT_EQ(modem.Mode(), LinkMode::Command);
}

TEST(ModemModelTest, NonCommandLinesGetNoReply) {
    ModemModel modem;
    EXPECT_EQ(modem.Execute(""), "");
    EXPECT_EQ(modem.Execute("*CH=1B"), "");
}

TEST(ModemModelTest, ChannelPlanOfTheWideModelAcceptsChannelZero) {
    ModemOptions o;
    o.minChannel = 0;
    o.maxChannel = 127;
    ModemModel modem(o);
    EXPECT_EQ(modem.Execute("@CH00"), "*CH=00\r\n");
    EXPECT_EQ(modem.Execute("@CH7F"), "*CH=7F\r\n");
    EXPECT_EQ(modem.Execute("@CH80"), "*ER=02\r\n");
}

TEST(ModemModelTest, LinkModeFollowsMdSettings) {
    ModemModel modem;
    EXPECT_EQ(modem.Execute("@MDTX"), "*MD=TX\r\n");
    EXPECT_EQ(modem.Mode(), LinkMode::Text);
    EXPECT_EQ(modem.Execute("@MDBI"), "*MD=BI\r\n");
    EXPECT_EQ(modem.Mode(), LinkMode::Binary);
    EXPECT_EQ(modem.Execute("@MD"), "*MD=BI\r\n");
    modem.SetMode(LinkMode::Command);
    EXPECT_EQ(modem.Execute("@MD"), "*MD=CD\r\n");
}

TEST(ModemModelTest, UniqueIdCommands) {
    ModemOptions o;
    o.serialUniqueId = 0xC0FFEE;
    ModemModel modem(o);
    EXPECT_EQ(modem.Execute("@PIR"), "*PI=R\r\n");
    EXPECT_EQ(modem.Execute("@PIS"), "*PI=C0FFEE\r\n");
    EXPECT_EQ(modem.Execute("@PI"), "*PI=C0FFEE\r\n");
    EXPECT_EQ(modem.Execute("@PIT"), "*PI=C0FFEE\r\n");
    EXPECT_EQ(modem.Execute("@PIC"), "*PI=000000\r\n");
    EXPECT_EQ(modem.Execute("@PI"), "*PI=000000\r\n");
}

TEST(ModemModelTest, DataCommandAnswersItsLength) {
    ModemModel modem;
    EXPECT_EQ(modem.Execute("@DT05HELLO"), "*DT=05\r\n");
    EXPECT_EQ(modem.Execute("@DT00"), "*DT=00\r\n");
    EXPECT_EQ(modem.Execute(std::string("@DT03a\r\n")), "*DT=03\r\n");  // CR LF inside data count
}

TEST(ModemModelTest, ResetRestoresPowerUpSettings) {
    ModemModel modem;
    modem.Execute("@CH07");
    modem.Execute("@SF03");
    EXPECT_EQ(modem.Execute("@IZ"), "*IZ=00\r\n");
    EXPECT_EQ(modem.Channel(), 0x1B);
    EXPECT_EQ(*modem.Setting("SF"), "00");
}

// Levels come from the profile of the current channel ("@RA", "@RS") or of the named channel
// ("@AM"), in the two codings the link reads.
TEST(ModemModelTest, LevelRepliesFollowTheProfile) {
    ModemOptions o;
    o.levels[0x1B] = {-85, -85};
    o.levels[7] = {-100, -100};
    o.levels[8] = {-102, -102};
    o.levels[9] = {-5, -5};
    ModemModel modem(o);
    EXPECT_EQ(modem.Execute("@RA"), "*RA=-85dBm\r\n");
    EXPECT_EQ(modem.Execute("@RS"), "*RS=-85dBm\r\n");
    modem.Execute("@CH08");
    EXPECT_EQ(modem.Execute("@RA"), "*RA=-102dBm\r\n");
    modem.Execute("@CH09");
    EXPECT_EQ(modem.Execute("@RA"), "*RA=-05dBm\r\n");  // one digit would not be a valid frame
    EXPECT_EQ(modem.Execute("@AM0708"), "*AM=9C\r\n");   // -100 dBm = 0x9C - 256
    EXPECT_EQ(modem.Execute("@AM1B08"), "*AM=AB\r\n");
    EXPECT_EQ(modem.Channel(), 9);                       // the air monitor does not retune
}

TEST(ModemModelTest, RandomLevelsStayInRangeAndRepeatWithTheSeed) {
    ModemOptions o;
    o.noise = {-120, -100};
    o.seed = 42;
    ModemModel a(o), b(o);
    bool varied = false;
    int first = a.LevelOf(20);
    for (int i = 0; i < 200; ++i) {
        int level = a.LevelOf(20);
        EXPECT_GE(level, -120);
        EXPECT_LE(level, -100);
        varied |= level != first;
    }
    EXPECT_TRUE(varied);
    ModemModel c(o);
    std::vector<int> runB, runC;
    for (int i = 0; i < 20; ++i) {
        runB.push_back(b.LevelOf(i + 7));
        runC.push_back(c.LevelOf(i + 7));
    }
    EXPECT_EQ(runB, runC);
}

TEST(ModemModelTest, RejectsInconsistentOptions) {
    ModemOptions outside;
    outside.channel = 3;
    EXPECT_THROW(ModemModel{outside}, EInvalidArgument);
    ModemOptions reversed;
    reversed.minChannel = 50;
    reversed.maxChannel = 10;
    EXPECT_THROW(ModemModel{reversed}, EInvalidArgument);
}

TEST(FramesTest, LevelAndAirMonitorCodings) {
    EXPECT_EQ(LevelFrame("RA", -98), "*RA=-98dBm\r\n");
    EXPECT_EQ(LevelFrame("RS", -140), "*RS=-140dBm\r\n");
    EXPECT_EQ(LevelFrame("RA", 3), "*RA=-00dBm\r\n");
    EXPECT_EQ(AirMonitorFrame(-1), "*AM=FF\r\n");
    EXPECT_EQ(AirMonitorFrame(-256), "*AM=00\r\n");
    EXPECT_EQ(AirMonitorFrame(-300), "*AM=00\r\n");
}

TEST(FramesTest, DataFramesCarryTheirLength) {
    EXPECT_EQ(DataFrame("[2]abcdefg05HELLO"), "*DR=11[2]abcdefg05HELLO\r\n");
    EXPECT_EQ(DataFrame(""), "*DR=00\r\n");
    EXPECT_EQ(BinaryFrame("xyz", "01"), "*DC=0103xyz\r\n");
    EXPECT_EQ(PortResponseFrame("01", "FF", "0F"), "*PR=01FF0F\r\n");
    EXPECT_THROW(DataFrame(std::string(256, 'a')), EInvalidArgument);
    EXPECT_NO_THROW(DataFrame(std::string(255, 'a')));
}

TEST(FramesTest, MultipartTransferHasHeaderAndNumberedParts) {
    auto frames = MultipartFrames("HelloWorld!", 4);
    ASSERT_EQ(frames.size(), 4u);  // header + 3 parts
    EXPECT_EQ(frames[0], BinaryFrame(std::string("\x07\x04\x00", 3)));
    EXPECT_EQ(frames[1], BinaryFrame(std::string("\x07\x04\x01", 3) + "Hell"));
    EXPECT_EQ(frames[2], BinaryFrame(std::string("\x07\x04\x02", 3) + "oWor"));
    EXPECT_EQ(frames[3], BinaryFrame(std::string("\x07\x04\x03", 3) + "ld!"));
    EXPECT_THROW(MultipartFrames("x", 0), EInvalidArgument);
    EXPECT_THROW(MultipartFrames(std::string(255 * 2, 'x'), 2), EInvalidArgument);
}

}  // namespace
}  // namespace modemsim
