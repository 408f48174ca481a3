// The termios device on a pseudo-terminal: the test holds the master side and plays the far end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <utility>

#include "platform/rtl/Clock.h"
#include "platform/win/Comm.h"
#include "platform/win/CommBaudOther.h"
#include "platform/win/CommTermios.h"
#include "platform/win/Errors.h"
#include "platform/win/tests/CommTestUtil.h"

using namespace commtest;

namespace {

struct Pty {
    int master = -1;
    std::string slave;
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        slave = ptsname(master);
    }
    ~Pty() { CloseMaster(); }
    void CloseMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void Send(const std::string& bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads until n bytes have come or ms of real time have passed.
    std::string Receive(size_t n, int ms = 2000) const {
        std::string out;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (out.size() < n && std::chrono::steady_clock::now() < end) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0) continue;
            char buf[256];
            ssize_t r = ::read(master, buf, std::min(sizeof buf, n - out.size()));
            if (r > 0) out.append(buf, static_cast<size_t>(r));
        }
        return out;
    }
};

HANDLE OpenPort(const std::string& name) {
    return CreateFile(String(name), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                      nullptr);
}

class PtyPort : public PortTest {
protected:
    rtl::ScopedManualClock clock;  // outlives the port's I/O thread
    Pty pty;

    void SetUp() override {
        ASSERT_FALSE(pty.slave.empty());
        h = OpenPort(pty.slave);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    }

    DCB State() {
        DCB d{};
        EXPECT_TRUE(GetCommState(h, &d));
        return d;
    }
    termios SlaveTermios() {
        termios t{};
        EXPECT_EQ(tcgetattr(pty.master, &t), 0);  // the master answers for the slave's settings
        return t;
    }
};

