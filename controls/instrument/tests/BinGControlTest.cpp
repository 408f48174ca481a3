// The on/off model: checked state, status words shared by a group, mouse modes and flashing.
#include <gtest/gtest.h>

#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/_GClass.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

class Bin : public TMvBinGControl {
public:
    explicit Bin(TComponent* owner) : TMvBinGControl(owner) { SetBounds(0, 0, 20, 20); }
    int statusChanged = 0, intChanged = 0, groupChanged = 0;
    std::vector<bool> flashes;
    void StatusChanged() override { ++statusChanged; }
    void StatusIntChanged() override { ++intChanged; }
    void GroupIndexChanged() override { ++groupChanged; }
    void Flash(bool status) override { flashes.push_back(status); }
};

class BinTest : public ui::test::FormTest {
protected:
    rtl::ScopedManualClock clock;
    void TearDown() override {
        ui::test::FormTest::TearDown();
        StopFlashTimer();
    }
    void Ticks(int n) {
        ASSERT_NE(FlashTimer, nullptr);
        FlashTimer->SetEnabled(false);
        for (int i = 0; i < n; ++i) FlashTimer->FlashTick(FlashTimer);
    }
    bool Registered(TControl* c) {
        for (TFlashClient* f : FlashClients)
            if (f->Control == c) return true;
        return false;
    }
};

TEST_F(BinTest, Defaults) {
    auto* b = Add<Bin>();
    EXPECT_EQ(b->Mode(), mIndicator);
    EXPECT_EQ(b->Frequency(), ff1Hz);
    EXPECT_EQ(b->FirstCheckedBit, 32);
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(b->StatusInt(), 0);
}

TEST_F(BinTest, RadioGroupSharesOneStatusWord) {
    Bin* r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = Add<Bin>(10 + 30 * i, 10);
        r[i]->SetMode(mRadioButton);
        r[i]->SetStatusBit(i);
        r[i]->SetGroupIndex(1);
    }
    int events[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r[i]->StatusInt(), 1);
        r[i]->OnStatusIntChanged = [&events, i, &r](TObject* s) {
            EXPECT_EQ(s, r[i]);
            ++events[i];
        };
    }
    form->Show();
    ui::test::MouseDown(r[2], 5, 5);
    ui::test::MouseUp(r[2], 5, 5);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r[i]->StatusInt(), 4);
        EXPECT_EQ(r[i]->Checked(), i == 2);
        EXPECT_EQ(r[i]->FirstCheckedBit, 2);
        EXPECT_EQ(events[i], 1);
    }
    EXPECT_FALSE(GroupUpdating);

    // Unchecking in radio mode leaves the bit in the word.
    r[2]->SetChecked(false);
    EXPECT_FALSE(r[2]->Checked());
    EXPECT_EQ(r[2]->StatusInt(), 4);

    r[0]->SetStatusInt(0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(r[i]->Checked());
        EXPECT_EQ(r[i]->StatusInt(), 0);
        EXPECT_EQ(r[i]->FirstCheckedBit, 32);
    }
}

// Choosing button or radio mode starts the whole group's word afresh (0, or bit 0 for radio);
// switch and indicator keep it.
TEST_F(BinTest, ModeResetsTheGroupsStatusWord) {
    const struct {
        TMode mode;
        int32_t word;
    } rows[] = {{mButton, 0}, {mRadioButton, 1}, {mSwitch, 0x14}, {mIndicator, 0x14}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.mode));
        auto* a = Add<Bin>();
        auto* b = Add<Bin>(40, 0);
        auto* other = Add<Bin>(80, 0);
        a->SetGroupIndex(7);
        b->SetGroupIndex(7);
        b->SetStatusBit(2);
        other->SetGroupIndex(8);
        a->SetStatusInt(0x14);
        other->SetStatusInt(0x14);
        ASSERT_EQ(b->StatusInt(), 0x14);
        ASSERT_TRUE(b->Checked());
        a->SetMode(row.mode);
        EXPECT_EQ(a->Mode(), row.mode);
        EXPECT_EQ(a->StatusInt(), row.word);
        EXPECT_EQ(b->StatusInt(), row.word);
        EXPECT_EQ(b->Checked(), ((row.word >> 2) & 1) != 0);
        EXPECT_EQ(other->StatusInt(), 0x14);
        for (Bin* c : {a, b, other}) c->Free();
    }
}

