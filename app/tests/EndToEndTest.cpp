// The workbench against the modem simulator on a pseudo-terminal, through the real serial
// library and the real message loop, on the real clock.
#include <algorithm>

#include "app/ComSetDialog.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "tools/modem-sim/ModemSim.h"

using namespace wbtest;

namespace {

class EndToEnd : public Workbench {
protected:
    std::unique_ptr<modemsim::ModemSim> modem;

    void SetUp() override {
        modemsim::SimOptions options;
        options.baud = 19200;
        modem = std::make_unique<modemsim::ModemSim>(options);
        const std::string path = modem->OpenPty();
        modem->Start();
        WriteSettings(SettingsWithPort(path));
        CopyIcon();
    }
    void TearDown() override {
        Workbench::TearDown();
        modem->Stop();
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> r;
        for (const auto& c : modem->Log()) r.push_back(c.line);
        return r;
    }
    bool Logged(size_t count) { return ui::test::PumpUntil([&] { return modem->Log().size() >= count; }, 10000); }
    // The notice confirmed, the model chosen and the port opened; the open's two commands answered.
    void OpenAsTheUser() {
        Start();
        MainForm->Show();
        Caution1Form->BitBtn1Click(Caution1Form->BitBtn1);
        ChooseModel();
        MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
        ASSERT_TRUE(Logged(2));
        ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->RespReady == 1 && MainForm->PendingCount == 0; }));
    }
    // Time of the last logged command with this text.
    modemsim::SteadyClock::time_point TimeOf(const std::string& line) {
        auto log = modem->Log();
        auto it = std::find_if(log.rbegin(), log.rend(), [&](const modemsim::LoggedCommand& c) { return c.line == line; });
        return it == log.rend() ? modemsim::SteadyClock::time_point{} : it->time;
    }
};

TEST_F(EndToEnd, ConfirmChooseOpenAndTalkUntilTheFarewell) {
    Start();
    MainForm->Show();
    Caution1Form->Show();
    ui::test::Pump();
    Caution1Form->BitBtn1Click(Caution1Form->BitBtn1);
    ASSERT_TRUE(MainForm->ComboBox5->Enabled());
    MainForm->ComboBox5->SetItemIndex(0);
    MainForm->ComboBox5Change(MainForm->ComboBox5);
    MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
    ASSERT_TRUE(MainForm->ComPort1->Connected());

    // The open asks for the channel, then the mode; the reply shows.
    ASSERT_TRUE(Logged(2));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"@CH", "@MO"}));
    ASSERT_TRUE(ui::test::PumpUntil([&] { return Utf8(MainForm->Memo1->Text()).find(">LoRa ｺﾏﾝﾄﾞ ﾓｰﾄﾞ") != std::string::npos; }));
    EXPECT_EQ(Utf8(MainForm->MvColBitBtn4->TextOn()), "LoRa ｺﾏﾝﾄﾞ");
    EXPECT_EQ(MainForm->HomeChannel, 27);

    // A lost reply holds the queue until a page change releases the link with its own "@CH".
    modem->DropNextReply();
    MainForm->RespReady = 1;
    MainForm->CommandOut(2, String("@MO"), String("@CH"));
    ASSERT_TRUE(Logged(3));
    ui::test::PumpUntil([] { return false; }, 500);
    EXPECT_EQ(Lines().size(), 3u);
    MainForm->PageControl1->SelectNextPage(true);
    ASSERT_TRUE(Logged(4));
    EXPECT_EQ(Lines().back(), "@CH");
    ui::test::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Lines().size(), 4u);  // the "@MO" went with the old queue
    MainForm->PageControl1->SelectNextPage(true);
    ASSERT_TRUE(Logged(5));
    EXPECT_EQ(Lines().back(), "@CH1B");

    // An "S"-form reply: "@MO" follows after two seconds.
    ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->RespReady == 1 && MainForm->TxReady == 1; }));
    modem->SFormNextReply();
    MainForm->RespReady = 1;
    MainForm->CommandOut(1, String("@EI"));
    ASSERT_TRUE(Logged(7));
    EXPECT_EQ(Lines()[5], "@EI");
    EXPECT_EQ(Lines()[6], "@MO");
    // The simulator stamps a line when its reader gets to it: a reader held up by a busy machine
    // stamps the first line late and shortens the gap it sees, never lengthens it past the wait.
    EXPECT_GE(TimeOf("@MO") - TimeOf("@EI"), std::chrono::milliseconds(1950));

    // An unsolicited equipment ID is captured; the farewell restores channel and ID.
    modem->Send("*EI=05\r\n");
    ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->SavedEquipmentId == 5; }));
    MainForm->Close();
    ASSERT_TRUE(modem->WaitForCommands(9, std::chrono::milliseconds(5000)));
    EXPECT_EQ(Lines()[7], "@CH1B");
    EXPECT_EQ(Lines()[8], "@EI05");
    EXPECT_GE(TimeOf("@EI05") - TimeOf("@CH1B"), std::chrono::milliseconds(200));  // stamped late, as above
    EXPECT_FALSE(MainForm->ComPort1->Connected());
}

