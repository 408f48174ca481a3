// The drag loop inside the program, driven by scripted input through the real input road, and
// the registration of drop targets.
#include <gtest/gtest.h>

#include <string>

#include "platform/ole/OleData.h"
#include "platform/ole/testing/TestSupport.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

struct Call {
    std::string What;
    TPoint Point;
    DWORD Keys = 0;
    friend bool operator==(const Call&, const Call&) = default;
};

std::ostream& operator<<(std::ostream& os, const Call& c) {
    return os << c.What << "(" << c.Point.X << "," << c.Point.Y << " keys " << c.Keys << ")";
}

// Takes a copy with Ctrl held and a move otherwise, as the styled edit's target does.
class RecordingTarget final : public TInterfacedObject<IDropTarget> {
public:
    explicit RecordingTarget(bool* gone = nullptr) : FGone(gone) {}
    ~RecordingTarget() override {
        if (FGone) *FGone = true;
    }
    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        Calls.push_back({"enter", pt, keys});
        Data = data;
        return Answer(keys, effect);
    }
    HRESULT DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        Calls.push_back({"over", pt, keys});
        return Answer(keys, effect);
    }
    HRESULT DragLeave() override {
        Calls.push_back({"leave", {}, 0});
        Data.Reset();
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        Calls.push_back({"drop", pt, keys});
        Data = data;
        return Answer(keys, effect);
    }

    std::vector<Call> Calls;
    ComPtr<IDataObject> Data;
    bool Refuse = false;

private:
    HRESULT Answer(DWORD keys, DWORD* effect) {
        DWORD wanted = Refuse ? DROPEFFECT_NONE : (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        *effect &= wanted;
        return S_OK;
    }
    bool* FGone;
};

// Goes on while the left button is down, drops when it comes up, stops on Escape; or stops at
// the query numbered CancelAt.
class RecordingSource final : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        Queries.push_back({escape, keys});
        if (static_cast<int>(Queries.size()) == CancelAt || escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD effect) override {
        Feedback.push_back(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    std::vector<std::pair<BOOL, DWORD>> Queries;
    std::vector<DWORD> Feedback;
    int CancelAt = -1;
};

class DragDropTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* a = nullptr;
    TForm* b = nullptr;
    ComPtr<RecordingTarget> target{new RecordingTarget};
    ComPtr<RecordingSource> source{new RecordingSource};
    ComPtr<IDataObject> data;

    void SetUp() override {
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        a = new TForm(nullptr);
        a->SetBounds(0, 0, 200, 150);
        a->Show();
        ui::test::Pump();
        b = new TForm(nullptr);
        b->SetBounds(300, 0, 200, 150);
        b->Show();
        ui::test::Pump();
        data = ole::detail::NewDesktopDataObject(ui::DesktopDragData::OfText(String("drag me")));
    }
    void TearDown() override {
        RevokeDragDrop(b->Handle());
        a->Free();
        b->Free();
        OleUninitialize();
    }

    TPoint InA(int x, int y) const { return a->ClientToScreen(Point(x, y)); }
    TPoint InB(int x, int y) const { return b->ClientToScreen(Point(x, y)); }

    HRESULT Drag(std::vector<ole::test::DragStep> steps, DWORD ok, DWORD& effect) {
        ole::test::ScriptedDrag script(std::move(steps));
        return DoDragDrop(data.Get(), source.Get(), ok, &effect);
    }
};

