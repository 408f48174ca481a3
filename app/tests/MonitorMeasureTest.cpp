// The air monitor's measurements over the simulated port: the channel sweep clocked by the
// level replies, the time sampling on the manual clock, the level replies on the terminal, and
// the elapsed-time counter.
#include "app/tests/MonitorTestSupport.h"
#include "platform/ui/testing/TestSupport.h"

using namespace wbtest;

namespace {

using Sweep = MonitorTest;

TEST_F(Sweep, RunsReplyByReplyAndRedrawsTheRangeAtItsEnd) {
    EnterAirMonitor(0);
    ASSERT_EQ(Utf8(MainForm->ComboBox2->Text()), "7");
    ASSERT_EQ(Utf8(MainForm->ComboBox3->Text()), "46");
    MainForm->MvColBitBtn15->SetChecked(true);
    EXPECT_FALSE(MainForm->TabSheet4->Enabled());
    for (int pass = 0; pass < 2; ++pass) {
        for (int ch = 7; ch <= 46; ++ch) {
            ASSERT_EQ(NextLine(), "@CH" + Hex2(ch));
            Reply("*CH=" + Hex2(ch) + "\r\n");
            ASSERT_EQ(NextLine(), "@RA");
            Reply(Ra(-50 - ch - pass));
            EXPECT_EQ(MainForm->LevelTable[static_cast<size_t>(ch)], -50 - ch - pass);
            if (ch < 46) {
                // During the sweep only the progress bar moves.
                EXPECT_EQ(MainForm->MvBar1->Value(), ch);
                EXPECT_EQ(MainForm->Series1->YValue(ch), pass == 0 ? -140 : -50 - ch);
            }
        }
        for (int ch = 7; ch <= 46; ++ch) EXPECT_EQ(MainForm->Series1->YValue(ch), -50 - ch - pass) << ch;
    }
    // The log names each channel with the digits of its reply.
    EXPECT_NE(Log2().find("CH12  -62dBm\r\n"), std::string::npos);
}

TEST_F(Sweep, AirMonitorRepliesTakeOverTheClockAndASingleChannelRedrawsEachTime) {
    EnterAirMonitor(0);
    MainForm->ComboBox3->SetText(String("9"));
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_EQ(NextLine(), "@CH07");
    Reply("*CH=07\r\n");
    ASSERT_EQ(NextLine(), "@RA");
    Reply("*RA=-085dBm\r\n");
    EXPECT_EQ(MainForm->LevelTable[7], -85);
    ASSERT_EQ(NextLine(), "@CH08");
    // From an "AM" reply on, the sweep asks "@AM" for the next channel.
    Reply("*AM=9C\r\n");
    EXPECT_EQ(MainForm->LevelTable[8], -100);
    EXPECT_EQ(NextLine(), "@AM0908");
    EXPECT_NE(Log2().find("CH8-100dBm\r\n"), std::string::npos);

    // One channel: every reply completes a sweep and redraws its bar.
    MainForm->MvColBitBtn15->SetChecked(false);
    Reply("*AM=80\r\n");
    MainForm->ComboBox2->SetText(String("12"));
    MainForm->ComboBox3->SetText(String("12"));
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_EQ(NextLine(), "@CH0C");
    Reply("*CH=0C\r\n");
    ASSERT_EQ(NextLine(), "@RA");
    for (int level : {-90, -70}) {
        Reply(Ra(level));
        EXPECT_EQ(MainForm->Series1->YValue(12), level);
        ASSERT_EQ(NextLine(), "@CH0C");
        Reply("*CH=0C\r\n");
        ASSERT_EQ(NextLine(), "@RA");
    }
}

TEST_F(Sweep, PeaksThresholdColoursAndPeakDisplay) {
    EnterAirMonitor(0);
    MainForm->ComboBox3->SetText(String("7"));
    MainForm->MvVSlider1->SetValue(-101.0f);
    ASSERT_EQ(MainForm->MvVSlider1->Value(), -101.0f);
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_EQ(NextLine(), "@CH07");
    Reply("*CH=07\r\n");
    struct Step {
        int level, peak;
        TColor colour;
    };
    const Step steps[] = {{-110, -110, MainForm->c1Main}, {-101, -101, MainForm->c1Over}, {-101, -101, MainForm->c1Over},
                          {-105, -101, MainForm->c1Main}, {-60, -60, MainForm->c1Over}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.level);
        ASSERT_EQ(NextLine(), "@RA");
        Reply(Ra(s.level));
        EXPECT_EQ(MainForm->PeakTable[7], s.peak);
        EXPECT_EQ(MainForm->Series3->YValue(7), s.peak);
        EXPECT_EQ(MainForm->Series1->ValueColor(7), s.colour);
        ASSERT_EQ(NextLine(), "@CH07");
        Reply("*CH=07\r\n");
    }
    MainForm->CheckBox3->SetChecked(false);
    MainForm->CheckBox3Click(MainForm->CheckBox3);
    EXPECT_EQ(MainForm->Series3->YValue(7), -140);
    EXPECT_EQ(MainForm->PeakTable[7], -60);
    MainForm->CheckBox3->SetChecked(true);
    MainForm->CheckBox3Click(MainForm->CheckBox3);
    EXPECT_EQ(MainForm->Series3->YValue(7), -60);
    MainForm->SpeedButton17Click(MainForm->SpeedButton17);
    for (int ch : {7, 46}) {
        EXPECT_EQ(MainForm->PeakTable[static_cast<size_t>(ch)], -140);
        EXPECT_EQ(MainForm->Series3->YValue(ch), -140);
    }
}

