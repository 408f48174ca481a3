// What the link does with the modem's replies.
#include <filesystem>

#include "app/tests/WorkbenchTestSupport.h"
#include "platform/rtl/SysUtils.h"

using namespace wbtest;

namespace {

using Handlers = LinkTest;

TEST_F(Handlers, TheFirstChannelAfterTheOpenIsHomeAndTheNextEquipmentIdIsKept) {
    OpenAndSendFirst();
    Reply("*CH=1B\r\n");
    Reply("*MO=01\r\n");
    Reply("*EI=05\r\n");
    Passes(2);  // the capture step runs at the end of a pass
    EXPECT_EQ(MainForm->HomeChannel, 27);
    EXPECT_EQ(MainForm->CurrentChannel, 27);
    EXPECT_EQ(MainForm->SavedEquipmentId, 5);
    EXPECT_EQ(Utf8(MainForm->MvNumEdit10->Text()), "1B");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit11->Text()), "27");
    Reply("*CH=20\r\n");
    Reply("*EI=09\r\n");
    Passes(2);
    EXPECT_EQ(MainForm->HomeChannel, 27);
    EXPECT_EQ(MainForm->CurrentChannel, 0x20);
    EXPECT_EQ(MainForm->SavedEquipmentId, 5);
}

TEST_F(Handlers, ADataModeIsTakenOnlyInAnswerToAnOutstandingCommand) {
    OpenAndSendFirst();
    Reply("*MD=BI\r\n");  // the open's command is outstanding
    EXPECT_EQ(MainForm->LinkMode, 2);
    EXPECT_TRUE(sim->Dtr());
    EXPECT_TRUE(MainForm->VrPowerButton7->Active());
    EXPECT_FALSE(MainForm->TabSheet1->TabVisible());
    EXPECT_FALSE(MainForm->VrDemoButton3->Enabled());
    EXPECT_FALSE(MainForm->VrDemoButton2->Enabled());

    // Back to command mode only by closing; after another open and a frame end, "MD" is ignored.
    PortButton();
    EXPECT_EQ(MainForm->LinkMode, 0);
    PortButton();
    ASSERT_TRUE(MainForm->ComPort1->Connected());
    Reply("*CH=1B\r\n");
    Reply("*MD=TX\r\n");
    EXPECT_EQ(MainForm->LinkMode, 0);
    EXPECT_FALSE(sim->Dtr());
    EXPECT_TRUE(MainForm->TabSheet1->TabVisible());
    EXPECT_TRUE(MainForm->VrDemoButton3->Enabled());
}

TEST_F(Handlers, PortAndModeRepliesLightTheirDisplays) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    Reply("*PS=FE\r\n");
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(MainForm->MvLED[static_cast<size_t>(16 + n)]->Checked(), n == 1) << n;
        EXPECT_EQ(MainForm->MvLED[static_cast<size_t>(32 + n)]->Checked(), n == 1) << n;
    }
    Reply("*PO=F0\r\n");
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(MainForm->MvLED[static_cast<size_t>(24 + n)]->Checked(), n <= 4) << n;
    EXPECT_EQ(Utf8(MainForm->MvNumEdit3->Text()), "F0");

    MainForm->RadioGroup1->SetItemIndex(1);
    MainForm->Memo1->Clear();
    Reply("*MO=03\r\n");
    EXPECT_EQ(MainForm->MvColBitBtn4->ColorOn(), static_cast<TColor>(0xFFFF00));
    EXPECT_EQ(Utf8(MainForm->MvColBitBtn4->TextOn()), "LoRa ｺﾏﾝﾄﾞ");
    EXPECT_EQ(MainForm->RadioGroup1->ItemIndex(), 0);
    Reply("*MO=01\r\n");
    EXPECT_EQ(MainForm->RadioGroup1->ItemIndex(), 1);
    Reply("*MO=02\r\n");
    EXPECT_EQ(MainForm->RadioGroup1->ItemIndex(), 1);  // a binary mode leaves it
    Reply("*MO=07\r\n");
    EXPECT_EQ(Utf8(MainForm->MvColBitBtn4->TextOn()), "LoRa ﾊﾞｲﾅﾘｰ");
    EXPECT_EQ(MainForm->MvColBitBtn4->ColorOn(), static_cast<TColor>(0x0000FF));
    CheckSynchronize(0);
    EXPECT_EQ(Memo1(), "*MO=03\r\n>LoRa ｺﾏﾝﾄﾞ ﾓｰﾄﾞ\r\n*MO=01\r\n>FSK ｺﾏﾝﾄﾞ ﾓｰﾄﾞ\r\n*MO=02\r\n>LoRa ﾊﾞｲﾅﾘｰ ﾓｰﾄﾞ\r\n"
                      "*MO=07\r\n>\r\n");
}

