// Transfers, queries and line commands on the simulated device.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

class PortIO : public PortTest {
protected:
    void SetUp() override { port->Open(); }
    void WaitForInput(int n) {
        ASSERT_TRUE(Eventually([&] { return port->InputCount() >= n; }));
    }
};

TEST_F(PortIO, WriteStrSendsTheLowByteOfEachCharacter) {
    EXPECT_EQ(port->WriteStr(u""), 0);
    EXPECT_EQ(sim->CallCount("WriteFile"), 0u);
    String text = u"A\u3042\u00FF";
    EXPECT_EQ(port->WriteStr(text), 3);
    EXPECT_EQ(sim->TakeWritten(), std::string("A\x42\xFF", 3));
    EXPECT_EQ(text, u"A\u3042\u00FF") << "the caller's text is untouched";
}

TEST_F(PortIO, WriteStrAsyncUsesTheTextAsItsBuffer) {
    PAsync a = nullptr;
    AllocAsync(a);
    String text = u"xyz";
    EXPECT_EQ(port->WriteStrAsync(text, a), 3);
    EXPECT_EQ(port->WaitForAsync(a), 3);
    EXPECT_EQ(a->Size, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a->Data), 3), "xyz");
    ReleaseAsync(a);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(sim->TakeWritten(), "xyz");
}

// The record's own copy written again, whole or in part (the last write repeated): the copy
// must outlive the new record fill, because the transfer reads from it.
TEST_F(PortIO, TheRecordsOwnCopyCanBeWrittenAgain) {
    PAsync a = nullptr;
    AllocAsync(a);
    port->WriteAsync("hello", 5, a);
    EXPECT_EQ(port->WaitForAsync(a), 5);
    // Held, the repeat stays pending and takes its last byte from the copy after the hold.
    port->Buffer()->SetOutputSize(4);
    port->Timeouts()->SetWriteTotalMultiplier(0);
    port->Timeouts()->SetWriteTotalConstant(0);
    sim->HoldTransmit(true, 0);
    port->WriteAsync(a->Data, a->Size, a);
    EXPECT_FALSE(port->IsAsyncCompleted(a));
    sim->HoldTransmit(false);
    EXPECT_EQ(port->WaitForAsync(a), 5);
    port->WriteAsync(a->Data + 1, 3, a);
    EXPECT_EQ(port->WaitForAsync(a), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a->Data), static_cast<size_t>(a->Size)), "ell");
    ReleaseAsync(a);
    std::string wire;
    EXPECT_TRUE(Eventually([&] {
        wire += sim->TakeWritten();
        return wire.size() >= 13;
    }));
    EXPECT_EQ(wire, "hellohelloell");
}

TEST_F(PortIO, ReadStrGivesOneCharacterPerByte) {
    sim->Send(std::string("\x00\xFF", 2));
    WaitForInput(2);
    String s = u"old";
    EXPECT_EQ(port->ReadStr(s, 2), 2);
    EXPECT_EQ(s, String(u"\u0000\u00FF", 2));
    sim->ClearCalls();
    EXPECT_EQ(port->ReadStr(s, 0), 0);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(sim->CallCount("ReadFile"), 0u);
    // Fewer bytes than asked: the text is cut to what came (reads return at once by default).
    sim->Send("ab");
    WaitForInput(2);
    EXPECT_EQ(port->ReadStr(s, 10), 2);
    EXPECT_EQ(s, u"ab");
}

TEST_F(PortIO, CodePageTextRoundTrips) {
    EXPECT_EQ(port->WriteUnicodeString(u"\uFF71\u3042"), 6);
    std::string wire = sim->TakeWritten();
    EXPECT_EQ(wire, String(u"\uFF71\u3042").ToUtf8());
    port->SetCodePage(932);
    EXPECT_EQ(port->WriteUnicodeString(u"\uFF71"), 1);
    EXPECT_EQ(sim->TakeWritten(), "\xB1");
    sim->Send("\xB1\x82\xA0");
    WaitForInput(3);
    String s;
    EXPECT_EQ(port->ReadUnicodeString(s, 3), 2);
    EXPECT_EQ(s, u"\uFF71\u3042");
}

