#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <thread>

#include "platform/rtl/Exceptions.h"

#include "tools/modem-sim/ModemSim.h"
#include "tools/modem-sim/tests/LineClient.h"

namespace modemsim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

// A simulator on a pseudo-terminal and a raw client on its slave side.
class ModemSimTest : public ::testing::Test {
protected:
    void Serve(SimOptions options = {}) {
        sim = std::make_unique<ModemSim>(options);
        path = sim->OpenPty();
        sim->Start();
        client = std::make_unique<LineClient>(path);
    }
    void TearDown() override {
        client.reset();
        if (sim) sim->Stop();
    }

    std::unique_ptr<ModemSim> sim;
    std::string path;
    std::unique_ptr<LineClient> client;
};

TEST_F(ModemSimTest, AnswersAQueryOverThePseudoTerminal) {
    Serve();
    EXPECT_EQ(path.rfind("/dev/", 0), 0u) << path;
    EXPECT_EQ(client->Exchange("@CH"), "*CH=1B\r\n");
}

TEST_F(ModemSimTest, SettingChangesWhatTheNextQueryAnswers) {
    Serve();
    EXPECT_EQ(client->Exchange("@CH07"), "*CH=07\r\n");
    EXPECT_EQ(client->Exchange("@CH"), "*CH=07\r\n");
    EXPECT_EQ(sim->Channel(), 7);
}

TEST_F(ModemSimTest, LevelReplyFollowsTheProfileOfTheCurrentChannel) {
    SimOptions o;
    o.modem.levels[0x1B] = {-85, -85};
    o.modem.levels[0x2E] = {-117, -117};
    Serve(o);
    EXPECT_EQ(client->Exchange("@RA"), "*RA=-85dBm\r\n");
    EXPECT_EQ(client->Exchange("@CH2E"), "*CH=2E\r\n");
    EXPECT_EQ(client->Exchange("@RA"), "*RA=-117dBm\r\n");
    sim->SetLevel(0x2E, -64);  // the profile may change while serving
    EXPECT_EQ(client->Exchange("@RA"), "*RA=-64dBm\r\n");
    EXPECT_EQ(client->Exchange("@AM1B08"), "*AM=AB\r\n");
}

// Commands split over several writes, several commands in one write, lone CR or LF endings and
// noise between commands: the line discipline of a terminal user or of a slow sender.
TEST_F(ModemSimTest, AssemblesCommandsWhateverTheWriteBoundaries) {
    Serve();
    client->Write("@C");
    EXPECT_EQ(client->ReadFor(50ms), "");
    client->Write("H\r");
    EXPECT_EQ(client->ReadFrame(), "*CH=1B\r\n");
    client->Write("\nxx@MO\r\n@SF\n@EI\r");
    EXPECT_EQ(client->ReadCount(3 * 8), "*MO=03\r\n*SF=00\r\n*EI=01\r\n");
    auto log = sim->Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].line, "@CH");
    EXPECT_EQ(log[3].line, "@EI");
}

// "@DT" data is counted by its length, so CR and LF inside it do not end the line.
TEST_F(ModemSimTest, DataCommandMayCarryLineEnds) {
    Serve();
    EXPECT_EQ(client->Exchange(std::string("@DT04a\r\nb")), "*DT=04\r\n");
    ASSERT_TRUE(sim->WaitForCommands(1, 3s));
    EXPECT_EQ(sim->Log()[0].line, std::string("@DT04a\r\nb"));
}

TEST_F(ModemSimTest, UnknownCommandIsAnsweredWithAnError) {
    Serve();
    EXPECT_EQ(client->Exchange("@ZZ"), "*ER=01\r\n");
    EXPECT_EQ(client->Exchange("@CH"), "*CH=1B\r\n");  // and the link goes on
}

TEST_F(ModemSimTest, PacedAt19200AnExchangeTakesItsLineTime) {
    SimOptions o;
    o.baud = 19200;
    Serve(o);
    // The first exchange may also wait for the simulator to notice the new client; time the next.
    EXPECT_EQ(client->Exchange("@CH"), "*CH=1B\r\n");
    // 5 bytes out and 8 back: 13 bytes of 10 bits at 19200 bit/s = 6.77 ms.
    auto start = std::chrono::steady_clock::now();
    std::string reply = client->Exchange("@CH");
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reply, "*CH=1B\r\n");
    EXPECT_GE(elapsed, 6700us);
}

TEST_F(ModemSimTest, LatencyDelaysTheReply) {
    SimOptions o;
    o.latency = 30ms;
    Serve(o);
    EXPECT_EQ(client->Exchange("@MO"), "*MO=03\r\n");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client->Exchange("@MO"), "*MO=03\r\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

TEST_F(ModemSimTest, DroppedReplyIsLoggedButNotSent) {
    Serve();
    sim->DropNextReply();
    auto before = std::chrono::steady_clock::now();
    client->Write("@CH\r\n");
    ASSERT_TRUE(sim->WaitForCommands(1, 3s));
    ASSERT_TRUE(sim->WaitIdle(3s));
    EXPECT_EQ(client->ReadFor(100ms), "");
    auto log = sim->Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].line, "@CH");
    EXPECT_EQ(log[0].reply, "");
    EXPECT_GE(log[0].time, before);
    // Only the next reply was dropped.
    EXPECT_EQ(client->Exchange("@CH"), "*CH=1B\r\n");
}