TEST(CommOpen, MissingDeviceIsFileNotFound) {
    for (const char16_t* name : {u"ttyNoSuchPort97", u"\\\\.\\ttyNoSuchPort97", u"/dev/ttyNoSuchPort97", u"COM1"}) {
        SetLastError(0);
        EXPECT_EQ(CreateFile(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << String(name);
    }
}

TEST(CommOpen, AFileThatIsNoPortIsRefused) {
    EXPECT_EQ(OpenPort("/dev/null"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(CommOpen, ForgedHandleIsInvalid) {
    DCB d{};
    EXPECT_FALSE(GetCommState(reinterpret_cast<HANDLE>(0x7777), &d));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE event = CreateEvent(nullptr, 1, 0, nullptr);
    EXPECT_FALSE(SetCommMask(event, EV_RXCHAR)) << "an event is not a port";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(event);
}

TEST(CommErrors, EveryCodeTheLayerProducesHasAText) {
    std::set<String> texts;
    for (DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE, ERROR_GEN_FAILURE,
                       ERROR_INVALID_PARAMETER, ERROR_OPERATION_ABORTED, ERROR_IO_INCOMPLETE, ERROR_IO_PENDING,
                       ERROR_DEVICE_NOT_CONNECTED, ERROR_NOT_ENOUGH_MEMORY}) {
        String text = SysErrorMessage(code);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(texts.insert(text).second) << "distinct text for " << code;
    }
    EXPECT_EQ(SysErrorMessage(ERROR_ACCESS_DENIED), String("Access is denied."));
    EXPECT_EQ(SysErrorMessage(123456), String("Unknown error 123456."));
}

TEST_F(PtyPort, SecondOpenIsAccessDenied) {
    HANDLE again = OpenPort(pty.slave);
    EXPECT_EQ(again, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // The platform prefix in front of a full path names the same port.
    EXPECT_EQ(OpenPort("\\\\.\\" + pty.slave), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(CloseHandle(h));
    h = OpenPort("\\\\.\\" + pty.slave);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "closing ends the exclusive use";
}

TEST_F(PtyPort, ImmediateReadTimeoutReturnsAtOnceWithNothing) {
    SetTimeouts({MAXDWORD, 0, 0, 0, 0});
    char buf[8];
    Async a;
    DWORD n = 99;
    ASSERT_TRUE(ReadFile(h, buf, 8, &n, &a.ov));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(a.Signalled());
}

TEST_F(PtyPort, ReadWithConstantTimeoutReturnsWhatCameAfterTheConstant) {
    SetTimeouts({MAXDWORD, 0, 3000, 0, 0});
    pty.Send("abc");
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == 3; }));
    char buf[5] = {};
    Async a;
    DWORD n = 0;
    ASSERT_FALSE(ReadFile(h, buf, 5, &n, &a.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    clock->Advance(2999);
    Settle();
    DWORD got = 0;
    EXPECT_FALSE(GetOverlappedResult(h, &a.ov, &got, 0));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    clock->Advance(1);
    ASSERT_TRUE(Eventually([&] { return a.Signalled(); }));
    ASSERT_TRUE(GetOverlappedResult(h, &a.ov, &got, 1));
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
}

TEST_F(PtyPort, EveryByteValuePassesUnchangedBothWays) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    all += std::string("\r\n\n\r\0\xff", 6);
    SetTimeouts({0, 0, 0, 0, 0});
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, all.data(), static_cast<DWORD>(all.size()), &n, nullptr));
    EXPECT_EQ(n, all.size());
    EXPECT_EQ(pty.Receive(all.size()), all) << "no output processing";
    pty.Send(all);
    std::string in(all.size(), '\0');
    ASSERT_TRUE(ReadFile(h, in.data(), static_cast<DWORD>(in.size()), &n, nullptr));
    EXPECT_EQ(n, all.size());
    EXPECT_EQ(in, all) << "no input processing, no signals";
    EXPECT_EQ(pty.Receive(1, 50), "") << "no echo";
}

TEST_F(PtyPort, ClosingTheFarEndEndsPendingReadsAndRaisesError) {
    SetTimeouts({0, 0, 0, 0, 0});
    ASSERT_TRUE(SetCommMask(h, EV_ERR | EV_RXCHAR));
    char buf[4];
    Async r, e;
    DWORD mask = 0;
    ASSERT_FALSE(ReadFile(h, buf, 4, nullptr, &r.ov));
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    pty.CloseMaster();
    ASSERT_TRUE(Eventually([&] { return r.Signalled() && e.Signalled(); }));
    Outcome o = Result(h, r);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_TRUE(Result(h, e).ok);
    EXPECT_EQ(mask & EV_ERR, EV_ERR);
    DWORD errors = 0;
    Stat(&errors);
    EXPECT_EQ(errors, CE_IOE);
    EXPECT_FALSE(ReadFile(h, buf, 4, nullptr, &r.ov));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
}

TEST_F(PtyPort, WriteHeldByXoffEndsAtItsTimeoutWithFewerBytes) {
    DCB d = State();
    d.fOutX = 1;
    ASSERT_TRUE(SetCommState(h, &d));
    SetTimeouts({MAXDWORD, 0, 0, 0, 300});
    pty.Send("\x13");
    ASSERT_TRUE(Eventually([&] { return Stat().fXoffHold; }));
    EXPECT_EQ(Stat().cbInQue, 0u) << "the flow character is not data";
    Async w;
    ASSERT_FALSE(WriteFile(h, "0123456789", 10, nullptr, &w.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    clock->Advance(299);
    Settle();
    EXPECT_FALSE(Completed(h, w));
    clock->Advance(1);
    ASSERT_TRUE(Eventually([&] { return Completed(h, w); }));
    Outcome o = Result(h, w);
    EXPECT_TRUE(o.ok);
    EXPECT_LT(o.bytes, 10u);
    EXPECT_EQ(pty.Receive(1, 50), "");
    // XON lets the next write through.
    pty.Send("\x11");
    ASSERT_TRUE(Eventually([&] { return !Stat().fXoffHold; }));
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "go", 2, &n, nullptr));
    EXPECT_EQ(pty.Receive(2), "go");
}

TEST_F(PtyPort, RatesReadBackFromTheKernel) {
    for (DWORD rate : {CBR_9600, CBR_19200, CBR_115200, CBR_14400, CBR_56000, CBR_128000, 250000u, CBR_256000}) {
        SCOPED_TRACE(rate);
        DCB d = State();
        d.BaudRate = rate;
        ASSERT_TRUE(SetCommState(h, &d));
        uint32_t in = 0, out = 0;
        ASSERT_EQ(win::GetRates(pty.master, &in, &out), 0);
        EXPECT_EQ(out, rate);
        EXPECT_EQ(in, rate);
        EXPECT_EQ(State().BaudRate, rate);
    }
}

// A rate the device refuses leaves the whole line as it was, not the other settings applied.
TEST_F(PtyPort, ARefusedOtherRateChangesNothing) {
    DCB before = State();
    termios t0 = SlaveTermios();
    uint32_t in0 = 0, out0 = 0;
    ASSERT_EQ(win::GetRates(pty.master, &in0, &out0), 0);
    DCB d = before;
    d.BaudRate = 250000;
    d.StopBits = TWOSTOPBITS;
    d.fOutxCtsFlow = 1;
    win::FailNextLineWithRate(EINVAL);
    EXPECT_FALSE(SetCommState(h, &d));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    termios t1 = SlaveTermios();
    EXPECT_EQ(t1.c_cflag, t0.c_cflag);
    uint32_t in1 = 0, out1 = 0;
    ASSERT_EQ(win::GetRates(pty.master, &in1, &out1), 0);
    EXPECT_EQ(out1, out0);
    DCB after = State();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof(DCB)), 0);
    // Taken, the same state reaches the line whole.
    ASSERT_TRUE(SetCommState(h, &d));
    EXPECT_EQ(SlaveTermios().c_cflag & (CSTOPB | CRTSCTS), tcflag_t(CSTOPB | CRTSCTS));
    ASSERT_EQ(win::GetRates(pty.master, &in1, &out1), 0);
    EXPECT_EQ(out1, 250000u);
}

