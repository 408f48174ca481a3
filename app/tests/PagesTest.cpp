// The control-and-test page: input lines, terminal, number converter, the command, functions and
// contact-test pages, the air time and the repeated send, on a simulated port and the manual
// clock.
#include "app/AirTime.h"
#include "app/AssignForm.h"
#include "app/Caution3.h"
#include "app/HexKeyForm.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Dialogs.h"

using namespace wbtest;

namespace {

class Pages : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        OpenQuietly();
        MainForm->Show();
        MainForm->SetEnabled(true);
    }
    void TearDown() override {
        ui::SetCommonDialogHook(nullptr);
        LinkTest::TearDown();
    }
    // The line the next pass sends, once the last write has left.
    std::string SendNext() {
        EXPECT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        Passes(1);
        EXPECT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        return Sent();
    }
    // Runs work inside the next modal loop (the dialog the action shows).
    static void DuringModal(std::function<void()> work) { TThread::Queue(nullptr, std::move(work)); }
    std::vector<std::string> History(VIzeVadarEdu* line) {
        std::vector<std::string> r;
        for (int i = 0; i < line->Items()->Count(); ++i) r.push_back(Utf8(line->Items()->Get(i)));
        return r;
    }
    // The modem's answer to a command, in the payload its code has.
    void Answer(const std::string& line) {
        const std::string code = line.substr(1, 2);
        Reply("*" + code + "=" + (code == "UI" ? "0000" : code == "PI" ? "000000" : "00") + "\r\n");
    }
    // Every queued command in its order, each answered by the modem.
    std::vector<std::string> SendAndAnswerAll() {
        // A reply's last character ends its frame, and the same pass sends the next command.
        std::vector<std::string> lines;
        for (;;) {
            std::string line = SendNext();
            if (line.empty()) break;
            lines.push_back(line.substr(0, line.size() - 2));
            Answer(line);
        }
        return lines;
    }
};

// ---- input lines and terminal ---------------------------------------------------------------

TEST_F(Pages, InputLinesKeepAHistoryOfWhatDiffersFromTheLastSend) {
    auto send = [&](int n, const char* text) {
        MainForm->InputLine(n)->SetText(String(text));
        MainForm->SendButton(n)->OnClick(MainForm->SendButton(n));
        EXPECT_EQ(MainForm->UserCommandFlag, 1);  // a mode reply to it is honoured
        EXPECT_EQ(SendNext(), std::string(text) + "\r\n");
        Reply("*CH=1B\r\n");
    };
    send(2, "@CH");
    send(2, "@CH");
    EXPECT_EQ(History(MainForm->AdvComboBox2), std::vector<std::string>{"@CH"});
    send(3, "@MO");
    send(2, "@CH");
    EXPECT_EQ(History(MainForm->AdvComboBox2), (std::vector<std::string>{"@CH", "@CH"}));
    EXPECT_EQ(History(MainForm->AdvComboBox5), std::vector<std::string>{"@MO"});
    send(4, "");  // an empty line is CR LF alone
    // Its clear button and a double click empty a line; its history stays.
    MainForm->SpeedButton11->OnClick(MainForm->SpeedButton11);
    EXPECT_EQ(Utf8(MainForm->AdvComboBox2->Text()), "");
    MainForm->AdvComboBox5->OnDblClick(MainForm->AdvComboBox5);
    EXPECT_EQ(Utf8(MainForm->AdvComboBox5->Text()), "");
    EXPECT_EQ(History(MainForm->AdvComboBox2).size(), 2u);

    // Enter sends, with or without modifier keys; the counts follow lines 1 and 2.
    for (TShiftState shift : {TShiftState{}, TShiftState{ssShift}, TShiftState{ssCtrl}}) {
        MainForm->AdvComboBox1->SetFocus();
        MainForm->AdvComboBox1->SetText(String("@DT02AB"));
        ui::test::Key(MainForm->AdvComboBox1, VK_RETURN, String(), shift);
        EXPECT_EQ(SendNext(), "@DT02AB\r\n");
        Reply("*DT=02\r\n");
    }
    for (auto [line, count] : {std::pair{MainForm->AdvComboBox1, MainForm->LabeledEdit3},
                               std::pair{MainForm->AdvComboBox2, MainForm->LabeledEdit6}}) {
        line->SetText(String());
        line->SetFocus();
        ui::test::TypeText(line, String("@GI"));
        EXPECT_EQ(Utf8(count->Text()), "3");
    }
    // A button fills line 2 and its clear button empties it: the count follows both.
    MainForm->ComboBox6->SetItemIndex(5);
    MainForm->VrDemoButton10->OnClick(MainForm->VrDemoButton10);
    EXPECT_EQ(Utf8(MainForm->AdvComboBox2->Text()), "@GI05");
    EXPECT_EQ(Utf8(MainForm->LabeledEdit6->Text()), "5");
    MainForm->SpeedButton11->OnClick(MainForm->SpeedButton11);
    EXPECT_EQ(Utf8(MainForm->LabeledEdit6->Text()), "0");
}

