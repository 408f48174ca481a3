#include "controls/instrument/VrControls.h"

#include <string_view>
#include <vector>

#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"

// TVrCustomControl ----------------------------------------------------------------------------

TVrCustomControl::TVrCustomControl(TComponent* AOwner) : TCustomControl(AOwner), FVersion(VrVersion) {}

void TVrCustomControl::EndUpdate() {
    --FUpdateCount;
    RequestRepaint();
}

void TVrCustomControl::RequestRepaint() {
    if (ComponentState().Contains(csLoading) || FUpdateCount != 0) return;
    Repaint();
}

void TVrCustomControl::DoFontChanged() {
    if (OnFontChanged) OnFontChanged(this);
}

void TVrCustomControl::DoTextChanged() {
    if (OnTextChanged) OnTextChanged(this);
}

void TVrCustomControl::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    DoFontChanged();
}

void TVrCustomControl::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    DoTextChanged();
}

// TVrCustomImageControl -----------------------------------------------------------------------

TVrCustomImageControl::TVrCustomImageControl(TComponent* AOwner)
    : TVrCustomControl(AOwner), FBitmapImage(std::make_unique<TBitmap>()) {}

TVrCustomImageControl::~TVrCustomImageControl() = default;

void TVrCustomImageControl::ClearImage() {
    FBitmapImage->SetSize(Width(), Height());
    TCanvas* c = FBitmapImage->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
}

void TVrCustomImageControl::Paint() { DestCanvas()->Draw(0, 0, FBitmapImage.get()); }

// Start of the unit ---------------------------------------------------------------------------

namespace {

// The hand pointer: '#' outline, '.' white fill, blank transparent; the hot spot is the fingertip.
constexpr std::string_view kHand[] = {
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    "    #..#..#..#.#",
    " ## #........#.#",
    "#..##..........#",
    "#...#..........#",
    " #..#..........#",
    "  #............#",
    "  #...........# ",
    "   #..........# ",
    "   #.........#  ",
    "    #........#  ",
    "    #........#  ",
    "    ##########  ",
};
constexpr int kHotX = 5, kHotY = 0;

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A 32 x 32 cursor file with one 32-bit image and its mask.
std::vector<uint8_t> HandPointerCursor() {
    constexpr int size = 32;
    constexpr uint32_t dibBytes = 40 + size * size * 4 + size * 4;
    std::vector<uint8_t> b;
    Put16(b, 0);
    Put16(b, 2);  // a cursor
    Put16(b, 1);
    b.push_back(size);
    b.push_back(size);
    b.push_back(0);
    b.push_back(0);
    Put16(b, kHotX);
    Put16(b, kHotY);
    Put32(b, dibBytes);
    Put32(b, 22);
    Put32(b, 40);
    Put32(b, size);
    Put32(b, size * 2);  // image and mask
    Put16(b, 1);
    Put16(b, 32);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    auto at = [](int x, int y) -> char {
        if (y >= static_cast<int>(std::size(kHand)) || x >= static_cast<int>(kHand[y].size())) return ' ';
        return kHand[y][static_cast<size_t>(x)];
    };
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            char c = at(x, y);
            uint8_t v = c == '.' ? 0xFF : 0x00;
            b.push_back(v);
            b.push_back(v);
            b.push_back(v);
            b.push_back(c == ' ' ? 0x00 : 0xFF);
        }
    for (int y = size - 1; y >= 0; --y)
        for (int byte = 0; byte < size / 8; ++byte) {
            uint8_t bits = 0;
            for (int i = 0; i < 8; ++i)
                if (at(byte * 8 + i, y) == ' ') bits |= static_cast<uint8_t>(0x80 >> i);
            b.push_back(bits);
        }
    return b;
}

void StartVrControls() {
    std::vector<uint8_t> cursor = HandPointerCursor();
    RegisterResource(String("VRCURSORHANDPOINT"), cursor.data(), cursor.size());
    Screen->SetCursors(crVrHandPoint, LoadCursor(HInstance, String("VRCURSORHANDPOINT")));
}

[[maybe_unused]] const bool gRegistered = (ui::AddUnitStart(StartVrControls), true);

}  // namespace
