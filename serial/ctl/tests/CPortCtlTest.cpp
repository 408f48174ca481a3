// The port settings combo box bound to a port on a simulated device.
#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TestSupport.h"
#include "serial/ctl/CPortCtl.h"
#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

class ComCombo : public PortTest {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 320, 240);
    }
    void TearDown() override {
        form->Free();
        PortTest::TearDown();
    }

    TComComboBox* Add(TComProperty property) {
        auto* c = new TComComboBox(form);
        c->SetParent(form);
        c->SetComProperty(property);
        return c;
    }
    // The user picks the first item that starts with letter, from the keyboard.
    void Pick(TComComboBox* combo, const char16_t* letter) {
        form->Show();
        combo->SetFocus();
        ui::test::Pump();
        ui::test::TypeText(combo, String(letter));
    }
    std::vector<std::string> Items(TComComboBox* combo) {
        std::vector<std::string> out;
        for (int i = 0; i < combo->Items()->Count(); ++i) out.push_back(combo->Items()->Get(i).ToUtf8());
        return out;
    }
};

TEST_F(ComCombo, ListsTheValuesAndSelectsThePortsValue) {
    port->SetBaudRate(br19200);
    port->SetDataBits(dbSeven);
    auto* rate = Add(cpBaudRate);
    EXPECT_EQ(rate->Style(), csDropDownList);
    EXPECT_EQ(rate->ItemIndex(), 0);  // no port yet: the first item
    rate->SetComPort(port.get());
    EXPECT_EQ(rate->Items()->Count(), 16);
    EXPECT_EQ(rate->Text().ToUtf8(), "19200");
    EXPECT_EQ(rate->ComSelect()->BaudRate(), br19200);

    const std::vector<std::pair<TComProperty, std::vector<std::string>>> tables = {
        {cpDataBits, {"5", "6", "7", "8"}},
        {cpStopBits, {"1", "1.5", "2"}},
        {cpParity, {"None", "Odd", "Even", "Mark", "Space"}},
        {cpFlowControl, {"Hardware", "Software", "None", "Custom"}},
    };
    for (auto& [property, names] : tables) {
        auto* combo = Add(property);
        combo->SetComPort(port.get());
        EXPECT_EQ(Items(combo), names);
    }
    auto* bits = Add(cpDataBits);
    bits->SetComPort(port.get());
    EXPECT_EQ(bits->Text().ToUtf8(), "7");

    // The port changes behind the combo box: UpdateSettings follows it.
    port->SetBaudRate(br115200);
    EXPECT_EQ(rate->Text().ToUtf8(), "19200");
    rate->UpdateSettings();
    EXPECT_EQ(rate->Text().ToUtf8(), "115200");
}

TEST_F(ComCombo, PickedValueReachesThePortAtOnceOrOnApply) {
    auto* flow = Add(cpFlowControl);
    flow->SetComPort(port.get());
    flow->SetAutoApply(true);
    int changes = 0;
    flow->OnChange = [&](TObject*) { ++changes; };
    Pick(flow, u"H");
    EXPECT_EQ(flow->Text().ToUtf8(), "Hardware");
    EXPECT_EQ(port->FlowControl()->ControlRTS(), rtsHandshake);
    EXPECT_TRUE(port->FlowControl()->OutCTSFlow());
    EXPECT_EQ(changes, 1);

    auto* parity = Add(cpParity);
    parity->SetComPort(port.get());
    Pick(parity, u"E");
    EXPECT_EQ(parity->Text().ToUtf8(), "Even");
    EXPECT_EQ(port->Parity()->Bits(), prNone);  // without AutoApply nothing yet
    parity->SetItemIndex(4);                     // the program's selection holds nothing
    parity->ApplySettings();
    EXPECT_EQ(port->Parity()->Bits(), prEven);

    // On an open port the setter reconfigures the device at once.
    port->Open();
    auto* rate = Add(cpBaudRate);
    rate->SetComPort(port.get());
    rate->SetAutoApply(true);
    Pick(rate, u"5");  // "56000"
    EXPECT_EQ(port->BaudRate(), br56000);
    EXPECT_EQ(sim->State().BaudRate, 56000u);
    port->Close();
}

TEST_F(ComCombo, FreeingThePortUnbindsAndSelectsTheFirstItem) {
    port->SetStopBits(sbTwoStopBits);
    auto* stop = Add(cpStopBits);
    stop->SetComPort(port.get());
    EXPECT_EQ(stop->ItemIndex(), 2);
    port.reset();
    EXPECT_EQ(stop->ComPort(), nullptr);
    EXPECT_EQ(stop->ItemIndex(), 0);
    stop->ApplySettings();  // nothing to write to
    stop->UpdateSettings();
    EXPECT_EQ(stop->ItemIndex(), 0);
}

TEST_F(ComCombo, NoPropertyListsNothingAndAppliesNothing) {
    auto* combo = Add(cpBaudRate);
    combo->SetComProperty(cpNone);
    EXPECT_EQ(combo->Items()->Count(), 0);
    combo->SetComPort(port.get());
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->ApplySettings();
    combo->SetAutoApply(true);
    combo->SetText(u"115200");
    EXPECT_EQ(port->BaudRate(), br9600);
    EXPECT_EQ(port->Port(), name);
    EXPECT_EQ(port->FlowControl()->FlowControl(), fcNone);
}

TEST_F(ComCombo, PortNamesComeFromThePortList) {
    auto other = win::SimDevice::Register(name + u"b");
    auto* combo = Add(cpPort);
    combo->SetComPort(port.get());
    EXPECT_GE(combo->Items()->IndexOf(name + u"b"), 0);
    EXPECT_EQ(combo->Text(), name);
    Pick(combo, u"");  // focus only
    combo->SetItemIndex(combo->Items()->IndexOf(name + u"b") - 1);
    ui::test::Key(combo, VK_DOWN);
    EXPECT_EQ(combo->Text(), name + u"b");
    combo->ApplySettings();
    EXPECT_EQ(port->Port(), name + u"b");
}

// The configured port is absent when the list is filled: the combo box shows no selection, and
// applying must keep the configured name rather than write an empty one.
TEST_F(ComCombo, AnAbsentPortIsKeptNotEmptied) {
    port->SetPort(u"ttyGone0");
    auto* combo = Add(cpPort);
    combo->SetComPort(port.get());
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(combo->ComSelect()->Port().empty());
    combo->ApplySettings();
    EXPECT_EQ(port->Port().ToUtf8(), "ttyGone0");

    // As the parameter dialog does: refill, then select the current port by its text.
    combo->SetComProperty(cpPort);
    combo->SetText(port->Port());
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(combo->Text().empty());
    port->SetPort(u"ttyOther");
    combo->ApplySettings();
    EXPECT_EQ(port->Port().ToUtf8(), "ttyGone0");

    // A listed name written as text is selected and held.
    combo->SetText(name);
    EXPECT_EQ(combo->Text(), name);
    combo->ApplySettings();
    EXPECT_EQ(port->Port(), name);

    // Texts that are no value of the setting hold nothing.
    combo->SetText(u"");
    combo->ApplySettings();
    EXPECT_EQ(port->Port(), name);
    auto* rate = Add(cpBaudRate);
    rate->SetComPort(port.get());
    rate->SetText(u"12345");
    EXPECT_EQ(rate->Text().ToUtf8(), "9600");
    rate->SetText(u"38400");
    rate->ApplySettings();
    EXPECT_EQ(port->BaudRate(), br38400);
}

}  // namespace