TEST_F(PortIO, ClosedPortErrors) {
    port->Close();
    sim->ClearCalls();
    PAsync a = nullptr;
    AllocAsync(a);
    char buf[4] = {};
    for (auto op : {std::function<void()>([&] { port->WriteAsync("x", 1, a); }),
                    std::function<void()>([&] { port->ReadAsync(buf, 1, a); })}) {
        Raised r = Catch(op);
        EXPECT_EQ(r.Code, 24);
        EXPECT_EQ(r.WinCode, -1);
        EXPECT_EQ(r.Message, "Port Not Open");
    }
    ReleaseAsync(a);
    EXPECT_EQ(Catch([&] { port->WriteStr(u"x"); }).Code, 24);
    Raised r = Catch([&] { port->ClearBuffer(true, false); });
    EXPECT_EQ(r.Code, 5);
    EXPECT_EQ(r.WinCode, 6);
    EXPECT_EQ(Catch([&] { port->Signals(); }).Code, 11);
    EXPECT_EQ(Catch([&] { port->InputCount(); }).Code, 10);
    EXPECT_EQ(Catch([&] { port->SetDTR(true); }).Code, 12);
    EXPECT_EQ(Catch([&] { port->TransmitChar(u'x'); }).Code, 13);
    EXPECT_NO_THROW(port->AbortAllAsync());
    PAsync none = nullptr;
    r = Catch([&] { port->WaitForAsync(none); });
    EXPECT_EQ(r.Code, 4);
    EXPECT_EQ(r.Message, "Invalid Async parameter");
}

TEST_F(PortIO, WithOnExceptionAClosedPortReportsOnceAndTransfersNothing) {
    port->Close();
    std::vector<TComExceptions> reports;
    port->OnException = [&](TPersistent*, TComExceptions e, const String&, int64_t win, const String&) {
        reports.push_back(e);
        EXPECT_EQ(win, -24);
    };
    String s = u"x";
    char buf[2];
    EXPECT_EQ(port->WriteStr(u"abc"), 0);
    EXPECT_EQ(port->Write("abc", 3), 0);
    EXPECT_EQ(port->ReadStr(s, 3), 0);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(port->Read(buf, 2), 0);
    EXPECT_EQ(reports, std::vector<TComExceptions>(4, CEPortNotOpen));
}

TEST_F(PortIO, ClearBufferPurgesInOneCall) {
    sim->ClearCalls();
    port->ClearBuffer(true, true);
    port->ClearBuffer(false, false);
    port->ClearBuffer(true, false);
    port->ClearBuffer(false, true);
    auto calls = sim->Calls();
    ASSERT_EQ(sim->CallCount("PurgeComm"), 3u);
    std::vector<DWORD> args;
    for (auto& c : calls)
        if (c.name == "PurgeComm") args.push_back(c.argument);
    EXPECT_EQ(args, (std::vector<DWORD>{12, 8, 4}));
}

TEST_F(PortIO, LineCommandsUseTheirEscapeCodes) {
    struct Case {
        std::function<void(TCustomComPort&, bool)> set;
        DWORD on, off;
    };
    const Case cases[] = {
        {[](TCustomComPort& p, bool v) { p.SetDTR(v); }, SETDTR, CLRDTR},
        {[](TCustomComPort& p, bool v) { p.SetRTS(v); }, SETRTS, CLRRTS},
        {[](TCustomComPort& p, bool v) { p.SetXonXoff(v); }, SETXON, SETXOFF},
        {[](TCustomComPort& p, bool v) { p.SetBreak(v); }, SETBREAK, CLRBREAK},
    };
    std::vector<DWORD> expected;
    sim->ClearCalls();
    for (const Case& c : cases) {
        c.set(*port, true);
        c.set(*port, false);
        expected.push_back(c.on);
        expected.push_back(c.off);
    }
    std::vector<DWORD> got;
    for (auto& call : sim->Calls())
        if (call.name == "EscapeCommFunction") got.push_back(call.argument);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(expected, (std::vector<DWORD>{5, 6, 3, 4, 2, 1, 8, 9}));
    port->SetDTR(true);
    EXPECT_TRUE(sim->Dtr());
    port->SetDTR(false);
    EXPECT_FALSE(sim->Dtr());
}

