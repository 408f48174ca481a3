// Opening and closing the link, line signals and line errors, the page changes, and the
// shutdown with its farewell.
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/Cursors.h"

using namespace wbtest;

namespace {

using Connection = LinkTest;

TEST_F(Connection, WithoutAModelThePortButtonShowsTheNoticeOnly) {
    MainForm->ComboBox5->SetItemIndex(-1);
    MainForm->Show();
    MainForm->SetEnabled(true);
    PortButton();
    EXPECT_TRUE(Caution1Form->Visible());
    EXPECT_FALSE(MainForm->Enabled());
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_FALSE(MainForm->PageControl1->Visible());
    EXPECT_EQ(MainForm->PortInUse, 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Connection, APortWithoutDsrIsClosedAgainWithTheHardwareMessage) {
    sim->SetDsr(false);
    win::ResetMessageBeeps();
    PortButton();
    EXPECT_EQ(Messages(), std::vector<std::string>{"ﾎﾟｰﾄを開く事が出来ません。ﾊｰﾄﾞｳｪｱをﾁｪｯｸして下さい｡"});
    EXPECT_EQ(win::MessageBeepCount(), 1);
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_FALSE(MainForm->PageControl1->Visible());
    EXPECT_FALSE(MainForm->MvLED88->Checked());
    EXPECT_EQ(MainForm->PortInUse, 0);
}

TEST_F(Connection, AGoodOpenAsksChannelThenModeAndShowsTheLink) {
    OpenAndSendFirst();
    EXPECT_EQ(sent, "@CH\r\n");
    Reply("*CH=1B\r\n");
    ASSERT_TRUE(Settle([&] { Sent(); return sent == "@CH\r\n@MO\r\n"; })) << sent;
    EXPECT_TRUE(MainForm->PageControl1->Visible());
    EXPECT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet4);
    EXPECT_TRUE(MainForm->TabSheet1->TabVisible());
    EXPECT_FALSE(MainForm->ComboBox5->Enabled());
    EXPECT_EQ(Panel(0), "Port: " + Utf8(device) + " / Rate: 19200 bps");
    EXPECT_TRUE(MainForm->MvLED88->Checked());
    EXPECT_EQ(MainForm->VrDemoButton3->Cursor(), 1);
    EXPECT_TRUE(MainForm->VrPowerButton5->Active());  // DSR
    EXPECT_TRUE(MainForm->VrPowerButton6->Active());  // CTS
    EXPECT_FALSE(MainForm->VrPowerButton7->Active());
    EXPECT_FALSE(sim->Dtr());
    EXPECT_TRUE(MainForm->MvColBitBtn15->Enabled());
    EXPECT_TRUE(MainForm->AdvToolButton1->Enabled());
    EXPECT_EQ(Utf8(MainForm->LabeledEdit3->Text()), "10");

    // The close puts the link back as it was.
    Reply("*MO=03\r\n");
    MainForm->RespReady = 0;
    MainForm->CommandOut(1, String("@EI"));
    Feed("*CH");
    PortButton();
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_EQ(MainForm->PortInUse, 0);
    EXPECT_EQ(MainForm->RingCount(), 0);
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->TxReady, 1);
    EXPECT_EQ(MainForm->PendingCount, 0);
    EXPECT_EQ(MainForm->RxState, 0);
    EXPECT_EQ(MainForm->LinkMode, 0);
    EXPECT_EQ(Panel(0), "");
    EXPECT_FALSE(MainForm->MvLED88->Checked());
    EXPECT_EQ(MainForm->MvColBitBtn4->ColorOn(), clBtnFace);
    EXPECT_EQ(Utf8(MainForm->MvColBitBtn4->TextOn()), "");
    EXPECT_EQ(MainForm->VrDemoButton3->Cursor(), 4);
    EXPECT_FALSE(MainForm->VrPowerButton6->Active());
    EXPECT_FALSE(MainForm->MvColBitBtn15->Enabled());
    EXPECT_TRUE(MainForm->ComboBox5->Enabled());
    EXPECT_EQ(MainForm->ComboBox5->ItemIndex(), 0);
    EXPECT_FALSE(MainForm->PageControl1->Visible());
}

TEST_F(Connection, AMissingDeviceGivesTheParameterMessage) {
    // The folder's settings name a device nobody registered.
    Application->DestroyComponents();
    WriteSettings(SettingsWithPort("/nonexistent/ttyNONE"));
    Start();
    ChooseModel();
    PortButton();
    EXPECT_EQ(Messages(), std::vector<std::string>{"COMﾎﾟｰﾄを開く事が出来ません。ﾊﾟﾗﾒｰﾀをﾁｪｯｸして下さい。"});
    EXPECT_EQ(win::MessageBeepCount(), 2);  // the notice's and this one
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_FALSE(MainForm->PageControl1->Visible());
}

TEST_F(Connection, LineErrorsAreReportedOnceInTheirOrder) {
    OpenAndSendFirst();
    MainForm->Memo1->Clear();
    win::ResetMessageBeeps();
    sim->InjectErrors(CE_OVERRUN | CE_FRAME);
    ASSERT_TRUE(Settle([&] { return Memo1().find("ｵｰﾊﾞｰﾗﾝ") != std::string::npos; }));
    EXPECT_EQ(Memo1(), ">ﾌﾚｰﾐﾝｸﾞｴﾗｰが発生しました。\r\n>ｵｰﾊﾞｰﾗﾝｴﾗｰが発生しました。\r\n");
    EXPECT_EQ(win::MessageBeepCount(), 1);
    EXPECT_TRUE(MainForm->ComPort1->Connected());  // the link goes on
}