TEST_F(Pages, InTheBinaryModeEveryKeyGoesOutAtOnceAndTheLineEmptiesOnRelease) {
    MainForm->LinkMode = 2;
    for (int hex : {0, 1}) {
        for (VIzeVadarEdu* line : {MainForm->AdvComboBox1, MainForm->AdvComboBox6}) {
            MainForm->RadioGroup3->SetItemIndex(hex);
            MainForm->Memo1->Clear();
            line->Items()->Add(String("@CH"));
            line->SetText(String());
            line->SetFocus();
            ui::test::Key(line, 'A', String("a"));
            ASSERT_TRUE(Eventually([&] { Sent(); return sent.ends_with("a"); }));
            EXPECT_EQ(Memo1(), hex ? "61" : "a");
            EXPECT_EQ(Utf8(line->Text()), "");
            EXPECT_EQ(line->Items()->Count(), 0);
        }
    }
    Passes(3);
    EXPECT_EQ(Sent(), "");  // nothing queued
}

TEST_F(Pages, TheCodeScreenShowsTheFirstTwoHundredCharactersOfTheMonitor) {
    MainForm->Memo1->SetText(String("AB\r\n"));
    MainForm->VrDemoButton48Click(MainForm->VrDemoButton48);
    EXPECT_EQ(Utf8(MainForm->Memo3->Text()), "41 42 0D 0A ");
    MainForm->Memo1->SetText(String(std::string(150, 'A') + std::string(100, 'B')));
    MainForm->VrDemoButton48Click(MainForm->VrDemoButton48);
    std::string expected;
    for (int i = 0; i < 200; ++i) expected += i < 150 ? "41 " : "42 ";
    EXPECT_EQ(Utf8(MainForm->Memo3->Text()), expected);
    EXPECT_EQ(MainForm->Memo1->SelStart(), 250);  // the caret at the monitor's end
}

TEST_F(Pages, TheMonitorStartsAfreshPastItsLimitAndItsCountsFollowIt) {
    MainForm->Memo1->SetText(String(std::string(299990, 'x')));
    MainForm->Memo1->SetSelStart(299990);
    EXPECT_EQ(Utf8(MainForm->LabeledEdit2->Text()), "299990");
    MainForm->TerminalLine(String("0123456789ABC"));  // would pass 300000: the memo starts afresh
    EXPECT_EQ(Memo1(), "0123456789ABC\r\n");
    EXPECT_EQ(Utf8(MainForm->LabeledEdit1->Text()), "1");
    EXPECT_EQ(Utf8(MainForm->LabeledEdit2->Text()), "15");
    MainForm->Memo1->Clear();
    MainForm->Memo2->SetText(String("CH27 -85dBm"));  // the level log updates the counts too
    EXPECT_EQ(Utf8(MainForm->LabeledEdit2->Text()), "0");

    // The page's menu keys: Shift+F7 puts the caret at the end, F7 clears the monitor, F6 the
    // code screen.
    MainForm->Memo1->SetText(String("abc\r\ndef"));
    MainForm->Memo3->SetText(String("61 "));
    MainForm->Memo1->SetFocus();
    ui::test::Key(MainForm->Memo1, VK_F7, String(), {ssShift});
    EXPECT_EQ(MainForm->Memo1->SelStart(), 8);
    ui::test::Key(MainForm->Memo1, VK_F6);
    EXPECT_EQ(MainForm->Memo3->Text().Length(), 0);
    ui::test::Key(MainForm->Memo1, VK_F7);
    EXPECT_EQ(Memo1(), "");
    EXPECT_EQ(Utf8(MainForm->LabeledEdit2->Text()), "0");

    MainForm->Memo3->SetText(String(std::string(5000, '1')));
    EXPECT_EQ(MainForm->Memo3->Text().Length(), 5000);
    MainForm->Memo3->SetText(String(std::string(5001, '1')));
    EXPECT_EQ(MainForm->Memo3->Text().Length(), 0);
}

