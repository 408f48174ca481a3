// Renders the main window to PNG files in the temporary folder, for a person to look at.
#include <filesystem>

#include "app/AssignForm.h"
#include "app/HexKeyForm.h"
#include "app/tests/WorkbenchTestSupport.h"

using namespace wbtest;

namespace {

using RenderLook = Workbench;

TEST_F(RenderLook, MainWindow) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    StartWithModel(String("ttyS0"));
    MainForm->Show();
    MainForm->SetEnabled(true);
    MainForm->PageControl1->SetVisible(true);
    MainForm->StatusBar1->Panels()->Items(0)->SetText(String("Port: ttyS0 / Rate: 19200 bps"));
    MainForm->TerminalLine(String("@CH"));
    MainForm->TerminalLine(String("*CH=1B"));
    MainForm->ShowCommMode(3);
    MainForm->ShowDioPort(0xFE);
    const auto tmp = std::filesystem::temp_directory_path();
    EXPECT_TRUE(ui::test::SaveToPng(MainForm, (tmp / "rwb_main_control.png").string()));
    MainForm->PageControl1->SetActivePage(MainForm->TabSheet1);
    for (int ch = 7; ch <= 46; ++ch) MainForm->Series1->SetYValue(ch, -120 + (ch * 7) % 40);
    EXPECT_TRUE(ui::test::SaveToPng(MainForm, (tmp / "rwb_main_air.png").string()));
    MainForm->PageControl1->SetActivePage(MainForm->TabSheet4);
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet15);
    EXPECT_TRUE(ui::test::SaveToPng(MainForm, (tmp / "rwb_main_functions.png").string()));
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet9);
    MainForm->MvLED[3]->SetChecked(true);
    EXPECT_TRUE(ui::test::SaveToPng(MainForm, (tmp / "rwb_main_contact.png").string()));
    AssignForm1->Show();
    EXPECT_TRUE(ui::test::SaveToPng(AssignForm1, (tmp / "rwb_generator.png").string()));
    AssignForm1->Hide();
    HexKeyForm1->Show();
    EXPECT_TRUE(ui::test::SaveToPng(HexKeyForm1, (tmp / "rwb_binary_sender.png").string()));
    HexKeyForm1->Hide();
    Caution1Form->Show();
    EXPECT_TRUE(ui::test::SaveToPng(Caution1Form, (tmp / "rwb_notice.png").string()));
}

}  // namespace
