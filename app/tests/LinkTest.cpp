// The command queue and its sender, the receive ring and its echo, and the reply parser.
#include <random>
#include <thread>

#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/ExtCtrls.h"

using namespace wbtest;

namespace {

// ---- queue and sender ---------------------------------------------------------------------------

using Sender = LinkTest;

TEST_F(Sender, TheNextCommandWaitsForTheReplyAndTheTransmitEmpty) {
    sim->HoldTransmit(true);
    PortButton();
    ASSERT_TRUE(Settle([&] { return MainForm->PendingCount == 1; }));
    EXPECT_EQ(Utf8(MainForm->SendLine), "@CH\r\n");
    // The reply ends the frame, but "@CH" is still in the device: no transmit-empty yet.
    Reply("*CH=1B\r\n");
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->TxReady, 0);
    Passes(5);
    EXPECT_EQ(MainForm->PendingCount, 1);
    sim->HoldTransmit(false);
    ASSERT_TRUE(Settle([&] { return MainForm->PendingCount == 0; }));
    ASSERT_TRUE(Eventually([&] { Sent(); return sent == "@CH\r\n@MO\r\n"; })) << sent;
}

TEST_F(Sender, ANewQueueDiscardsThePendingOneAndWaitsForAnOutstandingReply) {
    OpenAndSendFirst();
    ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
    MainForm->CommandOut(0);
    EXPECT_EQ(MainForm->PendingCount, 0);
    Reply("*CH=1B\r\n");
    Passes(5);
    EXPECT_EQ(Sent(), "");  // "@MO" was discarded

    // A reply is outstanding: a new queue without RespReady waits for it.
    MainForm->RespReady = 1;
    MainForm->CommandOut(1, String("@EI"));
    ASSERT_TRUE(Settle([&] { return MainForm->PendingCount == 0; }));
    ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
    Sent();
    MainForm->CommandOut(1, String("@DI"));
    Passes(10);
    EXPECT_EQ(MainForm->PendingCount, 1);
    Reply("*EI=01\r\n");
    ASSERT_TRUE(Settle([&] { return MainForm->PendingCount == 0; }));
    ASSERT_TRUE(Eventually([&] { Sent(); return sent.ends_with("@EI\r\n@DI\r\n"); })) << sent;
}

TEST_F(Sender, EchoFollowsTheMonitorModeAndStopsOnTheAirMonitor) {
    OpenAndSendFirst();
    struct Case {
        int hexMode;
        uint8_t measureMode;
        const char* command;
        const char* echo;
    };
    const Case cases[] = {
        {0, 0, "@EI", "@EI\r\n"},
        {1, 0, "@CH", "40 43 48 0D 0A \r\n"},
        {1, 0, "@GI00/wx", "40 47 49 30 30 2F 77 78 0D 0A \r\n"},  // 8 characters: 10 groups
        {0, 4, "@RA", ""},
        {1, 5, "@RA", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        MainForm->Memo1->Clear();
        MainForm->RadioGroup3->SetItemIndex(c.hexMode);
        MainForm->MeasureMode = c.measureMode;
        MainForm->RespReady = 1;
        MainForm->CommandOut(1, String(c.command));
        Passes(1);
        EXPECT_EQ(MainForm->PendingCount, 0);
        EXPECT_EQ(Memo1(), c.echo);
    }
}

TEST_F(Sender, DataModesPaceQueuedLinesByTheTransmitEmptyAlone) {
    OpenAndSendFirst();
    for (uint8_t mode : {1, 2}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        Sent();
        sent.clear();
        MainForm->LinkMode = mode;
        MainForm->RespReady = 0;  // no reply will come
        sim->HoldTransmit(true);
        MainForm->CommandOut(3, String("c"), String("b"), String("a"));
        for (int line = 1; line <= 3; ++line) {
            Passes(3);
            EXPECT_EQ(MainForm->PendingCount, 3 - line);  // one line per transmit-empty
            sim->HoldTransmit(false);
            ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
            sim->HoldTransmit(true);
        }
        sim->HoldTransmit(false);
        ASSERT_TRUE(Eventually([&] { Sent(); return sent == "a\r\nb\r\nc\r\n"; })) << sent;
    }
}

TEST_F(Sender, AFailedWriteBeepsAsksForARestartAndKeepsTheLine) {
    OpenAndSendFirst();
    ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
    MainForm->RespReady = 1;
    MainForm->CommandOut(1, String("@EI"));
    MainForm->CaptureState = 0;
    win::ResetMessageBeeps();
    ui::ClearMessageBoxLog();
    sim->FailCall("WriteFile", ERROR_GEN_FAILURE);
    Passes(1);
    EXPECT_EQ(win::MessageBeepCount(), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{kSendErrorText});
    EXPECT_EQ(MainForm->PendingCount, 1);
    EXPECT_EQ(MainForm->RespReady, 0);
    EXPECT_EQ(MainForm->TxReady, 0);
    EXPECT_EQ(MainForm->CaptureState, 0);  // the pass ended before the capture step
}

TEST_F(Sender, AQueueMadeDuringTheWaitBeforeAWriteKeepsAllItsCommands) {
    OpenAndSendFirst();
    ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
    Sent();
    sent.clear();
    MainForm->RespReady = 1;
    MainForm->CommandOut(1, String("@MO"));
    // A timer falls due in the sender's 5 ms wait and queues two commands.
    auto* timer = new TTimer(MainForm);
    timer->SetInterval(1);
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        MainForm->RespReady = 1;
        MainForm->CommandOut(2, String("@B"), String("@A"));
    };
    (*clock)->Advance(20);  // timers have a 10 ms minimum
    Passes(1);  // writes "@MO", the old queue's line
    EXPECT_EQ(MainForm->PendingCount, 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        MainForm->RespReady = 1;
        Passes(1);
    }
    ASSERT_TRUE(Eventually([&] { Sent(); return sent == "@MO\r\n@A\r\n@B\r\n"; })) << sent;
}