TEST_F(Pages, ScreenColourAndFontGoToTheMonitorOrTheActiveEdit) {
    ui::SetCommonDialogHook([](TCommonDialog& d) {
        if (auto* c = dynamic_cast<TColorDialog*>(&d)) c->SetColor(0x123456);
        if (auto* f = dynamic_cast<TFontDialog*>(&d)) {
            f->Font()->SetSize(15);
            f->Font()->SetName(String("Noto Sans CJK JP"));
        }
        return true;
    });
    MainForm->ScreenColor1->Click();
    EXPECT_EQ(MainForm->Memo1->Color(), static_cast<TColor>(0x123456));

    MainForm->Memo3->SetFocus();
    MainForm->Font1->Click();
    EXPECT_EQ(MainForm->Memo3->Font()->Size(), 15);
    // Apply while the dialog is open does the same.
    MainForm->LabeledEdit1->SetFocus();
    MainForm->FontDialog1->Font()->SetSize(11);
    MainForm->FontDialog1->Apply();
    EXPECT_EQ(MainForm->LabeledEdit1->Font()->Size(), 11);
    // A button is no memo or edit: it keeps its font.
    const int before = MainForm->AdvComboBox2->Font()->Size();
    MainForm->AdvComboBox2->SetFocus();
    MainForm->FontDialog1->Font()->SetSize(before + 5);
    MainForm->FontDialog1->Apply();
    EXPECT_EQ(MainForm->AdvComboBox2->Font()->Size(), before);
}

TEST_F(Pages, TheNumberConverterShowsTheBitsAndSettlesAfterOneExchange) {
    int changes = 0;
    auto counted = MainForm->MvNumSpin13->OnValueChanged;
    MainForm->MvNumSpin13->OnValueChanged = [&](TObject* s) { ++changes; counted(s); };
    MainForm->MvNumSpin13->SetValue(268435455);
    EXPECT_EQ(Utf8(MainForm->AdvEdit1->Text()), " 0000 1111 1111 1111 1111 1111 1111 1111 ");
    EXPECT_EQ(Utf8(MainForm->MvNumSpin1->Text()), "FFFFFFF");
    EXPECT_EQ(changes, 1);
    MainForm->MvNumSpin1->SetValueAsHex(String("A"));
    EXPECT_EQ(Utf8(MainForm->AdvEdit1->Text()), " 0000 0000 0000 0000 0000 0000 0000 1010 ");
    EXPECT_EQ(Utf8(MainForm->MvNumSpin13->Text()), "10");
    EXPECT_EQ(changes, 2);
}

// ---- command page ---------------------------------------------------------------------------

TEST_F(Pages, EveryTagSendsItsCommandThroughLineTwo) {
    const std::pair<int, const char*> table[] = {
        {1, "@UI"},  {2, "@GI"},  {3, "@EI"},  {4, "@DI"},  {5, "@RT"},  {6, "@CH"},  {7, "@RA"},
        {8, "@RS"},  {9, "@PI"},  {11, "@MD"}, {12, "@RM"}, {13, "@RI"}, {14, "@BR"}, {15, "@PB"},
        {16, "@SB"}, {17, "@TB"}, {18, "@TC"}, {19, "@CT"}, {20, "@SI"}, {21, "@FV"}, {22, "@SR"},
        {24, "@SI"}, {25, "@RR"}, {26, "@EC"}, {27, "@PW"}, {36, "@MO"}, {37, "@SF"}, {38, "@SN"},
        {39, "@VR"}, {40, "@PS"}, {41, "@PO"}, {42, "@PT"}, {43, "@PM"}, {44, "@PF"}, {45, "@PIS"},
        {46, "@PIR"}, {47, "@PIT"}, {48, "@PIC"}, {49, "@PI"}, {50, "@SI"}, {10, ""},  {0, ""},
        {51, ""},
    };
    TVrDemoButton button(nullptr);
    for (const auto& [tag, command] : table) {
        SCOPED_TRACE(tag);
        button.SetTag(tag);
        MainForm->Memo1->Clear();
        MainForm->VrDemoButton26Click(&button);
        EXPECT_EQ(Utf8(MainForm->AdvComboBox2->Text()), command);
        EXPECT_EQ(SendNext(), std::string(command) + "\r\n");
        EXPECT_EQ(Memo1(), std::string(command) + "\r\n");  // the echo
        EXPECT_EQ(Utf8(MainForm->LastSentLine), command);
        EXPECT_TRUE(MainForm->AdvComboBox2->Focused());
        EXPECT_EQ(MainForm->AdvComboBox2->SelStart(), static_cast<int>(std::string_view(command).size()));
        Reply("*CH=1B\r\n");
    }
    // Every placed button is bound to the table by its tag.
    for (TVrDemoButton* b : MainForm->CommandButtons) {
        b->OnClick(b);
        EXPECT_NE(SendNext(), "\r\n") << b->Tag();
        Reply("*CH=1B\r\n");
    }
    EXPECT_EQ(MainForm->CommandButtons.size(), 22u);
}

