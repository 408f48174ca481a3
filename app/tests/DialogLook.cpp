// Renders the port settings dialog, the address dialog, the version box, the network-error
// notice, the option box and the packet generator to PNG files in the temporary folder, for a person to look at.
#include <filesystem>

#include "app/COMname.h"
#include "app/Caution2.h"
#include "app/ComSetDialog.h"
#include "app/AssignForm.h"
#include "app/IPSetting1.h"
#include "app/OptionBox.h"
#include "app/VerBox.h"
#include "app/tests/WorkbenchTestSupport.h"

using namespace wbtest;

namespace {

using DialogLook = Workbench;

TEST_F(DialogLook, PortSettingsAddressVersionAndNotice) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    auto sim = win::SimDevice::Register(u"SIMLOOK");
    StartWithModel(String("SIMLOOK"));
    const auto tmp = std::filesystem::temp_directory_path();

    ListComPorts();
    MainForm->MemoInsert(ComSetDlg->Memo1, ComPortListText);
    ListSerialPorts(ComSetDlg->ComComboBox1->Items());
    ComSetDlg->ComComboBox1->SetText(String("SIMLOOK"));
    ComSetDlg->Show();
    EXPECT_TRUE(ui::test::SaveToPng(ComSetDlg, (tmp / "rwb_comset.png").string()));
    ComSetDlg->CheckBox1->SetChecked(true);
    EXPECT_TRUE(ui::test::SaveToPng(ComSetDlg, (tmp / "rwb_comset_edit.png").string()));
    ComSetDlg->Hide();

    IPSettingForm1->LabeledEdit4->SetText(String("192.168.0.100"));
    IPSettingForm1->Show();
    EXPECT_TRUE(ui::test::SaveToPng(IPSettingForm1, (tmp / "rwb_ipsetting.png").string()));
    IPSettingForm1->Hide();

    VerBoxForm->Show();
    EXPECT_TRUE(ui::test::SaveToPng(VerBoxForm, (tmp / "rwb_verbox.png").string()));
    VerBoxForm->Hide();

    Caution2Form->Label1->SetCaption(String(" ﾈｯﾄﾜｰｸｴﾗｰが発生しました!! "));
    Caution2Form->Label2->SetCaption(String(" ｱﾌﾟﾘｹｰｼｮﾝを終了します｡ "));
    Caution2Form->Show();
    EXPECT_TRUE(ui::test::SaveToPng(Caution2Form, (tmp / "rwb_neterror.png").string()));
    Caution2Form->Hide();

    // The option box's air-monitor page with the clipboard group under the colour groups.
    OptionBoxForm->PageControl1->SetActivePage(OptionBoxForm->TabSheet2);
    OptionBoxForm->Show();
    EXPECT_TRUE(ui::test::SaveToPng(OptionBoxForm, (tmp / "rwb_optionbox.png").string()));
    OptionBoxForm->Hide();

    // The packet generator after its track bar moved from one end to the other.
    AssignForm1->Show();
    AssignForm1->TrackBar1->SetPosition(AssignForm1->TrackBar1->Min());
    ui::test::SaveToPng(AssignForm1, (tmp / "rwb_assign_before.png").string());
    AssignForm1->TrackBar1->SetPosition(AssignForm1->TrackBar1->Max());
    EXPECT_TRUE(ui::test::SaveToPng(AssignForm1, (tmp / "rwb_assign.png").string()));
    AssignForm1->Hide();
}

}  // namespace
