// Settings objects and what the three apply steps hand to the device.
#include <gtest/gtest.h>

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

using PortSettings = PortTest;

TEST_F(PortSettings, DefaultsGiveTheDefaultControlBlock) {
    port->Open();
    DCB d = sim->State();
    EXPECT_EQ(d.DCBlength, 28u);
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(d.Flags, 0x0001u);
    EXPECT_EQ(d.XonLim, 256);
    EXPECT_EQ(d.XoffLim, 256);
    EXPECT_EQ(d.XonChar, 0x11);
    EXPECT_EQ(d.XoffChar, 0x13);
    EXPECT_EQ(d.ErrorChar, 0);
    EXPECT_EQ(d.EofChar, 0);
    EXPECT_EQ(d.EvtChar, 0);
    COMMTIMEOUTS t{};
    ASSERT_TRUE(GetCommTimeouts(port->Handle(), &t));
    EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
}

TEST_F(PortSettings, TheWorkbenchSettingsApplyAsWritten) {
    port->SetBaudRate(br19200);
    port->Buffer()->SetInputSize(512);
    port->Buffer()->SetOutputSize(512);
    port->FlowControl()->SetOutCTSFlow(true);
    port->FlowControl()->SetControlDTR(dtrEnable);
    port->FlowControl()->SetControlRTS(rtsHandshake);
    port->Timeouts()->SetReadTotalConstant(3000);
    port->Timeouts()->SetWriteTotalMultiplier(0);
    port->Timeouts()->SetWriteTotalConstant(3000);
    port->Open();
    DCB d = sim->State();
    EXPECT_EQ(d.BaudRate, 19200u);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(d.Flags, 0x2015u);
    EXPECT_EQ(d.XonLim, 128);
    EXPECT_EQ(d.XoffLim, 128);
    EXPECT_EQ(d.XonChar, 0x11);
    EXPECT_EQ(d.XoffChar, 0x13);
    EXPECT_EQ(Count(*sim, "SetupComm", 512), 1u);
    COMMTIMEOUTS t{};
    ASSERT_TRUE(GetCommTimeouts(port->Handle(), &t));
    EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 3000u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 3000u);
    // The device's own state follows: DTR enabled, RTS under handshake.
    EXPECT_TRUE(sim->Dtr());
    EXPECT_TRUE(sim->Rts());
}

// Each case changes the settings of an open port; the control block must follow at once.
struct LineCase {
    const char* name;
    std::function<void(TCustomComPort&)> change;
    std::function<void(const DCB&)> check;
};

TEST_F(PortSettings, EachLineSettingReachesItsField) {
    const LineCase cases[] = {
        {"custom rate", [](TCustomComPort& p) { p.SetCustomBaudRate(250000); p.SetBaudRate(brCustom); },
         [](const DCB& d) { EXPECT_EQ(d.BaudRate, 250000u); }},
        {"table rate", [](TCustomComPort& p) { p.SetBaudRate(br115200); },
         [](const DCB& d) { EXPECT_EQ(d.BaudRate, 115200u); }},
        {"even parity unchecked", [](TCustomComPort& p) { p.Parity()->SetBits(prEven); p.Parity()->SetReplace(true); p.Parity()->SetReplaceChar(u'X'); },
         [](const DCB& d) {
             EXPECT_EQ(d.Parity, EVENPARITY);
             EXPECT_EQ(d.Flags & 0x0402u, 0u);
             EXPECT_EQ(d.ErrorChar, 0);
         }},
        {"checked parity with replacement", [](TCustomComPort& p) { p.Parity()->SetBits(prMark); p.Parity()->SetCheck(true); p.Parity()->SetReplace(true); p.Parity()->SetReplaceChar(u'X'); },
         [](const DCB& d) {
             EXPECT_EQ(d.Parity, MARKPARITY);
             EXPECT_EQ(d.Flags, 0x0403u);
             EXPECT_EQ(d.ErrorChar, 'X');
         }},
        {"framing", [](TCustomComPort& p) { p.SetDataBits(dbSeven); p.SetStopBits(sbTwoStopBits); },
         [](const DCB& d) { EXPECT_EQ(d.ByteSize, 7); EXPECT_EQ(d.StopBits, TWOSTOPBITS); }},
        {"discard null and event char", [](TCustomComPort& p) { p.SetDiscardNull(true); p.SetEventChar(u'\u3042'); },
         [](const DCB& d) { EXPECT_EQ(d.Flags, 0x0801u); EXPECT_EQ(d.EvtChar, 0x42); }},
        {"handshake lines", [](TCustomComPort& p) { p.FlowControl()->SetControlDTR(dtrHandshake); p.FlowControl()->SetControlRTS(rtsToggle); p.FlowControl()->SetOutDSRFlow(true); p.FlowControl()->SetDSRSensitivity(true); },
         [](const DCB& d) { EXPECT_EQ(d.Flags, 0x0001u | 0x0020u | 0x3000u | 0x0008u | 0x0040u); }},
        {"software flow", [](TCustomComPort& p) { p.FlowControl()->SetFlowControl(fcSoftware); p.FlowControl()->SetTxContinueOnXoff(true); p.FlowControl()->SetXonChar(u'A'); p.FlowControl()->SetXoffChar(u'B'); },
         [](const DCB& d) {
             EXPECT_EQ(d.Flags, 0x0001u | 0x0080u | 0x0100u | 0x0200u);
             EXPECT_EQ(d.XonChar, 'A');
             EXPECT_EQ(d.XoffChar, 'B');
         }},
        // The buffer step does not rewrite the control block; the next line step picks it up.
        {"buffer size sets the limits", [](TCustomComPort& p) { p.Buffer()->SetInputSize(4096); p.SetBaudRate(br4800); },
         [](const DCB& d) { EXPECT_EQ(d.XonLim, 1024); EXPECT_EQ(d.XoffLim, 1024); }},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        port = MakePort();
        port->Open();
        c.change(*port);
        c.check(sim->State());
        port->Close();
    }
}