TEST_F(Pages, InitialisingTheModemAsksFirst) {
    TVrDemoButton button(nullptr);
    button.SetTag(23);
    for (TModalResult answer : {mrCancel, mrOk}) {
        win::ResetMessageBeeps();
        DuringModal([answer] {
            EXPECT_EQ(Utf8(OKBottomDlg1->Label1->Caption()), "RZ-4を初期化します");
            EXPECT_EQ(Utf8(OKBottomDlg1->Label2->Caption()), "本当に宜しいですか？");
            (answer == mrOk ? OKBottomDlg1->OKBtn : OKBottomDlg1->CancelBtn)->Click();
        });
        MainForm->VrDemoButton26Click(&button);
        EXPECT_EQ(win::MessageBeepCount(), 1);
        EXPECT_EQ(SendNext(), answer == mrOk ? "@IZ\r\n" : "");
    }
}

TEST_F(Pages, SettingButtonsSendTheChosenValueAndBeepWithoutOne) {
    struct Case {
        TComboBox* list;
        TControl* button;
        const char* item;
        const char* sent;
    };
    const Case cases[] = {
        {MainForm->ComboBox1, MainForm->VrDemoButton1, "2E  46", "@CH2E"},
        {MainForm->ComboBox1, MainForm->VrDemoButton1, "07  7", "@CH07"},
        {MainForm->ComboBox6, MainForm->VrDemoButton10, "FF  255", "@GIFF"},
        {MainForm->ComboBox6, MainForm->VrDemoButton29, "05  5", "@EI05"},
        {MainForm->ComboBox6, MainForm->VrDemoButton30, "00  0", "@DI00"},
        {MainForm->ComboBox7, MainForm->MvColBitBtn16, "A5", "@POA5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        c.list->SetItemIndex(c.list->Items()->IndexOf(String(c.item)));
        c.button->OnClick(c.button);
        EXPECT_EQ(SendNext(), std::string(c.sent) + "\r\n");
        EXPECT_EQ(Utf8(MainForm->AdvComboBox2->Text()), c.sent);
        Reply("*CH=1B\r\n");
        // Nothing chosen: a beep, and nothing goes out.
        c.list->SetItemIndex(-1);
        win::ResetMessageBeeps();
        c.button->OnClick(c.button);
        EXPECT_EQ(win::MessageBeepCount(), 1);
        EXPECT_EQ(SendNext(), "");
    }
}

TEST_F(Pages, SequencesGoOutOneCommandPerReply) {
    struct Case {
        TControl* button;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {MainForm->VrDemoButton9, {"@GI00/w", "@EI01/w", "@DI01/w", "@CH1B/w"}},
        {MainForm->VrDemoButton52, {"@CH", "@UI", "@GI", "@EI", "@DI", "@MO"}},
        {MainForm->VrDemoButton47, {"@PS", "@PO", "@PT", "@PM", "@PF"}},
        {MainForm->VrDemoButton36, {"@UI0000,8945"}},
        {MainForm->VrDemoButton14, {"@MO01"}},
        {MainForm->VrDemoButton4, {"@MO03"}},
        {MainForm->MvColBitBtn11, {"@MO"}},
        {MainForm->MvColBitBtn7, {"@PO"}},
        {MainForm->MvColBitBtn3, {"@PT"}},
        {MainForm->VrDemoButton40, {"@PM10"}},
        {MainForm->VrDemoButton41, {"@PM00"}},
        {MainForm->VrDemoButton42, {"@PM20"}},
    };
    for (const Case& c : cases) {
        c.button->OnClick(c.button);
        // Nothing more goes out until the reply.
        EXPECT_EQ(SendNext(), c.lines[0] + "\r\n");
        EXPECT_EQ(SendNext(), "");
        Answer(c.lines[0]);
        std::vector<std::string> rest = SendAndAnswerAll();
        rest.insert(rest.begin(), c.lines[0]);
        EXPECT_EQ(rest, c.lines);
    }
    // The mode goes to memory as the air-time mode shows it.
    for (auto [mode, line] : {std::pair{1, "@MO01"}, std::pair{0, "@MO03"}}) {
        MainForm->RadioGroup1->SetItemIndex(mode);
        MainForm->MvColBitBtn12->OnClick(MainForm->MvColBitBtn12);
        EXPECT_EQ(SendAndAnswerAll(), std::vector<std::string>{line});
    }
}

TEST_F(Pages, EnteringAPageAsksForWhatItShows) {
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet9);
    MainForm->PageControl5Change(MainForm->PageControl5);
    EXPECT_EQ(SendAndAnswerAll(), (std::vector<std::string>{"@PS", "@PO", "@PI"}));
    EXPECT_EQ(MainForm->ControlPage, 1);
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet15);
    MainForm->PageControl5Change(MainForm->PageControl5);
    EXPECT_EQ(SendAndAnswerAll(), (std::vector<std::string>{"@MO", "@SF"}));
    EXPECT_EQ(MainForm->ControlPage, 2);
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet3);
    MainForm->PageControl5Change(MainForm->PageControl5);
    EXPECT_EQ(MainForm->ControlPage, 3);
    EXPECT_EQ(MainForm->RequestKind, 0);
}

