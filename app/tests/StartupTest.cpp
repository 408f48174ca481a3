// Start-up: the settings file, the forms and their order, the notice, the window's first state,
// the idle loop's rest, the message-pumping wait.
#include <filesystem>

#include "app/Caution2.h"
#include "app/Conversion.h"
#include "app/KeyForm.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/ExtCtrls.h"

using namespace wbtest;

namespace {

using Startup = Workbench;

struct SettingsCase {
    const char* name;
    const char* file;  // nullptr: no file
    const char* title;
    const char* prefix;
    const char* destination;
    int cpuPower;
    int models;
};

TEST_F(Startup, SettingsFileGivesTitleCaptionDestinationAndIdleSetting) {
    const SettingsCase cases[] = {
        {"no file", nullptr, "Error!!", "Error !!", "All", 1, 0},
        {"not a number", "[Application]\r\nCPUpower=abc\r\n", "Error!!", "Error !!", "All", 1, 0},
        {"given", "[Application]\r\nAppTitle=T\r\nAppIcon=Workbench.ico\r\nFormCaption=Caption \xE8\xA9\x95\r\nCPUpower=3\r\n"
                  "[Information]\r\ndestination=Japan\r\n",
         "T", "Caption 評", "Japan", 3, 1},
        {"other case", "[Information]\r\ndestination=japan\r\n", "Error!!", "Error !!", "japan", 1, 0},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir.File("workbench.ini"));
        if (c.file) WriteSettings(c.file);
        CopyIcon();
        Start();
        EXPECT_EQ(Utf8(Application->Title()), c.title);
        EXPECT_EQ(Utf8(MainForm->FormCaptionPrefix), c.prefix);
        EXPECT_EQ(Utf8(MainForm->Destination), c.destination);
        EXPECT_EQ(MainForm->CpuPower, c.cpuPower);
        EXPECT_EQ(MainForm->ComboBox5->Items()->Count(), c.models);
        EXPECT_TRUE(std::filesystem::exists(dir.File("workbench.ini")));
        if (!c.file) {
            EXPECT_EQ(ReadSettings(), "");
        }
        Application->DestroyComponents();
    }
}

TEST_F(Startup, TheRewriteKeepsOtherSectionsAndComments) {
    WriteSettings("; mine\r\n[Other]\r\nkey=value\r\n[Information]\r\ndestination=Japan\r\n");
    CopyIcon();
    Start();
    const std::string text = ReadSettings();
    EXPECT_NE(text.find("; mine"), std::string::npos);
    EXPECT_NE(text.find("[Other]"), std::string::npos);
    EXPECT_NE(text.find("key=value"), std::string::npos);
    EXPECT_NE(text.find("destination=Japan"), std::string::npos);
}

