#include "controls/instrument/_GClassSpin.h"

#include <string_view>
#include <vector>

#include "controls/instrument/MvFlashT.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GraphicsBmp.h"

// TMvTimerSpeedBtn ----------------------------------------------------------------------------

TMvTimerSpeedBtn::TMvTimerSpeedBtn(TComponent* AOwner) : TSpeedButton(AOwner) {}

TMvTimerSpeedBtn::~TMvTimerSpeedBtn() { UnregisterFlashClient(this); }

void TMvTimerSpeedBtn::SetInterval(int32_t V) {
    if (V >= 50) FInterval = V;
}

void TMvTimerSpeedBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (!FTimerEnabled) return;
    StartTime = GetTickCount64() + FStartDelay;
    RegisterFlashClient(this, FInterval);
}

void TMvTimerSpeedBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    UnregisterFlashClient(this);
}

void TMvTimerSpeedBtn::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_FLASHTICK) {
        if (GetTickCount64() >= StartTime) Click();
        return;
    }
    TSpeedButton::Dispatch(Message);
}

// TMvSpinButton -------------------------------------------------------------------------------

TMvSpinButton::TMvSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle = FControlStyle - TControlStyle{csAcceptsControls, csSetCaption} + TControlStyle{csFramed, csOpaque};
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    SetBounds(Left(), Top(), 15, 24);
}

TMvTimerSpeedBtn* TMvSpinButton::CreateButton() {
    auto* b = new TMvTimerSpeedBtn(this);
    b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int, int) { BtnMouseDown(Button); };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetParent(this);
    return b;
}

void TMvSpinButton::BtnClick(TObject* Sender) {
    if (Sender == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TMvSpinButton::BtnMouseDown(TMouseButton Button) {
    if (Button != mbLeft) return;
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TMvSpinButton::SetFocusControl(TWinControl* V) {
    if (FFocusControl == V) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = V;
    if (V) V->FreeNotification(this);
}

void TMvSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

namespace {

// A picture of one's own, or the built-in arrow of that name with its two images.
void SetArrowGlyph(TMvTimerSpeedBtn* Button, TBitmap* Glyph, const char* BuiltIn) {
    if (Glyph) {
        Button->SetGlyph(Glyph);
        return;
    }
    Button->Glyph()->LoadFromResourceName(HInstance, String(BuiltIn));
    Button->SetNumGlyphs(2);
    Button->Invalidate();
}

}  // namespace

void TMvSpinButton::SetUpGlyph(TBitmap* V) { SetArrowGlyph(FUpButton, V, "MvSpinUp"); }
void TMvSpinButton::SetDownGlyph(TBitmap* V) { SetArrowGlyph(FDownButton, V, "MvSpinDown"); }

void TMvSpinButton::SetInterval(int32_t V) {
    FUpButton->SetInterval(V);
    FDownButton->SetInterval(V);
}

void TMvSpinButton::SetStartDelay(uint32_t V) {
    FUpButton->SetStartDelay(V);
    FDownButton->SetStartDelay(V);
}

void TMvSpinButton::SetEnabled(bool V) {
    TWinControl::SetEnabled(V);
    FUpButton->SetEnabled(V);
    FDownButton->SetEnabled(V);
}

void TMvSpinButton::AdjustSize(int& W, int& H) {
    if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading)) return;
    if (W < 15) W = 15;
    FUpButton->SetBounds(0, 0, W, H / 2);
    FDownButton->SetBounds(0, FUpButton->Height(), W, H - FUpButton->Height());
}

void TMvSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AdjustSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TMvSpinButton::WMSize(TMessage& Message) {
    TWinControl::WMSize(Message);
    int W = Width(), H = Height();
    AdjustSize(W, H);
    if (W != Width() || H != Height()) TWinControl::SetBounds(Left(), Top(), W, H);
    Message.Result = 0;
}

void TMvSpinButton::Loaded() {
    TWinControl::Loaded();
    int W = Width(), H = Height();
    AdjustSize(W, H);
    if (W != Width() || H != Height()) TWinControl::SetBounds(Left(), Top(), W, H);
}

void TMvSpinButton::KeyDown(WORD& Key, TShiftState) {
    if (Key == VK_UP) FUpButton->Click();
    else if (Key == VK_DOWN) FDownButton->Click();
}

void TMvSpinButton::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

// The arrow bitmaps ---------------------------------------------------------------------------

namespace {

// 18 x 6, two 9 x 6 images side by side: the normal arrow (a solid black triangle) and the
// disabled one (its grey outline), on olive, which the speed button takes as transparent.
constexpr std::string_view kSpinUp[] = {
    "                  ",
    "    #        +    ",
    "   ###      + +   ",
    "  #####    +   +  ",
    " #######  +++++++ ",
    "                  ",
};

using gfx::Put16;
using gfx::Put32;

// A 16-colour .bmp file of the picture, upside down when flipped.
std::vector<uint8_t> ArrowBitmap(bool flipped) {
    constexpr int w = 18, h = 6, rowBytes = 12;  // 9 bytes of nibbles, padded to 4
    // The sixteen colours of the classic palette, as blue, green, red.
    constexpr uint8_t palette[16][3] = {{0, 0, 0},       {0, 0, 128},     {0, 128, 0},     {0, 128, 128},
                                        {128, 0, 0},     {128, 0, 128},   {128, 128, 0},   {192, 192, 192},
                                        {128, 128, 128}, {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
                                        {255, 0, 0},     {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};
    constexpr uint8_t black = 0, olive = 3, grey = 8;
    constexpr uint32_t offset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + rowBytes * h);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);  // bottom-up rows
    Put16(b, 1);
    Put16(b, 4);
    Put32(b, 0);
    Put32(b, rowBytes * h);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 16);
    Put32(b, 0);
    for (const auto& c : palette) {
        b.insert(b.end(), c, c + 3);
        b.push_back(0);
    }
    for (int row = h - 1; row >= 0; --row) {
        const std::string_view line = kSpinUp[flipped ? h - 1 - row : row];
        for (int x = 0; x < rowBytes * 2; x += 2) {
            auto index = [&](int px) -> uint8_t {
                if (px >= w) return 0;
                char ch = line[static_cast<size_t>(px)];
                return ch == '#' ? black : ch == '+' ? grey : olive;
            };
            b.push_back(static_cast<uint8_t>(index(x) << 4 | index(x + 1)));
        }
    }
    return b;
}

void RegisterSpinBitmaps() {
    for (bool down : {false, true}) {
        std::vector<uint8_t> bmp = ArrowBitmap(down);
        RegisterResource(String(down ? "MvSpinDown" : "MvSpinUp"), bmp.data(), bmp.size());
    }
}

[[maybe_unused]] const bool gRegistered = (ui::AddUnitStart(RegisterSpinBitmaps), true);

}  // namespace