TEST_F(PortSettings, BufferSizesAreEven) {
    TComBuffer& b = *port->Buffer();
    b.SetInputSize(1025);
    b.SetOutputSize(513);
    EXPECT_EQ(b.InputSize(), 1024);
    EXPECT_EQ(b.OutputSize(), 512);
    b.SetInputSize(2048);
    EXPECT_EQ(b.InputSize(), 2048);
}

TEST_F(PortSettings, FlowControlShorthand) {
    TComFlowControl& f = *port->FlowControl();
    EXPECT_EQ(f.FlowControl(), fcNone);
    f.SetXonXoffIn(true);
    EXPECT_EQ(f.FlowControl(), fcCustom);
    f.SetFlowControl(fcHardware);
    EXPECT_EQ(f.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(f.OutCTSFlow());
    EXPECT_FALSE(f.XonXoffIn());
    EXPECT_FALSE(f.XonXoffOut());
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetOutDSRFlow(true);
    f.SetControlDTR(dtrHandshake);
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetFlowControl(fcSoftware);
    EXPECT_EQ(f.ControlRTS(), rtsDisable);
    EXPECT_FALSE(f.OutCTSFlow());
    EXPECT_TRUE(f.XonXoffIn() && f.XonXoffOut());
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    // fcCustom keeps the fields but still writes the line settings.
    port->Open();
    sim->ClearCalls();
    f.SetFlowControl(fcCustom);
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
    f.SetFlowControl(fcNone);
    EXPECT_EQ(f.FlowControl(), fcNone);
    EXPECT_TRUE(f.OutDSRFlow());
}

TEST_F(PortSettings, AssignCopiesEveryFieldAndRefusesOtherClasses) {
    TComPort other(nullptr);
    other.Parity()->SetBits(prOdd);
    other.Parity()->SetCheck(true);
    other.Parity()->SetReplace(true);
    other.Parity()->SetReplaceChar(u'?');
    other.FlowControl()->SetFlowControl(fcHardware);
    other.FlowControl()->SetXonChar(u'a');
    other.FlowControl()->SetXoffChar(u'b');
    other.FlowControl()->SetTxContinueOnXoff(true);
    other.Timeouts()->SetReadInterval(5);
    other.Timeouts()->SetWriteTotalConstant(7);
    other.Buffer()->SetInputSize(100);
    other.Buffer()->SetOutputSize(200);
    port->SetParity(other.Parity());
    port->SetFlowControl(other.FlowControl());
    port->SetTimeouts(other.Timeouts());
    port->SetBuffer(other.Buffer());
    EXPECT_EQ(port->Parity()->Bits(), prOdd);
    EXPECT_TRUE(port->Parity()->Check());
    EXPECT_TRUE(port->Parity()->Replace());
    EXPECT_EQ(port->Parity()->ReplaceChar(), u'?');
    EXPECT_EQ(port->FlowControl()->FlowControl(), fcHardware);
    EXPECT_EQ(port->FlowControl()->XonChar(), u'a');
    EXPECT_EQ(port->FlowControl()->XoffChar(), u'b');
    EXPECT_TRUE(port->FlowControl()->TxContinueOnXoff());
    EXPECT_EQ(port->Timeouts()->ReadInterval(), 5);
    EXPECT_EQ(port->Timeouts()->WriteTotalConstant(), 7);
    EXPECT_EQ(port->Buffer()->InputSize(), 100);
    EXPECT_EQ(port->Buffer()->OutputSize(), 200);
    // The copies keep their own port.
    EXPECT_EQ(port->Parity()->ComPort(), port.get());
    EXPECT_THROW(port->Parity()->Assign(other.Buffer()), EConvertError);
}

// A nil settings object is refused by each setter and by the object's own Assign: the values, the
// device and the object the port reads through all stay as they were.
TEST_F(PortSettings, NilSettingsAreRefusedAndChangeNothing) {
    port->Parity()->SetBits(prEven);
    port->Buffer()->SetInputSize(600);
    port->Timeouts()->SetReadTotalConstant(70);
    port->FlowControl()->SetFlowControl(fcHardware);
    port->Open();
    const DCB before = sim->State();
    const TComParity* parity = port->Parity();
    sim->ClearCalls();
    const std::function<void()> assignments[] = {
        [&] { port->SetParity(nullptr); },      [&] { port->SetBuffer(nullptr); },
        [&] { port->SetTimeouts(nullptr); },    [&] { port->SetFlowControl(nullptr); },
        [&] { port->Parity()->Assign(nullptr); }, [&] { port->Buffer()->Assign(nullptr); },
        [&] { port->Timeouts()->Assign(nullptr); }, [&] { port->FlowControl()->Assign(nullptr); },
    };
    for (size_t i = 0; i < std::size(assignments); ++i) {
        try {
            assignments[i]();
            ADD_FAILURE() << "assignment " << i << " of nil was accepted";
        } catch (const EConvertError& e) {
            EXPECT_NE(e.Message().ToUtf8().find("Cannot assign a nil to a TCom"), std::string::npos) << e.Message();
        }
    }
    EXPECT_TRUE(sim->Calls().empty());
    EXPECT_EQ(port->Parity(), parity);
    EXPECT_EQ(port->Parity()->Bits(), prEven);
    EXPECT_EQ(port->Buffer()->InputSize(), 600);
    EXPECT_EQ(port->Timeouts()->ReadTotalConstant(), 70);
    EXPECT_EQ(port->FlowControl()->FlowControl(), fcHardware);
    // The next use reads the same settings.
    port->SetBaudRate(br57600);
    const DCB after = sim->State();
    EXPECT_EQ(after.BaudRate, 57600u);
    EXPECT_EQ(after.Flags, before.Flags);
    EXPECT_EQ(after.Parity, before.Parity);
    EXPECT_EQ(after.XonLim, before.XonLim);
    EXPECT_EQ(after.ErrorChar, before.ErrorChar);
    // Assigning an object to itself is still a copy that changes nothing.
    port->SetParity(port->Parity());
    EXPECT_EQ(port->Parity()->Bits(), prEven);
}

TEST_F(PortSettings, AnUpdateBracketConfiguresOnceAtTheOuterEnd) {
    port->Open();
    sim->ClearCalls();
    port->BeginUpdate();
    port->BeginUpdate();
    port->SetBaudRate(br57600);
    port->Parity()->SetBits(prOdd);
    port->Buffer()->SetInputSize(2048);
    port->Timeouts()->SetReadTotalConstant(50);
    port->FlowControl()->SetFlowControl(fcHardware);
    port->EndUpdate();
    EXPECT_TRUE(sim->Calls().empty());
    port->EndUpdate();
    EXPECT_EQ(sim->CallCount("SetupComm"), 1u);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
    EXPECT_EQ(sim->CallCount("SetCommTimeouts"), 1u);
    EXPECT_EQ(sim->Calls().size(), 3u);
    EXPECT_EQ(sim->State().BaudRate, 57600u);
    EXPECT_EQ(sim->State().Parity, ODDPARITY);
    // An EndUpdate without a BeginUpdate does nothing.
    sim->ClearCalls();
    port->EndUpdate();
    EXPECT_TRUE(sim->Calls().empty());
    port->SetStopBits(sbTwoStopBits);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
}

TEST_F(PortSettings, SettersOnAClosedPortOnlyStore) {
    // The device calls would fail on the invalid handle and raise: none is made.
    EXPECT_NO_THROW({
        port->SetBaudRate(br300);
        port->SetCustomBaudRate(1);
        port->SetDataBits(dbFive);
        port->Parity()->SetCheck(true);
        port->Buffer()->SetInputSize(64);
        port->Timeouts()->SetReadInterval(1);
        port->FlowControl()->SetFlowControl(fcSoftware);
    });
    EXPECT_TRUE(sim->Calls().empty());
    EXPECT_EQ(port->BaudRate(), br300);
}

TEST_F(PortSettings, ARefusedSettingRaisesAndStaysStored) {
    port->SetDataBits(dbFive);
    port->Open();
    Raised r = Catch([&] { port->SetStopBits(sbTwoStopBits); });
    EXPECT_EQ(r.Code, 7);
    EXPECT_EQ(r.WinCode, static_cast<int>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(r.Message, "SetCommState function failed (Error: 87)");
    EXPECT_EQ(port->StopBits(), sbTwoStopBits);
    EXPECT_TRUE(port->Connected());
}

}  // namespace