TEST_F(PortIO, SignalsFollowTheModemLines) {
    struct Case {
        bool cts, dsr, ring, rlsd;
        TComSignals expected;
    };
    const Case cases[] = {
        {false, false, false, false, {}},
        {true, false, false, false, {csCTS}},
        {false, true, false, false, {csDSR}},
        {false, false, true, false, {csRing}},
        {false, false, false, true, {csRLSD}},
        {true, true, true, true, {csCTS, csDSR, csRing, csRLSD}},
    };
    for (const Case& c : cases) {
        sim->SetCts(c.cts);
        sim->SetDsr(c.dsr);
        sim->SetRing(c.ring);
        sim->SetRlsd(c.rlsd);
        EXPECT_EQ(port->Signals().Bits(), c.expected.Bits());
    }
}

TEST_F(PortIO, LastErrorsMapsTheLineErrors) {
    struct Case {
        DWORD injected;
        bool check;
        TComErrors expected;
    };
    const Case cases[] = {
        {CE_RXPARITY, false, {}},
        {CE_RXPARITY, true, {ceRxParity}},
        {CE_FRAME | CE_RXPARITY, false, {ceFrame}},
        {CE_OVERRUN, false, {ceOverrun}},
        {CE_RXOVER, false, {ceRxOver}},
        {CE_BREAK, false, {ceBreak}},
    };
    for (const Case& c : cases) {
        port->Parity()->SetCheck(c.check);
        sim->InjectErrors(c.injected);
        EXPECT_EQ(port->LastErrors().Bits(), c.expected.Bits()) << c.injected;
    }
    // Any ClearCommError query takes the errors with it.
    sim->InjectErrors(CE_FRAME);
    port->InputCount();
    EXPECT_TRUE(port->LastErrors().Empty());
}

TEST_F(PortIO, AbortEndsAPendingWriteWithAnError) {
    // A write is done once its bytes are queued: a small queue and a held line keep it pending.
    port->Buffer()->SetOutputSize(4);
    sim->HoldTransmit(true, 0);
    port->Timeouts()->SetWriteTotalMultiplier(0);
    port->Timeouts()->SetWriteTotalConstant(0);  // no time-out: only the abort ends it
    PAsync a = nullptr;
    AllocAsync(a);
    EXPECT_EQ(port->WriteAsync("abcdefghij", 10, a), 0);
    EXPECT_FALSE(port->IsAsyncCompleted(a));
    EXPECT_EQ(port->OutputCount(), 10);
    port->AbortAllAsync();
    // Asking after the abort is a failure of the transfer, not a pending state.
    Raised r = Catch([&] { port->IsAsyncCompleted(a); });
    EXPECT_EQ(r.Code, 6);
    EXPECT_EQ(r.WinCode, static_cast<int>(ERROR_OPERATION_ABORTED));
    r = Catch([&] { port->WaitForAsync(a); });
    EXPECT_EQ(r.Code, 2);
    EXPECT_EQ(r.WinCode, static_cast<int>(ERROR_OPERATION_ABORTED));
    ReleaseAsync(a);
}

