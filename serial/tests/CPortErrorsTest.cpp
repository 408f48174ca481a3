// Numbered errors: texts, the exception's fields, and OnException taking the report.
#include <gtest/gtest.h>

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

TEST(PortErrors, EveryCodeHasItsTextAndEnumerator) {
    const char* texts[] = {
        "Unable to open com port", "WriteFile function failed", "ReadFile function failed",
        "Invalid Async parameter", "PurgeComm function failed", "Unable to get async status",
        "SetCommState function failed", "SetCommTimeouts failed", "SetupComm function failed",
        "ClearCommError function failed", "GetCommModemStatus function failed",
        "EscapeCommFunction function failed", "TransmitCommChar function failed",
        "Cannot set property while connected", "EnumPorts function failed", "Failed to store settings",
        "Failed to load settings", "Link (un)registration failed",
        "Cannot change led state if ComPort is selected",
        "Cannot wait for event if event thread is created", "WaitForEvent method failed",
        "A component is linked to OnRxBuf event", "Registry error", "Port Not Open"};
    static_assert(CEPortNotOpen == 23 && CE_SetStateFailed == 6);
    for (int code = 1; code <= 24; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(PortErrorTexts(code), texts[code - 1]);
        EComPort bare = EComPort::CreateNoWinCode(code);
        EXPECT_EQ(bare.Code(), code);
        EXPECT_EQ(bare.WinCode(), -1);
        EXPECT_EQ(bare.Message(), texts[code - 1]);
        EComPort withCode(code, 87);
        EXPECT_EQ(withCode.WinCode(), 87);
        EXPECT_EQ(withCode.Message(), String(texts[code - 1]) + " (Error: 87)");
        EXPECT_STREQ(withCode.ClassName(), "EComPort");
    }
}

TEST(PortErrors, ReportRaisesWithOrWithoutThePlatformCode) {
    TComPort port(nullptr);
    Raised r = Catch([&] { port.ReportComError(7, 87); });
    EXPECT_EQ(r.Code, 7);
    EXPECT_EQ(r.WinCode, 87);
    EXPECT_EQ(r.Message, "SetCommState function failed (Error: 87)");
    // A negative platform code counts as none.
    r = Catch([&] { port.ReportComError(24, -24); });
    EXPECT_EQ(r.Code, 24);
    EXPECT_EQ(r.WinCode, -1);
    EXPECT_EQ(r.Message, "Port Not Open");
}

TEST(PortErrors, MissingDeviceRaisesCodeOneWithFileNotFound) {
    TComPort port(nullptr);
    port.SetPort(u"no-such-serial-device");
    std::vector<std::string> log;
    port.OnBeforeOpen = [&](TPersistent*) { log.push_back("BeforeOpen"); };
    port.OnAfterOpen = [&](TPersistent*) { log.push_back("AfterOpen"); };
    Raised r = Catch([&] { port.Open(); });
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.WinCode, 2);
    EXPECT_EQ(r.Message, "Unable to open com port (Error: 2)");
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(log, std::vector<std::string>{"BeforeOpen"});
}

TEST(PortErrors, OnExceptionTakesTheReportInsteadOfTheRaise) {
    TComPort port(nullptr);
    port.SetPort(u"no-such-serial-device");
    struct Seen {
        TComExceptions kind;
        std::string text;
        int64_t win;
        std::string winText;
    };
    std::vector<Seen> seen;
    bool afterOpen = false;
    port.OnAfterOpen = [&](TPersistent*) { afterOpen = true; };
    port.OnException = [&](TPersistent* sender, TComExceptions e, const String& text, int64_t win,
                           const String& winText) {
        EXPECT_EQ(sender, &port);
        seen.push_back({e, text.ToUtf8(), win, winText.ToUtf8()});
    };
    EXPECT_NO_THROW(port.Open());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, CE_OpenFailed);
    EXPECT_EQ(seen[0].text, "Unable to open com port");
    EXPECT_EQ(seen[0].win, 2);
    EXPECT_EQ(seen[0].winText, "The system cannot find the file specified.");
    // Open stops there: nothing is done with the invalid handle.
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(afterOpen);

    // A report without a platform code has an empty platform text.
    port.ReportComError(14, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].kind, CE_ConnChangeProp);
    EXPECT_EQ(seen[1].win, 0);
    EXPECT_EQ(seen[1].winText, "");
}

// Reported by name, an error keeps its number: raised, the code and its text; taken by
// OnException, the same name back.
TEST(PortErrors, ReportByNameGivesTheNumberedError) {
    TComPort port(nullptr);
    const std::pair<TComExceptions, int> cases[] = {
        {CE_OpenFailed, 1}, {CE_SetStateFailed, 7}, {CE_ConnChangeProp, 14}, {CE_LoadFailed, 17},
        {CE_WaitFailed, 21}, {CEPortNotOpen, 24}};
    for (auto [error, code] : cases) {
        SCOPED_TRACE(code);
        Raised r = Catch([&] { port.ReportComError(error, 0); });
        EXPECT_EQ(r.Code, code);
        EXPECT_EQ(r.Message, PortErrorTexts(code).ToUtf8());
    }
    std::vector<TComExceptions> seen;
    port.OnException = [&](TPersistent*, TComExceptions e, const String&, int64_t, const String&) { seen.push_back(e); };
    for (auto [error, code] : cases) port.ReportComError(error, 0);
    ASSERT_EQ(seen.size(), std::size(cases));
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], cases[i].first);
}

}  // namespace
