// The modem link on a fake port with a fake owner: no window, no backend.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/link/ModemLink.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string Utf8(const String& s) { return s.ToUtf8(); }

// The link with a fake port (what was written, purges, a write that fails) and an owner that
// logs every reply handler and display call in order.
class FakeLink : public TModemLink {
public:
    bool connected = true;
    bool failWrites = false;
    std::string written;
    int purges = 0;
    int waited = 0;
    std::function<void()> duringWait;  // runs once, inside the next wait
    bool airMonitorShown = false;
    std::vector<std::string> shown;
    std::string status[3];
    int sendFailures = 0;

    bool ChannelReported() const { return FChannelReported; }
    bool EquipmentIdReported() const { return FEquipmentIdReported; }

    bool PortConnected() override { return connected; }
    void PortWrite(const String& text) override {
        if (failWrites) throw Exception(String("write failed"));
        written += Utf8(text);
    }
    void PortPurge() override { ++purges; }
    void LinkWait(int ms) override {
        waited += ms;
        if (auto f = std::exchange(duringWait, nullptr)) f();
    }
    void ShowSentLine(const String& line) override { Log("ShowSentLine", Utf8(line)); }
    void SendFailed() override { ++sendFailures; }
    void ShowStatus(int panel, const String& text) override { status[panel] = Utf8(text); }
    bool AirMonitorShown() override { return airMonitorShown; }
    void LinkModeChanged(int value) override { Log("LinkModeChanged", value); }
    void ShowDioPort(int value) override { Log("ShowDioPort", value); }
    void ShowOutputPort(int value) override { Log("ShowOutputPort", value); }
    void ShowCommMode(int value) override { Log("ShowCommMode", value); }
    void ShowSpreadingFactor(int value) override { Log("ShowSpreadingFactor", value); }
    void RouteResultResponse(int value) override { Log("RouteResultResponse", value); }
    void AirMonitorLevel(int value) override { Log("AirMonitorLevel", value); }
    void RssiNoiseLevel(int value) override { Log("RssiNoiseLevel", value); }
    void LastRssiLevel(int value) override { Log("LastRssiLevel", value); }
    void ShowChannel(int value) override { Log("ShowChannel", value); }
    void ShowUniqueId(const String& digits) override { Log("ShowUniqueId", Utf8(digits)); }
    void LogLevel(const String& level) override { Log("LogLevel", Utf8(level)); }
    void ShowPortState() override {
        Log("ShowPortState", Utf8(PortField1) + " " + Utf8(PortField2) + " " + Utf8(PortField3));
    }
    void TransferReceived(const std::string& bytes) override { Log("TransferReceived", bytes); }

private:
    void Log(const char* what, int value) { Log(what, std::to_string(value)); }
    void Log(const char* what, const std::string& value) { shown.push_back(std::string(what) + " " + value); }
};

class ModemLink : public ::testing::Test {
protected:
    FakeLink link;

    // Characters into the ring, as the receive event puts them.
    void Feed(const std::string& bytes) {
        std::u16string chars;
        for (unsigned char c : bytes) chars.push_back(c);
        link.RxRing.Push(chars.data(), chars.size());
    }
    void Passes(int n) {
        for (int i = 0; i < n; ++i) link.RxParse();
    }
    // Passes until the ring is empty: a state that takes no character runs only while one
    // waits, so a frame ends with the modem's CR LF after it.
    void Drain() {
        for (int i = 0; i < 100000 && link.RingCount() > 0; ++i) link.RxParse();
    }
    void Reply(const std::string& frame) {
        Feed(frame + "\r\n");
        Drain();
    }
};

// ---- reply parser and dispatch ---------------------------------------------------------------------