TEST_F(Connection, LosingDsrIsAnErrorOnlyWhileTheLinkIsOpen) {
    OpenAndSendFirst();
    MainForm->Memo1->Clear();
    win::ResetMessageBeeps();
    sim->SetDsr(false);
    ASSERT_TRUE(Settle([&] { return !MainForm->VrPowerButton5->Active(); }));
    EXPECT_EQ(Memo1(), "DSR信号エラーです。接続を確認して下さい。\r\n");
    EXPECT_EQ(win::MessageBeepCount(), 1);
    sim->SetDsr(true);
    ASSERT_TRUE(Settle([&] { return MainForm->VrPowerButton5->Active(); }));
    PortButton();  // the close reports DSR off: no error now
    CheckSynchronize(0);
    EXPECT_EQ(Memo1(), "DSR信号エラーです。接続を確認して下さい。\r\n");
    EXPECT_EQ(win::MessageBeepCount(), 1);
}

TEST_F(Connection, PageChangesMoveTheLinkBetweenControlAndAirMonitor) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    Reply("*CH=1B\r\n");
    Passes(2);
    ASSERT_EQ(MainForm->HomeChannel, 27);
    MainForm->RespReady = 0;
    MainForm->PageControl1->SelectNextPage(true);  // the air monitor
    EXPECT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet1);
    EXPECT_EQ(MainForm->PendingCount, 1);
    EXPECT_EQ(Utf8(MainForm->CmdQueue[1]), "@CH");
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->RequestKind, 0);
    EXPECT_EQ(MainForm->CaptureState, 0);
    EXPECT_EQ(MainForm->MeasureMode, 4);
    EXPECT_EQ(MainForm->MvVSlider1->Value(), -100.0f);
    EXPECT_EQ(MainForm->PopupMenu(), MainForm->PopupMenu1);
    for (TMenuItem* m : {MainForm->Savegraphdata2, MainForm->Loadgraphdata2, MainForm->Printgraph2, MainForm->Saveimagefile2})
        EXPECT_TRUE(m->Enabled()) << Utf8(m->Name());
    EXPECT_FALSE(MainForm->SetCom->Enabled());
    EXPECT_FALSE(MainForm->VrDemoButton3->Enabled());
    EXPECT_TRUE(MainForm->SpeedButton6->Visible());
    EXPECT_TRUE(MainForm->Edit4->Visible());
    EXPECT_EQ(Utf8(MainForm->ComboBox4->Text()), "27");

    MainForm->PageControl1->SelectNextPage(true);  // back to control and test
    EXPECT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet4);
    EXPECT_EQ(Utf8(MainForm->CmdQueue[1]), "@CH1B");
    EXPECT_EQ(MainForm->MeasureMode, 0);
    EXPECT_EQ(MainForm->PopupMenu(), MainForm->PopupMenu2);
    for (TMenuItem* m : {MainForm->Savegraphdata2, MainForm->Loadgraphdata2, MainForm->Printgraph2, MainForm->Saveimagefile2})
        EXPECT_FALSE(m->Enabled()) << Utf8(m->Name());
    EXPECT_TRUE(MainForm->SetCom->Enabled());
    EXPECT_TRUE(MainForm->VrDemoButton3->Enabled());
    EXPECT_FALSE(MainForm->SpeedButton6->Visible());
}

using Shutdown = LinkTest;

TEST_F(Shutdown, ClosingTheWindowRestoresReportedValuesOnly) {
    struct Case {
        const char* name;
        std::vector<std::string> replies;
        const char* farewell;
        uint64_t atLeastMs;
    };
    const Case cases[] = {
        {"both reported", {"*CH=1B\r\n", "*MO=03\r\n", "*EI=05\r\n"}, "@CH1B\r\n@EI05\r\n", 500},
        {"channel only", {"*CH=22\r\n"}, "@CH22\r\n", 250},
        {"nothing reported", {}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Application->DestroyComponents();
        Start();
        ChooseModel();
        OpenAndSendFirst();
        MainForm->CommandOut(0);
        for (const std::string& r : c.replies) Reply(r);
        Passes(2);
        Sent();
        sent.clear();
        const uint64_t before = GetTickCount64();
        MainForm->Close();
        EXPECT_FALSE(MainForm->ComPort1->Connected());
        EXPECT_GE(GetTickCount64() - before, c.atLeastMs);
        ASSERT_TRUE(Eventually([&] { Sent(); return sent == c.farewell; })) << sent;
        EXPECT_TRUE(Application->Terminated());
        ui::test::AppScope::Reset();  // the next case's program starts afresh
    }
}

TEST_F(Shutdown, ClosingWithThePortClosedOrByTheMenuWritesNothing) {
    MainForm->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(sim->TakeWritten(), "");

    Application->DestroyComponents();
    ui::test::AppScope::Reset();
    Start();
    ChooseModel();
    OpenAndSendFirst();
    Reply("*CH=1B\r\n");
    Passes(2);
    Sent();
    MainForm->Show();
    MainForm->SetEnabled(true);
    ui::test::Pump();
    ui::test::Key(MainForm, 'Q', String(), {ssCtrl});
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(MainForm->ComPort1->Connected());
    // The program's end frees the window: its OnDestroy closes the port, without a farewell.
    Application->DestroyComponents();
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_EQ(sim->TakeWritten(), "");
}

}  // namespace
