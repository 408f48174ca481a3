// The version box: its texts from the settings file, the build's version, the link and closing.
#include <filesystem>

#include "app/VerBox.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/ShellApi.h"

using namespace wbtest;

namespace {

class VersionBox : public Workbench {
protected:
    void TearDown() override {
        ui::SetUrlOpenerHook(nullptr);
        Workbench::TearDown();
    }
    std::string Label(int i) { return Utf8(VerBoxForm->HelpLabel[static_cast<size_t>(i)]->Caption()); }
};

TEST_F(VersionBox, TextsComeFromTheSettingsFileWithTheirDefaults) {
    WriteSettings("[Application]\nAppIcon=Workbench.ico\n[HelpResource]\nHelpImage1=VersionBox.png\n");
    CopyIcon();
    Start();
    EXPECT_TRUE(Messages().empty());
    for (int i : {1, 2, 3, 4, 5, 6, 8}) EXPECT_EQ(Label(i), "Error !!") << i;
    EXPECT_EQ(Label(7), std::string("Ver. ") + RWB_VERSION);
    EXPECT_EQ(Utf8(VerBoxForm->HelpURL->Caption()), "ini file error");
    EXPECT_EQ(Utf8(VerBoxForm->URL), "ini file error");
    EXPECT_FALSE(VerBoxForm->HelpImage1->Picture()->Graphic()->Empty());
}

TEST_F(VersionBox, TheShippedFileGivesItsOwnTextsPictureAndLink) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Label(2), "Radio modem workbench");
    EXPECT_EQ(Label(6), "");
    EXPECT_EQ(Label(7), std::string("Ver. ") + RWB_VERSION);
    EXPECT_EQ(Utf8(VerBoxForm->HelpURL->Caption()).rfind("https://", 0), 0u);
    EXPECT_EQ(VerBoxForm->HelpImage1->Picture()->Width(), 96);
}

TEST_F(VersionBox, TheLinkLightsOnEnterAndOpensOnceOnClick) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    std::vector<std::string> opened;
    ui::SetUrlOpenerHook([&](const String& target) {
        opened.push_back(Utf8(target));
        return true;
    });
    MainForm->Version1->Click();
    ASSERT_TRUE(VerBoxForm->Visible());
    ui::test::Pump();
    TLabel* link = VerBoxForm->HelpURL;
    EXPECT_EQ(link->Font()->Color(), TColor(0xFF0000));
    ui::test::MouseMove(link, 5, 5);
    EXPECT_EQ(link->Font()->Color(), TColor(0xFF00FF));
    ui::test::MouseMove(VerBoxForm, 2, 2);
    EXPECT_EQ(link->Font()->Color(), TColor(0xFF0000));
    ui::test::Click(link, 5, 5);
    EXPECT_EQ(opened, std::vector<std::string>{Utf8(VerBoxForm->URL)});
    EXPECT_EQ(link->Cursor(), crHandPoint);
}

TEST_F(VersionBox, EscapeAndTheCloseButtonCloseIt) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    MainForm->Version1->Click();
    ui::test::Pump();
    ui::test::Key(VerBoxForm, VK_ESCAPE);
    EXPECT_FALSE(VerBoxForm->Visible());
    MainForm->Version1->Click();
    ui::test::Pump();
    ui::test::Click(VerBoxForm->MvColBitBtn1, 10, 10);
    EXPECT_FALSE(VerBoxForm->Visible());
}

TEST_F(VersionBox, ItsCreationRewritesTheSettingsFileUnchanged) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    const std::string before = ReadSettings();
    std::filesystem::remove(dir.File("workbench.ini"));
    WriteSettings(before);
    const auto stamp = std::filesystem::last_write_time(dir.File("workbench.ini")) - std::chrono::hours(1);
    std::filesystem::last_write_time(dir.File("workbench.ini"), stamp);
    TVerBoxForm* box = NewForm<TVerBoxForm>(nullptr);
    EXPECT_EQ(ReadSettings(), before);
    box->Free();
    EXPECT_NE(std::filesystem::last_write_time(dir.File("workbench.ini")), stamp) << "written back, not left alone";
}

TEST_F(VersionBox, AMissingPictureReachesTheExceptionEventAtStartUp) {
    WriteSettings("[Application]\nAppIcon=Workbench.ico\n[HelpResource]\nHelpImage1=Missing.png\nHelpLabel1=Title\n");
    CopyIcon();
    Start();
    EXPECT_EQ(Messages(), std::vector<std::string>{kApplicationErrorText});
    EXPECT_EQ(Label(1), "Title") << "the texts stand; only the picture is missing";
    EXPECT_EQ(Label(7), std::string("Ver. ") + RWB_VERSION);
}

}  // namespace