TEST_F(Startup, TheShippedFileRunsThroughEveryStep) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    // The forms in the program's order, the main window first.
    std::vector<std::string> names;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (dynamic_cast<TCustomForm*>(Application->Components(i))) names.push_back(Utf8(Application->Components(i)->Name()));
    EXPECT_EQ(names, (std::vector<std::string>{"MainForm", "Caution1Form", "VerBoxForm", "ImageSelectForm1",
                                               "OptionBoxForm", "IPSettingForm1", "Caution2Form", "AssignForm1",
                                               "OKBottomDlg1", "ComSetDlg", "ConversionForm1", "ImageViewForm1", "KeyForm1",
                                               "HexKeyForm1"}));
    EXPECT_EQ(Application->MainForm(), MainForm);
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(Utf8(Application->Title()), "TQW-560R - Evaluation software program");
    EXPECT_EQ(Utf8(MainForm->VrDemoButton3->Caption()), "ttyS0 ﾎﾟｰﾄ");
    EXPECT_EQ(MainForm->ComboBox5->Items()->Count(), 1);
    EXPECT_EQ(Utf8(MainForm->ComboBox5->Text()), "ﾓﾃﾞﾙ名を選んで下さい。");
    EXPECT_FALSE(MainForm->Icon()->Empty());

    auto* c1 = MainForm->ComboBox1->Items();
    ASSERT_EQ(c1->Count(), 40);
    EXPECT_EQ(Utf8(c1->Strings(0)), "07  7");
    EXPECT_EQ(Utf8(c1->Strings(39)), "2E  46");
    auto* c6 = MainForm->ComboBox6->Items();
    ASSERT_EQ(c6->Count(), 256);
    EXPECT_EQ(Utf8(c6->Strings(0)), "00  0");
    EXPECT_EQ(Utf8(c6->Strings(255)), "FF  255");
    auto* c7 = MainForm->ComboBox7->Items();
    ASSERT_EQ(c7->Count(), 256);
    EXPECT_EQ(Utf8(c7->Strings(0)), "00");
    EXPECT_EQ(Utf8(c7->Strings(255)), "FF");

    ASSERT_EQ(MainForm->Series1->Count(), 128);
    ASSERT_EQ(MainForm->Series3->Count(), 128);
    ASSERT_EQ(MainForm->AreaSeries1->Count(), 5001);
    for (int i : {0, 127}) {
        EXPECT_EQ(MainForm->Series1->YValue(i), -140.0);
        EXPECT_EQ(MainForm->Series3->YValue(i), -140.0);
        EXPECT_EQ(MainForm->LevelTable[static_cast<size_t>(i)], -140);
    }
    EXPECT_EQ(MainForm->AreaSeries1->YValue(5000), -140.0);
    EXPECT_EQ(MainForm->Chart2->BottomAxis()->Maximum(), 5000);
    for (TChart* chart : {MainForm->Chart1, MainForm->Chart2}) {
        ASSERT_EQ(chart->Title()->Count(), 3);
        EXPECT_EQ(Utf8(chart->Title()->Strings(0)), "< Air monitor >   Model name:     File name:     Date: ");
        EXPECT_EQ(Utf8(chart->Title()->Strings(1)), "User Memo:");
        EXPECT_EQ(Utf8(chart->Title()->Strings(2)), "Channel:       ch  / Freq.:        MHz   /   Level:       dBm");
    }
    // The link's first state, and the window's.
    EXPECT_EQ(MainForm->TxReady, 1);
    EXPECT_EQ(MainForm->RespReady, 1);
    EXPECT_EQ(MainForm->RequestKind, 11);
    EXPECT_EQ(MainForm->CaptureState, 3);
    EXPECT_FALSE(MainForm->PageControl1->Visible());
    EXPECT_FALSE(MainForm->Enabled());
    EXPECT_FALSE(MainForm->VrDemoButton3->Enabled());
    EXPECT_EQ(MainForm->PopupMenu(), MainForm->PopupMenu2);
    EXPECT_EQ(Utf8(MainForm->StatusBar1->Panels()->Items(4)->Text()), "Link");
    // The program's own cursors, embedded in it.
    for (int i = 1; i <= 5; ++i) {
        ui::CursorInfo info;
        ASSERT_TRUE(ui::GetCursorInfo(Screen->Cursors(i), info)) << i;
        ASSERT_NE(info.Image, nullptr) << i;
        EXPECT_EQ(info.Image->Width(), 32);
    }
    EXPECT_EQ(MainForm->VrDemoButton3->Cursor(), 4);
    EXPECT_EQ(MainForm->PageControl1->Cursor(), 5);
}

TEST_F(Startup, TheNoticeKeepsTheWindowDisabledUntilConfirmed) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    EXPECT_EQ(win::MessageBeepCount(), 1);  // the notice's
    EXPECT_EQ(Utf8(Caution1Form->Label1->Caption()), " Place of destination : Japan");
    MainForm->Show();
    MainForm->SetEnabled(true);
    Caution1Form->Show();
    EXPECT_FALSE(MainForm->Enabled());
    EXPECT_FALSE(MainForm->ComboBox5->Enabled());
    ui::test::Pump();
    ui::test::Click(Caution1Form->BitBtn1, 10, 10);
    ui::test::Pump();
    EXPECT_TRUE(MainForm->Enabled());
    EXPECT_TRUE(MainForm->ComboBox5->Enabled());
    EXPECT_FALSE(Caution1Form->Visible());
}