TEST_F(ModemLink, ACHReplyThroughTheParserUpdatesTheChannel) {
    link.TxReady = 0;  // nothing goes out
    link.RespReady = 0;
    link.CapturePhase = 3;
    Reply("*CH=1B");
    EXPECT_EQ(link.CurrentChannel, 27);
    EXPECT_TRUE(link.ChannelReported());
    EXPECT_EQ(link.shown, std::vector<std::string>{"ShowChannel 27"});
    EXPECT_EQ(link.status[1], "Response > CH");
    EXPECT_EQ(link.status[2], "Value > 1Bh ( 27 )");
    EXPECT_EQ(link.RxState, 0);
    EXPECT_EQ(link.RespReady, 1);
    EXPECT_EQ(link.HomeChannel, 0);  // no capture running

    // A second reply moves the channel on; one with junk before its frame is read all the same.
    Reply("junk*CH=2C");
    EXPECT_EQ(link.CurrentChannel, 0x2C);
}

TEST_F(ModemLink, EachReplyReachesItsHandlerWithItsValue) {
    link.TxReady = 0;
    struct Case {
        const char* frame;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"*MD=TX", {"LinkModeChanged 1"}},
        {"*MD=XX", {"LinkModeChanged 255"}},
        {"*PS=FE", {"ShowDioPort 254"}},
        {"*PO=0F", {"ShowOutputPort 15"}},
        {"*MO=03", {"ShowCommMode 3"}},
        {"*SF=02", {"ShowSpreadingFactor 2"}},
        {"*RT=NA", {"RouteResultResponse 0"}},
        {"*RA=-85dBm", {"RssiNoiseLevel 85", "LogLevel   -85"}},
        {"*RS=-102dBm", {"LastRssiLevel 102", "LogLevel   -102"}},
        {"*AM=55", {"AirMonitorLevel 85", "LogLevel -171"}},
        {"*PI=12AB34", {"ShowUniqueId 12AB34"}},
        {"*PR=010203", {"ShowPortState 01 02 03"}},
        {"*EI=05", {}},  // kept for the capture alone
        {"*GI=00", {}},  // a code without a handler
        {"*XY=00", {}},  // no code of the table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        link.shown.clear();
        link.RespReady = 0;
        Reply(c.frame);
        EXPECT_EQ(link.shown, c.shown);
        EXPECT_EQ(link.RxState, 0);
    }
    EXPECT_EQ(link.PendingCount, 0);  // none of them queued anything

    // While the air monitor shows, "RS" is read as "AM": its "-8" is no hexadecimal number.
    link.airMonitorShown = true;
    link.shown.clear();
    Reply("*RS=-85dBm");
    EXPECT_EQ(link.ReplyType, 5);
    EXPECT_TRUE(link.shown.empty());
}

TEST_F(ModemLink, AMalformedFrameResetsTheParserAndReleasesTheSender) {
    link.TxReady = 0;
    Reply("*CH=1B");
    link.RespReady = 0;
    link.UserCommandFlag = 1;
    Feed("*GI=ZZ*CH=22\r\n");
    Drain();
    EXPECT_EQ(link.purges, 1);
    EXPECT_EQ(link.RingCount(), 0);  // the frame behind it went with the ring
    EXPECT_EQ(link.RxState, 0);
    EXPECT_EQ(link.UserCommandFlag, 0);
    EXPECT_EQ(link.RespReady, 1);
    EXPECT_EQ(link.CurrentChannel, 27);

    // A closed port is not purged; the next frame is parsed again.
    link.connected = false;
    link.RespReady = 0;
    Feed("*CH=G1\r\n");
    Drain();
    EXPECT_EQ(link.purges, 1);
    EXPECT_EQ(link.RespReady, 1);
    Reply("*CH=22");
    EXPECT_EQ(link.CurrentChannel, 0x22);
}

TEST_F(ModemLink, ValuesAreDecodedByTheirCodesTable) {
    EXPECT_EQ(link.ResponseValue(String("VR"), String("12"), 1), 255);
    EXPECT_EQ(link.status[2], "Value > 12");
    EXPECT_EQ(link.ResponseValue(String("EC"), String("OF"), 1), 1);
    EXPECT_EQ(link.ResponseValue(String("MD"), String("BI"), 1), 2);
    EXPECT_EQ(link.ResponseValue(String("UI"), String("FFFF"), 3), 0xFFFF);
    EXPECT_THROW(link.ResponseValue(String("CH"), String("-8"), 1), Exception);
    EXPECT_EQ(link.ResponseCode(String("FV")), 0);
    EXPECT_EQ(link.ResponseCode(String("EC")), 42);
    EXPECT_EQ(link.ResponseCode(String("")), 255);
}

