// The port logic (queues, time-outs, events, flow control, line state) over the simulated device,
// with the manual clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/win/Comm.h"
#include "platform/win/CommSim.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/win/tests/CommTestUtil.h"

using namespace commtest;
using win::SimDevice;

namespace {

class SimPort : public PortTest {
protected:
    // The clock first: it must outlive the port's I/O thread (the port is closed in TearDown).
    rtl::ScopedManualClock clock;
    std::shared_ptr<SimDevice> sim = SimDevice::Register(u"SIMT1");

    void Open() {
        h = CreateFile(u"\\\\.\\SIMT1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    }
    void SetUp() override { Open(); }

    void SendAndWait(const std::string& bytes) {
        DWORD before = Stat().cbInQue;
        sim->Send(bytes);
        ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == before + bytes.size(); }));
    }

    // Starts a wait for events and answers the mask once it has ended.
    DWORD NextEvents(int ms = 5000) {
        Async a;
        DWORD mask = 0xDEAD;
        if (!WaitCommEvent(h, &mask, &a.ov)) {
        EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
        EXPECT_TRUE(Eventually([&] { return Completed(h, a); }, ms));
        Outcome o = Result(h, a);
        if (!o.ok) {
            // Cancel the wait, so that its record is not left behind.
            SetCommMask(h, 0);
        }
        return mask;
    }
};

TEST(CommStructures, DcbFlagBitsMatchTheFlagsWord) {
    DCB d{};
    d.Flags = 0x2015;  // binary, CTS output flow, DTR enabled, RTS handshake
    EXPECT_EQ(d.fBinary, 1u);
    EXPECT_EQ(d.fParity, 0u);
    EXPECT_EQ(d.fOutxCtsFlow, 1u);
    EXPECT_EQ(d.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_EQ(d.fRtsControl, RTS_CONTROL_HANDSHAKE);
    d.Flags = 0;
    d.fInX = 1;
    d.fAbortOnError = 1;
    EXPECT_EQ(d.Flags, 0x0200u | 0x4000u);
    EXPECT_EQ(offsetof(DCB, XonLim), 14u);
    EXPECT_EQ(offsetof(DCB, EvtChar), 25u);
}

TEST_F(SimPort, DsrChangeRaisesEventAndModemStatusFollows) {
    CloseHandle(h);
    sim->SetCts(false);
    sim->SetDsr(false);
    Open();
    ASSERT_TRUE(SetCommMask(h, EV_DSR | EV_CTS));
    DWORD status = 0;
    ASSERT_TRUE(GetCommModemStatus(h, &status));
    EXPECT_EQ(status, 0u);
    Async a;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &a.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    Settle();
    EXPECT_FALSE(a.Signalled());
    sim->SetDsr(true);
    ASSERT_TRUE(Eventually([&] { return a.Signalled(); }));
    EXPECT_TRUE(Result(h, a).ok);
    EXPECT_EQ(mask, EV_DSR);
    ASSERT_TRUE(GetCommModemStatus(h, &status));
    EXPECT_EQ(status, MS_DSR_ON);
}

TEST_F(SimPort, RingAndCarrierRaiseTheirEvents) {
    ASSERT_TRUE(SetCommMask(h, EV_RING | EV_RLSD));
    sim->SetRlsd(true);
    EXPECT_EQ(NextEvents(), EV_RLSD);
    sim->SetRing(true);
    EXPECT_EQ(NextEvents(), EV_RING);
    DWORD status = 0;
    ASSERT_TRUE(GetCommModemStatus(h, &status));
    EXPECT_EQ(status, MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
}

TEST_F(SimPort, EscapeFunctionsDriveTheLines) {
    struct Case {
        DWORD code;
        bool dtr, rts, brk;
    } cases[] = {
        {SETDTR, true, false, false}, {SETRTS, true, true, false},  {SETBREAK, true, true, true},
        {CLRBREAK, true, true, false}, {CLRRTS, true, false, false}, {CLRDTR, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(EscapeCommFunction(h, c.code));
        EXPECT_EQ(sim->Dtr(), c.dtr);
        EXPECT_EQ(sim->Rts(), c.rts);
        EXPECT_EQ(sim->Break(), c.brk);
    }
    EXPECT_FALSE(EscapeCommFunction(h, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(SimPort, LineErrorsAreReportedOnceAndRaiseTheirEvent) {
    ASSERT_TRUE(SetCommMask(h, EV_ERR | EV_BREAK));
    struct Case {
        DWORD error, event;
    } cases[] = {{CE_FRAME, EV_ERR}, {CE_RXPARITY, EV_ERR}, {CE_OVERRUN, EV_ERR}, {CE_RXOVER, EV_ERR}, {CE_BREAK, EV_BREAK}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        sim->InjectErrors(c.error);
        EXPECT_EQ(NextEvents(), c.event);
        DWORD errors = 0;
        Stat(&errors);
        EXPECT_EQ(errors, c.error);
        Stat(&errors);
        EXPECT_EQ(errors, 0u) << "ClearCommError clears the error state";
    }
}

TEST_F(SimPort, FramingErrorIsClearedByTheFirstClearCommError) {
    sim->InjectErrors(CE_FRAME);
    DWORD errors = 0;
    ASSERT_TRUE(Eventually([&] {
        Stat(&errors);
        return errors != 0;
    }));
    EXPECT_EQ(errors, CE_FRAME);
    Stat(&errors);
    EXPECT_EQ(errors, 0u);
}

TEST_F(SimPort, TransmitEmptyWhileNoWaitIsPendingIsKeptForTheNextWait) {
    ASSERT_TRUE(SetCommMask(h, EV_TXEMPTY));
    sim->HoldTransmit(true);
    Async w;
    DWORD done = 0;
    if (!WriteFile(h, "ping", 4, &done, &w.ov)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    ASSERT_TRUE(Eventually([&] { return Completed(h, w); }));
    EXPECT_EQ(Result(h, w).bytes, 4u);
    EXPECT_EQ(Stat().cbOutQue, 4u) << "the device still holds the bytes";

    // Not empty yet: a wait stays pending.
    Async e;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    Settle();
    EXPECT_FALSE(Completed(h, e));
    ASSERT_TRUE(SetCommMask(h, EV_TXEMPTY));  // ends that wait
    ASSERT_TRUE(Completed(h, e));

    // The drain finishes while nobody waits (the library is busy dispatching a batch).
    sim->HoldTransmit(false);
    ASSERT_TRUE(Eventually([&] { return Stat().cbOutQue == 0; }));
    EXPECT_EQ(sim->TakeWritten(), "ping");
    Async e2;
    mask = 0;
    EXPECT_TRUE(WaitCommEvent(h, &mask, &e2.ov)) << "the event waited in the history";
    EXPECT_EQ(mask, EV_TXEMPTY);
    EXPECT_TRUE(e2.Signalled());
}

TEST_F(SimPort, ReceivedBytesWhileNoWaitIsPendingAreReportedAtTheNextWait) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    SendAndWait("x");
    DWORD mask = 0;
    Async e;
    EXPECT_TRUE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(mask, EV_RXCHAR);
    // Reported once: the next wait pends.
    EXPECT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(SetCommMask(h, 0));  // the record must not go while its wait is pending
}

TEST_F(SimPort, SetCommMaskEndsAPendingWaitWithMaskZero) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    Async e;
    DWORD mask = 0xFFFF;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_FALSE(e.Signalled()) << "starting the wait reset its event";
    ASSERT_TRUE(SetCommMask(h, 0));
    EXPECT_TRUE(e.Signalled());
    Outcome o = Result(h, e);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(mask, 0u);
    // With an empty mask there is nothing to wait for.
    EXPECT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(SimPort, EventCharacterAndEightyPercentRaiseTheirEvents) {
    DCB d{};
    ASSERT_TRUE(GetCommState(h, &d));
    d.EvtChar = '\n';
    ASSERT_TRUE(SetCommState(h, &d));
    ASSERT_TRUE(SetupComm(h, 100, 100));
    ASSERT_TRUE(SetCommMask(h, EV_RXFLAG | EV_RX80FULL));
    sim->Send("ab\n");
    EXPECT_EQ(NextEvents(), EV_RXFLAG);
    SendAndWait(std::string(76, 'x'));  // 79 bytes: below 80 %
    Async e;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    sim->Send("y");
    ASSERT_TRUE(Eventually([&] { return Completed(h, e); }));
    EXPECT_EQ(mask, EV_RX80FULL);
}

struct ReadCase {
    const char* name;
    COMMTIMEOUTS timeouts;
    DWORD count;
    std::string before;  // bytes waiting when the read starts
    uint64_t endsAt;     // ms of the clock at which the read completes; 0: at once
    std::string expect;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SimReadTimeouts : public SimPort, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SimReadTimeouts, ReadEndsAsTheTimeoutsSay) {
    const ReadCase& c = GetParam();
    SetTimeouts(c.timeouts);
    if (!c.before.empty()) SendAndWait(c.before);
    char buf[16] = {};
    Async a;
    DWORD done = 0;
    if (!ReadFile(h, buf, c.count, &done, &a.ov)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    if (c.endsAt > 0) {
        clock->Advance(c.endsAt - 1);
        Settle();
        ASSERT_FALSE(Completed(h, a)) << "ended before its time-out";
        clock->Advance(1);
    }
    ASSERT_TRUE(Eventually([&] { return Completed(h, a); }));
    Outcome o = Result(h, a);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(std::string(buf, o.bytes), c.expect);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SimReadTimeouts,
    ::testing::Values(ReadCase{"ImmediateWithData", {MAXDWORD, 0, 0, 0, 0}, 5, "ab", 0, "ab"},
                      ReadCase{"ImmediateEmpty", {MAXDWORD, 0, 0, 0, 0}, 5, "", 0, ""},
                      ReadCase{"CountOrConstant", {MAXDWORD, 0, 300, 0, 0}, 5, "abc", 300, "abc"},
                      ReadCase{"CountReachedBeforeConstant", {MAXDWORD, 0, 300, 0, 0}, 2, "abc", 0, "ab"},
                      ReadCase{"FirstByteTimesOut", {MAXDWORD, MAXDWORD, 300, 0, 0}, 5, "", 300, ""},
                      ReadCase{"FirstByteAlreadyThere", {MAXDWORD, MAXDWORD, 300, 0, 0}, 5, "ab", 0, "ab"},
                      ReadCase{"TotalIsMultiplierTimesCountPlusConstant", {0, 10, 100, 0, 0}, 5, "a", 150, "a"},
                      ReadCase{"IntervalAfterTheLastByte", {20, 0, 0, 0, 0}, 5, "ab", 20, "ab"},
                      ReadCase{"NoLimitEndsAtTheCount", {0, 0, 0, 0, 0}, 2, "ab", 0, "ab"}),
    rtl_test::PrintedName());

TEST_F(SimPort, FirstByteModeEndsWhenTheFirstByteArrives) {
    SetTimeouts({MAXDWORD, MAXDWORD, 1000, 0, 0});
    char buf[8] = {};
    Async a;
    ASSERT_FALSE(ReadFile(h, buf, 8, nullptr, &a.ov));
    Settle();
    EXPECT_FALSE(Completed(h, a));
    sim->Send("xy");
    ASSERT_TRUE(Eventually([&] { return Completed(h, a); }));
    EXPECT_GE(Result(h, a).bytes, 1u);
    EXPECT_EQ(buf[0], 'x');
}

TEST_F(SimPort, WriteBeyondQueueAndDeviceEndsAtItsTotalTimeoutWithTheBytesPlaced) {
    ASSERT_TRUE(SetupComm(h, 100, 16));
    SetTimeouts({0, 0, 0, 5, 50});  // 5 * 30 + 50 = 200 ms for 30 bytes
    sim->HoldTransmit(true, 4);
    Async w;
    std::string data(30, 'w');
    ASSERT_FALSE(WriteFile(h, data.data(), 30, nullptr, &w.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    clock->Advance(199);
    Settle();
    ASSERT_FALSE(Completed(h, w));
    clock->Advance(1);
    ASSERT_TRUE(Eventually([&] { return Completed(h, w); }));
    Outcome o = Result(h, w);
    EXPECT_TRUE(o.ok) << "a timed-out write is not a failure";
    EXPECT_EQ(o.bytes, 20u) << "4 taken by the device, 16 by the queue";
    EXPECT_EQ(Stat().cbOutQue, 20u);
    sim->HoldTransmit(false);
    std::string sent;
    EXPECT_TRUE(Eventually([&] { return (sent += sim->TakeWritten()).size() == 20; }));
    EXPECT_EQ(Stat().cbOutQue, 0u);
}

TEST_F(SimPort, CtsOutputFlowHoldsTheWriteUntilCtsRises) {
    CloseHandle(h);
    sim->SetCts(false);
    Open();
    DCB d{};
    ASSERT_TRUE(GetCommState(h, &d));
    d.fOutxCtsFlow = 1;
    ASSERT_TRUE(SetCommState(h, &d));
    Async w;
    ASSERT_FALSE(WriteFile(h, "abc", 3, nullptr, &w.ov));
    Settle();
    EXPECT_FALSE(Completed(h, w));
    EXPECT_TRUE(Stat().fCtsHold);
    EXPECT_EQ(sim->TakeWritten(), "");
    sim->SetCts(true);
    ASSERT_TRUE(Eventually([&] { return Completed(h, w); }));
    EXPECT_EQ(Result(h, w).bytes, 3u);
    EXPECT_EQ(sim->TakeWritten(), "abc");
}

TEST_F(SimPort, InputFlowControlSendsXoffNearFullAndXonWhenDrained) {
    ASSERT_TRUE(SetupComm(h, 100, 100));
    DCB d{};
    ASSERT_TRUE(GetCommState(h, &d));
    d.fInX = 1;
    d.XoffLim = 20;  // XOFF when 20 bytes or fewer are free
    d.XonLim = 10;   // XON when 10 bytes or fewer are queued
    ASSERT_TRUE(SetCommState(h, &d));
    SendAndWait(std::string(79, 'a'));
    EXPECT_EQ(sim->TakeWritten(), "");
    SendAndWait("b");
    ASSERT_TRUE(Eventually([&] { return Stat().fXoffSent; }));
    EXPECT_EQ(sim->TakeWritten(), "\x13");
    char buf[80];
    DWORD n = 0;
    ASSERT_TRUE(ReadFile(h, buf, 75, &n, nullptr));
    EXPECT_EQ(n, 75u);
    EXPECT_FALSE(Stat().fXoffSent);
    std::string sent;
    EXPECT_TRUE(Eventually([&] { return (sent += sim->TakeWritten()) == "\x11"; })) << sent;
}

TEST_F(SimPort, PurgeAbortsPendingTransfersAndClearsTheQueue) {
    SetTimeouts({0, 0, 0, 0, 0});
    ASSERT_TRUE(SetupComm(h, 100, 2));
    sim->HoldTransmit(true, 0);
    char buf[4];
    Async r, w;
    ASSERT_FALSE(ReadFile(h, buf, 4, nullptr, &r.ov));
    ASSERT_FALSE(WriteFile(h, "abcd", 4, nullptr, &w.ov));
    ASSERT_TRUE(PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT));
    for (Async* a : {&r, &w}) {
        EXPECT_TRUE(a->Signalled());
        Outcome o = Result(h, *a);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, ERROR_OPERATION_ABORTED);
    }
    EXPECT_EQ(Stat().cbOutQue, 2u) << "what the aborted write had placed stays queued";
    SendAndWait("xyz");
    ASSERT_TRUE(PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR));
    EXPECT_EQ(Stat().cbInQue, 0u);
    EXPECT_EQ(Stat().cbOutQue, 0u);
    EXPECT_FALSE(PurgeComm(h, 0x10));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(SimPort, AbsurdQueueSizeIsRefused) {
    EXPECT_FALSE(SetupComm(h, 0xFFFFFFFFu, 1024));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SendAndWait("still works");
}

// The I/O thread reads the device without the port's lock; a queue made smaller meanwhile must
// still take what was read, without overrunning it or losing bytes.
TEST_F(SimPort, ShrinkingTheReceiveQueueDuringADeviceReadKeepsEveryByte) {
    ASSERT_TRUE(SetupComm(h, 4096, 4096));
    std::atomic<bool> shrunk{false};
    sim->BeforeNextRead([&] {
        EXPECT_TRUE(SetupComm(h, 16, 16));
        shrunk = true;
    });
    std::string data(4096, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 1);
    sim->Send(data);
    ASSERT_TRUE(Eventually([&] { return shrunk.load(); }));
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == data.size(); }));
    SetTimeouts({MAXDWORD, 0, 0, 0, 0});
    std::string got(data.size(), '\0');
    DWORD n = 0;
    ASSERT_TRUE(ReadFile(h, got.data(), static_cast<DWORD>(got.size()), &n, nullptr));
    EXPECT_EQ(n, data.size());
    EXPECT_EQ(got, data);
}

// A purge asked for while the I/O thread reads the device without the lock clears what that
// read brings too: the bytes were in the device before the purge.
TEST_F(SimPort, PurgingDuringADeviceReadLeavesNothingBehind) {
    std::atomic<bool> purged{false};
    std::thread purger;
    sim->AfterNextRead([&] {
        purger = std::thread([&] {
            EXPECT_TRUE(PurgeComm(h, PURGE_RXCLEAR));
            purged = true;
        });
        // Gives a purge that does not wait for this read the time to end before it.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    sim->Send("stale");
    ASSERT_TRUE(Eventually([&] { return purged.load(); }));
    purger.join();
    EXPECT_EQ(Stat().cbInQue, 0u);
    SendAndWait("new");
    EXPECT_EQ(Stat().cbInQue, 3u);
}

TEST_F(SimPort, ClosingEndsPendingTransfersAndInvalidatesTheHandle) {
    char buf[4];
    Async r;
    ASSERT_FALSE(ReadFile(h, buf, 4, nullptr, &r.ov));
    EXPECT_TRUE(sim->IsOpen());
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_TRUE(r.Signalled());
    EXPECT_FALSE(sim->IsOpen());
    DWORD n = 0;
    EXPECT_FALSE(ReadFile(h, buf, 4, &n, &r.ov));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    h = INVALID_HANDLE_VALUE;
    Open();  // exclusive use ends with the close
}

TEST_F(SimPort, SecondOpenIsRefused) {
    HANDLE again = CreateFile(u"SIMT1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(again, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(SimPort, UnpluggedDeviceFailsTransfersAndRaisesError) {
    ASSERT_TRUE(SetCommMask(h, EV_ERR | EV_RXCHAR));
    char buf[4];
    Async r, e;
    DWORD mask = 0;
    ASSERT_FALSE(ReadFile(h, buf, 4, nullptr, &r.ov));
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    sim->Unplug();
    ASSERT_TRUE(Eventually([&] { return Completed(h, r) && Completed(h, e); }));
    EXPECT_EQ(Result(h, r).error, ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(mask, EV_ERR);
    DWORD errors = 0;
    Stat(&errors);
    EXPECT_EQ(errors, CE_IOE);
    EXPECT_FALSE(WriteFile(h, "a", 1, nullptr, &r.ov));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
    // Reported once: the event thread of a library is not woken again and again.
    EXPECT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(SetCommMask(h, 0));
}

TEST_F(SimPort, CallsThatReachTheDeviceAreLogged) {
    sim->ClearCalls();
    DCB d{};
    ASSERT_TRUE(GetCommState(h, &d));
    ASSERT_TRUE(SetupComm(h, 512, 512));
    ASSERT_TRUE(SetCommState(h, &d));
    COMMTIMEOUTS t{MAXDWORD, 0, 3000, 0, 3000};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    ASSERT_TRUE(PurgeComm(h, PURGE_TXCLEAR | PURGE_RXCLEAR));
    ASSERT_TRUE(EscapeCommFunction(h, SETDTR));
    ASSERT_TRUE(EscapeCommFunction(h, CLRRTS));
    EXPECT_EQ(sim->CallCount("SetupComm"), 1u);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
    EXPECT_EQ(sim->CallCount("SetCommTimeouts"), 1u);
    auto calls = sim->Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[3].name, "PurgeComm");
    EXPECT_EQ(calls[3].argument, PURGE_TXCLEAR | PURGE_RXCLEAR);
    EXPECT_EQ(calls[4].argument, SETDTR);
    EXPECT_EQ(calls[5].argument, CLRRTS);
    EXPECT_EQ(sim->State().BaudRate, d.BaudRate);
}

TEST_F(SimPort, BlockingTransfersWithoutOverlappedRecord) {
    SetTimeouts({0, 0, 0, 0, 0});
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "hello", 5, &n, nullptr));
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(sim->TakeWritten(), "hello");
    sim->Send("world");
    char buf[5];
    ASSERT_TRUE(ReadFile(h, buf, 5, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "world");
}

TEST_F(SimPort, TransmitCommCharGoesOut) {
    ASSERT_TRUE(TransmitCommChar(h, '\x7e'));
    ASSERT_TRUE(Eventually([&] { return sim->TakeWritten() == "\x7e"; }));
}

TEST_F(SimPort, AChosenCallFailsOnceWithTheInjectedErrorAndChangesNothing) {
    DCB dcb{};
    ASSERT_TRUE(GetCommState(h, &dcb));
    dcb.BaudRate = 9600;
    ASSERT_TRUE(SetCommState(h, &dcb));
    DCB faster = dcb;
    faster.BaudRate = 115200;
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 0};
    DWORD status = 0, errors = 0;
    struct Case {
        const char* name;
        DWORD error;
        std::function<BOOL()> call;
        std::function<bool()> tookEffect;  // what the call changes on the device, where visible
    };
    const Case cases[] = {
        {"SetCommState", ERROR_GEN_FAILURE, [&] { return SetCommState(h, &faster); },
         [&] { return sim->State().BaudRate == 115200; }},
        {"EscapeCommFunction", ERROR_GEN_FAILURE, [&] { return EscapeCommFunction(h, SETBREAK); },
         [&] { return sim->Break(); }},
        {"SetCommTimeouts", ERROR_INVALID_HANDLE, [&] { return SetCommTimeouts(h, &t); }, nullptr},
        {"SetCommMask", ERROR_ACCESS_DENIED, [&] { return SetCommMask(h, EV_RXCHAR); }, nullptr},
        {"SetupComm", ERROR_NOT_ENOUGH_MEMORY, [&] { return SetupComm(h, 4096, 4096); }, nullptr},
        {"PurgeComm", ERROR_GEN_FAILURE, [&] { return PurgeComm(h, PURGE_RXCLEAR); }, nullptr},
        {"ClearCommError", ERROR_DEVICE_NOT_CONNECTED, [&] { return ClearCommError(h, &errors, nullptr); }, nullptr},
        {"GetCommModemStatus", ERROR_GEN_FAILURE, [&] { return GetCommModemStatus(h, &status); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim->ClearCalls();
        sim->FailCall(c.name, c.error);
        SetLastError(0);
        EXPECT_FALSE(c.call());
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(sim->CallCount(c.name), 1u) << "the failed call still reached the device";
        if (c.tookEffect) {
            EXPECT_FALSE(c.tookEffect());
        }
        EXPECT_TRUE(c.call()) << "only the next call fails";
        if (c.tookEffect) {
            EXPECT_TRUE(c.tookEffect());
        }
    }
    ASSERT_TRUE(EscapeCommFunction(h, CLRBREAK));

    // A failed write takes nothing to send.
    sim->FailCall("WriteFile", ERROR_OPERATION_ABORTED);
    Async w;
    SetLastError(0);
    EXPECT_FALSE(WriteFile(h, "lost", 4, nullptr, &w.ov));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_EQ(Stat().cbOutQue, 0u);
    EXPECT_EQ(sim->TakeWritten(), "");
    // Two failures queue up for one name; error 0 withdraws what is still pending.
    sim->FailCall("SetCommMask", ERROR_GEN_FAILURE);
    sim->FailCall("SetCommMask", ERROR_GEN_FAILURE);
    EXPECT_FALSE(SetCommMask(h, EV_RXCHAR));
    sim->FailCall("SetCommMask", 0);
    EXPECT_TRUE(SetCommMask(h, EV_RXCHAR));
}

}  // namespace
