// The port list and the names of setting values.
#include <array>

#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/CommPorts.h"
#include "serial/CPort.h"

namespace {

const std::array<const char16_t*, 16> BaudRateNames{u"Custom", u"110",   u"300",   u"600",    u"1200",   u"2400",
                                                    u"4800",   u"9600",  u"14400", u"19200",  u"38400",  u"56000",
                                                    u"57600",  u"115200", u"128000", u"256000"};
const std::array<const char16_t*, 3> StopBitsNames{u"1", u"1.5", u"2"};
const std::array<const char16_t*, 4> DataBitsNames{u"5", u"6", u"7", u"8"};
const std::array<const char16_t*, 5> ParityNames{u"None", u"Odd", u"Even", u"Mark", u"Space"};
const std::array<const char16_t*, 4> FlowControlNames{u"Hardware", u"Software", u"None", u"Custom"};
const std::array<const char16_t*, 3> DTRControlNames{u"Disable", u"Enable", u"Handshake"};
const std::array<const char16_t*, 4> RTSControlNames{u"Disable", u"Enable", u"Handshake", u"Toggle"};

template <class E, size_t N>
void NameOf(const std::array<const char16_t*, N>& table, E value, String& name) {
    size_t i = static_cast<size_t>(value);
    name = i < N ? String(table[i]) : String();
}

template <class E, size_t N>
E FromName(const std::array<const char16_t*, N>& table, const String& name, E noMatch) {
    String upper = UpperCase(name);
    for (size_t i = 0; i < N; ++i)
        if (UpperCase(String(table[i])) == upper) return static_cast<E>(i);
    return noMatch;
}

}  // namespace

void ListSerialPorts(TStrings* Strings) {
    TStringList names;
    for (const win::SerialPortInfo& port : win::EnumerateSerialPorts()) names.Add(port.Name);
    names.Sort();
    Strings->Assign(&names);
}

void BaudRateName(TBaudRate Value, String& Name) { NameOf(BaudRateNames, Value, Name); }
void StopBitsName(TStopBits Value, String& Name) { NameOf(StopBitsNames, Value, Name); }
void DataBitsName(TDataBits Value, String& Name) { NameOf(DataBitsNames, Value, Name); }
void ParityName(TParityBits Value, String& Name) { NameOf(ParityNames, Value, Name); }
void FlowControlName(TFlowControl Value, String& Name) { NameOf(FlowControlNames, Value, Name); }
void DTRControlName(TDTRFlowControl Value, String& Name) { NameOf(DTRControlNames, Value, Name); }
void RTSControlName(TRTSFlowControl Value, String& Name) { NameOf(RTSControlNames, Value, Name); }

TBaudRate BaudRateFromName(const String& Name) { return FromName(BaudRateNames, Name, br9600); }
TStopBits StopBitsFromName(const String& Name) { return FromName(StopBitsNames, Name, sbOneStopBit); }
TDataBits DataBitsFromName(const String& Name) { return FromName(DataBitsNames, Name, dbEight); }
TParityBits ParityFromName(const String& Name) { return FromName(ParityNames, Name, prNone); }
TFlowControl FlowControlFromName(const String& Name) { return FromName(FlowControlNames, Name, fcCustom); }
TDTRFlowControl DTRControlFromName(const String& Name) { return FromName(DTRControlNames, Name, dtrDisable); }
TRTSFlowControl RTSControlFromName(const String& Name) { return FromName(RTSControlNames, Name, rtsDisable); }

void YesNoText(bool Value, String& Text) { Text = Value ? u"Yes" : u"No"; }
bool YesNoValue(const String& Text) { return UpperCase(Text) == u"YES"; }

void CharSettingText(char16_t Ch, String& Text) {
    if (Ch >= 33 && Ch <= 127)
        Text = String(1, Ch);
    else
        Text = u"#" + IntToStr(static_cast<int>(Ch));
}

char16_t CharSettingValue(const String& Text) {
    if (Text.empty()) return 0;
    if (Text[0] == u'#' && Text.size() > 1) {
        int32_t code = 0;
        if (!TryStrToInt(Text.substr(1), code)) return 0;
        return static_cast<char16_t>(code & 0xFF);
    }
    return Text[0];
}
