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
    EXPECT_GE(TimeOf("@MO") - TimeOf("@EI"), std::chrono::milliseconds(2000));

    // An unsolicited equipment ID is captured; the farewell restores channel and ID.
    modem->Send("*EI=05\r\n");
    ASSERT_TRUE(ui::test::PumpUntil([&] { return MainForm->SavedEquipmentId == 5; }));
    MainForm->Close();
    ASSERT_TRUE(modem->WaitForCommands(9, std::chrono::milliseconds(5000)));
    EXPECT_EQ(Lines()[7], "@CH1B");
    EXPECT_EQ(Lines()[8], "@EI05");
    EXPECT_GE(TimeOf("@EI05") - TimeOf("@CH1B"), std::chrono::milliseconds(250));
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

}  // namespace