// ---- contact-test page ------------------------------------------------------------------------

TEST_F(Pages, DirectionsAndLevelsFollowTheLampsAndGoOut) {
    MainForm->VrDemoButton5->OnClick(MainForm->VrDemoButton5);
    EXPECT_TRUE(MainForm->MvLED[17]->Checked());
    EXPECT_TRUE(MainForm->MvLED[33]->Checked());
    EXPECT_EQ(Utf8(MainForm->MvNumEdit1->Text()), "FE");
    EXPECT_EQ(SendNext(), "@PSFE\r\n");
    Reply("*PS=FE\r\n");
    MainForm->CheckBox5->SetChecked(true);
    MainForm->VrDemoButton12->OnClick(MainForm->VrDemoButton12);  // DIO5..DIO8
    EXPECT_EQ(Utf8(MainForm->MvNumEdit1->Text()), "0E");
    EXPECT_EQ(SendNext(), "@PS0E/w\r\n");
    EXPECT_FALSE(MainForm->CheckBox5->Checked());
    Reply("*PS=0E\r\n");
    MainForm->VrDemoButton35->OnClick(MainForm->VrDemoButton35);
    EXPECT_EQ(SendNext(), "@PS0E\r\n");
    Reply("*PS=0E\r\n");

    // The "IN" switches, clicked as the user does.
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet9);
    ui::test::Pump();
    for (int n : {1, 3}) ui::test::Click(MainForm->MvLED[static_cast<size_t>(n)], 5, 5);
    EXPECT_EQ(Utf8(MainForm->MvNumEdit2->Text()), "FA");
    MainForm->MvColBitBtn2->OnClick(MainForm->MvColBitBtn2);
    EXPECT_EQ(SendNext(), "@PTFA\r\n");
}

// ---- functions page: air time, test data, repeat send ----------------------------------------

TEST_F(Pages, TheSpreadingFactorTheUserStepsGoesOut) {
    MainForm->PageControl5->SetActivePage(MainForm->TabSheet15);
    MainForm->MvNumSpin12->SetValue(8);
    EXPECT_EQ(SendNext(), "");  // the program's write
    MainForm->MvNumSpin12->SetFocus();
    ui::test::Key(MainForm->MvNumSpin12, VK_DOWN);
    EXPECT_EQ(MainForm->MvNumSpin12->ValueAsInt(), 7);
    EXPECT_EQ(SendNext(), "@SF00\r\n");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit5->Text()), "2269");
}