// ---- receive ring and echo ----------------------------------------------------------------------

TEST(RxRing, WrapsAfterTheLastSlotAndGrowsRatherThanOverwrite) {
    TRxRing ring;
    std::u16string chars;
    for (int i = 0; i < 3000; ++i) chars.push_back(static_cast<char16_t>(i));
    // Wrap: 1000 in and out, then 100 across the end of the slots.
    ring.Push(chars.data(), 1000);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(ring.Get(), chars[static_cast<size_t>(i)]);
    ring.Push(chars.data(), 100);
    EXPECT_EQ(ring.Count(), 100);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(ring.Get(), chars[static_cast<size_t>(i)]);
    EXPECT_EQ(ring.Capacity(), TRxRing::kSlots);
    // Full: the ring grows, every character stays and keeps its place.
    ring.Push(chars.data(), 3000);
    EXPECT_EQ(ring.Count(), 3000);
    EXPECT_GE(ring.Capacity(), 3000u);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(ring.Get(), chars[static_cast<size_t>(i)]) << i;
    ring.Push(chars.data(), 5);
    ring.Clear();
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_EQ(ring.Capacity(), TRxRing::kSlots);
}

TEST(RxRing, AProducerThreadLosesNothingAndKeepsTheOrder) {
    TRxRing ring;
    constexpr int total = 100000;
    std::thread producer([&] {
        std::u16string chunk;
        for (int i = 0; i < total;) {
            chunk.clear();
            for (int k = 0; k < 37 && i < total; ++k, ++i) chunk.push_back(static_cast<char16_t>(i % 65000));
            ring.Push(chunk.data(), chunk.size());
        }
    });
    int taken = 0;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (taken < total && std::chrono::steady_clock::now() < end) {
        if (ring.Count() == 0) continue;
        ASSERT_EQ(ring.Get(), static_cast<char16_t>(taken % 65000)) << taken;
        ++taken;
    }
    producer.join();
    EXPECT_EQ(taken, total);
    EXPECT_EQ(ring.Count(), 0);
}

using Receive = LinkTest;

TEST_F(Receive, ReceivedCharactersEchoAsTextOrHexByLinkMode) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    struct Case {
        int hexMode;
        uint8_t linkMode;
        const char* echo;
    };
    const Case cases[] = {
        {0, 0, "*CH=1B\r\n"},
        {1, 0, "2A 43 48 3D 31 42 0D 0A "},
        {1, 2, "2A43483D31420D0A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.echo);
        MainForm->Memo1->Clear();
        MainForm->RadioGroup3->SetItemIndex(c.hexMode);
        MainForm->LinkMode = c.linkMode;
        sim->Send("*CH=1B\r\n");
        ASSERT_TRUE(Settle([&] { return Memo1() == c.echo; })) << Memo1();
        Drain();
    }
    // On the air monitor the command mode shows nothing.
    MainForm->LinkMode = 0;
    MainForm->MeasureMode = 4;
    MainForm->Memo1->Clear();
    sim->Send("*CH=1B\r\n");
    ASSERT_TRUE(Eventually([&] { return MainForm->RingCount() == 8; }));
    CheckSynchronize(0);
    EXPECT_EQ(Memo1(), "");
}

