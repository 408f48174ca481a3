// The port-setting buttons and the serial parameter dialog: the port closes, the dialog shows the
// present devices and the port's settings, and applies, discards or saves them.
#include "app/COMname.h"
#include "app/ComSetDialog.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/rtl/IniFiles.h"

using namespace wbtest;

namespace {

class PortSettings : public LinkTest {
protected:
    // The port-setting button, as the user presses it.
    void SettingButton() { MainForm->VrDemoButton2->OnClick(MainForm->VrDemoButton2); }
    String Ini(const char* key) { return TMemIniFile(MainForm->IniPath).ReadString(u"ComPort1", String(key), u"<none>"); }
};

TEST_F(PortSettings, TheSettingButtonClosesThePortKeepsTheLinkAndRunsTheDialog) {
    const String other = UniqueDevice();
    auto otherSim = win::SimDevice::Register(other);
    OpenQuietly();
    MainForm->LinkMode = 1;
    MainForm->RespReady = 0;
    MainForm->PendingCount = 2;
    Feed("*C");
    ComSetDlg->Memo1->SetText(String("left from before"));

    std::string memo, shown;
    std::vector<std::string> listed;
    WhenModal(ComSetDlg, [&] {
        memo = Utf8(ComSetDlg->Memo1->Text());
        shown = Utf8(ComSetDlg->ComComboBox1->Text());
        for (int i = 0; i < ComSetDlg->ComComboBox1->Items()->Count(); ++i)
            listed.push_back(Utf8(ComSetDlg->ComComboBox1->Items()->Get(i)));
        ComSetDlg->ComComboBox1->SetText(other);  // the user's choice
        ui::test::Click(ComSetDlg->OKBtn, 5, 5);
    });
    SettingButton();

    EXPECT_EQ(memo.rfind("【使用可能COMﾎﾟｰﾄ】\r\n", 0), 0u) << memo;
    EXPECT_NE(memo.find(Utf8(device) + " (simulated)\r\n"), std::string::npos) << memo;
    EXPECT_EQ(memo.find("left from before"), std::string::npos);
    EXPECT_EQ(shown, Utf8(device));
    EXPECT_NE(std::find(listed.begin(), listed.end(), Utf8(other)), listed.end());

    // Closed without the link's reset.
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_EQ(MainForm->PortInUse, 0);
    EXPECT_EQ(MainForm->RingCount(), 2);
    EXPECT_EQ(MainForm->LinkMode, 1);
    EXPECT_EQ(MainForm->RespReady, 0);
    EXPECT_EQ(MainForm->PendingCount, 2);
    EXPECT_EQ(Panel(0), "");
    EXPECT_FALSE(MainForm->MvLED88->Checked());
    EXPECT_FALSE(MainForm->VrPowerButton7->Active());
    EXPECT_FALSE(MainForm->PageControl1->Visible());
    // OK: the chosen port, the model list open again.
    EXPECT_EQ(MainForm->ComPort1->Port(), other);
    EXPECT_TRUE(MainForm->ComboBox5->Enabled());
    EXPECT_EQ(Utf8(MainForm->VrDemoButton3->Caption()), Utf8(other) + " ﾎﾟｰﾄ");
    // A device path is named without its folder, so that the button shows it whole.
    EXPECT_EQ(Utf8(TMainForm::PortButtonCaption(String("/dev/pts/3"))), "pts/3 ﾎﾟｰﾄ");
    EXPECT_EQ(Utf8(TMainForm::PortButtonCaption(String("ttyUSB0"))), "ttyUSB0 ﾎﾟｰﾄ");
}

TEST_F(PortSettings, TheRestartButtonAndTheMenuItemRunTheSameDialog) {
    for (TComponent* trigger : std::initializer_list<TComponent*>{MainForm->VrDemoButton33, MainForm->SetCom}) {
        OpenQuietly();
        bool shown = false;
        WhenModal(ComSetDlg, [&] {
            shown = true;
            ui::test::Click(ComSetDlg->CancelBtn, 5, 5);
        });
        if (auto* item = dynamic_cast<TMenuItem*>(trigger))
            item->Click();
        else
            MainForm->VrDemoButton33->OnClick(trigger);
        EXPECT_TRUE(shown) << trigger->Name().ToUtf8();
        EXPECT_FALSE(MainForm->ComPort1->Connected());
        // Cancel leaves the model list as the open left it.
        EXPECT_FALSE(MainForm->ComboBox5->Enabled());
    }
}

TEST_F(PortSettings, OkAppliesTheSixSettingsAsOneChangeOfThePort) {
    MainForm->ComPort1->Open();
    sim->ClearCalls();
    ComSetDlg->CheckBox1->SetChecked(true);
    ComSetDlg->ComComboBox2->SetText(String("9600"));
    ComSetDlg->ComComboBox3->SetText(String("7"));
    ComSetDlg->ComComboBox4->SetText(String("2"));
    ComSetDlg->ComComboBox5->SetText(String("Even"));
    ComSetDlg->ComComboBox6->SetText(String("None"));
    ComSetDlg->OKBtnClick(ComSetDlg->OKBtn);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
    const DCB dcb = sim->State();
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(MainForm->ComPort1->FlowControl()->FlowControl(), fcNone);
}

TEST_F(PortSettings, CancelDiscardsAChangedRate) {
    ComSetDlg->ComComboBox2->SetText(String("115200"));
    WhenModal(ComSetDlg, [&] { ui::test::Click(ComSetDlg->CancelBtn, 5, 5); });
    EXPECT_EQ(ComSetDlg->ShowModal(), mrCancel);
    EXPECT_EQ(MainForm->ComPort1->BaudRate(), br19200);
    EXPECT_EQ(Utf8(ComSetDlg->ComComboBox2->Text()), "19200");
}

TEST_F(PortSettings, SaveAppliesStoresAndStaysOpenAndCancelKeepsIt) {
    bool stillShown = false;
    WhenModal(ComSetDlg, [&] {
        ComSetDlg->ComComboBox2->SetText(String("38400"));
        ComSetDlg->Button1Click(ComSetDlg->Button1);
        stillShown = ComSetDlg->Visible() && ComSetDlg->ModalResult() == mrNone;
        ui::test::Click(ComSetDlg->CancelBtn, 5, 5);
    });
    EXPECT_EQ(ComSetDlg->ShowModal(), mrCancel);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Saved to initial setting file."});
    EXPECT_EQ(MainForm->ComPort1->BaudRate(), br38400);
    EXPECT_EQ(Utf8(ComSetDlg->ComComboBox2->Text()), "38400");
    const std::pair<const char*, std::string> keys[] = {
        {"Port", Utf8(device)}, {"BaudRate", "38400"}, {"StopBits", "1"},
        {"DataBits", "8"},      {"Parity", "None"},    {"FlowControl", "Hardware"},
    };
    for (const auto& [key, value] : keys) EXPECT_EQ(Utf8(Ini(key)), value) << key;
}

TEST_F(PortSettings, EditEnableOpensTheLineSettings) {
    std::vector<TComComboBox*> line{ComSetDlg->ComComboBox3, ComSetDlg->ComComboBox4, ComSetDlg->ComComboBox5,
                                    ComSetDlg->ComComboBox6};
    EXPECT_FALSE(ComSetDlg->CheckBox1->Checked());
    EXPECT_TRUE(ComSetDlg->ComComboBox1->Enabled());
    EXPECT_TRUE(ComSetDlg->ComComboBox2->Enabled());
    for (TComComboBox* c : line) EXPECT_FALSE(c->Enabled()) << c->Name().ToUtf8();
    ComSetDlg->CheckBox1->SetChecked(true);
    for (TComComboBox* c : line) EXPECT_TRUE(c->Enabled()) << c->Name().ToUtf8();
    ComSetDlg->CheckBox1->SetChecked(false);
    for (TComComboBox* c : line) EXPECT_FALSE(c->Enabled()) << c->Name().ToUtf8();
}

}  // namespace
