// Opening and closing: the order of the notifications, what is refused while open, reopening on
// a new name, and that a failed open never leaves the device open.
#include <gtest/gtest.h>

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

using Lifecycle = PortTest;
using Strings = std::vector<std::string>;

TEST_F(Lifecycle, OpenAndCloseNotifyInOrder) {
    sim->SetRlsd(false);
    LogEvents();
    TComLink link;
    link.OnConn = [&](TPersistent*, bool on) { log.push_back(on ? "link.Conn(1)" : "link.Conn(0)"); };
    link.OnCTSChange = [&](TPersistent*, bool on) { log.push_back(on ? "link.CTS(1)" : "link.CTS(0)"); };
    port->RegisterLink(&link);
    port->Open();
    EXPECT_TRUE(port->Connected());
    EXPECT_TRUE(sim->IsOpen());
    EXPECT_EQ(log, (Strings{"BeforeOpen", "link.Conn(1)", "AfterOpen", "link.CTS(1)", "CTS(1)", "DSR(1)", "RLSD(0)"}));
    log.clear();
    port->Close();
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_EQ(port->Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(log, (Strings{"link.CTS(0)", "CTS(0)", "DSR(0)", "RLSD(0)", "BeforeClose", "link.Conn(0)", "AfterClose"}));
    port->UnRegisterLink(&link);
}

TEST_F(Lifecycle, OpenReportsThePresentLines) {
    sim->SetCts(false);
    sim->SetRlsd(true);
    LogEvents();
    port->Open();
    EXPECT_EQ(log, (Strings{"BeforeOpen", "AfterOpen", "CTS(0)", "DSR(1)", "RLSD(1)"}));
}

TEST_F(Lifecycle, RepeatedOpenOrCloseChangesNothing) {
    LogEvents();
    port->Close();
    EXPECT_TRUE(log.empty());
    port->Open();
    log.clear();
    sim->ClearCalls();
    port->Open();
    port->SetConnected(true);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(sim->Calls().empty());
    port->SetConnected(false);
    EXPECT_FALSE(sim->IsOpen());
}

TEST_F(Lifecycle, AnEmptyEventSetMakesNoEventThread) {
    port->Open();
    // The event thread's first act would be to set the device's event mask.
    EXPECT_EQ(sim->CallCount("SetCommMask"), 0u);
    EXPECT_EQ(sim->CallCount("WaitCommEvent"), 0u);
    Raised r = Catch([&] {
        TComEvents events{evRxChar};
        port->WaitForEvent(events, nullptr, 0);
    });
    EXPECT_EQ(r.Code, 0) << "no thread, so the one-shot wait is allowed";
}

TEST_F(Lifecycle, ThreadSettingsAreRefusedWhileOpen) {
    port->SetSyncMethod(smNone);
    port->SetEventThreadPriority(tpHigher);
    EXPECT_EQ(port->SyncMethod(), smNone);
    port->Open();
    Raised r = Catch([&] { port->SetSyncMethod(smWindowSync); });
    EXPECT_EQ(r.Code, 14);
    EXPECT_EQ(r.WinCode, -1);
    EXPECT_EQ(r.Message, "Cannot set property while connected");
    EXPECT_EQ(port->SyncMethod(), smNone);
    EXPECT_EQ(Catch([&] { port->SetEventThreadPriority(tpLowest); }).Code, 14);
    EXPECT_EQ(port->EventThreadPriority(), tpHigher);
    // The same value is no change, so it is not refused.
    EXPECT_EQ(Catch([&] { port->SetSyncMethod(smNone); }).Code, 0);
}

TEST_F(Lifecycle, ANewPortNameReopensAndTheSameNameDoesNothing) {
    // Names are compared exactly: the other letter case is another device.
    String lower;
    for (char16_t c : name) lower.push_back(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    auto other = win::SimDevice::Register(lower);
    port->Open();
    LogEvents();
    port->SetPort(name);
    EXPECT_TRUE(log.empty());
    port->SetPort(lower);
    EXPECT_EQ(log, (Strings{"CTS(0)", "DSR(0)", "RLSD(0)", "BeforeClose", "AfterClose", "BeforeOpen",
                            "AfterOpen", "CTS(1)", "DSR(1)", "RLSD(0)"}));
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_TRUE(other->IsOpen());
    // A name that cannot be opened leaves the port closed.
    EXPECT_EQ(Catch([&] { port->SetPort(u"no-such-serial-device"); }).Code, 1);
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(other->IsOpen());
}

// Every way an open can fail once the device is open: the caller gets the error, and the port
// is closed and reports so.
struct FailCase {
    const char* name;
    std::function<void(TComPort&)> arrange;
    int code;  // the EComPort code expected, 0 for another exception
};

TEST_F(Lifecycle, AnOpenThatFailsLeavesThePortClosed) {
    const FailCase cases[] = {
        {"line settings refused", [](TComPort& p) { p.SetDataBits(dbFive); p.SetStopBits(sbTwoStopBits); }, 7},
        {"line signals unreadable",
         [](TComPort& p) { p.OnAfterOpen = [&p](TPersistent*) { CloseHandle(p.Handle()); }; }, 11},
        {"after-open handler raises",
         [](TComPort& p) { p.OnAfterOpen = [](TPersistent*) { throw Exception(u"handler"); }; }, 0},
        {"line handler raises",
         [](TComPort& p) { p.OnDSRChange = [](TPersistent*, bool) { throw Exception(u"handler"); }; }, 0},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.name);
        port = MakePort();
        c.arrange(*port);
        bool raised = false;
        int code = 0;
        try {
            port->Open();
        } catch (const EComPort& e) {
            raised = true;
            code = e.Code();
        } catch (const Exception&) {
            raised = true;
        }
        EXPECT_TRUE(raised);
        EXPECT_EQ(code, c.code);
        EXPECT_FALSE(port->Connected());
        EXPECT_FALSE(sim->IsOpen());
        // And the port can be opened again once the cause is gone.
        port->OnAfterOpen = nullptr;
        port->OnDSRChange = nullptr;
        port->SetStopBits(sbOneStopBit);
        port->Open();
        EXPECT_TRUE(port->Connected());
        port->Close();
    }
}

TEST_F(Lifecycle, LoadingStoresConnectedAndLoadedOpens) {
    port->BeginLoading();
    port->SetConnected(true);
    port->SetBaudRate(br38400);
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_TRUE(sim->Calls().empty());
    port->Loaded();
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(sim->State().BaudRate, 38400u);
}

TEST_F(Lifecycle, AFailedOpenInLoadedGoesToTheApplication) {
    std::vector<std::string> seen;
    SetComApplicationExceptionHandler([&](TPersistent* sender, std::exception_ptr e) {
        EXPECT_EQ(sender, port.get());
        try {
            std::rethrow_exception(e);
        } catch (const EComPort& x) {
            seen.push_back(x.Message().ToUtf8());
        }
    });
    port->SetPort(u"no-such-serial-device");
    port->BeginLoading();
    port->SetConnected(true);
    EXPECT_NO_THROW(port->Loaded());
    SetComApplicationExceptionHandler(nullptr);
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(seen, Strings{"Unable to open com port (Error: 2)"});
}

TEST_F(Lifecycle, DesigningNeverOpens) {
    port->SetDesigning(true);
    port->Open();
    port->SetConnected(true);
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_TRUE(port->Connected()) << "stored for the form";
}

TEST_F(Lifecycle, DestroyingClosesTheDevice) {
    LogEvents();
    port->Open();
    port->OnAfterClose = nullptr;
    port->OnBeforeClose = [](TPersistent*) { throw Exception(u"handler"); };
    bool reported = false;
    SetComApplicationExceptionHandler([&](TPersistent*, std::exception_ptr) { reported = true; });
    port.reset();
    SetComApplicationExceptionHandler(nullptr);
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_TRUE(reported);
}

}  // namespace