TEST_F(Pages, TheModulationSwitchesTheMarginAndTheTotalMovesTheInterval) {
    EXPECT_EQ(Utf8(MainForm->MvNumEdit4->Text()), "1069");
    EXPECT_EQ(MainForm->MvNumSpin10->ValueAsInt(), 2269);
    MainForm->MvNumEdit12->SetValue(10);
    MainForm->RadioGroup1->SetItemIndex(1);
    EXPECT_FALSE(MainForm->MvNumSpin12->Visible());
    EXPECT_FALSE(MainForm->Label31->Visible());
    EXPECT_EQ(Utf8(MainForm->Label32->Caption()), "+200ms");
    EXPECT_EQ(Utf8(MainForm->MvNumEdit4->Text()), "86");
    EXPECT_EQ(MainForm->MvNumSpin10->ValueAsInt(), 286);
    MainForm->RadioGroup1->SetItemIndex(0);
    EXPECT_TRUE(MainForm->MvNumSpin12->Visible());
    EXPECT_EQ(Utf8(MainForm->Label32->Caption()), "+1200ms");
    EXPECT_EQ(MainForm->MvNumSpin10->ValueAsInt(), 2433);  // L 10 at SF 7: 11 symbols, 1233 ms
    MainForm->MvNumSpin12->SetValue(12);
    EXPECT_EQ(Utf8(MainForm->MvNumEdit4->Text()), IntToStr(static_cast<int>(LoRaAirTime(10, 12).Time)).ToUtf8());
}

TEST_F(Pages, TheGeneratorsPacketBecomesLineOneAndTheLength) {
    struct Case {
        int size, code;
        bool random;
        bool ok;
        std::string line;
    };
    const Case cases[] = {
        {0, 'P', false, true, "@DT00"},
        {10, 'P', false, true, "@DT0APPPPPPPPPP"},
        {10, 'P', false, false, "@DT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DuringModal([c] {
            AssignForm1->TrackBar1->SetPosition(c.size);
            AssignForm1->TrackBar2->SetPosition(c.code);
            AssignForm1->VrDemoButton1Click(AssignForm1->VrDemoButton1);
            if (c.ok) AssignForm1->VrDemoButton2Click(AssignForm1->VrDemoButton2);
            else AssignForm1->Close();
        });
        MainForm->MvColBitBtn10Click(MainForm->MvColBitBtn10);
        EXPECT_EQ(Utf8(MainForm->AdvComboBox1->Text()), c.line);
        EXPECT_EQ(MainForm->MvNumEdit12->ValueAsInt(), std::max<int>(0, static_cast<int>(c.line.size()) - 5));
        EXPECT_EQ(Utf8(MainForm->LabeledEdit3->Text()), std::to_string(c.line.size()));
    }
    EXPECT_EQ(MainForm->AdvComboBox1->SelStart(), 3);
}

