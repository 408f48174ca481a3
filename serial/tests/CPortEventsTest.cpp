// The event thread: its life with the port, the order of one batch, delivery by count or by
// buffer, links, and what happens to a handler's exception.
#include <gtest/gtest.h>

#include <mutex>

#include "platform/win/Window.h"

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

// A port whose notifications are logged under a lock (handlers may run on the event thread).
class Events : public PortTest {
protected:
    std::mutex mutex;
    std::vector<std::string> seen;

    void Note(const std::string& s) {
        std::lock_guard<std::mutex> g(mutex);
        seen.push_back(s);
    }
    std::vector<std::string> Seen() {
        std::lock_guard<std::mutex> g(mutex);
        return seen;
    }
    bool Has(const std::string& s) {
        auto v = Seen();
        return std::find(v.begin(), v.end(), s) != v.end();
    }
    // Waits for s, running the calls and messages the event thread hands to this (the main)
    // thread.
    bool Await(const std::string& s) {
        return Eventually([&] {
            CheckSynchronize(0);
            win::ProcessSentMessages();
            return Has(s);
        });
    }
    void LogAll() {
        port->OnError = [this](TPersistent*, TComErrors e) { Note("Error(" + std::to_string(e.Bits()) + ")"); };
        port->OnRxChar = [this](TPersistent*, int n) {
            String s;
            port->ReadStr(s, n);
            Note("RxChar(" + s.ToUtf8() + ")");
        };
        port->OnRxBuf = [this](TPersistent*, const void* b, int n) {
            Note("RxBuf(" + std::string(static_cast<const char*>(b), static_cast<size_t>(n)) + ")");
        };
        port->OnTxEmpty = [this](TPersistent*) { Note("TxEmpty"); };
        port->OnCTSChange = [this](TPersistent*, bool on) { Note(on ? "CTS(1)" : "CTS(0)"); };
        port->OnDSRChange = [this](TPersistent*, bool on) { Note(on ? "DSR(1)" : "DSR(0)"); };
        port->OnRLSDChange = [this](TPersistent*, bool on) { Note(on ? "RLSD(1)" : "RLSD(0)"); };
        port->OnRing = [this](TPersistent*) { Note("Ring"); };
        port->OnBreak = [this](TPersistent*) { Note("Break"); };
    }
    // What was seen up to and including the first end (the device may raise a late EV_ERR of
    // its own after the batch, which is no part of what a test looks at).
    std::vector<std::string> Until(const std::string& end) {
        auto v = Seen();
        auto it = std::find(v.begin(), v.end(), end);
        if (it != v.end()) v.erase(it + 1, v.end());
        return v;
    }
    static std::vector<std::string> After(const std::string& marker, std::vector<std::string> v) {
        auto it = std::find(v.begin(), v.end(), marker);
        return it == v.end() ? std::vector<std::string>{} : std::vector<std::string>(it + 1, v.end());
    }
};

TEST_F(Events, TheThreadLivesFromOpenToClose) {
    port->SetEvents(AllComEvents);
    port->Open();
    EXPECT_EQ(Count(*sim, "SetCommMask", 0x05FF), 1u);
    Raised r = Catch([&] {
        TComEvents events{evRxChar};
        port->WaitForEvent(events, nullptr, 0);
    });
    EXPECT_EQ(r.Code, 20);
    EXPECT_EQ(r.WinCode, -1);
    EXPECT_EQ(r.Message, "Cannot wait for event if event thread is created");
    sim->ClearCalls();
    port->Close();
    // Close aborts the transfers, then the thread resets the mask and drops both queues.
    std::vector<std::pair<std::string, DWORD>> calls;
    for (auto& c : sim->Calls())
        if (c.name != "WaitCommEvent") calls.emplace_back(c.name, c.argument);
    std::vector<std::pair<std::string, DWORD>> expected{
        {"PurgeComm", 3}, {"SetCommMask", 0}, {"PurgeComm", 12}};
    EXPECT_EQ(calls, expected);
}

// The batch is built while the event thread is held in a handler of an earlier batch: the
// three device events are all waiting when it asks again, so they come as one batch.
void ArrangeOneBatch(TCustomComPort& port, win::SimDevice& sim) {
    sim.SetCts(false);
    sim.Send("ab");
    sim.InjectErrors(CE_FRAME);
    // The query takes everything into the port's event history (and takes the error with it,
    // so a second one is there for the batch's own query).
    ASSERT_TRUE(Eventually([&] { return port.InputCount() == 2; }));
    sim.InjectErrors(CE_FRAME);
}