// A link that fails when the write has started must not leave the transfer writing into a
// record the synchronous write has already freed: the write still ends before the error passes.
TEST_F(PortIO, AFailingTxLinkLetsTheWriteEndFirst) {
    port->Buffer()->SetOutputSize(4);
    sim->HoldTransmit(true, 0);
    port->Timeouts()->SetWriteTotalMultiplier(0);
    port->Timeouts()->SetWriteTotalConstant(0);
    TComLink link;
    link.OnTx = [](TPersistent*, bool) { throw Exception(u"link failed"); };
    port->RegisterLink(&link);
    std::atomic<bool> released{false};
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        released = true;
        sim->HoldTransmit(false);
    });
    EXPECT_THROW(port->WriteStr(u"abcdefghij"), Exception);
    EXPECT_TRUE(released.load()) << "the error came while the write was still pending";
    releaser.join();
    port->UnRegisterLink(&link);
    EXPECT_TRUE(Eventually([&] { return sim->TakeWritten().size() > 0; }));
}

TEST_F(PortIO, LinksSeeWritesAndReads) {
    TComLink link;
    std::vector<std::string> seen;
    link.OnTx = [&](TPersistent*, bool on) { seen.push_back(on ? "Tx(1)" : "Tx(0)"); };
    link.OnTxBuf = [&](TPersistent*, const void* b, int n) {
        seen.push_back("TxBuf(" + std::string(static_cast<const char*>(b), static_cast<size_t>(n)) + ")");
    };
    link.OnRx = [&](TPersistent*, bool on) { seen.push_back(on ? "Rx(1)" : "Rx(0)"); };
    port->RegisterLink(&link);
    port->WriteStr(u"hi");
    sim->Send("z");
    WaitForInput(1);
    String s;
    port->ReadStr(s, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"Tx(1)", "TxBuf(hi)", "Rx(0)"}));
    port->UnRegisterLink(&link);
}

TEST_F(PortIO, OneShotEventWait) {
    TComEvents events{evRxChar};
    auto waiter = std::async(std::launch::async, [&] {
        port->WaitForEvent(events, nullptr, 5000);
        return events;
    });
    // The mask must be set before the byte arrives for the byte to count.
    ASSERT_TRUE(Eventually([&] { return Count(*sim, "SetCommMask", EV_RXCHAR) == 1; }));
    sim->Send("x");
    TComEvents got = waiter.get();
    EXPECT_TRUE(got.Contains(evRxChar));
    // A time-out is not an error; no event came.
    events = {evCTS};
    EXPECT_NO_THROW(port->WaitForEvent(events, nullptr, 0));
    EXPECT_TRUE(events.Empty());
    // A stop event ends it too.
    HANDLE stop = CreateEvent(nullptr, TRUE_, TRUE_, nullptr);
    events = {evCTS};
    EXPECT_NO_THROW(port->WaitForEvent(events, stop, 5000));
    EXPECT_TRUE(events.Empty());
    CloseHandle(stop);
}

TEST(PortIOClock, AWriteTimeOutReturnsTheShortCount) {
    rtl::ScopedManualClock clock;
    String name = UniqueName("SIMW");
    auto sim = win::SimDevice::Register(name);
    TComPort port(nullptr);
    port.SetPort(name);
    port.SetEvents({});
    port.Timeouts()->SetWriteTotalMultiplier(0);
    port.Timeouts()->SetWriteTotalConstant(100);
    port.Buffer()->SetOutputSize(4);
    port.Open();
    // The line is held: only what fits the transmit queue is taken.
    sim->HoldTransmit(true, 0);
    auto writer = std::async(std::launch::async, [&] { return port.WriteStr(u"0123456789"); });
    // Time moves only by hand: the write cannot end before 100 ms have been advanced.
    for (int i = 0; i < 2000 && writer.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready; ++i)
        clock->Advance(10);
    ASSERT_EQ(writer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(writer.get(), 4);
    EXPECT_GE(clock->MonotonicMs(), 100u);
    port.Close();
}

}  // namespace