TEST_F(ModemSimTest, GarbledReplyDiffersFromTheTrueOne) {
    Serve();
    for (int i = 0; i < 20; ++i) {
        sim->GarbleNextReply();
        client->Write("@CH\r\n");
        std::string reply = client->ReadCount(8);
        ASSERT_EQ(reply.size(), 8u);
        EXPECT_NE(reply, "*CH=1B\r\n");
        EXPECT_EQ(reply.substr(0, 1), "*");    // the frame start and
        EXPECT_EQ(reply.substr(6), "\r\n");    // its end survive: one byte of the body is hit
    }
    EXPECT_EQ(client->Exchange("@CH"), "*CH=1B\r\n");
}

TEST_F(ModemSimTest, SFormAndDelayFaults) {
    Serve();
    sim->SFormNextReply();
    EXPECT_EQ(client->Exchange("@MO"), "*MOS\r\n");
    EXPECT_EQ(client->Exchange("@MO"), "*MO=03\r\n");
    sim->DelayNextReply(60ms);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client->Exchange("@MO"), "*MO=03\r\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
    auto log = sim->Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].reply, "*MOS\r\n");
}

TEST_F(ModemSimTest, UnsolicitedFramesReachTheClient) {
    Serve();
    sim->SendDataFrame("[2]abcdefg05HELLO");
    EXPECT_EQ(client->ReadFrame(), "*DR=11[2]abcdefg05HELLO\r\n");
    sim->SendMultipart("abcdef", 3);
    std::string expected;
    for (const std::string& f : MultipartFrames("abcdef", 3)) expected += f;
    EXPECT_EQ(client->ReadCount(expected.size()), expected);
    sim->SendPortResponse("02", "00", "F0");
    EXPECT_EQ(client->ReadFrame(), "*PR=0200F0\r\n");
}

// "@MDTX" switches to the data mode: bytes come back as sent, commands are not interpreted. The
// client closing its port ends the mode, as the workbench's port close does.
TEST_F(ModemSimTest, DataModeEchoesUntilThePortCloses) {
    Serve();
    EXPECT_EQ(client->Exchange("@MDTX"), "*MD=TX\r\n");
    EXPECT_EQ(sim->Mode(), LinkMode::Text);
    client->Write("@CH\r\nhello");
    EXPECT_EQ(client->ReadCount(10), "@CH\r\nhello");
    EXPECT_EQ(sim->Log().size(), 1u);  // only the mode command

    client.reset();
    ASSERT_TRUE(sim->WaitForHangups(1, 3s));
    EXPECT_EQ(sim->Mode(), LinkMode::Command);

    client = std::make_unique<LineClient>(path);
    EXPECT_EQ(client->Exchange("@MD"), "*MD=CD\r\n");
}

// A reply the client never read must not greet the next client of the terminal.
TEST_F(ModemSimTest, UnreadOutputDoesNotReachTheNextClient) {
    SimOptions o;
    o.latency = 20ms;
    Serve(o);
    client->Write("@CH\r\n");
    ASSERT_TRUE(sim->WaitForCommands(1, 3s));
    ASSERT_TRUE(sim->WaitIdle(3s));
    client.reset();
    ASSERT_TRUE(sim->WaitForHangups(1, 3s));
    client = std::make_unique<LineClient>(path);
    EXPECT_EQ(client->Exchange("@MO"), "*MO=03\r\n");
}

TEST_F(ModemSimTest, CommandObserverSeesEveryCommand) {
    SimOptions o;
    sim = std::make_unique<ModemSim>(o);
    path = sim->OpenPty();
    std::vector<std::string> seen;
    std::mutex m;
    sim->SetCommandObserver([&](const LoggedCommand& c) {
        std::lock_guard lock(m);
        seen.push_back(c.line + " " + c.reply);
    });
    sim->Start();
    client = std::make_unique<LineClient>(path);
    EXPECT_EQ(client->Exchange("@SF"), "*SF=00\r\n");
    std::lock_guard lock(m);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "@SF *SF=00\r\n");
}

TEST(ModemSimSetupTest, MisuseIsReported) {
    ModemSim sim;
    EXPECT_THROW(sim.Start(), EInvalidOperation);
    EXPECT_THROW(sim.OpenDevice("/dev/null"), EInvalidArgument);  // not a terminal
    EXPECT_THROW(sim.OpenDevice("/nonexistent/tty"), EOSError);
    sim.OpenPty();
    EXPECT_THROW(sim.OpenPty(), EInvalidOperation);
    sim.Stop();  // never started: harmless
}

// A real port is served the same way. The slave of a pseudo-terminal stands in for the port; the
// test talks through its master, as the workbench would through the port at the other end.
TEST(ModemSimSetupTest, ServesAnExistingTerminal) {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::string tty = ptsname(master);
    {
        ModemSim sim;
        sim.OpenDevice(tty);
        sim.Start();
        EXPECT_EQ(sim.DevicePath(), tty);
        ASSERT_EQ(write(master, "@CH\r\n", 5), 5);
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + 3s;
        while (got.size() < 8 && std::chrono::steady_clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 100) == 1) {
                char buf[64];
                ssize_t n = read(master, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<size_t>(n));
            }
        }
        EXPECT_EQ(got, "*CH=1B\r\n");
        sim.Stop();
    }
    close(master);
}

}  // namespace
}  // namespace modemsim
