// The air monitor against the modem simulator on a pseudo-terminal, paced at 19200 bit/s,
// through the real serial library and message loop: what an engineer does with it.
#include <algorithm>

#include "app/ImageSel1.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/Dialogs.h"
#include "tools/modem-sim/ModemSim.h"

using namespace wbtest;

namespace {

class MonitorEndToEnd : public Workbench {
protected:
    std::unique_ptr<modemsim::ModemSim> modem;
    String answer;

    void SetUp() override {
        modemsim::SimOptions options;
        options.baud = 19200;
        options.modem.levels = {{7, {-80, -80}}, {8, {-95, -95}}, {9, {-110, -110}}, {27, {-77, -77}}};
        modem = std::make_unique<modemsim::ModemSim>(options);
        const std::string path = modem->OpenPty();
        modem->Start();
        WriteSettings(SettingsWithPort(path));
        CopyIcon();
        ui::SetCommonDialogHook([this](TCommonDialog& d) {
            auto* f = dynamic_cast<TOpenDialog*>(&d);
            if (!f || answer.empty()) return false;
            f->SetFileName(answer);
            return true;
        });
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        ui::SetCommonDialogHook(nullptr);
        Workbench::TearDown();
        modem->Stop();
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> r;
        for (const auto& c : modem->Log()) r.push_back(c.line);
        return r;
    }
    bool Until(const std::function<bool()>& cond, int ms = 10000) { return ui::test::PumpUntil(cond, ms); }
    // The link has nothing left to do.
    bool Quiet() {
        return Until([&] { return MainForm->PendingCount == 0 && MainForm->RespReady == 1 && MainForm->TxReady == 1; });
    }
};

TEST_F(MonitorEndToEnd, SweepSampleSaveReloadExportAndFarewell) {
    Start();
    MainForm->Show();
    Caution1Form->Show();
    ui::test::Pump();
    Caution1Form->BitBtn1Click(Caution1Form->BitBtn1);
    MainForm->ComboBox5->SetItemIndex(0);
    MainForm->ComboBox5Change(MainForm->ComboBox5);
    MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
    ASSERT_TRUE(MainForm->ComPort1->Connected());
    ASSERT_TRUE(Until([&] { return Lines().size() >= 2; }));
    ASSERT_TRUE(Quiet());

    // The link test of the control page: the IDs asked one at a time, each after the reply to the
    // one before has come off the line (10 bits a byte).
    ASSERT_EQ(MainForm->PageControl5->ActivePage(), MainForm->TabSheet3);
    const size_t linkFrom = Lines().size();
    ui::test::Click(MainForm->VrDemoButton52, MainForm->VrDemoButton52->Width() / 2,
                    MainForm->VrDemoButton52->Height() / 2);
    ASSERT_TRUE(Until([&] { return Lines().size() >= linkFrom + 6; }));
    ASSERT_TRUE(Quiet());
    const auto log = modem->Log();
    const std::vector<std::string> linkTest{"@CH", "@UI", "@GI", "@EI", "@DI", "@MO"};
    ASSERT_EQ(log.size(), linkFrom + linkTest.size());
    for (size_t i = 0; i < linkTest.size(); ++i) {
        const auto& c = log[linkFrom + i];
        EXPECT_EQ(c.line, linkTest[i]);
        if (i == 0) continue;
        const auto& before = log[linkFrom + i - 1];
        EXPECT_GE(c.time - before.time, std::chrono::microseconds(before.reply.size() * 10 * 1000000 / 19200))
            << linkTest[i];
    }
    EXPECT_EQ(MainForm->SavedEquipmentId, 1);

    // The air monitor, its frequency page: a sweep of channels 7..9 shows the modem's levels.
    MainForm->PageControl1->SelectNextPage(true);
    ASSERT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet1);
    ASSERT_EQ(MainForm->MeasureMode, 4);
    ASSERT_TRUE(Quiet());
    MainForm->ComboBox3->SetText(String("9"));
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_TRUE(Until([&] {
        return MainForm->Series1->YValue(7) == -80 && MainForm->Series1->YValue(8) == -95 &&
               MainForm->Series1->YValue(9) == -110;
    }));
    MainForm->MvColBitBtn15->SetChecked(false);
    ASSERT_TRUE(Quiet());
    auto lines = Lines();
    const auto first = std::find(lines.begin(), lines.end(), "@CH07");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(std::vector<std::string>(first, first + 6),
              (std::vector<std::string>{"@CH07", "@RA", "@CH08", "@RA", "@CH09", "@RA"}));

    // The time page: ten samples of channel 27, one shot.
    MainForm->PageControl2->SelectNextPage(true);
    ASSERT_EQ(MainForm->MeasureMode, 5);
    ASSERT_TRUE(Quiet());
    EXPECT_EQ(Lines().back(), "@CH1B");
    MainForm->MvNumSpin3->SetValue(10);
    MainForm->MvNumSpin2->SetValue(30);
    MainForm->RadioGroup4->SetItemIndex(1);
    MainForm->MvColBitBtn1->SetChecked(true);
    ASSERT_TRUE(Until([&] { return !MainForm->MvColBitBtn1->Checked(); }));
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(MainForm->SampleTable[static_cast<size_t>(i)], -77) << i;
    EXPECT_FALSE(MainForm->Timer1->Enabled());
    ASSERT_TRUE(Quiet());

    // Back on the frequency page: the levels saved and loaded again, and a BMP of the chart.
    MainForm->PageControl2->SelectNextPage(true);
    ASSERT_EQ(MainForm->MeasureMode, 4);
    answer = String(dir.File("sweep.AMF"));
    MainForm->Savegraphdata2->Click();
    MainForm->LevelTable.fill(-140);
    MainForm->Loadgraphdata2->Click();
    EXPECT_EQ(MainForm->LevelTable[7], -80);
    EXPECT_EQ(MainForm->LevelTable[9], -110);
    EXPECT_EQ(MainForm->Series1->YValue(8), -95);
    Application->OnIdle = [](TObject*, bool& Done) {
        Done = false;
        if (!ImageSelectForm1->Visible()) return;
        ImageSelectForm1->Perform(WM_CLOSE);
        PostMessage(MainForm->Handle(), WM_NULL, 0, 0);
    };
    ImageSelectForm1->RadioGroup1->SetItemIndex(2);
    answer = String(dir.File("sweep.bmp"));
    MainForm->Saveimagefile2->Click();
    EXPECT_EQ(rtl_test::ReadAll(dir.File("sweep.bmp")).substr(0, 2), "BM");
    Application->OnIdle = nullptr;

    // The window closes: the farewell restores the channel and the equipment ID.
    modem->Send("*EI=05\r\n");
    ASSERT_TRUE(Until([&] { return MainForm->SavedEquipmentId == 5; }));
    const size_t before = Lines().size();
    MainForm->Close();
    ASSERT_TRUE(modem->WaitForCommands(before + 2, std::chrono::milliseconds(5000)));
    lines = Lines();
    EXPECT_EQ(lines[before], "@CH1B");
    EXPECT_EQ(lines[before + 1], "@EI05");
    EXPECT_FALSE(MainForm->ComPort1->Connected());
}

}  // namespace
