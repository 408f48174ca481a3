// On a backend without a desktop (the fake one): the program's own drags and drops still run,
// nothing crosses the program's edge, and the pictures only the desktop decodes do not load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ole/OleData.h"
#include "platform/ole/testing/TestSupport.h"
#include "platform/ole/tests/PictureLoad.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// Takes every drag as a move and keeps the names of the calls it got.
class NamingTarget final : public TInterfacedObject<IDropTarget> {
public:
    HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Take("enter", effect); }
    HRESULT DragOver(DWORD, POINTL, DWORD* effect) override { return Take("over", effect); }
    HRESULT DragLeave() override {
        Calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Take("drop", effect); }
    std::vector<std::string> Calls;

private:
    HRESULT Take(const char* call, DWORD* effect) {
        Calls.push_back(call);
        *effect &= DROPEFFECT_MOVE;
        return S_OK;
    }
};

// Goes on while the left button is down and drops when it comes up.
class ButtonSource final : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class WithoutDesktop : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        form->Show();
        ui::test::Pump();
    }
    void TearDown() override {
        RevokeDragDrop(form->Handle());
        FormTest::TearDown();
        OleUninitialize();
    }
    TPoint At(int x, int y) const { return form->ClientToScreen(Point(x, y)); }
};

TEST_F(WithoutDesktop, AGifDoesNotLoadWhileTheLayersOwnReadersStillRead) {
    ASSERT_FALSE(ui::GetBackend().Supports(ui::Capability::ImageDecoders));
    HRESULT hr = S_OK;
    EXPECT_FALSE(oletest::Load(oletest::Resource("FRAMES"), &hr));
    EXPECT_EQ(hr, CTL_E_INVALIDPICTURE);
    ComPtr<IPicture> bmp = oletest::Load(oletest::Resource("LOGO"), &hr);
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(bmp);
}

TEST_F(WithoutDesktop, ADragThatLeavesTheProgramGoesOnInsideAndDropsBackInIt) {
    ASSERT_FALSE(ui::GetBackend().Supports(ui::Capability::DragDrop));
    ComPtr<NamingTarget> target{new NamingTarget};
    ASSERT_EQ(RegisterDragDrop(form->Handle(), target.Get()), S_OK);
    ComPtr<IDataObject> data = ole::detail::NewDesktopDataObject(ui::DesktopDragData::OfText(String("drag me")));
    ComPtr<ButtonSource> source{new ButtonSource};

    ole::test::ScriptedDrag script({{At(10, 10)}, {At(-500, 900)}, {At(20, 20)}, {At(20, 20), 0}});
    script.SetDesktopEffect(DROPEFFECT_COPY);
    DWORD effect = 9;
    EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_FALSE(script.LeftProgram());
    EXPECT_EQ(script.StepsDone(), 4u);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(target->Calls, (std::vector<std::string>{"enter", "leave", "enter", "drop"}));
}

}  // namespace