TEST_F(Handlers, TheSpreadingFactorReplySetsTheSpinWithoutSendingIt) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    MainForm->MvNumSpin12->SetValue(9);
    MainForm->Memo1->Clear();
    Sent();
    Reply("*SF=00\r\n");
    EXPECT_EQ(MainForm->MvNumSpin12->Value(), 7);
    Reply("*SF=05\r\n");
    EXPECT_EQ(MainForm->MvNumSpin12->Value(), 12);
    Reply("*SF=09\r\n");
    EXPECT_EQ(MainForm->MvNumSpin12->Value(), 7);  // the spin's lower limit
    CheckSynchronize(0);
    EXPECT_EQ(Memo1(), "*SF=00\r\n>拡散率=7 , チップ数=128\r\n*SF=05\r\n>拡散率=12 , チップ数=4096\r\n*SF=09\r\n>\r\n");
    EXPECT_EQ(MainForm->PendingCount, 0);
    Passes(3);
    EXPECT_EQ(Sent(), "");
}

TEST_F(Handlers, ATestPacketIsAnsweredWithItsDataUnlessItClaimsMoreThanItCarries) {
    OpenQuietly();
    const uint64_t before = GetTickCount64();
    Reply(std::string("*DR=11") + "[2]abcdefg05HELLO" + "\r\n");
    EXPECT_GE(GetTickCount64() - before, 20u);
    ASSERT_TRUE(Settle([&] { Sent(); return sent == "@DT05HELLO\r\n"; })) << sent;

    // Length 09 with five characters behind it: no answer. Other kinds and no brackets: none.
    for (const char* payload : {"[2]abcdefg09HELLO", "[1]abcdefg05HELLO", "x2]abcdefg05HELLO", "[2]abc"}) {
        SCOPED_TRACE(payload);
        ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        const std::string body(payload);
        Reply("*DR=" + Utf8(IntToHex(static_cast<int>(body.size()), 2)) + body + "\r\n");
        Passes(3);
        EXPECT_EQ(MainForm->PendingCount, 0);
    }
    Sent();
    EXPECT_EQ(sent, "@DT05HELLO\r\n");
}

TEST_F(Handlers, AMultiPartTransferIsWrittenOnlyWhenItsPartsComeInOrder) {
    OpenAndSendFirst();
    MainForm->CommandOut(0);
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path);
    auto frame = [](int count, int part, const std::string& data) {
        std::string body{'\x07', static_cast<char>(count), static_cast<char>(part)};
        body += data;
        return "*DC=00" + Utf8(IntToHex(static_cast<int>(body.size()), 2)) + body + "\r\n";
    };
    struct Case {
        const char* name;
        std::vector<std::string> frames;
        const char* file;  // nullptr: none written
    };
    const Case cases[] = {
        {"in order", {frame(3, 0, ""), frame(3, 1, "Hello, "), frame(3, 2, "world")}, "Hello, world"},
        {"out of order", {frame(3, 0, ""), frame(3, 2, "world"), frame(3, 1, "Hello, ")}, nullptr},
        {"no header", {frame(3, 1, "Hello, "), frame(3, 2, "world")}, nullptr},
        {"other count", {frame(3, 0, ""), frame(4, 1, "Hello, "), frame(4, 2, "world")}, nullptr},
        {"count below 2", {frame(1, 0, ""), frame(1, 1, "x")}, nullptr},
        {"no page change", {frame(2, 0, ""), frame(2, 1, "x")}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir.File("RXtemp.txt"));
        // A fresh transfer state: a port close and open.
        PortButton();
        PortButton();
        MainForm->CommandOut(0);
        MainForm->RequestKind = std::string(c.name) == "no page change" ? 11 : 0;
        for (const std::string& f : c.frames) Reply(f);
        if (c.file) {
            EXPECT_EQ(rtl_test::ReadAll(dir.File("RXtemp.txt")), c.file);
            EXPECT_EQ(MainForm->MemoryStream2->Size(), static_cast<int64_t>(std::string(c.file).size()));
        } else {
            EXPECT_FALSE(std::filesystem::exists(dir.File("RXtemp.txt")));
        }
    }
    std::filesystem::current_path(cwd);
}

TEST_F(Handlers, APortResponseOfKind02SetsTheOutputsAndSendsThem) {
    OpenQuietly();
    MainForm->Memo1->Clear();
    Reply("*PR=0211A5\r\n");
    EXPECT_EQ(Utf8(MainForm->PortField1), "02");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit3->Text()), "A5");
    const int a5 = 0xA5;
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(MainForm->MvLED[static_cast<size_t>(24 + n)]->Checked(), (a5 & (1 << (n - 1))) == 0) << n;
    CheckSynchronize(0);
    EXPECT_NE(Memo1().find(">@POｺﾏﾝﾄﾞを発行し、ﾎﾟｰﾄ状態をｾｯﾄします\r\n"), std::string::npos);
    ASSERT_TRUE(Settle([&] { Sent(); return sent == "@POA5\r\n"; })) << sent;

    // Kind 01: the remote outputs follow the third field.
    Reply("*PR=01330F\r\n");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit8->Text()), "F");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit9->Text()), "33");
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(MainForm->MvLED[static_cast<size_t>(8 + n)]->Checked(), n > 4) << n;
}

}  // namespace