TEST_F(Sweep, AReplyAfterTheStopOnlyAdvancesTheLogChannel) {
    EnterAirMonitor(0);
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_EQ(NextLine(), "@CH07");
    Reply("*CH=07\r\n");
    ASSERT_EQ(NextLine(), "@RA");
    Reply(Ra(-85));
    ASSERT_EQ(NextLine(), "@CH08");
    MainForm->MvColBitBtn15->SetChecked(false);
    EXPECT_TRUE(MainForm->TabSheet4->Enabled());
    EXPECT_EQ(MainForm->MvBar1->Value(), 0);
    Reply("*CH=08\r\n");
    ASSERT_EQ(NextLine(), "@RA");  // queued before the stop
    Reply(Ra(-70));
    EXPECT_EQ(MainForm->LevelTable[8], -140);
    EXPECT_EQ(MainForm->LogChannel, 8);
    EXPECT_NE(Log2().find("CH8  -dBm\r\n"), std::string::npos) << Log2();
    EXPECT_TRUE(NothingSent());
}

TEST_F(Sweep, RangesAreCheckedAsTheyChangeAndAtTheStart) {
    EnterAirMonitor(0);
    win::ResetMessageBeeps();
    MainForm->ComboBox2->SetText(String("20"));
    MainForm->ComboBox3->SetText(String("10"));
    MainForm->ComboBox3Change(MainForm->ComboBox3);
    MainForm->ComboBox2Change(MainForm->ComboBox2);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ｴﾝﾄﾞﾁｬﾝﾈﾙはｽﾀｰﾄﾁｬﾝﾈﾙよりも大きい番号を入れて下さい｡",
                                                    "ｽﾀｰﾄﾁｬﾝﾈﾙはｴﾝﾄﾞﾁｬﾝﾈﾙよりも小さい番号を入れて下さい｡"}));
    EXPECT_EQ(win::MessageBeepCount(), 2) << win::LastMessageBeepType();
    // Accepted all the same: every reply measures the start channel and draws no bar.
    MainForm->MvColBitBtn15->SetChecked(true);
    ASSERT_EQ(NextLine(), "@CH14");
    Reply("*CH=14\r\n");
    ASSERT_EQ(NextLine(), "@RA");
    Reply(Ra(-77));
    EXPECT_EQ(MainForm->LevelTable[20], -77);
    EXPECT_EQ(MainForm->Series1->YValue(20), -140);
    EXPECT_EQ(NextLine(), "@CH14");
    MainForm->MvColBitBtn15->SetChecked(false);
    Reply("*CH=14\r\n");
    NextLine();
    Reply(Ra(-77));

    // A channel the tables do not hold: refused before anything is queued.
    for (const char* end : {"128", "-1"}) {
        SCOPED_TRACE(end);
        win::ResetMessageBeeps();
        MainForm->ComboBox2->SetText(String("7"));
        MainForm->ComboBox3->SetText(String(end));
        MainForm->MvColBitBtn15->SetChecked(true);
        EXPECT_FALSE(MainForm->MvColBitBtn15->Checked());
        EXPECT_EQ(win::MessageBeepCount(), 1);
        EXPECT_TRUE(NothingSent());
    }
    // No number: the conversion error, nothing queued, the button stays down.
    MainForm->ComboBox3->SetText(String("x"));
    EXPECT_THROW(MainForm->MvColBitBtn15->SetChecked(true), EConvertError);
    EXPECT_TRUE(MainForm->MvColBitBtn15->Checked());
    EXPECT_TRUE(NothingSent());
}