TEST_F(Receive, ADataModeEchoesABurstAtOnceAndDropsItUnparsed) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    MainForm->LinkMode = 1;
    MainForm->Memo1->Clear();
    std::string burst;
    for (int i = 0; i < 20; ++i) burst += "*CH=1";  // frames the parser would take
    sim->Send(burst);
    ASSERT_TRUE(Eventually([&] { return MainForm->RingCount() == 100; }));
    CheckSynchronize(0);
    EXPECT_EQ(Memo1(), burst);
    const int before = MainForm->RxState;
    for (int left = 99; left >= 0; --left) {
        Passes(1);
        ASSERT_EQ(MainForm->RingCount(), left);
    }
    EXPECT_EQ(MainForm->RxState, before);
    EXPECT_EQ(Panel(1), "");
}

// ---- reply parser -------------------------------------------------------------------------------

using Parser = Workbench;

TEST_F(Parser, FramesAreRecognisedDecodedAndEnded) {
    clock.emplace(1000);
    StartWithModel(String("ttyS0"));
    MainForm->TxReady = 0;  // no port: the sender stays quiet
    struct Case {
        const char* frame;
        int type, value;
        const char* panel1;
        const char* panel2;  // nullptr: not checked
        int respReady;
    };
    const Case cases[] = {
        {"*CH=1B", 15, 27, "Response > CH", "Value > 1Bh ( 27 )", 1},
        {"*MD=TX", 17, 1, "Response > MD", "Value > TX", 1},
        {"*MD=XX", 17, 255, "Response > MD", "Value > XX", 1},
        {"*RA=-85dBm", 6, 85, "Response > RA", nullptr, 1},
        {"*RS=-102dBm", 7, 102, "Response > RS", nullptr, 1},
        {"*RA=-5dBm", 6, -1, "Response > RA", nullptr, 0},
        {"*RA=-85dBX", 6, -1, "Response > RA", nullptr, 0},
        {"*RA=-85dBm\rX", 6, -1, "Response > RA", nullptr, 1},  // ends, no dispatch
        {"*XY=00", 255, -1, "Response > XY", nullptr, 0},
        {"*CHx=1B", 15, 27, "Response > CH", "Value > 1Bh ( 27 )", 1},
        {"junk*EI=05", 12, 5, "Response > EI", "Value > 05h ( 5 )", 1},
        {"*FV=1", 0, -1, "Response > FV", nullptr, 1},
        {"*PI=12AB34", 9, -1, "Response > PI", nullptr, 1},
        {"*UI=1234", 4, 0x1234, "Response > UI", "Value > 1234h ( 4660 )", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        MainForm->RespReady = 0;
        MainForm->ReplyValue = -1;
        Feed(std::string(c.frame) + "\r\n");
        Drain();
        EXPECT_EQ(MainForm->RxState, 0);
        if (c.type != 255) {
            EXPECT_EQ(MainForm->ReplyType, c.type);
        }
        EXPECT_EQ(MainForm->ReplyValue, c.value);
        EXPECT_EQ(Panel(1), c.panel1);
        if (c.panel2) {
            EXPECT_EQ(Panel(2), c.panel2);
        }
        EXPECT_EQ(MainForm->RespReady, c.respReady);
    }
    EXPECT_EQ(Utf8(MainForm->MvNumEdit6->Text()), "12AB34");
    EXPECT_EQ(MainForm->MvNumEdit7->ValueAsInt(), 0x12AB34);
}

TEST_F(Parser, DataFramesFillTheirBuffersAndStatesCostTheirPasses) {
    clock.emplace(1000);
    StartWithModel(String("ttyS0"));
    MainForm->TxReady = 0;  // no port: the sender stays quiet
    MainForm->RespReady = 0;
    Feed("*DR=03abc");
    for (int pass = 1; pass <= 10; ++pass) {
        ASSERT_EQ(MainForm->RespReady, 0) << pass;
        Passes(1);
    }
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->RxState, 0);
    EXPECT_EQ(std::string(MainForm->DataBuf.begin(), MainForm->DataBuf.begin() + 3), "abc");
    EXPECT_EQ(MainForm->DataLength, 3);

    // "UI": 4 characters to "=", a state without one, 4 payload characters, a state without one.
    MainForm->RespReady = 0;
    Feed("*UI=00A1\r\n");
    for (int pass = 1; pass <= 10; ++pass) {
        ASSERT_EQ(MainForm->RespReady, 0) << pass;
        Passes(1);
    }
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->ReplyValue, 0xA1);
}