TEST_F(EndToEnd, ThePseudoTerminalSavedAsThePortOpensAtTheNextStart) {
    Start();
    const String pty = MainForm->ComPort1->Port();
    // The file names another port now: only the save can put the pseudo-terminal back.
    WriteSettings(SettingsWithPort("ttyS9"));
    std::string shown;
    WhenModal(ComSetDlg, [&] {
        shown = Utf8(ComSetDlg->ComComboBox1->Text());
        ComSetDlg->Button1Click(ComSetDlg->Button1);
        ui::test::Click(ComSetDlg->OKBtn, 5, 5);
    });
    MainForm->VrDemoButton2Click(MainForm->VrDemoButton2);
    EXPECT_EQ(shown, Utf8(pty)) << "a pseudo-terminal is no listed device, yet the dialog shows it";
    EXPECT_EQ(MainForm->ComPort1->Port(), pty);
    ASSERT_NE(ReadSettings().find("Port=" + Utf8(pty)), std::string::npos) << ReadSettings();
    EXPECT_EQ(ReadSettings().find("ttyS9"), std::string::npos);

    // The next start opens the saved port and talks to the modem on it.
    Application->DestroyComponents();
    Start();
    MainForm->ComboBox5->SetItemIndex(0);
    MainForm->ComboBox5Change(MainForm->ComboBox5);
    MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
    ASSERT_TRUE(MainForm->ComPort1->Connected());
    EXPECT_EQ(MainForm->ComPort1->Port(), pty);
    ASSERT_TRUE(Logged(2));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"@CH", "@MO"}));
}

TEST_F(EndToEnd, LinkIdsGoOutOneAfterEachReplyAndTheFarewellRestoresChannelAndId) {
    OpenAsTheUser();
    if (HasFatalFailure()) return;
    MainForm->VrDemoButton52->OnClick(MainForm->VrDemoButton52);
    ASSERT_TRUE(Logged(8));
    auto log = modem->Log();
    const std::vector<std::string> expected{"@CH", "@UI", "@GI", "@EI", "@DI", "@MO"};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(log[i + 2].line, expected[i]);
        // Each command after the reply to the one before has come off the line (10 bits a byte).
        if (i > 0) {
            const auto replyOnLine = std::chrono::microseconds(log[i + 1].reply.size() * 10 * 1000000 / 19200);
            EXPECT_GE(log[i + 2].time - log[i + 1].time, replyOnLine) << expected[i];
        }
    }
    // The sequence has ended (its last reply parsed) before the window closes: the farewell's
    // lines then queue behind nothing on the paced line.
    ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->PendingCount == 0 && MainForm->RespReady == 1; }));
    ASSERT_TRUE(modem->WaitIdle(std::chrono::milliseconds(2000)));
    EXPECT_EQ(MainForm->SavedEquipmentId, 1);
    MainForm->Close();
    ASSERT_TRUE(modem->WaitForCommands(10, std::chrono::milliseconds(5000)));
    EXPECT_EQ(Lines()[8], "@CH1B");
    EXPECT_EQ(Lines()[9], "@EI01");
    EXPECT_GE(TimeOf("@EI01") - TimeOf("@CH1B"), std::chrono::milliseconds(200));  // stamped late, as above
}

TEST_F(EndToEnd, BinaryModeEchoesTypedKeysUntilThePortButtonCloses) {
    OpenAsTheUser();
    if (HasFatalFailure()) return;
    MainForm->AdvComboBox2->SetText(String("@MDBI"));
    MainForm->AdvComboBox2->SetFocus();
    ui::test::Key(MainForm->AdvComboBox2, VK_RETURN);
    ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->LinkMode == 2; }));
    EXPECT_EQ(modem->Mode(), modemsim::LinkMode::Binary);
    MainForm->Memo1->Clear();
    MainForm->AdvComboBox2->SetFocus();
    ui::test::TypeText(MainForm->AdvComboBox2, String("*CH=05"));
    // Each key shows once as typed and once as the modem's echo; none is parsed as a reply.
    ASSERT_TRUE(ui::test::PumpUntil([&] { return Utf8(MainForm->Memo1->Text()).size() >= 12; }));
    ui::test::PumpUntil([] { return false; }, 200);
    std::string shown = Utf8(MainForm->Memo1->Text());
    std::sort(shown.begin(), shown.end());
    std::string twice = "*CH=05*CH=05";
    std::sort(twice.begin(), twice.end());
    EXPECT_EQ(shown, twice);
    EXPECT_NE(MainForm->CurrentChannel, 5);
    EXPECT_EQ(MainForm->LinkMode, 2);

    MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
    EXPECT_EQ(MainForm->LinkMode, 0);
    ASSERT_TRUE(modem->WaitForHangups(1, std::chrono::milliseconds(5000)));
    EXPECT_EQ(modem->Mode(), modemsim::LinkMode::Command);
}

}  // namespace
