#include "platform/ui/ImgList.h"

#include <algorithm>

#include "platform/ui/GdiHandles.h"

namespace {

bool Opaque(TBitmap& icon, int x, int y) {
    const auto* row = static_cast<const uint8_t*>(icon.ScanLine(y));
    return row[x * 4 + 3] >= 128;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {
    FHandle = reinterpret_cast<HIMAGELIST>(ui::gdi::Add(ui::gdi::Kind::ImageList, this));
}

TCustomImageList::~TCustomImageList() { ui::gdi::Remove(reinterpret_cast<uintptr_t>(FHandle)); }

TCustomImageList* TCustomImageList::FromHandle(HIMAGELIST handle) {
    return ui::gdi::Find<TCustomImageList>(handle, ui::gdi::Kind::ImageList);
}

void TCustomImageList::SetWidth(int value) {
    if (value <= 0 || value == FWidth) return;
    FWidth = value;
    Clear();
}

void TCustomImageList::SetHeight(int value) {
    if (value <= 0 || value == FHeight) return;
    FHeight = value;
    Clear();
}

void TCustomImageList::Changed() {
    if (OnChange) OnChange(this);
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Image || Image->Empty()) return -1;
    int first = Count();
    int pieces = std::max(1, Image->Width() / FWidth);
    for (int i = 0; i < pieces; ++i) {
        auto b = std::make_unique<TBitmap>(FWidth, FHeight);
        b->Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), Image->Canvas(),
                              Rect(i * FWidth, 0, i * FWidth + FWidth, FHeight));
        FImages.push_back({std::move(b), MaskColor, nullptr});
    }
    Changed();
    return first;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap*) {
    if (!Image || Image->Empty()) return -1;
    return AddMasked(Image, Image->TransparentColor());
}

int TCustomImageList::AddIcon(TIcon* Image) {
    if (!Image || Image->Empty() || Image->Width() != FWidth || Image->Height() != FHeight) return -1;
    auto icon = std::make_unique<TIcon>();
    icon->Assign(Image);
    FImages.push_back({nullptr, clNone, std::move(icon)});
    Changed();
    return Count() - 1;
}

void TCustomImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FImages.erase(FImages.begin() + Index);
    Changed();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Changed();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) const {
    if (!Image || Index < 0 || Index >= Count()) return false;
    const Item& item = FImages[static_cast<size_t>(Index)];
    Image->Assign(item.icon ? item.icon->Bitmap() : item.bitmap.get());
    return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
    if (!Canvas || Index < 0 || Index >= Count()) return;
    const Item& item = FImages[static_cast<size_t>(Index)];
    if (!Enabled) {
        // Disabled images: the shape in the shadow colour.
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                bool shape = item.icon ? Opaque(*item.icon->Bitmap(), x, y)
                                       : item.bitmap->Canvas()->Pixels(x, y) != item.transparent;
                if (shape) Canvas->SetPixels(X + x, Y + y, clBtnShadow);
            }
        return;
    }
    if (item.icon) {
        Canvas->Draw(X, Y, item.icon.get());
        return;
    }
    item.bitmap->SetTransparentColor(item.transparent);
    item.bitmap->SetTransparent(true);
    Canvas->Draw(X, Y, item.bitmap.get());
}

// ---------------------------------------------------------------------------------------------
// The flat calls on a list's handle

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    if ((fStyle & ~ILD_TRANSPARENT) != 0) return FALSE_;
    TCustomImageList* list = TCustomImageList::FromHandle(himl);
    TCanvas* canvas = TCanvas::FromHandle(hdcDst);
    if (!list || !canvas || i < 0 || i >= list->Count()) return FALSE_;
    list->Draw(canvas, x, y, i);
    return TRUE_;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    TCustomImageList* list = TCustomImageList::FromHandle(himl);
    if (!list || !cx || !cy) return FALSE_;
    *cx = list->Width();
    *cy = list->Height();
    return TRUE_;
}
