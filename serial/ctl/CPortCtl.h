#pragma once
// A drop-down list bound to one setting of a serial port: it lists the setting's values, holds
// the one the user picks, and writes it to the port at once (AutoApply) or on ApplySettings.
#include <memory>

#include "platform/ui/StdCtrls.h"
#include "serial/CPort.h"

enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

// The work behind the combo box: fills its items and keeps the value held for the setting.
class TComSelect {
public:
    TComSelect() = default;
    TComSelect(const TComSelect&) = delete;
    TComSelect& operator=(const TComSelect&) = delete;

    // The combo box's item list; not owned.
    TStrings* Items() const { return FItems; }
    void SetItems(TStrings* value) { FItems = value; }

    void SelectPort();
    void SelectBaudRate();
    void SelectDataBits();
    void SelectStopBits();
    void SelectParity();
    void SelectFlowControl();

    // Parses Text into the held value of the current property; then applies it with AutoApply.
    void Change(const String& Text);
    // Writes the held value to the bound port (nothing without one, or with cpNone).
    void ApplySettings();
    // Sets ItemIndex to the item of the port's present value (-1 when it is not listed), and
    // holds that value when it is. Without a port or with cpNone ItemIndex stays as given.
    void UpdateSettings(int& ItemIndex);
    // Holds Text as the value written to the combo box (see TComComboBox::SetText).
    void HoldText(const String& Text);

    TComProperty ComProperty() const { return FComProperty; }
    // Stores the property and refills the items; cpNone empties them.
    void SetComProperty(TComProperty Value);
    TCustomComPort* ComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* Value) { FComPort = Value; }
    bool AutoApply() const { return FAutoApply; }
    void SetAutoApply(bool Value) { FAutoApply = Value; }

    // The held values; only the one of the current property is used.
    const String& Port() const { return FPort; }
    TBaudRate BaudRate() const { return FBaudRate; }
    TDataBits DataBits() const { return FDataBits; }
    TStopBits StopBits() const { return FStopBits; }
    TParityBits Parity() const { return FParity; }
    TFlowControl FlowControl() const { return FFlowControl; }

private:
    // The port's present value of the current property, as the items name it.
    String PortValueText() const;
    void Parse(const String& Text);
    template <class E, size_t N>
    void Fill(void (*name)(E, String&));

    String FPort;
    TBaudRate FBaudRate = br9600;
    TDataBits FDataBits = dbEight;
    TStopBits FStopBits = sbOneStopBit;
    TParityBits FParity = prNone;
    TFlowControl FFlowControl = fcNone;
    TStrings* FItems = nullptr;
    TComProperty FComProperty = cpNone;
    TCustomComPort* FComPort = nullptr;
    bool FAutoApply = false;
};

class TComComboBox : public TCustomComboBox {
public:
    explicit TComComboBox(TComponent* AOwner);
    ~TComComboBox() override;
    const char* ClassName() const override { return "TComComboBox"; }

    void ApplySettings();
    // Selects the item of the port's present value; the selection stays without a port.
    void UpdateSettings();

    TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
    void SetComPort(TCustomComPort* Value);
    TComProperty ComProperty() const { return FComSelect->ComProperty(); }
    void SetComProperty(TComProperty Value);
    bool AutoApply() const { return FComSelect->AutoApply(); }
    void SetAutoApply(bool Value) { FComSelect->SetAutoApply(Value); }
    TComSelect* ComSelect() const { return FComSelect.get(); }

    // The selected item's text, or empty text.
    String Text() const;
    // Selects the item equal to Value (another text selects nothing) and holds Value as the
    // setting's value, so that what the program shows is what ApplySettings writes: a port
    // name that is not listed (a device absent just now) is held as it is, never dropped.
    void SetText(const String& Value);

protected:
    // The user picked an item.
    void Change() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TComSelect> FComSelect;
};