// ---- command queue and sender --------------------------------------------------------------------

TEST_F(ModemLink, TheQueueSendsFromTheHighestUsedSlotDown) {
    link.CommandOut(3, String("@C"), String("@B"), String("@A"));
    EXPECT_EQ(Utf8(link.CmdQueue[3]), "@A");
    EXPECT_EQ(Utf8(link.CmdQueue[4]), "");
    const char* expected[] = {"@A\r\n", "@A\r\n@B\r\n", "@A\r\n@B\r\n@C\r\n"};
    for (int i = 0; i < 3; ++i) {
        Passes(1);
        EXPECT_EQ(link.written, expected[i]);
        EXPECT_EQ(link.PendingCount, 2 - i);
        // Nothing more before the reply and the transmit-empty event.
        Passes(3);
        EXPECT_EQ(link.written, expected[i]);
        link.RespReady = 1;
        Passes(1);
        EXPECT_EQ(link.written, expected[i]);
        link.TxReady = 1;
    }
    EXPECT_EQ(link.waited, 15);  // 5 ms before each write
    EXPECT_EQ(link.shown, (std::vector<std::string>{"ShowSentLine @A\r\n", "ShowSentLine @B\r\n", "ShowSentLine @C\r\n"}));

    // The air monitor's lines are not echoed; a data mode needs no reply between lines.
    link.shown.clear();
    link.written.clear();
    link.MeasureMode = 4;
    link.LinkMode = 1;
    link.RespReady = 0;
    link.CommandOut(2, String("y"), String("x"));
    Passes(1);
    link.TxReady = 1;
    Passes(1);
    EXPECT_EQ(link.written, "x\r\ny\r\n");
    EXPECT_TRUE(link.shown.empty());
}

TEST_F(ModemLink, AQueueMadeDuringTheWaitBeforeAWriteKeepsAllItsCommands) {
    link.CommandOut(1, String("@MO"));
    link.duringWait = [&] {
        link.RespReady = 1;
        link.CommandOut(2, String("@B"), String("@A"));
    };
    Passes(1);
    EXPECT_EQ(link.written, "@MO\r\n");  // the old queue's line
    EXPECT_EQ(link.PendingCount, 2);
    for (int i = 0; i < 2; ++i) {
        link.TxReady = 1;
        link.RespReady = 1;
        Passes(1);
    }
    EXPECT_EQ(link.written, "@MO\r\n@A\r\n@B\r\n");
}

TEST_F(ModemLink, AFailedWriteKeepsTheLineAndEndsThePass) {
    link.CommandOut(1, String("@EI"));
    link.CaptureState = 0;
    link.failWrites = true;
    Passes(1);
    EXPECT_EQ(link.sendFailures, 1);
    EXPECT_EQ(link.PendingCount, 1);
    EXPECT_EQ(link.RespReady, 0);
    EXPECT_EQ(link.TxReady, 0);
    EXPECT_EQ(link.CaptureState, 0);  // the capture step did not run
    // The restart's reset lets the line go out.
    link.failWrites = false;
    link.ResetLink();
    Passes(1);
    EXPECT_EQ(link.written, "@EI\r\n");
}

// ---- receive ring and idle pass --------------------------------------------------------------------

