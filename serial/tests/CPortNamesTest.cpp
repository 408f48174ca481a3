// Names of setting values and the port list.
#include <gtest/gtest.h>

#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/CommPorts.h"
#include "serial/tests/PortTestUtil.h"

namespace {

template <class E>
std::vector<std::string> AllNames(void (*name)(E, String&), int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        String s;
        name(static_cast<E>(i), s);
        out.push_back(s.ToUtf8());
    }
    return out;
}

TEST(PortNames, TablesInOrdinalOrder) {
    EXPECT_EQ(AllNames(BaudRateName, 16),
              (std::vector<std::string>{"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200",
                                        "38400", "56000", "57600", "115200", "128000", "256000"}));
    EXPECT_EQ(AllNames(StopBitsName, 3), (std::vector<std::string>{"1", "1.5", "2"}));
    EXPECT_EQ(AllNames(DataBitsName, 4), (std::vector<std::string>{"5", "6", "7", "8"}));
    EXPECT_EQ(AllNames(ParityName, 5), (std::vector<std::string>{"None", "Odd", "Even", "Mark", "Space"}));
    EXPECT_EQ(AllNames(FlowControlName, 4), (std::vector<std::string>{"Hardware", "Software", "None", "Custom"}));
    EXPECT_EQ(AllNames(DTRControlName, 3), (std::vector<std::string>{"Disable", "Enable", "Handshake"}));
    EXPECT_EQ(AllNames(RTSControlName, 4), (std::vector<std::string>{"Disable", "Enable", "Handshake", "Toggle"}));
}

TEST(PortNames, FromNameIgnoresCaseAndFallsBack) {
    EXPECT_EQ(BaudRateFromName(u"Custom"), brCustom);
    EXPECT_EQ(BaudRateFromName(u""), br9600);
    EXPECT_EQ(BaudRateFromName(u"256000"), br256000);
    EXPECT_EQ(BaudRateFromName(u" 19200"), br9600);  // no trimming
    EXPECT_EQ(FlowControlFromName(u"hardware"), fcHardware);
    EXPECT_EQ(FlowControlFromName(u"xon"), fcCustom);
    EXPECT_EQ(StopBitsFromName(u"1.5"), sbOne5StopBits);
    EXPECT_EQ(StopBitsFromName(u"3"), sbOneStopBit);
    EXPECT_EQ(DataBitsFromName(u"5"), dbFive);
    EXPECT_EQ(DataBitsFromName(u"9"), dbEight);
    EXPECT_EQ(ParityFromName(u"sPaCe"), prSpace);
    EXPECT_EQ(ParityFromName(u"x"), prNone);
    EXPECT_EQ(DTRControlFromName(u"ENABLE"), dtrEnable);
    EXPECT_EQ(DTRControlFromName(u"toggle"), dtrDisable);
    EXPECT_EQ(RTSControlFromName(u"toggle"), rtsToggle);
    EXPECT_EQ(RTSControlFromName(u""), rtsDisable);
    String s;
    StopBitsName(sbOne5StopBits, s);
    EXPECT_EQ(s.ToUtf8(), "1.5");
}

TEST(PortNames, YesNoAndCharacterForms) {
    String s;
    YesNoText(true, s);
    EXPECT_EQ(s.ToUtf8(), "Yes");
    YesNoText(false, s);
    EXPECT_EQ(s.ToUtf8(), "No");
    EXPECT_TRUE(YesNoValue(u"yEs"));
    EXPECT_FALSE(YesNoValue(u"Y"));
    EXPECT_FALSE(YesNoValue(u"1"));

    const std::vector<std::pair<char16_t, const char*>> chars = {
        {0, "#0"}, {17, "#17"}, {32, "#32"}, {33, "!"}, {u'A', "A"}, {127, "\x7f"}, {128, "#128"}, {0x3042, "#12354"}};
    for (auto [ch, text] : chars) {
        CharSettingText(ch, s);
        EXPECT_EQ(s.ToUtf8(), text) << int(ch);
        EXPECT_EQ(CharSettingValue(s), ch < 256 ? ch : (ch & 0xFF)) << int(ch);
    }
    EXPECT_EQ(CharSettingValue(u"#300"), 44);
    EXPECT_EQ(CharSettingValue(u"#abc"), 0);
    EXPECT_EQ(CharSettingValue(u"#"), u'#');
    EXPECT_EQ(CharSettingValue(u"xyz"), u'x');
    EXPECT_EQ(CharSettingValue(u""), 0);
}

TEST(PortList, SortedAsTextWithNothingAppended) {
    auto a = win::SimDevice::Register(u"tstS2");
    auto b = win::SimDevice::Register(u"tstS10");
    auto c = win::SimDevice::Register(u"TSTs3");
    TStringList list;
    list.Add(u"stale entry");
    ListSerialPorts(&list);
    EXPECT_EQ(list.IndexOf(u"stale entry"), -1);
    std::vector<std::string> ours;
    for (int i = 0; i < list.Count(); ++i) {
        std::string n = list[i].ToUtf8();
        EXPECT_EQ(n.find('\0'), std::string::npos);
        if (n.rfind("tst", 0) == 0 || n.rfind("TST", 0) == 0) ours.push_back(n);
    }
    // Text order without regard to case: "10" before "2", as COM10 comes before COM2.
    EXPECT_EQ(ours, (std::vector<std::string>{"tstS10", "tstS2", "TSTs3"}));
    // Every port present is listed, in that order.
    auto present = win::EnumerateSerialPorts();
    EXPECT_EQ(list.Count(), static_cast<int>(present.size()));
    for (int i = 1; i < list.Count(); ++i) EXPECT_LE(AnsiCompareText(list[i - 1], list[i]), 0);
}

}  // namespace
