// Undo and redo of cell texts: the level, the sequences, the events and the link to the grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/tests/GridModelSupport.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

// A grid whose displayed column of storage column 3 is 2, as with a hidden column before it.
class ShiftedGrid : public LogGrid {
public:
    using LogGrid::LogGrid;
    int DisplColIndex(int ACol) override { return ACol == 3 ? 2 : ACol; }
};

class UndoRedo : public GridModelTest {
protected:
    TZedUdidUndoRedo* undo = nullptr;
    LogGrid* grid = nullptr;
    void SetUp() override {
        GridModelTest::SetUp();
        grid = MakeGrid(5, 10);
        undo = NewComponent<TZedUdidUndoRedo>(form);
        grid->SetUndoRedo(undo);
    }
    // Writes the cell and records the change, as an edit does.
    void Change(int c, int r, const String& v) {
        undo->RegisterChange(c, r, grid->Cells(c, r), v);
        grid->SetCells(c, r, v);
    }
};

TEST_F(UndoRedo, PlaysChangesBackAndForthAsTheLevelSays) {
    // Each step: the action, then the texts of (1,1), (1,2), (1,3), (1,4), Level, items, CanRedo.
    struct Step {
        const char* Action;
        const char16_t* Texts[4];
        int Level, Count;
        bool CanRedo;
    };
    const Step steps[] = {
        {"change 1", {u"a", u"2", u"3", u"4"}, 1, 1, false},
        {"change 2", {u"a", u"b", u"3", u"4"}, 2, 2, false},
        {"change 3", {u"a", u"b", u"c", u"4"}, 3, 3, false},
        {"undo", {u"a", u"b", u"3", u"4"}, 2, 3, true},
        {"undo", {u"a", u"2", u"3", u"4"}, 1, 3, true},
        {"change 4", {u"a", u"2", u"3", u"d"}, 4, 4, false},  // the undone ones count as done again
        {"undo", {u"a", u"2", u"3", u"4"}, 3, 4, true},        // the new change
        {"poke 3", {u"a", u"2", u"zz", u"4"}, 3, 4, true},     // written without recording
        {"undo", {u"a", u"2", u"3", u"4"}, 2, 4, true},        // re-writes the third change's OrigValue
        {"redo", {u"a", u"2", u"c", u"4"}, 3, 4, true},
        {"redo", {u"a", u"2", u"c", u"d"}, 4, 4, false},
        {"redo", {u"a", u"2", u"c", u"d"}, 4, 4, false},  // nothing left to redo
    };
    for (int r = 1; r <= 4; ++r) grid->SetCells(1, r, String(std::to_string(r)));
    for (const Step& s : steps) {
        std::string a = s.Action;
        if (a == "undo")
            undo->Undo();
        else if (a == "redo")
            undo->Redo();
        else if (a == "poke 3")
            grid->SetCells(1, 3, u"zz");
        else {
            int n = a.back() - '0';
            const char16_t* text[] = {u"", u"a", u"b", u"c", u"d"};
            Change(1, n, text[n]);
        }
        SCOPED_TRACE(a);
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(grid->Cells(1, r), String(s.Texts[r - 1])) << "row " << r;
        EXPECT_EQ(undo->Level(), s.Level);
        EXPECT_EQ(undo->Items()->Count(), s.Count);
        EXPECT_EQ(undo->CanRedo(), s.CanRedo);
        EXPECT_EQ(undo->CanUndo(), s.Level > 0);
    }
}

TEST_F(UndoRedo, MaxLevelDropsTheOldestChange) {
    undo->SetMaxLevel(2);
    Change(1, 1, u"a");
    Change(1, 2, u"b");
    Change(1, 3, u"c");
    ASSERT_EQ(undo->Items()->Count(), 2);
    EXPECT_EQ(undo->Items()->Items(0)->Row(), 2);
    EXPECT_EQ(undo->Level(), 2);
}

TEST_F(UndoRedo, ASequenceIsUndoneInReverseWithOneInvalidationAndRedoneInOrder) {
    std::vector<int> undone, redone;
    undo->OnUndo = [&](TObject*, TBaseGrid*, int, int r, const String&, const String&) { undone.push_back(r); };
    undo->OnRedo = [&](TObject*, TBaseGrid*, int, int r, const String&, const String&) { redone.push_back(r); };
    Change(2, 1, u"before");
    undo->StartSequence();
    Change(2, 2, u"x");
    Change(2, 3, u"y");
    Change(2, 4, u"z");
    undo->StopSequence();
    EXPECT_EQ(undo->Level(), 6);
    grid->Log.clear();

    undo->Undo();
    EXPECT_EQ(undone, (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(undo->Level(), 1);  // the start marker's index
    EXPECT_EQ(grid->GridRequests(), 1);
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(grid->Cells(2, r), u"");
    EXPECT_EQ(grid->Cells(2, 1), u"before");

    undo->Redo();
    EXPECT_EQ(redone, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(undo->Level(), 6);
    EXPECT_EQ(grid->Cells(2, 3), u"y");
}

TEST_F(UndoRedo, UndoTellsTheDisplayedTextWritesTheCellAndMakesItCurrent) {
    auto* shifted = Add<ShiftedGrid>(0, 0);
    shifted->SetColCount(5);
    shifted->SetRowCount(10);
    shifted->SetNormalRowCount(10);
    shifted->SetUndoRedo(undo);
    EXPECT_EQ(undo->Grid(), shifted);
    shifted->OnGetDisplText = [](TObject*, int, int, String& v) { v = u"<" + v + u">"; };
    undo->RegisterChange(3, 4, u"old", u"new");
    shifted->SetCells(3, 4, u"new");

    struct Seen {
        TObject* Sender;
        TBaseGrid* Grid;
        int Col, Row;
        String Displayed, Written;
    };
    std::vector<Seen> seen;
    undo->OnUndo = [&](TObject* s, TBaseGrid* g, int c, int r, const String& d, const String& w) {
        seen.push_back({s, g, c, r, d, w});
    };
    undo->Undo();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Sender, static_cast<TObject*>(undo));
    EXPECT_EQ(seen[0].Grid, shifted);
    EXPECT_EQ(seen[0].Col, 3);
    EXPECT_EQ(seen[0].Row, 4);
    EXPECT_EQ(seen[0].Displayed, u"<new>");
    EXPECT_EQ(seen[0].Written, u"old");
    EXPECT_EQ(shifted->Cells(3, 4), u"old");
    EXPECT_EQ(shifted->Col(), 2);
    EXPECT_EQ(shifted->Row(), 4);
}

TEST_F(UndoRedo, ResetKeepsTheLevelAndNothingPlaysWithoutItems) {
    Change(1, 1, u"a");
    Change(1, 2, u"b");
    undo->Reset();
    EXPECT_EQ(undo->Level(), 2);
    EXPECT_EQ(undo->Items()->Count(), 0);
    undo->Undo();
    EXPECT_EQ(undo->Level(), 2);
    undo->Redo();  // no item at Level: nothing
    EXPECT_EQ(undo->Level(), 2);
    EXPECT_EQ(grid->Cells(1, 2), u"b");
}

TEST_F(UndoRedo, FreeingEitherSideClearsTheOther) {
    grid->Free();
    EXPECT_EQ(undo->Grid(), nullptr);
    undo->Undo();  // without a grid: nothing

    auto* other = Add<LogGrid>(0, 0);
    other->SetUndoRedo(undo);
    EXPECT_EQ(undo->Grid(), other);
    undo->Free();
    EXPECT_EQ(other->UndoRedo(), nullptr);
}

}  // namespace