TEST(CommTermios, LineSettingsTranslateToTermios) {
    struct Case {
        BYTE size, parity, stop;
        DWORD cts, rts;
        tcflag_t expect;
    } cases[] = {
        {8, NOPARITY, ONESTOPBIT, 0, RTS_CONTROL_ENABLE, CS8},
        {7, EVENPARITY, ONESTOPBIT, 0, RTS_CONTROL_DISABLE, CS7 | PARENB},
        {7, ODDPARITY, TWOSTOPBITS, 0, RTS_CONTROL_DISABLE, CS7 | PARENB | PARODD | CSTOPB},
        {8, MARKPARITY, ONESTOPBIT, 0, RTS_CONTROL_DISABLE, CS8 | PARENB | PARODD | CMSPAR},
        {6, SPACEPARITY, ONESTOPBIT, 1, RTS_CONTROL_DISABLE, CS6 | PARENB | CMSPAR | CRTSCTS},
        {8, NOPARITY, ONESTOPBIT, 0, RTS_CONTROL_HANDSHAKE, CS8 | CRTSCTS},
        {5, NOPARITY, ONE5STOPBITS, 0, RTS_CONTROL_TOGGLE, CS5 | CSTOPB},
    };
    const tcflag_t bits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.size) << "/" << int(c.parity) << "/" << int(c.stop));
        DCB d{};
        d.BaudRate = 19200;
        d.ByteSize = c.size;
        d.Parity = c.parity;
        d.StopBits = c.stop;
        d.fOutxCtsFlow = c.cts;
        d.fRtsControl = c.rts;
        d.fOutX = d.fInX = 1;
        d.XonChar = 0x11;
        d.XoffChar = 0x13;
        termios t{};
        t.c_lflag = ICANON | ECHO | ISIG;
        t.c_iflag = ICRNL | IXON;
        t.c_oflag = OPOST | ONLCR;
        win::TranslateDcb(d, t);
        EXPECT_EQ(t.c_cflag & bits, c.expect);
        EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
        EXPECT_EQ(t.c_lflag, 0u);
        EXPECT_EQ(t.c_oflag, 0u);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u) << "software flow control stays in user space";
        EXPECT_EQ(t.c_cc[VSTART], 0x11);
        EXPECT_EQ(t.c_cc[VSTOP], 0x13);
        EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
    }
}

TEST_F(PtyPort, StopBitsAndHardwareFlowReachThePseudoTerminal) {
    // A pseudo-terminal keeps no size or parity, but keeps the rest.
    DCB d = State();
    d.ByteSize = 7;
    d.Parity = EVENPARITY;
    d.StopBits = TWOSTOPBITS;
    d.fOutxCtsFlow = 1;
    ASSERT_TRUE(SetCommState(h, &d)) << GetLastError();
    termios t = SlaveTermios();
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(CSTOPB | CRTSCTS));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    DCB back = State();
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, EVENPARITY);
}