TEST_F(Events, ABatchRunsItsHandlersInTheFixedOrder) {
    for (TSyncMethod method : {smThreadSync, smNone}) {
        SCOPED_TRACE(method);
        port = MakePort();
        seen.clear();
        sim->SetCts(true);
        sim->SetDsr(true);
        port->SetSyncMethod(method);
        port->SetEvents({evError, evRxChar, evCTS, evDSR});
        LogAll();
        bool once = false;
        port->OnDSRChange = [&](TPersistent*, bool on) {
            if (!on && !once) {
                Note("held");
                once = true;
                ArrangeOneBatch(*port, *sim);
            }
        };
        port->Open();
        sim->SetDsr(false);
        ASSERT_TRUE(Await("CTS(0)"));
        EXPECT_EQ(After("held", Until("CTS(0)")), (std::vector<std::string>{"Error(1)", "RxChar(ab)", "CTS(0)"}));
        port->Close();
    }
}

// A port that shows the messages its utility window receives.
class WindowPort : public TComPort {
public:
    using TComPort::TComPort;
    std::function<void(const TMessage&)> OnMessage;

protected:
    void WndProc(TMessage& Message) override {
        if (OnMessage) OnMessage(Message);
        TComPort::WndProc(Message);
    }
};

TEST_F(Events, WindowSyncSendsOneMessagePerEventInHandlerOrder) {
    auto* windowPort = new WindowPort(nullptr);
    port.reset(windowPort);
    port->SetPort(name);
    port->SetSyncMethod(smWindowSync);
    port->SetEvents({evError, evRxChar, evCTS, evDSR});
    LogAll();
    windowPort->OnMessage = [this](const TMessage& m) {
        char text[40];
        std::snprintf(text, sizeof text, "msg %#x %#x", m.Msg, static_cast<unsigned>(m.WParam));
        Note(text);
    };
    port->Open();
    seen.clear();
    std::atomic<bool> queued{false};
    win::SetQueueWakeHook([&] { queued = true; });
    // The thread sends the DSR event and waits for this thread to take it; meanwhile the next
    // batch gathers in the port.
    sim->SetDsr(false);
    ASSERT_TRUE(Eventually([&] { return queued.load(); }));
    ArrangeOneBatch(*port, *sim);
    win::SetQueueWakeHook(nullptr);
    ASSERT_TRUE(Await("CTS(0)"));
    EXPECT_EQ(Until("CTS(0)"), (std::vector<std::string>{"msg 0x401 0x10", "DSR(0)", "msg 0x401 0x80", "Error(1)",
                                                "msg 0x401 0x1", "RxChar(ab)", "msg 0x401 0x8", "CTS(0)"}));
    // An exception of a step goes to the application, and the window goes on taking events.
    SetComApplicationExceptionHandler([this](TPersistent*, std::exception_ptr) { Note("App"); });
    port->OnCTSChange = [](TPersistent*, bool) { throw Exception(u"handler"); };
    sim->SetCts(true);
    ASSERT_TRUE(Await("App"));
    seen.clear();
    sim->SetDsr(true);
    EXPECT_TRUE(Await("DSR(1)"));
    port->OnCTSChange = nullptr;
    port->Close();
    SetComApplicationExceptionHandler(nullptr);
}

TEST_F(Events, WindowSyncDeliversLineAndRingEvents) {
    port->SetSyncMethod(smWindowSync);
    port->SetEvents({evRLSD});
    LogAll();
    port->Open();
    seen.clear();
    sim->SetRlsd(true);
    ASSERT_TRUE(Await("RLSD(1)"));
    port->Close();
    port->SetEvents({evRing});
    port->Open();
    seen.clear();
    sim->SetRlsd(false);
    sim->SetRing(true);
    ASSERT_TRUE(Await("Ring"));
    EXPECT_EQ(Seen(), std::vector<std::string>{"Ring"});
}

TEST_F(Events, WithoutCountDeliveryBytesComeAsABuffer) {
    port->SetSyncMethod(smNone);
    port->SetEvents({evRxChar});
    port->SetTriggersOnRxChar(false);
    LogAll();
    port->Open();
    sim->Send("hello");
    ASSERT_TRUE(Await("RxBuf(hello)"));
    for (auto& s : Seen()) EXPECT_EQ(s.rfind("RxChar", 0), std::string::npos) << s;
    EXPECT_EQ(port->InputCount(), 0);
}