TEST_F(Pages, RepeatSendGoesOutCountTimesAtTheInterval) {
    MainForm->AdvComboBox1->SetText(String("@DT01X"));
    MainForm->MvNumSpin7->SetValue(3);
    ASSERT_EQ(MainForm->MvNumSpin10->ValueAsInt(), 2269);
    const uint64_t start = GetTickCount64();
    // The sender's waits move the manual clock too: time is counted from the switch-on.
    auto until = [&](uint64_t at) { ui::test::AdvanceClock(**clock, start + at - GetTickCount64()); };
    MainForm->MvColBitBtn13->SetChecked(true);
    EXPECT_EQ(SendNext(), "@DT01X\r\n");
    EXPECT_EQ(Utf8(MainForm->Label46->Caption()), "1");
    // No reply comes: each tick releases the link itself.
    until(2268);
    EXPECT_EQ(SendNext(), "");
    until(2269);
    EXPECT_EQ(SendNext(), "@DT01X\r\n");
    EXPECT_EQ(Utf8(MainForm->Label46->Caption()), "2");
    until(4537);
    EXPECT_EQ(SendNext(), "");
    until(4538);
    EXPECT_EQ(SendNext(), "@DT01X\r\n");
    EXPECT_EQ(Utf8(MainForm->Label46->Caption()), "3");
    EXPECT_FALSE(MainForm->MvColBitBtn13->Checked());
    EXPECT_FALSE(MainForm->Timer13->Enabled());
    ui::test::AdvanceClock(**clock, 5000);
    EXPECT_EQ(SendNext(), "");

    // Count 1: once, and the switch is off again.
    MainForm->MvNumSpin7->SetValue(1);
    MainForm->MvColBitBtn13->SetChecked(true);
    EXPECT_FALSE(MainForm->MvColBitBtn13->Checked());
    EXPECT_EQ(SendNext(), "@DT01X\r\n");

    // In a data mode a tick sends nothing and the timer runs on.
    MainForm->MvNumSpin7->SetValue(2);
    MainForm->MvColBitBtn13->SetChecked(true);
    EXPECT_EQ(SendNext(), "@DT01X\r\n");
    MainForm->LinkMode = 1;
    ui::test::AdvanceClock(**clock, 2269);
    EXPECT_EQ(SendNext(), "");
    EXPECT_TRUE(MainForm->Timer13->Enabled());
    EXPECT_EQ(Utf8(MainForm->Label46->Caption()), "1");
    MainForm->LinkMode = 0;
    ui::test::AdvanceClock(**clock, 2269);
    EXPECT_EQ(SendNext(), "@DT01X\r\n");
    EXPECT_FALSE(MainForm->Timer13->Enabled());

    // The user changing either spin starts the count display afresh.
    for (TMvNumSpin* spin : {MainForm->MvNumSpin7, MainForm->MvNumSpin10}) {
        MainForm->Label46->SetCaption(String("2"));
        MainForm->PageControl5->SetActivePage(MainForm->TabSheet15);
        spin->SetFocus();
        ui::test::Key(spin, VK_UP);
        EXPECT_EQ(Utf8(MainForm->Label46->Caption()), "0");
    }
}

// ---- test packet generator and binary code sender --------------------------------------------

TEST_F(Pages, RandomPacketsDrawOnlyPrintableCharactersAndTrackBarsKeepThePacket) {
    RandSeed = 12345;
    AssignForm1->TrackBar1->SetPosition(255);
    std::array<int, 256> seen{};
    for (int i = 0; i < 40; ++i) {
        AssignForm1->VrDemoButton10Click(AssignForm1->VrDemoButton10);
        for (char16_t ch : AssignForm1->Edit1->Text()) ++seen[ch];
    }
    for (int ch = 0; ch < 256; ++ch) EXPECT_EQ(seen[static_cast<size_t>(ch)] > 0, ch >= 33 && ch <= 125) << ch;
    const String packet = AssignForm1->Packet;
    EXPECT_EQ(packet.substr(0, 2), u"FF");
    AssignForm1->TrackBar2->SetPosition(65);
    AssignForm1->TrackBar1->SetPosition(3);
    EXPECT_EQ(AssignForm1->Edit1->Text(), u"");
    EXPECT_EQ(AssignForm1->Packet, packet);
    EXPECT_EQ(Utf8(AssignForm1->StaticText1->Caption()), "03");
    EXPECT_EQ(Utf8(AssignForm1->StaticText17->Caption()), "41");
    EXPECT_EQ(Utf8(AssignForm1->AdvEdit1->Text()), "A");
}

class BinarySender : public Pages {
protected:
    THexKeyForm1* f = nullptr;
    void SetUp() override {
        Pages::SetUp();
        f = HexKeyForm1;
        MainForm->MvColBitBtn9Click(MainForm->MvColBitBtn9);
        ASSERT_TRUE(f->Visible());
    }
    void Digit(const char* d) {
        for (TMvColBitBtn* b : f->Digits)
            if (b->TextOff() == d) b->OnClick(b);
    }
    std::string Cell(int col, int row) { return Utf8(f->StringGrid1->Cells(col, row)); }
};