TEST_F(Startup, AMissingIconStopsTheCreationAtItsStep) {
    WriteSettings(SettingsWithPort("ttyS0"));  // names an icon the folder does not hold
    Start();
    EXPECT_EQ(Messages(), std::vector<std::string>{kApplicationErrorText});
    EXPECT_EQ(win::MessageBeepCount(), 2);  // the exception event's and the notice's
    EXPECT_EQ(Utf8(Caution1Form->Label1->Caption()), " Place of destination : Japan");
    EXPECT_EQ(MainForm->ComboBox5->Items()->Count(), 0);
    EXPECT_EQ(MainForm->ComboBox1->Items()->Count(), 0);
    EXPECT_EQ(MainForm->ComboBox6->Items()->Count(), 0);
    EXPECT_EQ(MainForm->ComboBox7->Items()->Count(), 0);
    EXPECT_EQ(Utf8(MainForm->VrDemoButton3->Caption()), "COMﾎﾟｰﾄ");
    // The steps before the icon ran: settings, colours, points.
    EXPECT_EQ(MainForm->Series1->Count(), 128);
    EXPECT_EQ(MainForm->Memo1->Color(), static_cast<TColor>(0x800000));

    // The streams exist from the window's construction: a transfer still lands.
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path);
    MainForm->RequestKind = 0;
    Feed(std::string("*DC=00") + "03" + std::string("\x07\x02\x00", 3) + "*DC=00" + "05" +
         std::string("\x07\x02\x01", 3) + "ok");
    Drain();
    std::filesystem::current_path(cwd);
    EXPECT_EQ(rtl_test::ReadAll(dir.File("RXtemp.txt")), "ok");
    EXPECT_EQ(MainForm->MemoryStream2->Size(), 2);
}

TEST_F(Startup, TheIdleLoopRestsAfterCpuPowerEmptyPasses) {
    for (int power : {1, 3}) {
        SCOPED_TRACE(power);
        WriteSettings("[Application]\r\nCPUpower=" + std::to_string(power) + "\r\n");
        CopyIcon();
        Start();
        bool done = false;
        for (int pass = 1; pass <= power + 1; ++pass) {
            MainForm->ApplicationEvents1Idle(MainForm, done);
            EXPECT_EQ(done, pass == power + 1) << pass;
        }
        // Characters waiting keep it awake.
        Feed("x");
        MainForm->ApplicationEvents1Idle(MainForm, done);
        EXPECT_FALSE(done);
        Application->DestroyComponents();
    }
}

TEST_F(Startup, WaitTimeRunsTimersAndShortcutsButNotTheIdleEvent) {
    clock.emplace(1000);
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    MainForm->Show();
    MainForm->SetEnabled(true);
    ui::test::Pump();
    int idles = 0, shortcuts = 0, ticks = 0;
    MainForm->ApplicationEvents1->OnIdle = [&](TObject*, bool& done) {
        ++idles;
        done = true;
    };
    MainForm->Imageviewer2->OnClick = [&](TObject*) { ++shortcuts; };
    auto* timer = new TTimer(MainForm);
    timer->SetInterval(100);
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) ui::test::Key(MainForm, 'I', String(), {ssCtrl});
    };
    const uint64_t start = GetTickCount64();
    EXPECT_TRUE(WaitTime(250));
    EXPECT_EQ(GetTickCount64() - start, 250u);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(shortcuts, 1);
    EXPECT_EQ(idles, 0);
    // The link's 5 ms wait before each command lasts 5 ms, not a whole 10 ms slice.
    for (int ms : {5, 1, 0, 13}) {
        const uint64_t before = GetTickCount64();
        WaitTime(ms);
        EXPECT_EQ(GetTickCount64() - before, static_cast<uint64_t>(ms)) << ms;
    }
}

}  // namespace