TEST_F(Events, BufferLinksTakeTheBytes) {
    port->SetSyncMethod(smNone);
    port->SetEvents({evRxChar, evTxEmpty});
    LogAll();
    TComLink link;
    int conn = 0;
    link.OnConn = [&](TPersistent*, bool) { ++conn; };
    link.OnRxBuf = [this](TPersistent*, const void* b, int n) {
        Note("link.RxBuf(" + std::string(static_cast<const char*>(b), static_cast<size_t>(n)) + ")");
    };
    link.OnTxEmpty = [this](TPersistent*) { Note("link.TxEmpty"); };
    port->RegisterLink(&link);
    Raised r = Catch([&] { port->RegisterLink(&link); });
    EXPECT_EQ(r.Code, 18);
    EXPECT_EQ(r.Message, "Link (un)registration failed");
    EXPECT_FALSE(port->TriggersOnRxChar());
    r = Catch([&] { port->SetTriggersOnRxChar(true); });
    EXPECT_EQ(r.Code, 22);
    EXPECT_EQ(r.Message, "A component is linked to OnRxBuf event");
    port->Open();
    EXPECT_EQ(conn, 1) << "registered once";
    sim->Send("xyz");
    ASSERT_TRUE(Await("link.RxBuf(xyz)"));
    EXPECT_TRUE(Has("RxBuf(xyz)")) << "the port's own OnRxBuf runs first";
    EXPECT_FALSE(Has("RxChar(xyz)"));
    port->WriteStr(u"out");
    ASSERT_TRUE(Await("TxEmpty"));
    EXPECT_EQ(After("link.TxEmpty", Seen()), std::vector<std::string>{"TxEmpty"});
    port->Close();
    port->UnRegisterLink(&link);
    EXPECT_EQ(Catch([&] { port->UnRegisterLink(&link); }).Code, 18);
    EXPECT_TRUE(port->TriggersOnRxChar());
}

TEST_F(Events, LineAndRingEventsReportThePresentState) {
    port->SetSyncMethod(smThreadSync);
    port->SetEvents({evRLSD, evRing, evBreak});
    LogAll();
    port->Open();
    seen.clear();
    sim->SetRlsd(true);
    ASSERT_TRUE(Await("RLSD(1)"));
    sim->SetRing(true);
    ASSERT_TRUE(Await("Ring"));
    sim->InjectErrors(CE_BREAK);
    ASSERT_TRUE(Await("Break"));
    EXPECT_FALSE(Has("CTS(0)")) << "CTS is not among the events";
}

TEST_F(Events, AHandlerExceptionGoesToTheApplicationAndDeliveryGoesOn) {
    for (TSyncMethod method : {smThreadSync, smNone}) {
        SCOPED_TRACE(method);
        port = MakePort();
        seen.clear();
        port->SetSyncMethod(method);
        port->SetEvents({evRxChar, evTxEmpty});
        LogAll();
        port->OnRxChar = [](TPersistent*, int) { throw Exception(u"handler failed"); };
        SetComApplicationExceptionHandler([this](TPersistent* sender, std::exception_ptr e) {
            EXPECT_EQ(sender, port.get());
            try {
                std::rethrow_exception(e);
            } catch (const Exception& x) {
                Note("App(" + x.Message().ToUtf8() + ")");
            }
        });
        port->Open();
        sim->Send("x");
        ASSERT_TRUE(Await("App(handler failed)"));
        port->WriteStr(u"y");
        EXPECT_TRUE(Await("TxEmpty"));
        port->Close();
        SetComApplicationExceptionHandler(nullptr);
    }
}

TEST_F(Events, CloseWhileABatchWaitsForTheMainThread) {
    port->SetSyncMethod(smThreadSync);
    port->SetEvents({evCTS});
    LogAll();
    port->Open();
    std::atomic<bool> queued{false};
    SetWakeMainThread([&] { queued = true; });
    sim->SetCts(false);
    // The thread has handed its batch to this thread and waits for it to run.
    ASSERT_TRUE(Eventually([&] { return queued.load(); }));
    seen.clear();
    port->Close();
    SetWakeMainThread(nullptr);
    EXPECT_FALSE(port->Connected());
    // Close's own notification, then the batch run while Close waited for the thread.
    auto v = Seen();
    EXPECT_EQ(std::count(v.begin(), v.end(), "CTS(0)"), 2);
}

// A handler of the port's own batch cannot close it: on the event thread (smNone) the thread
// would wait for itself, and under smThreadSync the thread waits for the batch it handed to the
// main thread.
TEST_F(Events, CloseFromAHandlerOfItsOwnBatchIsRefusedNotAHang) {
    SetComApplicationExceptionHandler([this](TPersistent*, std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const EInvalidOperation&) {
            Note("refused");
        }
    });
    port->SetEvents({evRxChar});
    port->OnRxChar = [this](TPersistent*, int) { port->Close(); };
    for (TSyncMethod method : {smNone, smThreadSync}) {
        SCOPED_TRACE(static_cast<int>(method));
        {
            std::lock_guard<std::mutex> g(mutex);
            seen.clear();
        }
        port->SetSyncMethod(method);
        port->Open();
        sim->Send("x");
        EXPECT_TRUE(Await("refused"));
        EXPECT_TRUE(port->Connected());
        port->Close();
        EXPECT_FALSE(sim->IsOpen());
    }
    SetComApplicationExceptionHandler(nullptr);
}

