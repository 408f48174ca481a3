// What the window does with the modem's replies: the link mode, the channel, unique ID, port and
// mode displays, and the file a completed multi-part transfer becomes.
#include <initializer_list>

#include "platform/rtl/SysUtils.h"
#include "app/Main.h"
#include "platform/win/Window.h"

void TMainForm::ShowChannel(int value) {
    MvNumEdit10->SetValueAsHex(IntToHex(value, 2));
    MvNumEdit11->SetValueAsHex(IntToHex(value, 2));
}

void TMainForm::ShowUniqueId(const String& digits) {
    MvNumEdit6->SetValueAsHex(digits);
    MvNumEdit7->SetValueAsHex(digits);
}

void TMainForm::LinkModeChanged(int value) {
    if (UserCommandFlag != 1) return;
    if (value == 0) {
        LinkMode = 0;
        SetLineDTR(false);
        VrPowerButton7->SetActive(false);
        TabSheet1->SetTabVisible(CurUnitKind == TxRx || CurUnitKind == Rx);
        EnableControls(3, true);
    } else if (value == 1 || value == 2) {
        LinkMode = static_cast<uint8_t>(value);
        SetLineDTR(true);
        VrPowerButton7->SetActive(true);
        TabSheet1->SetTabVisible(false);
        EnableControls(3, false);
    }
}

void TMainForm::ShowDioPort(int value) {
    for (int n = 1; n <= 8; ++n) {
        const bool lit = (value & (1 << (n - 1))) == 0;
        MvLED[static_cast<size_t>(16 + n)]->SetChecked(lit);
        MvLED[static_cast<size_t>(32 + n)]->SetChecked(lit);
    }
}

void TMainForm::ShowOutputPort(int value) {
    MvNumEdit3->SetValue(value);
    for (int n = 1; n <= 8; ++n) MvLED[static_cast<size_t>(24 + n)]->SetChecked((value & (1 << (n - 1))) == 0);
}

void TMainForm::ShowCommMode(int value) {
    struct Mode {
        TColor color;
        const char* onText;
        const char* line;
        int airTimeMode;  // RadioGroup1's item, -1: unchanged
    };
    static const Mode kModes[] = {
        {0xFF00FF, "FSK ﾊﾞｲﾅﾘｰ", "FSKﾊﾞｲﾅﾘｰ ﾓｰﾄﾞ", -1},
        {0x00FF00, "FSK ｺﾏﾝﾄﾞ", "FSK ｺﾏﾝﾄﾞ ﾓｰﾄﾞ", 1},
        {0x0000FF, "LoRa ﾊﾞｲﾅﾘｰ", "LoRa ﾊﾞｲﾅﾘｰ ﾓｰﾄﾞ", -1},
        {0xFFFF00, "LoRa ｺﾏﾝﾄﾞ", "LoRa ｺﾏﾝﾄﾞ ﾓｰﾄﾞ", 0},
        {0xC0DCC0, "ｴｱｰﾓﾆﾀｰ", "ｴｱｰﾓﾆﾀｰ ﾓｰﾄﾞ", -1},
    };
    if (value < 0 || value > 4) {
        TerminalLine(String(">"));
        return;
    }
    const Mode& m = kModes[value];
    MvColBitBtn4->SetColorOn(m.color);
    MvColBitBtn4->SetTextOn(String(m.onText));
    TerminalLine(String(">") + m.line);
    if (m.airTimeMode >= 0) RadioGroup1->SetItemIndex(m.airTimeMode);
}

void TMainForm::ShowSpreadingFactor(int value) {
    static const char* const kLines[] = {
        "拡散率=7 , チップ数=128",   "拡散率=8 , チップ数=256",   "拡散率=9 , チップ数=512",
        "拡散率=10 , チップ数=1024", "拡散率=11 , チップ数=2048", "拡散率=12 , チップ数=4096",
    };
    // A value the modem reports is no change of the user's: the spin's change event stays quiet.
    FProgramWritesSpin = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FProgramWritesSpin};
    if (value >= 0 && value <= 5) {
        TerminalLine(String(">") + kLines[value]);
        MvNumSpin12->SetValue(value + 7);
    } else {
        TerminalLine(String(">"));
        MvNumSpin12->SetValue(0);  // the spin's lower limit applies
    }
}

void TMainForm::RouteResultResponse(int value) { MessageBeep(MB_ICONEXCLAMATION); }

void TMainForm::TransferReceived(const std::string& bytes) {
    ByteStream2->Clear();
    ByteStream2->Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    ByteStream2->SaveToFile(String("RXtemp.txt"));
    MemoryStream2->LoadFromFile(String("RXtemp.txt"));
}

void TMainForm::ShowPortState() {
    const String& kind = PortField1;
    if (kind == "02") {
        MvNumEdit3->SetValueAsHex(PortField3);
        TerminalLine(String(">@POｺﾏﾝﾄﾞを発行し、ﾎﾟｰﾄ状態をｾｯﾄします"));
    } else if (kind == "03" || kind == "05" || kind == "06" || kind == "08") {
        MvNumEdit3->SetValueAsHex(PortField3);
    } else if (kind == "01" || kind == "04" || kind == "07") {
        MvNumEdit8->SetValueAsHex(PortField3);
        MvNumEdit9->SetValueAsHex(PortField2);
    }
}

void TMainForm::MvNumEdit3ValueChanged(TObject* Sender) {
    const String& kind = PortField1;
    if (!(kind == "02" || kind == "03" || kind == "05" || kind == "06" || kind == "08")) return;
    const int value = MvNumEdit3->ValueAsInt();
    for (int n = 1; n <= 8; ++n) MvLED[static_cast<size_t>(24 + n)]->SetChecked((value & (1 << (n - 1))) == 0);
}

void TMainForm::MvNumEdit8ValueChanged(TObject* Sender) {
    const String& kind = PortField1;
    if (!(kind == "01" || kind == "04" || kind == "07")) return;
    const int value = MvNumEdit8->ValueAsInt();
    for (int n = 1; n <= 8; ++n) MvLED[static_cast<size_t>(8 + n)]->SetChecked((value & (1 << (n - 1))) == 0);
}