TEST_F(Sweep, LevelRepliesOnTheControlPageGoToTheTerminal) {
    MainForm->Memo1->Clear();
    ASSERT_EQ(MainForm->MeasureMode, 0);
    Feed("*RA=-098dBm\r\n*AM=9E\r\n*RS=-98dBm\r\n");
    Drain();
    EXPECT_EQ(Memo1(), ">Noise level: -98dBm\r\n>Noise level: -98dBm\r\n>Last signal level received: -98dBm\r\n")
        << Memo1();
    EXPECT_EQ(MainForm->LevelTable[27], -140);
}

TEST_F(Sweep, TheSwitchesAskForCommandModeInADataMode) {
    MainForm->LinkMode = 1;
    for (TMvColBitBtn* b : {MainForm->MvColBitBtn15, MainForm->MvColBitBtn1}) {
        ui::ClearMessageBoxLog();
        b->SetEnabled(true);
        b->SetChecked(true);
        b->Click();
        EXPECT_EQ(Messages(), std::vector<std::string>{"ｺﾏﾝﾄﾞﾓｰﾄﾞに切り替えて下さい"});
        EXPECT_TRUE(b->Checked());  // the toggle stands
        b->SetChecked(false);
    }
    MainForm->LinkMode = 0;
}

// ---- time domain ----------------------------------------------------------------------------------

class Sampling : public MonitorTest {
protected:
    void SetUp() override {
        MonitorTest::SetUp();
        EnterAirMonitor(1);
        // Choosing the time page asks for the channel of its box.
        MainForm->PageControl2Change(MainForm->PageControl2);
        ASSERT_EQ(NextLine(), "@CH1B");
        Reply("*CH=1B\r\n");
        MainForm->MvNumSpin3->SetValue(10);
        MainForm->MvNumSpin2->SetValue(100);
    }
    void Tick(int ms = 100) { ui::test::AdvanceClock(**clock, static_cast<uint64_t>(ms)); }
};

TEST_F(Sampling, RepeatWrapsAndOneShotStopsAfterTheLastSample) {
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        MainForm->RadioGroup4->SetItemIndex(mode);
        MainForm->MvColBitBtn1->SetChecked(true);
        EXPECT_EQ(MainForm->PendingCount, 1);
        EXPECT_EQ(Utf8(MainForm->CmdQueue[1]), "@RA");
        EXPECT_FALSE(MainForm->TabSheet4->Enabled());
        for (int i = 1; i <= 10; ++i) {
            Tick();
            ASSERT_EQ(NextLine(), "@RA");
            Reply(Ra(-60 - i));
            EXPECT_EQ(MainForm->SampleTable[static_cast<size_t>(i)], -60 - i);
            EXPECT_EQ(MainForm->AreaSeries1->YValue(i), -60 - i);
        }
        EXPECT_EQ(MainForm->SampleIndex, 1);
        if (mode == 0) {
            EXPECT_TRUE(MainForm->MvColBitBtn1->Checked());
            Tick();
            ASSERT_EQ(NextLine(), "@RA");
            Reply(Ra(-99));
            EXPECT_EQ(MainForm->SampleTable[1], -99);
            EXPECT_EQ(Panel(3), "1");
            MainForm->MvColBitBtn1->SetChecked(false);
            ASSERT_EQ(NextLine(), "@RA");  // the tick's request was waiting
            Reply(Ra(-99));
        } else {
            EXPECT_FALSE(MainForm->MvColBitBtn1->Checked());
            EXPECT_FALSE(MainForm->Timer1->Enabled());
            EXPECT_TRUE(MainForm->TabSheet4->Enabled());
        }
    }
}

