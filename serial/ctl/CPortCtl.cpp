#include "serial/ctl/CPortCtl.h"

#include "platform/rtl/StringList.h"

// ---- TComSelect ----

template <class E, size_t N>
void TComSelect::Fill(void (*name)(E, String&)) {
    FItems->BeginUpdate();
    FItems->Clear();
    for (size_t i = 0; i < N; ++i) {
        String s;
        name(static_cast<E>(i), s);
        FItems->Add(s);
    }
    FItems->EndUpdate();
}

void TComSelect::SelectPort() {
    FItems->BeginUpdate();
    FItems->Clear();
    ListSerialPorts(FItems);
    FItems->EndUpdate();
}

void TComSelect::SelectBaudRate() { Fill<TBaudRate, 16>(BaudRateName); }
void TComSelect::SelectDataBits() { Fill<TDataBits, 4>(DataBitsName); }
void TComSelect::SelectStopBits() { Fill<TStopBits, 3>(StopBitsName); }
void TComSelect::SelectParity() { Fill<TParityBits, 5>(ParityName); }
void TComSelect::SelectFlowControl() { Fill<TFlowControl, 4>(FlowControlName); }

void TComSelect::SetComProperty(TComProperty Value) {
    FComProperty = Value;
    if (!FItems) return;
    switch (Value) {
        case cpNone: FItems->Clear(); break;
        case cpPort: SelectPort(); break;
        case cpBaudRate: SelectBaudRate(); break;
        case cpDataBits: SelectDataBits(); break;
        case cpStopBits: SelectStopBits(); break;
        case cpParity: SelectParity(); break;
        case cpFlowControl: SelectFlowControl(); break;
    }
}

void TComSelect::Parse(const String& Text) {
    switch (FComProperty) {
        case cpNone: break;
        case cpPort: FPort = Text; break;
        case cpBaudRate: FBaudRate = BaudRateFromName(Text); break;
        case cpDataBits: FDataBits = DataBitsFromName(Text); break;
        case cpStopBits: FStopBits = StopBitsFromName(Text); break;
        case cpParity: FParity = ParityFromName(Text); break;
        case cpFlowControl: FFlowControl = FlowControlFromName(Text); break;
    }
}

void TComSelect::Change(const String& Text) {
    Parse(Text);
    if (FAutoApply) ApplySettings();
}

void TComSelect::HoldText(const String& Text) {
    if (FComProperty == cpPort) {
        if (!Text.empty()) FPort = Text;
        return;
    }
    // Other settings hold only a value they list.
    if (FItems && FItems->IndexOf(Text) >= 0) Parse(Text);
}

void TComSelect::ApplySettings() {
    if (!FComPort) return;
    switch (FComProperty) {
        case cpNone: break;
        // An empty name is never a choice: it would only make the next open fail.
        case cpPort:
            if (!FPort.empty()) FComPort->SetPort(FPort);
            break;
        case cpBaudRate: FComPort->SetBaudRate(FBaudRate); break;
        case cpDataBits: FComPort->SetDataBits(FDataBits); break;
        case cpStopBits: FComPort->SetStopBits(FStopBits); break;
        case cpParity: FComPort->Parity()->SetBits(FParity); break;
        case cpFlowControl: FComPort->FlowControl()->SetFlowControl(FFlowControl); break;
    }
}

String TComSelect::PortValueText() const {
    String s;
    switch (FComProperty) {
        case cpNone: break;
        case cpPort: s = FComPort->Port(); break;
        case cpBaudRate: BaudRateName(FComPort->BaudRate(), s); break;
        case cpDataBits: DataBitsName(FComPort->DataBits(), s); break;
        case cpStopBits: StopBitsName(FComPort->StopBits(), s); break;
        case cpParity: ParityName(FComPort->Parity()->Bits(), s); break;
        case cpFlowControl: FlowControlName(FComPort->FlowControl()->FlowControl(), s); break;
    }
    return s;
}

void TComSelect::UpdateSettings(int& ItemIndex) {
    if (!FComPort || FComProperty == cpNone || !FItems) return;
    ItemIndex = FItems->IndexOf(PortValueText());
    if (ItemIndex >= 0) Parse(FItems->Get(ItemIndex));
}

// ---- TComComboBox ----

TComComboBox::TComComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FComSelect(std::make_unique<TComSelect>()) {
    FComSelect->SetItems(Items());
    SetStyle(csDropDownList);
}

TComComboBox::~TComComboBox() {
    if (TCustomComPort* port = ComPort()) port->RemoveFreeNotification(this);
    FComSelect->SetComPort(nullptr);
}

void TComComboBox::ApplySettings() { FComSelect->ApplySettings(); }

void TComComboBox::UpdateSettings() {
    int index = ItemIndex();
    FComSelect->UpdateSettings(index);
    SetItemIndex(index);
}

void TComComboBox::SetComPort(TCustomComPort* Value) {
    TCustomComPort* old = ComPort();
    if (Value == old) return;
    if (old) old->RemoveFreeNotification(this);
    FComSelect->SetComPort(Value);
    if (Value) {
        Value->FreeNotification(this);
        UpdateSettings();
    }
}

void TComComboBox::SetComProperty(TComProperty Value) {
    FComSelect->SetComProperty(Value);
    if (Items()->Count() == 0) return;
    if (ComPort())
        UpdateSettings();
    else
        SetItemIndex(0);
}

String TComComboBox::Text() const {
    int i = ItemIndex();
    return i >= 0 && i < Items()->Count() ? Items()->Get(i) : String();
}

void TComComboBox::SetText(const String& Value) {
    int i = Items()->IndexOf(Value);
    if (i >= 0) SetItemIndex(i);
    FComSelect->HoldText(Value);
}

void TComComboBox::Change() {
    FComSelect->Change(Text());
    TCustomComboBox::Change();
}

void TComComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr && AComponent == ComPort()) {
        FComSelect->SetComPort(nullptr);
        if (Items()->Count() > 0) SetItemIndex(0);
    }
}