TEST_F(BinTest, RefusedValues) {
    auto* b = Add<Bin>();
    b->SetStatusBit(5);
    for (int v : {32, -1}) {
        b->SetStatusBit(v);
        EXPECT_EQ(b->StatusBit(), 5) << v;
    }
    b->SetGroupIndex(-1);
    EXPECT_EQ(b->GroupIndex(), 0);
    EXPECT_EQ(b->groupChanged, 0);
    b->SetGroupIndex(3);
    EXPECT_EQ(b->groupChanged, 1);
    // StatusBit follows the word: bit 5 of 0x20.
    b->SetStatusInt(0x20);
    EXPECT_TRUE(b->Checked());
    b->SetStatusBit(1);
    EXPECT_FALSE(b->Checked());
}

TEST_F(BinTest, CheckedSetsAndClearsItsBit) {
    auto* b = Add<Bin>();
    b->SetMode(mSwitch);
    b->SetStatusInt(0x10);
    b->SetStatusBit(2);
    int changed = 0;
    b->OnStatusChanged = [&](TObject*) { ++changed; };
    b->SetChecked(true);
    EXPECT_EQ(b->StatusInt(), 0x14);
    EXPECT_EQ(changed, 1);
    b->SetChecked(true);
    EXPECT_EQ(changed, 1);
    b->SetChecked(false);
    EXPECT_EQ(b->StatusInt(), 0x10);
    EXPECT_EQ(changed, 2);
}

TEST_F(BinTest, MouseModes) {
    struct Row {
        TMode mode;
        bool checkedWhileDown;
        bool checkedAfterUp;
        bool downWhilePressed;
    };
    const Row rows[] = {
        {mButton, true, false, true},
        {mSwitch, true, true, true},
        {mIndicator, false, false, false},
        {mRadioButton, true, true, true},
    };
    form->Show();
    int x = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        auto* b = Add<Bin>(x, 10);
        x += 30;
        b->SetMode(row.mode);
        b->SetStatusBit(1);  // radio mode starts with the word 1: bit 1 off
        EXPECT_FALSE(b->Checked());
        std::vector<bool> edges;
        b->OnStatusChanged = [&](TObject*) { edges.push_back(b->Checked()); };
        ui::test::MouseDown(b, 5, 5, mbRight);
        ui::test::MouseUp(b, 5, 5, mbRight);
        EXPECT_FALSE(b->Checked());
        EXPECT_TRUE(edges.empty());
        ui::test::MouseDown(b, 5, 5);
        EXPECT_EQ(b->Checked(), row.checkedWhileDown);
        EXPECT_EQ(b->MouseIsDown, row.downWhilePressed);
        ui::test::MouseUp(b, 5, 5);
        EXPECT_EQ(b->Checked(), row.checkedAfterUp);
        EXPECT_FALSE(b->MouseIsDown);
        if (row.mode == mButton) {
            EXPECT_EQ(edges, (std::vector<bool>{true, false}));
        }
        if (row.mode == mSwitch) {
            ui::test::MouseDown(b, 5, 5);
            ui::test::MouseUp(b, 5, 5);
            EXPECT_FALSE(b->Checked());
        }
    }
}

TEST_F(BinTest, FlashingWhileChecked) {
    auto* b = Add<Bin>();
    b->SetFrequency(ff2Hz);
    b->SetFlashing(true);
    EXPECT_FALSE(Registered(b));  // not checked yet
    FlashCounter = 0;
    b->SetChecked(true);
    ASSERT_TRUE(Registered(b));
    Ticks(64);
    EXPECT_EQ(b->flashes, (std::vector<bool>{true, false, true, false}));  // every 16 ticks

    b->flashes.clear();
    b->SetFrequency(ff8Hz);
    ASSERT_TRUE(Registered(b));
    EXPECT_EQ(FlashClients[0]->Mode, 2);
    Ticks(16);
    EXPECT_EQ(b->flashes.size(), 4u);  // every 4 ticks

    const int before = b->statusChanged;
    b->SetFlashing(false);
    EXPECT_FALSE(Registered(b));
    EXPECT_EQ(b->statusChanged, before + 1);
    b->SetFlashing(true);
    EXPECT_TRUE(Registered(b));
    b->SetChecked(false);
    EXPECT_FALSE(Registered(b));
    b->SetChecked(true);
    EXPECT_TRUE(Registered(b));
    b->Free();
    EXPECT_TRUE(FlashClients.empty());
}

TEST_F(BinTest, TextChangeReachesParamChange) {
    struct P : Bin {
        using Bin::Bin;
        int params = 0;
        void ParamChange(TObject* s) override {
            EXPECT_EQ(s, this);
            ++params;
        }
    };
    auto* b = Add<P>();
    b->SetCaption(u"x");
    EXPECT_EQ(b->params, 1);
}

}  // namespace