TEST_F(BinarySender, KeysSetAndMoveAlongTheGrid) {
    f->StringGrid1->SetCol(7);
    Digit("1");
    Digit("F");
    EXPECT_EQ(Utf8(f->MvNumEdit1->Text()), "1F");
    EXPECT_EQ(Utf8(f->MvNumEdit2->Text()), "31");
    f->MvColBitBtn19Click(f->MvColBitBtn19);
    EXPECT_EQ(Cell(7, 2), "1F");
    EXPECT_EQ(Cell(7, 1), "\x1F");
    EXPECT_EQ(f->StringGrid1->Col(), 8);
    EXPECT_EQ(f->Entry, u"");
    f->Memories[1]->SetText(String("D"));
    f->Edit1Click(f->Memories[1]);
    EXPECT_EQ(Cell(8, 2), "44");
    EXPECT_EQ(Cell(8, 1), "D");
    f->StringGrid1->SetCells(9, 1, String("q"));
    f->MvColBitBtn25Click(f->MvColBitBtn25);
    EXPECT_EQ(Cell(9, 2), "00");
    EXPECT_EQ(Cell(9, 1), "q");  // the character row is left as it was
    // An emptied memory and a table never picked from store nothing.
    f->Memories[2]->SetText(String());
    f->Edit1Click(f->Memories[2]);
    f->ValueListEditor1DblClick(f->ValueListEditor1);
    EXPECT_EQ(f->StringGrid1->Col(), 10);
    EXPECT_EQ(Cell(10, 2), "");
    f->ValueListEditor1->SetRow(66);
    f->ValueListEditor1DblClick(f->ValueListEditor1);
    EXPECT_EQ(Cell(10, 2), "41");
    EXPECT_EQ(Cell(10, 1), "A");
    // A further digit than a byte needs is refused with a beep.
    win::ResetMessageBeeps();
    for (const char* d : {"1", "2", "3", "4"}) Digit(d);
    EXPECT_EQ(f->Entry, u"123");
    EXPECT_EQ(win::MessageBeepCount(), 1);
    EXPECT_EQ(Utf8(f->MvNumEdit1->Text()), "FF");  // the edits hold a byte

    f->StringGrid1->SetCol(255);
    f->MvColBitBtn21Click(f->MvColBitBtn21);
    EXPECT_EQ(f->StringGrid1->Col(), 255);
    f->StringGrid1->SetCol(1);
    f->MvColBitBtn22Click(f->MvColBitBtn22);
    EXPECT_EQ(f->StringGrid1->Col(), 1);
}

TEST_F(BinarySender, TheDataSizeEndsAtTheFirstEmptyCell) {
    EXPECT_EQ(f->MvNumEdit3->ValueAsInt(), 6);
    f->StringGrid1->SetCol(4);
    f->MvColBitBtn23Click(f->MvColBitBtn23);
    EXPECT_EQ(f->MvNumEdit3->ValueAsInt(), 3);
    EXPECT_EQ(Cell(4, 1), "");
    f->MvColBitBtn20Click(f->MvColBitBtn20);
    EXPECT_EQ(f->MvNumEdit3->ValueAsInt(), 0);
    EXPECT_EQ(f->StringGrid1->Col(), 1);
    EXPECT_EQ(f->StringGrid1->Row(), 2);
    EXPECT_EQ(Cell(6, 2), "");
}

TEST_F(BinarySender, DecimalModeDisablesTheLettersAndSwapsTheColours) {
    f->RadioGroup1->SetItemIndex(1);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(f->Digits[i]->Enabled(), i < 10) << i;
    EXPECT_EQ(f->MvNumEdit1->ColorDefault(), clBtnFace);
    EXPECT_EQ(f->MvNumEdit2->ColorDefault(), clWhite);
    Digit("3");
    Digit("1");
    EXPECT_EQ(Utf8(f->MvNumEdit1->Text()), "1F");
    EXPECT_EQ(Utf8(f->MvNumEdit2->Text()), "31");
    f->RadioGroup1->SetItemIndex(0);
    EXPECT_TRUE(f->Digits[15]->Enabled());
    EXPECT_EQ(f->MvNumEdit1->ColorDefault(), clWhite);
    EXPECT_EQ(Utf8(f->MvNumEdit2->Text()), "0");
}

TEST_F(BinarySender, TheGridGoesOutAsOneLineAndABadCellSendsNothing) {
    f->MvColBitBtn24Click(f->MvColBitBtn24);
    EXPECT_EQ(SendNext(), "@DT01!\r\n");
    Reply("*DT=01\r\n");
    // A cell that is no byte reaches the application's exception event.
    for (const char* bad : {"G1", "1FF"}) {
        f->StringGrid1->SetCells(3, 2, String(bad));
        ui::ClearMessageBoxLog();
        ui::test::Click(f->MvColBitBtn24, 5, 5);
        EXPECT_EQ(Messages(), std::vector<std::string>{kApplicationErrorText}) << bad;
        EXPECT_EQ(SendNext(), "");
    }
}

}  // namespace