TEST_F(DragDropTest, DragToAnotherWindowEntersMovesOverAndDropsInOrder) {
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    std::vector<ole::test::DragStep> steps = {
        {InA(10, 10)}, {InA(50, 10)}, {InB(10, 20)}, {InB(20, 25)}, {InB(30, 30)}, {InB(30, 30), 0}};
    DWORD effect = 77;
    EXPECT_EQ(Drag(steps, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    std::vector<Call> expected = {{"enter", InB(10, 20), MK_LBUTTON},
                                  {"over", InB(20, 25), MK_LBUTTON},
                                  {"over", InB(30, 30), MK_LBUTTON},
                                  {"drop", InB(30, 30), 0}};
    EXPECT_EQ(target->Calls, expected);
    EXPECT_EQ(target->Data.Get(), data.Get());  // the source's own data object

    // The source was asked at every step, with the keys, and told the effect of each move.
    ASSERT_EQ(source->Queries.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(source->Queries[i], std::make_pair(FALSE_, steps[i].Keys)) << i;
    EXPECT_EQ(source->Feedback, (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_MOVE,
                                                    DROPEFFECT_MOVE, DROPEFFECT_MOVE}));
}

TEST_F(DragDropTest, CtrlHeldCarriesMkControlAndCopies) {
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    const DWORD ctrl = MK_LBUTTON | MK_CONTROL;
    DWORD effect = 0;
    EXPECT_EQ(Drag({{InA(10, 10), ctrl}, {InB(10, 10), ctrl}, {InB(12, 10), ctrl}, {InB(12, 10), MK_CONTROL}},
                   DROPEFFECT_COPY | DROPEFFECT_MOVE, effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    ASSERT_EQ(target->Calls.size(), 3u);
    for (const Call& c : target->Calls) EXPECT_TRUE(c.Keys & MK_CONTROL) << c;
    EXPECT_EQ(source->Feedback.back(), DROPEFFECT_COPY);

    // The effects the source allows limit what the target takes.
    target->Calls.clear();
    EXPECT_EQ(Drag({{InB(10, 10)}, {InB(10, 10), 0}}, DROPEFFECT_COPY, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(target->Calls.back().What, "leave");  // nothing to take: no drop
}

TEST_F(DragDropTest, EscapeOrTheSourceCancellingEndsTheDragWithDragLeave) {
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    ole::test::DragStep escape{InB(20, 20)};
    escape.Escape = true;
    DWORD effect = 5;
    EXPECT_EQ(Drag({{InA(10, 10)}, {InB(20, 20)}, escape, {InB(40, 40)}}, DROPEFFECT_MOVE, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(target->Calls.back().What, "leave");
    EXPECT_EQ(source->Queries.back().first, TRUE_);
    EXPECT_EQ(source->Queries.size(), 3u);  // the step after Escape never came

    target->Calls.clear();
    source->Queries.clear();
    source->CancelAt = 3;
    EXPECT_EQ(Drag({{InB(10, 10)}, {InB(11, 10)}, {InB(12, 10)}, {InB(13, 10)}}, DROPEFFECT_MOVE, effect),
              DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->Queries.size(), 3u);
    std::vector<std::string> what;
    for (const Call& c : target->Calls) what.push_back(c.What);
    EXPECT_EQ(what, (std::vector<std::string>{"enter", "over", "leave"}));

    // Steps that run out with the button still down cancel too.
    target->Calls.clear();
    source->CancelAt = -1;
    EXPECT_EQ(Drag({{InB(10, 10)}}, DROPEFFECT_MOVE, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(target->Calls.back().What, "leave");
}

TEST_F(DragDropTest, RegistrationRulesAndARevokedWindowGetsNoCalls) {
    EXPECT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    EXPECT_EQ(RegisterDragDrop(b->Handle(), target.Get()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(nullptr, target.Get()), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RegisterDragDrop(a->Handle(), nullptr), E_INVALIDARG);
    EXPECT_EQ(RevokeDragDrop(a->Handle()), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RevokeDragDrop(b->Handle()), S_OK);
    EXPECT_EQ(RevokeDragDrop(b->Handle()), DRAGDROP_E_NOTREGISTERED);

    DWORD effect = 9;
    EXPECT_EQ(Drag({{InA(10, 10)}, {InB(10, 10)}, {InB(20, 20)}, {InB(20, 20), 0}}, DROPEFFECT_MOVE, effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_NONE);  // dropped where nothing takes it
    EXPECT_TRUE(target->Calls.empty());

    // Not initialised: nothing is registered and no drag runs.
    OleUninitialize();
    EXPECT_EQ(RegisterDragDrop(b->Handle(), target.Get()), CO_E_NOTINITIALIZED);
    EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_MOVE, &effect), CO_E_NOTINITIALIZED);
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    EXPECT_EQ(DoDragDrop(nullptr, source.Get(), DROPEFFECT_MOVE, &effect), E_INVALIDARG);
}

TEST_F(DragDropTest, TheLayerHoldsTheTargetUntilRevokedOrTheWindowGoes) {
    bool gone = false;
    auto* held = new RecordingTarget(&gone);
    ASSERT_EQ(RegisterDragDrop(a->Handle(), held), S_OK);
    EXPECT_EQ(held->RefCount(), 1u);
    ASSERT_EQ(RevokeDragDrop(a->Handle()), S_OK);
    EXPECT_TRUE(gone);

    gone = false;
    auto* panelTarget = new RecordingTarget(&gone);
    auto* panel = new TPanel(b);
    panel->SetParent(b);
    panel->SetBounds(10, 10, 50, 50);
    ASSERT_EQ(RegisterDragDrop(panel->Handle(), panelTarget), S_OK);
    panel->Free();
    // The next call into the layer lets go of the dead window's target.
    EXPECT_EQ(RevokeDragDrop(a->Handle()), DRAGDROP_E_NOTREGISTERED);
    EXPECT_TRUE(gone);
}

TEST_F(DragDropTest, AChildWindowWithoutATargetDropsOnTheNearestWindowAboveIt) {
    auto* panel = new TPanel(b);
    panel->SetParent(b);
    panel->SetBounds(50, 50, 80, 60);
    ui::test::Pump();
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    DWORD effect = 0;
    EXPECT_EQ(Drag({{InB(60, 60)}, {InB(70, 70)}, {InB(70, 70), 0}}, DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    ASSERT_EQ(target->Calls.size(), 3u);
    EXPECT_EQ(target->Calls.front(), (Call{"enter", InB(60, 60), MK_LBUTTON}));
}

TEST_F(DragDropTest, ADragThatLeavesTheProgramOffersItsTextToTheDesktop) {
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    ole::test::ScriptedDrag script({{InB(10, 10)}, {InB(-500, 900)}, {InB(-600, 900), 0}});
    script.SetDesktopEffect(DROPEFFECT_COPY);
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_TRUE(script.LeftProgram());
    // Everything the data object offers goes: the text in both forms it has.
    const ui::ClipboardContent& offered = script.Offered().Content;
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(ui::ClipboardText(offered.at(CF_UNICODETEXT)), String("drag me"));
    EXPECT_EQ(offered.at(CF_TEXT), (std::vector<uint8_t>{'d', 'r', 'a', 'g', ' ', 'm', 'e', 0}));
    EXPECT_EQ(target->Calls.back().What, "leave");
    EXPECT_EQ(script.StepsDone(), 2u);  // the desktop ran the rest of the drag
}

TEST_F(DragDropTest, ADragStartedByAMouseMoveFollowsTheMouseThatTheSourceWindowKeeps) {
    ASSERT_EQ(RegisterDragDrop(b->Handle(), target.Get()), S_OK);
    HRESULT result = E_FAIL;
    DWORD effect = 0;
    bool started = false;
    a->OnMouseMove = [&](TObject*, TShiftState shift, int, int) {
        if (started || !shift.Contains(ssLeft)) return;
        started = true;
        result = DoDragDrop(data.Get(), source.Get(), DROPEFFECT_MOVE, &effect);
    };
    // The steps go to the window the button went down on, as real input does during a drag.
    ole::test::ScriptedDrag script({{InA(30, 30)}, {InB(5, 5)}, {InB(6, 6)}, {InB(6, 6), 0}});
    ui::test::MouseDown(a, 20, 20);
    ui::test::MouseMove(a, 25, 20, MK_LBUTTON);
    EXPECT_TRUE(started);
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    ASSERT_FALSE(target->Calls.empty());
    EXPECT_EQ(target->Calls.back(), (Call{"drop", InB(6, 6), 0}));
    // Back to normal input afterwards: the form gets its mouse messages again.
    int moves = 0;
    a->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    ui::test::MouseMove(a, 40, 40);
    EXPECT_EQ(moves, 1);
}

}  // namespace
