// PaintTo as messages: the frame, the erase and the painting of the control, then of its
// windowed children in z-order, through the target DC; the window's invalid part untouched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/testing/Fixtures.h"

namespace {

std::vector<std::string> gLog;

class Recorder : public TCustomControl {
public:
    Recorder(TComponent* owner, std::string name) : TCustomControl(owner), Name(std::move(name)) {}
    std::string Name;
    HDC Target = nullptr;  // the DC PaintTo draws on

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case WM_NCPAINT: {
                HDC dc = GetWindowDC(Handle());
                gLog.push_back(Name + " ncpaint" + (dc == Target ? " on target" : ""));
                ReleaseDC(Handle(), dc);
                break;
            }
            case WM_ERASEBKGND:
                gLog.push_back(Name + " erase" + (reinterpret_cast<HDC>(m.WParam) == Target ? " on target" : ""));
                break;
            case WM_PAINT: gLog.push_back(Name + " paint"); break;
            default: break;
        }
        TCustomControl::WndProc(m);
    }
};

using PaintToTest = ui::test::FormTest;

TEST_F(PaintToTest, TheControlAndItsWindowedChildrenPaintOntoTheTargetInZOrder) {
    auto* outer = new Recorder(form, "outer");
    outer->SetBounds(10, 10, 120, 80);
    outer->SetParent(form);
    auto* a = new Recorder(form, "a");
    a->SetBounds(5, 5, 30, 20);
    a->SetParent(outer);
    auto* b = new Recorder(form, "b");
    b->SetBounds(20, 10, 30, 20);
    b->SetParent(outer);
    auto* hidden = new Recorder(form, "hidden");
    hidden->SetVisible(false);
    hidden->SetParent(outer);
    a->BringToFront();  // a above b now
    form->Show();
    ui::test::Pump();
    TRect part(1, 1, 9, 9);
    InvalidateRect(outer->Handle(), &part, TRUE_);

    TBitmap target(130, 90);
    HDC dc = target.Canvas()->Handle();
    for (Recorder* r : {outer, a, b, hidden}) r->Target = dc;
    gLog.clear();
    outer->PaintTo(dc, 0, 0);
    // The erase comes from BeginPaint inside WM_PAINT, as in a paint pass.
    EXPECT_EQ(gLog, (std::vector<std::string>{"outer ncpaint on target", "outer paint", "outer erase on target",
                                              "b ncpaint on target", "b paint", "b erase on target",
                                              "a ncpaint on target", "a paint", "a erase on target"}));
    TRect still;
    EXPECT_EQ(GetUpdateRect(outer->Handle(), &still, FALSE_), TRUE_);
    EXPECT_EQ(still, part);

    // Outside PaintTo the window's DCs are its own again; a DC that is no DC draws nothing.
    HDC own = GetWindowDC(outer->Handle());
    EXPECT_NE(own, dc);
    ReleaseDC(outer->Handle(), own);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    gLog.clear();
    outer->PaintTo(stale, 0, 0);
    EXPECT_TRUE(gLog.empty());
}

}  // namespace