TEST_F(PtyPort, RefusedCombinationsAreInvalidParameter) {
    struct Case {
        DWORD rate;
        BYTE size, stop, parity;
    } cases[] = {
        {9600, 8, ONE5STOPBITS, NOPARITY}, {9600, 6, ONE5STOPBITS, NOPARITY}, {9600, 5, TWOSTOPBITS, NOPARITY},
        {0, 8, ONESTOPBIT, NOPARITY},      {9600, 4, ONESTOPBIT, NOPARITY},   {9600, 9, ONESTOPBIT, NOPARITY},
        {9600, 8, 3, NOPARITY},            {9600, 8, ONESTOPBIT, 5},
    };
    DCB before = State();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " " << int(c.size) << " " << int(c.stop) << " " << int(c.parity));
        DCB d = before;
        d.BaudRate = c.rate;
        d.ByteSize = c.size;
        d.StopBits = c.stop;
        d.Parity = c.parity;
        SetLastError(0);
        EXPECT_FALSE(SetCommState(h, &d));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    DCB same = before;
    same.fOutX = 1;
    same.XonChar = same.XoffChar = 0x13;
    EXPECT_FALSE(SetCommState(h, &same)) << "XON and XOFF must differ when software flow is on";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DCB after = State();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof(DCB)), 0) << "a refused state changes nothing";
    COMMTIMEOUTS never{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0};
    EXPECT_FALSE(SetCommTimeouts(h, &never));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PtyPort, FieldsWithoutTermiosCounterpartReadBackUnchanged) {
    DCB d = State();
    d.fOutxDsrFlow = 0;  // a pty shows DSR on; set, it would not hold anything either
    d.fDtrControl = DTR_CONTROL_HANDSHAKE;
    d.fRtsControl = RTS_CONTROL_TOGGLE;
    d.fDsrSensitivity = 1;
    d.fTXContinueOnXoff = 1;
    d.fErrorChar = 1;
    d.fAbortOnError = 1;
    d.fParity = 1;
    d.XonLim = 123;
    d.XoffLim = 321;
    d.ErrorChar = '?';
    d.EofChar = 0x1a;
    d.EvtChar = '\n';
    d.XonChar = 0x12;
    d.XoffChar = 0x14;
    ASSERT_TRUE(SetCommState(h, &d));
    DCB back = State();
    EXPECT_EQ(back.Flags, d.Flags);
    EXPECT_EQ(std::memcmp(&back, &d, sizeof(DCB)), 0);
}

TEST_F(PtyPort, PseudoTerminalReportsDsrAndCtsAndRecordsDtrRts) {
    DWORD status = 0;
    ASSERT_TRUE(GetCommModemStatus(h, &status));
    EXPECT_EQ(status, MS_CTS_ON | MS_DSR_ON);
    struct Case {
        DWORD function, lines;
    } cases[] = {{SETDTR, COMM_LINE_DTR},  {SETRTS, COMM_LINE_DTR | COMM_LINE_RTS}, {CLRDTR, COMM_LINE_RTS},
                 {SETBREAK, COMM_LINE_RTS}, {CLRBREAK, COMM_LINE_RTS},             {CLRRTS, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(EscapeCommFunction(h, c.function)) << c.function;
        DWORD lines = 99;
        ASSERT_TRUE(GetCommControlLines(h, &lines));
        EXPECT_EQ(lines, c.lines) << c.function;
    }
    DCB d = State();
    d.fDtrControl = DTR_CONTROL_ENABLE;
    d.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(SetCommState(h, &d));
    DWORD lines = 0;
    ASSERT_TRUE(GetCommControlLines(h, &lines));
    EXPECT_EQ(lines, COMM_LINE_DTR | COMM_LINE_RTS) << "the DCB's line control sets both";
}

TEST_F(PtyPort, TransmitEmptyWithoutAPendingWaitIsReturnedByTheNextWait) {
    ASSERT_TRUE(SetCommMask(h, EV_TXEMPTY));
    Async w;
    if (!WriteFile(h, "abcd", 4, nullptr, &w.ov)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    ASSERT_TRUE(Eventually([&] { return Completed(h, w); }));
    ASSERT_TRUE(Eventually([&] { return Stat().cbOutQue == 0; }));
    EXPECT_EQ(pty.Receive(4), "abcd");
    Async e;
    DWORD mask = 0;
    EXPECT_TRUE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(mask, EV_TXEMPTY);
}

TEST_F(PtyPort, SetCommMaskZeroEndsAPendingWait) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR | EV_CTS));
    Async e;
    DWORD mask = 0xFFFF;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(SetCommMask(h, 0));
    ASSERT_TRUE(e.Signalled());
    DWORD n = 0;
    EXPECT_TRUE(GetOverlappedResult(h, &e.ov, &n, 0));
    EXPECT_EQ(mask, 0u);
}