TEST_F(Parser, AnSFormWaitsTwoSecondsThenAsksForTheMode) {
    clock.emplace(1000);
    StartWithModel(String("ttyS0"));
    MainForm->TxReady = 0;  // no port: the sender stays quiet
    MainForm->RespReady = 0;
    Feed("*CHS\r\n");
    const uint64_t before = GetTickCount64();
    Passes(4);
    EXPECT_GE(GetTickCount64() - before, 2000u);
    EXPECT_EQ(MainForm->RxState, 0);
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->PendingCount, 1);
    EXPECT_EQ(Utf8(MainForm->CmdQueue[1]), "@MO");
}

TEST_F(Parser, WordValuesAreDecodedByTheirCode) {
    clock.emplace(1000);
    StartWithModel(String("ttyS0"));
    MainForm->TxReady = 0;  // no port: the sender stays quiet
    EXPECT_EQ(MainForm->ResponseValue(String("VR"), String("12"), 1), 255);
    EXPECT_EQ(Panel(2), "Value > 12");
    EXPECT_EQ(MainForm->ResponseValue(String("EC"), String("OF"), 1), 1);
    EXPECT_EQ(MainForm->ResponseValue(String("CS"), String("EN"), 1), 0);
    EXPECT_EQ(MainForm->ResponseValue(String("RT"), String("NA"), 1), 0);
    EXPECT_EQ(MainForm->ResponseValue(String("UI"), String("FFFF"), 3), 0xFFFF);
    EXPECT_THROW(MainForm->ResponseValue(String("CH"), String("-8"), 1), Exception);
    EXPECT_EQ(MainForm->ResponseCode(String("FV")), 0);
    EXPECT_EQ(MainForm->ResponseCode(String("EC")), 42);
    EXPECT_EQ(MainForm->ResponseCode(String("")), 255);
}

using Recovery = LinkTest;

TEST_F(Recovery, ABadValuePurgesThePortClearsTheRingAndReleasesTheLink) {
    OpenAndSendFirst();
    Reply("*CH=1B\r\n");
    const size_t purges = sim->CallCount("PurgeComm");
    MainForm->RespReady = 0;
    Feed("*GI=ZZ*CH=22");
    Drain();
    EXPECT_GT(sim->CallCount("PurgeComm"), purges);
    EXPECT_EQ(MainForm->RingCount(), 0);
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->CurrentChannel, 27);  // the frame behind it went with the ring

    // An "RS" reply while the air monitor shows is read as "AM": its "-8" is no hexadecimal.
    MainForm->PageControl1->SetActivePage(MainForm->TabSheet1);
    MainForm->RespReady = 0;
    MainForm->UserCommandFlag = 1;
    Feed("*RS=-85dBm\r\n");
    Drain();
    EXPECT_EQ(MainForm->ReplyType, 5);
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->UserCommandFlag, 0);
    EXPECT_EQ(MainForm->RingCount(), 0);
}

// Random bytes through the ring: the parser never fails or reaches outside its buffers (the
// sanitizer build watches), and after the port's close and open a frame is parsed again.
TEST_F(Recovery, RandomBytesNeverBreakTheParser) {
    OpenAndSendFirst();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255), pick(0, 9);
    const std::string alphabet = "*=SDRCUIAMPGEHFVT0123456789ABCDEF-dBm\r\n[]";
    for (int round = 0; round < 300; ++round) {
        std::string chunk;
        for (int i = 0; i < 200; ++i)
            chunk += pick(random) < 6 ? alphabet[static_cast<size_t>(byte(random)) % alphabet.size()]
                                      : static_cast<char>(byte(random));
        Feed(chunk);
        Passes(250);
        MainForm->LinkMode = 0;  // a data mode would only drop the rest
    }
    Drain();
    PortButton();  // close
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    PortButton();  // open again
    ASSERT_TRUE(MainForm->ComPort1->Connected());
    Reply("*CH=2C\r\n");
    EXPECT_EQ(MainForm->CurrentChannel, 0x2C);
    EXPECT_EQ(Utf8(MainForm->MvNumEdit11->Text()), "44");
}

}  // namespace