namespace {

// Logs the connection news a link gets.
struct ConnLink : TComLink {
    explicit ConnLink(std::vector<std::string>& log) {
        OnConn = [&log](TPersistent*, bool on) { log.push_back(on ? "Conn(1)" : "Conn(0)"); };
    }
};

}  // namespace

// Whoever was told "open" is told "closed" when the open fails afterwards, once; a failure
// before that tells nobody.
TEST_F(Lifecycle, AnOpenThatFailsLateTellsItsListenersItClosed) {
    struct Case {
        const char* name;
        std::function<void(TComPort&, win::SimDevice&, Strings&)> arrange;
        Strings expect;
    };
    const Strings told{"BeforeOpen", "Conn(1)", "AfterOpen", "Conn(0)", "AfterClose"};
    const Case cases[] = {
        {"line handler raises",
         [](TComPort& p, win::SimDevice&, Strings&) {
             p.OnCTSChange = [](TPersistent*, bool) { throw Exception(u"handler"); };
         },
         told},
        {"line signals unreadable",
         [](TComPort&, win::SimDevice& sim, Strings&) { sim.FailCall("GetCommModemStatus", ERROR_GEN_FAILURE); },
         told},
        {"after-open handler raises",
         [](TComPort& p, win::SimDevice&, Strings& log) {
             p.OnAfterOpen = [&log](TPersistent*) {
                 log.push_back("AfterOpen");
                 throw Exception(u"handler");
             };
         },
         told},
        {"line settings refused",
         [](TComPort&, win::SimDevice& sim, Strings&) { sim.FailCall("SetCommState", ERROR_GEN_FAILURE); },
         Strings{"BeforeOpen"}},
        {"event mask refused",
         [](TComPort&, win::SimDevice& sim, Strings&) { sim.FailCall("SetCommMask", ERROR_GEN_FAILURE); },
         Strings{"BeforeOpen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port = MakePort();
        port->SetEvents({evRxChar});
        log.clear();
        port->OnBeforeOpen = [this](TPersistent*) { log.push_back("BeforeOpen"); };
        port->OnAfterOpen = [this](TPersistent*) { log.push_back("AfterOpen"); };
        port->OnAfterClose = [this](TPersistent*) { log.push_back("AfterClose"); };
        ConnLink link(log);
        port->RegisterLink(&link);
        c.arrange(*port, *sim, log);
        bool raised = false;
        try {
            port->Open();
        } catch (const Exception&) {
            raised = true;
        }
        EXPECT_TRUE(raised);
        EXPECT_FALSE(port->Connected());
        EXPECT_FALSE(sim->IsOpen());
        EXPECT_EQ(log, c.expect);
        port->UnRegisterLink(&link);
    }
}

TEST_F(Lifecycle, AFailingEventMaskFailsTheOpen) {
    port->SetEvents({evRxChar});
    sim->FailCall("SetCommMask", ERROR_GEN_FAILURE);
    Raised r = Catch([&] { port->Open(); });
    EXPECT_EQ(r.Code, CE_WaitFailed + 1);
    EXPECT_EQ(r.WinCode, static_cast<int>(ERROR_GEN_FAILURE));
    EXPECT_FALSE(sim->IsOpen());
    // Once the device takes the mask, events come.
    int count = 0;
    port->OnRxChar = [&](TPersistent*, int n) { count += n; };
    port->SetSyncMethod(smNone);
    port->Open();
    sim->Send("ab");
    EXPECT_TRUE(Eventually([&] { return count == 2; }));
    port->Close();
}

// A handler that closes the port while it opens ends the open there, quietly.
TEST_F(Lifecycle, AHandlerMayCloseThePortWhileItOpens) {
    struct Case {
        const char* name;
        std::function<void(TComPort&)> arrange;
    };
    const Case cases[] = {
        {"after open", [](TComPort& p) { p.OnAfterOpen = [&p](TPersistent*) { p.Close(); }; }},
        {"line handler", [](TComPort& p) { p.OnCTSChange = [&p](TPersistent*, bool) { p.Close(); }; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port = MakePort();
        port->SetEvents({evRxChar});
        int afterClose = 0;
        port->OnAfterClose = [&](TPersistent*) { ++afterClose; };
        c.arrange(*port);
        Raised r = Catch([&] { port->Open(); });
        EXPECT_EQ(r.Code, 0) << r.Message;
        EXPECT_FALSE(port->Connected());
        EXPECT_FALSE(sim->IsOpen());
        EXPECT_EQ(afterClose, 1);
    }
}