TEST_F(Sampling, ALostReplyHoldsUntilAChannelChangeAndSlowRepliesQueueOneRequest) {
    MainForm->MvColBitBtn1->SetChecked(true);
    Tick();
    ASSERT_EQ(NextLine(), "@RA");
    // Slower than the interval: the ticks replace the one waiting request.
    Tick(500);
    EXPECT_EQ(MainForm->PendingCount, 1);
    EXPECT_TRUE(NothingSent());
    Reply(Ra(-70));
    EXPECT_EQ(NextLine(), "@RA");
    EXPECT_TRUE(NothingSent());
    // That reply is lost: nothing more goes out, whatever the timer does.
    Tick(1000);
    EXPECT_TRUE(NothingSent());
    // A channel change releases the link (and stops the sampling).
    MainForm->ComboBox4->SetText(String("9"));
    MainForm->ComboBox4Change(MainForm->ComboBox4);
    EXPECT_FALSE(MainForm->MvColBitBtn1->Checked());
    EXPECT_EQ(NextLine(), "@CH09");
    EXPECT_EQ(Utf8(MainForm->Chart2->Title()->Strings(2)), "Channel: 9ch  /  Freq.: 429.2750MHz  /  Level:  -140dBm");
}

TEST_F(Sampling, CountAndIntervalChanges) {
    MainForm->MvColBitBtn1->SetChecked(true);
    Tick();
    ASSERT_EQ(NextLine(), "@RA");
    Reply(Ra(-70));
    // The interval applies at once, also while sampling.
    MainForm->MvNumSpin2->SetValue(250);
    EXPECT_EQ(MainForm->Timer1->Interval(), 250u);
    MainForm->MvNumSpin3->SetValue(40);
    EXPECT_FALSE(MainForm->MvColBitBtn1->Checked());
    EXPECT_EQ(MainForm->AreaSeries1->YValue(1), -140);
    EXPECT_EQ(MainForm->SampleTable[1], -70);  // the table keeps its values
    EXPECT_EQ(MainForm->Chart2->BottomAxis()->Minimum(), 1);
    EXPECT_EQ(MainForm->Chart2->BottomAxis()->Maximum(), 40);
}

TEST_F(Sampling, TheElapsedTimeCounterRestartsAndStops) {
    TMvOpHourCounter* counter = MainForm->MvOpHourCounter1;
    // The button as a mouse click works it: the switch turns, then its click runs.
    auto press = [](TMvColBitBtn* b) {
        b->SetChecked(!b->Checked());
        b->Click();
    };
    counter->SetTime(1, 2, 3);
    press(MainForm->MvColBitBtn14);
    EXPECT_TRUE(counter->Count());
    EXPECT_EQ(counter->Font()->Color(), 0x00FF00);
    EXPECT_EQ(counter->hr * 3600 + counter->mi * 60 + counter->se, 0);
    press(MainForm->MvColBitBtn14);
    EXPECT_FALSE(counter->Count());
    EXPECT_EQ(counter->Font()->Color(), 0x0000FF);
    press(MainForm->MvColBitBtn14);
    ASSERT_TRUE(counter->Count());
    counter->Click();
    EXPECT_FALSE(counter->Count());
    EXPECT_FALSE(MainForm->MvColBitBtn14->Checked());
    EXPECT_EQ(counter->Font()->Color(), 0x0000FF);
}

}  // namespace