TEST_F(ModemLink, DataModesDropTheRingUnparsedAndTheIdleLoopRestsWhenEmpty) {
    link.TxReady = 0;
    link.LinkMode = 2;
    Feed("*CH=1B\r\n");
    for (int left = 7; left >= 0; --left) {
        Passes(1);
        ASSERT_EQ(link.RingCount(), left);
        EXPECT_EQ(link.IdleDone, 0);
    }
    EXPECT_EQ(link.CurrentChannel, 0);
    EXPECT_EQ(link.status[1], "");
    // CpuPower empty passes keep the loop awake; the next lets it rest.
    link.CpuPower = 3;
    Passes(3);
    EXPECT_EQ(link.IdleDone, 0);
    Passes(1);
    EXPECT_EQ(link.IdleDone, 1);
}

// ---- what the link keeps of the replies ------------------------------------------------------------

TEST_F(ModemLink, TheOpenCapturesTheHomeChannelAndTheEquipmentId) {
    link.TxReady = 0;
    link.CaptureState = 0;  // as the port's open sets it
    Passes(1);
    EXPECT_EQ(link.CapturePhase, 0);
    Reply("*EI=3C");  // not asked for yet
    EXPECT_EQ(link.CapturedEquipmentId, 0);
    Reply("*CH=1B");  // the pass that ends the frame moves the capture on
    EXPECT_EQ(link.HomeChannel, 27);
    EXPECT_EQ(link.CapturePhase, 1);
    Reply("*CH=05");  // the first reply alone is the home channel
    EXPECT_EQ(link.HomeChannel, 27);
    EXPECT_EQ(link.CurrentChannel, 5);
    EXPECT_FALSE(link.EquipmentIdReported());
    Reply("*EI=3C");
    EXPECT_EQ(link.SavedEquipmentId, 0x3C);
    EXPECT_TRUE(link.EquipmentIdReported());
    EXPECT_EQ(link.CapturePhase, 3);
}

TEST_F(ModemLink, ATestPacketIsAnsweredOnlyWhenItsFrameCarriesItsData) {
    link.TxReady = 0;
    Reply("*DR=0F[2]abcdefg03xyz");
    EXPECT_EQ(link.PendingCount, 1);
    EXPECT_EQ(Utf8(link.CmdQueue[1]), "@DT03xyz");
    EXPECT_EQ(link.waited, 20);
    link.CommandOut(0);
    Reply("*DR=0F[2]abcdefg04xyz");  // claims a byte more than it carries
    Reply("*DR=0F[1]abcdefg03xyz");  // no test packet
    EXPECT_EQ(link.PendingCount, 0);
}

TEST_F(ModemLink, AMultiPartTransferIsHandedOverWhenItsLastPartArrives) {
    link.TxReady = 0;
    link.RequestKind = 0;
    auto frame = [](std::string data) {
        return std::string("*DC=00") + Utf8(IntToHex(static_cast<int>(data.size()), 2)) + data;
    };
    Reply(frame(std::string("\x07\x03\x01", 3) + "zz"));  // a part before any header: dropped
    Reply(frame(std::string("\x07\x03\x00", 3)));          // header: two data parts
    Reply(frame(std::string("\x07\x03\x01", 3) + "ab"));
    EXPECT_TRUE(link.shown.empty());
    Reply(frame(std::string("\x07\x03\x02", 3) + "c"));
    EXPECT_EQ(link.shown, std::vector<std::string>{"TransferReceived abc"});
}

TEST_F(ModemLink, APortReplyOfKind02QueuesItsPortCommandAfterShowingIt) {
    link.TxReady = 0;
    Reply("*PR=02110F");
    EXPECT_EQ(link.shown, std::vector<std::string>{"ShowPortState 02 11 0F"});
    EXPECT_EQ(link.PendingCount, 1);
    EXPECT_EQ(Utf8(link.CmdQueue[1]), "@PO0F");
}

TEST(HexBytes, TwoDigitsOfEachLowByteSpacedOrNot) {
    EXPECT_EQ(HexBytes(String("@CH\r\n"), true).ToUtf8(), "40 43 48 0D 0A ");
    EXPECT_EQ(HexBytes(String(u"\u0141a"), false).ToUtf8(), "4161");
    EXPECT_EQ(HexBytes(String(), true).ToUtf8(), "");
}

}  // namespace