TEST_F(Events, AReadInAHandlerLeavesLineErrorsForOnError) {
    port->SetSyncMethod(smNone);
    port->SetEvents({evRxChar, evError});
    LogAll();
    port->OnRxChar = [this](TPersistent*, int n) {
        sim->InjectErrors(CE_FRAME);
        size_t queries = sim->CallCount("ClearCommError");
        String s;
        port->ReadStr(s, n);
        EXPECT_EQ(sim->CallCount("ClearCommError"), queries) << "the read asks nothing that clears errors";
        Note("RxChar(" + s.ToUtf8() + ")");
    };
    port->Open();
    sim->Send("e");
    EXPECT_TRUE(Await("RxChar(e)"));
    EXPECT_TRUE(Await("Error(1)"));
}

TEST_F(Events, ReopeningMakesAFreshThread) {
    port->SetSyncMethod(smNone);
    port->SetEvents({evRxChar});
    LogAll();
    for (int i = 0; i < 3; ++i) {
        port->Open();
        std::string text = "r" + std::to_string(i);
        sim->Send(text);
        ASSERT_TRUE(Await("RxChar(" + text + ")"));
        port->Close();
    }
}

// Each step of a batch has its own catch: a raising receive handler still lets the transmit-empty
// of the same batch through, so a sender waiting for it does not stall.
TEST_F(Events, ARaisingHandlerLeavesTheRestOfItsBatch) {
    SetComApplicationExceptionHandler([this](TPersistent*, std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const Exception& x) {
            Note("App(" + x.Message().ToUtf8() + ")");
        }
    });
    for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
        SCOPED_TRACE(static_cast<int>(method));
        port = MakePort();
        {
            std::lock_guard<std::mutex> g(mutex);
            seen.clear();
        }
        port->SetSyncMethod(method);
        port->SetEvents({evRxChar, evTxEmpty, evCTS});
        BatchHold hold(method);
        port->OnCTSChange = [&](TPersistent*, bool) { hold.InHandler(); };
        port->OnRxChar = [](TPersistent*, int) { throw Exception(u"handler failed"); };
        port->OnTxEmpty = [this](TPersistent*) { Note("TxEmpty"); };
        sim->SetCts(true);
        port->Open();
        sim->SetCts(false);
        ASSERT_TRUE(Eventually([&] { return hold.Waiting(); }));
        // Both arrive while the held batch waits, so the next batch carries both.
        sim->Send("x");
        port->WriteStr(u"y");
        ASSERT_TRUE(Eventually([&] { return port->InputCount() == 1; }));
        hold.Release();
        EXPECT_TRUE(Await("App(handler failed)"));
        EXPECT_TRUE(Await("TxEmpty"));
        port->Close();
    }
    SetComApplicationExceptionHandler(nullptr);
}

// A port freed from a handler of its own batch is freed once the batch has ended, on the main
// thread; nothing more is delivered to it meanwhile.
TEST_F(Events, AHandlerMayFreeItsOwnPort) {
    struct Port : TComPort {
        using TComPort::TComPort;
        std::function<void()> destroyed;
        ~Port() override { destroyed(); }
    };
    for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
        SCOPED_TRACE(static_cast<int>(method));
        {
            std::lock_guard<std::mutex> g(mutex);
            seen.clear();
        }
        auto* p = new Port(nullptr);
        p->SetPort(name);
        p->SetSyncMethod(method);
        p->SetEvents({evRxChar, evTxEmpty});
        p->destroyed = [this] { Note("destroyed"); };
        p->OnRxChar = [this, p](TPersistent*, int) {
            Note("RxChar");
            p->Free();
            Note("returned");
        };
        p->OnTxEmpty = [this](TPersistent*) { Note("TxEmpty"); };
        p->OnAfterClose = [this](TPersistent*) { Note("AfterClose"); };
        p->Open();
        sim->Send("x");
        ASSERT_TRUE(Await("AfterClose"));
        EXPECT_EQ(Seen(), (std::vector<std::string>{"RxChar", "returned", "destroyed", "AfterClose"}));
        EXPECT_FALSE(sim->IsOpen());
    }
}

}  // namespace