TEST_F(PtyPort, ReceivedBytesRaiseRxCharAndCount) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    Async e;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, &e.ov));
    pty.Send("hello");
    ASSERT_TRUE(Eventually([&] { return e.Signalled(); }));
    EXPECT_EQ(mask, EV_RXCHAR);
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == 5; }));
}

// Bytes that come while nobody waits may stay in the kernel until asked for: the queue count
// and a read still see every one of them, in order.
TEST_F(PtyPort, BytesNobodyWaitsForAreCountedAndRead) {
    pty.Send("abc");
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == 3; }));
    pty.Send("de");
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == 5; }));
    char buf[5] = {};
    DWORD n = 0;
    ASSERT_TRUE(ReadFile(h, buf, 5, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "abcde");
}

// Two threads wait at once: one serves the device while the other sleeps. Each gets its own
// bytes in order, and the second is served once the first has left.
TEST_F(PtyPort, ThreadsWaitingTogetherGetTheirBytesInOrder) {
    SetTimeouts({0, 0, 0, 0, 0});
    Async a, b;
    char ba[4] = {}, bb[4] = {};
    ASSERT_FALSE(ReadFile(h, ba, 4, nullptr, &a.ov));
    ASSERT_FALSE(ReadFile(h, bb, 4, nullptr, &b.ov));
    std::atomic<int> ended{0};
    auto wait = [&](Async& r) {
        DWORD n = 0;
        GetOverlappedResult(h, &r.ov, &n, 1);
        ++ended;
    };
    std::thread ta(wait, std::ref(a)), tb(wait, std::ref(b));
    Settle();
    pty.Send("abcd");
    EXPECT_TRUE(Eventually([&] { return ended.load() == 1; }));
    Settle();
    EXPECT_EQ(ended.load(), 1) << "the second read still waits for its bytes";
    pty.Send("efgh");
    EXPECT_TRUE(Eventually([&] { return ended.load() == 2; }));
    if (ended.load() < 2) CloseHandle(std::exchange(h, INVALID_HANDLE_VALUE));  // ends both waits
    ta.join();
    tb.join();
    EXPECT_EQ(std::string(ba, 4), "abcd");
    EXPECT_EQ(std::string(bb, 4), "efgh");
}

TEST_F(PtyPort, WaitCommEventOrStopEndsWithTheEventOrTheStop) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    HANDLE stop = CreateEvent(nullptr, 1, 0, nullptr);
    OVERLAPPED ov{};
    DWORD mask = 0, n = 0;
    std::thread sender([&] {
        Settle();
        pty.Send("x");
    });
    EXPECT_EQ(WaitCommEventOrStop(h, &mask, &ov, stop), WAIT_OBJECT_0 + 1);
    sender.join();
    EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, 0));
    EXPECT_EQ(mask, EV_RXCHAR);
    char c;
    ASSERT_TRUE(ReadFile(h, &c, 1, &n, nullptr));

    // A stop set by another thread ends the wait; the event wait itself stays pending.
    std::thread stopper([&] {
        Settle();
        SetEvent(stop);
    });
    EXPECT_EQ(WaitCommEventOrStop(h, &mask, &ov, stop), WAIT_OBJECT_0);
    stopper.join();
    EXPECT_FALSE(GetOverlappedResult(h, &ov, &n, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_INCOMPLETE));
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));

    // A stop outranks an event that is there as well.
    pty.Send("y");
    ASSERT_TRUE(Eventually([&] { return Stat().cbInQue == 1; }));
    EXPECT_EQ(WaitCommEventOrStop(h, &mask, &ov, stop), WAIT_OBJECT_0);
    EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, 0));
    EXPECT_EQ(mask, EV_RXCHAR);

    EXPECT_EQ(WaitCommEventOrStop(h, nullptr, &ov, stop), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(stop);
}

// The port notices a hang-up by itself while nobody waits: a write that would not even reach the
// device is refused, and the error waits for the next event wait.
TEST_F(PtyPort, AHangUpWhileNobodyWaitsIsSeenAtOnce) {
    ASSERT_TRUE(SetCommMask(h, EV_ERR));
    pty.CloseMaster();
    EXPECT_TRUE(Eventually([&] {
        DWORD n = 0;
        return !WriteFile(h, "", 0, &n, nullptr) && GetLastError() == ERROR_DEVICE_NOT_CONNECTED;
    }));
    Async e;
    DWORD mask = 0;
    EXPECT_TRUE(WaitCommEvent(h, &mask, &e.ov));
    EXPECT_EQ(mask, EV_ERR);
}

}  // namespace
