// TCellGraphic and the grid's operations on cell graphics: making, finding and removing a
// cell's graphic, the kind tests, the sort key and the sizes graphics need.
#include <algorithm>
#include <cmath>

#include "grid/ZedUdid.h"

// ---------------------------------------------------------------------------------------------
// TCellGraphic

TCellGraphic::~TCellGraphic() {
    switch (CellType) {
        case ctBitmap:
        case ctRadio:
        case ctPicture:
        case ctFilePicture:
        case ctBitButton:
            if (CellCreated) delete FCellBitmap.Release();
            break;
        case ctIcon:
            if (CellCreated) delete FCellIcon.Release();
            break;
        case ctImages:
        case ctBalloon:
            delete FCellBitmap.Release();
            break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctRadioButton:
            if (CellAngle == 1) delete FCellBitmap.Release();
            break;
        default:
            break;
    }
}

void TCellGraphic::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TCellGraphic*>(Source);
    if (!s) return;
    CellType = s->CellType;
    CellVAlign = s->CellVAlign;
    CellHAlign = s->CellHAlign;
    CellIndex = s->CellIndex;
    CellTransparent = s->CellTransparent;
    CellValue = s->CellValue;
    CellAngle = s->CellAngle;
    CellBoolean = s->CellBoolean;
    CellErrFrom = s->CellErrFrom;
    CellErrLen = s->CellErrLen;
    CellText = s->CellText;
    CellCreated = s->CellCreated;
}

void TCellGraphic::SetInterfacedCell(TPersistent* AObject) {
    CellType = ctInterface;
    FCellBitmap.SetObject(AObject);
}

void TCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    CellType = ctBitmap;
    FCellBitmap.SetObject(ABmp);
    CellTransparent = Transparent;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val) {
    CellType = ctButton;
    CellIndex = static_cast<int>((static_cast<uint32_t>(bh) & 0xFFFF) << 16 | (static_cast<uint32_t>(bw) & 0xFFFF));
    CellBoolean = false;
    CellText = Caption;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
    SetButton(bw, bh, Caption, hal, val);
    CellType = ctBitButton;
    FCellBitmap.SetObject(Glyph);
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                              TCellHAlign hal, TCellVAlign val) {
    CellType = ctPicture;
    FCellBitmap.SetObject(APicture);
    CellTransparent = Transparent;
    CellAngle = static_cast<int>(StretchMode);
    CellIndex = Padding;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign hal, TCellVAlign val) {
    SetPicture(nullptr, Transparent, StretchMode, Padding, hal, val);
    CellType = ctFilePicture;
    FCellBitmap.SetObject(APicture);
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = Data ? ctDataCheckBox : ctCheckBox;
    CellAngle = 0;
    CellBoolean = Value;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctTriStateCheckBox;
    CellCheckBoxState = Value;
    CellBoolean = false;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctRadioButton;
    CellAngle = 0;
    CellBoolean = Value;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CellType = ctIcon;
    FCellIcon.SetObject(AIcon);
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctDataImage;
    CellIndex = Idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int Dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier) {
    // A list already owned here goes first.
    if (CellType == ctImages || CellType == ctBalloon) delete FCellBitmap.Release();
    CellType = ctImages;
    CellHAlign = hal;
    CellVAlign = val;
    CellBoolean = Dir == 0;
    auto* list = new TIntList(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap.SetObject(list);
    CellCreated = true;
}

void TCellGraphic::SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctImageList;
    CellIndex = Idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetAngle(int16_t AAngle) {
    CellType = ctRotated;
    int a = AAngle;
    while (a < 0) a += 360;
    while (a > 360) a -= 360;
    CellAngle = a;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool) const {
    int w = 0, h = 0;
    if (CellType == ctPicture) {
        auto* picture = dynamic_cast<TPicture*>(CellBitmap());
        if (!picture) return {0, 0};
        w = picture->Width();
        h = picture->Height();
    } else if (CellType == ctFilePicture) {
        auto* picture = dynamic_cast<TFilePicture*>(CellBitmap());
        if (!picture) return {0, 0};
        w = picture->Width();
        h = picture->Height();
    } else {
        return {0, 0};
    }
    const int aw = cw - CellIndex, ah = rh - CellIndex;
    auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };  // halves to even
    auto aspect = [&](double fx, double fy) -> TPoint {
        if (fx < fy) return {aw, round(h * fx)};
        return {round(w * fy), ah};
    };
    const double fx = w <= 0 ? 1.0 : static_cast<double>(aw) / w;
    const double fy = h <= 0 ? 1.0 : static_cast<double>(ah) / h;
    switch (static_cast<TStretchMode>(CellAngle)) {
        case TStretchMode::Stretch: return {aw, ah};
        case TStretchMode::StretchWithAspectRatio: return aspect(fx, fy);
        case TStretchMode::Shrink:
            if (w > aw || h > ah) return {aw, ah};
            return {w, h};
        case TStretchMode::ShrinkWithAspectRatio:
            if (w <= aw && h <= ah) return {w, h};
            return aspect(std::min(fx, 1.0), std::min(fy, 1.0));
        default: return {w, h};
    }
}

// ---------------------------------------------------------------------------------------------
// A cell's graphic

TCellGraphic* TVerAdevovEdav::GetCellGraphic(int ACol, int ARow) {
    if (ACol == 0 && ARow >= 0 && FMouseActions->HotmailRowSelect()) {
        // The row check boxes of column 0 share one scratch graphic, filled for each call.
        TCellGraphic* g = FCellGraphic.get();
        g->CellType = ctRowCheckBox;
        if (ARow == 0) {
            const int n = FSelectedRows->Count(), normal = RowCount() - FixedRows();
            g->CellAngle = n > 0 && n < normal ? 1 : 0;
            g->CellBoolean = n >= normal;
        } else {
            g->CellAngle = 0;
            const int row = RealRowIndex(ARow);
            g->CellBoolean = row < RowCount() + NumHiddenRows() && GetRowSelect(row);
        }
        g->CellTransparent = FControlLook->ControlStyle() == TControlLook::csFlat;
        return g;
    }
    if (ACol < 0 || ARow < 0) return nullptr;
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

TCellType TVerAdevovEdav::GetCellType(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType : ctEmpty;
}

TCellGraphic* TVerAdevovEdav::CreateCellGraphic(int ACol, int ARow) {
    // The cell's own graphic only: the scratch graphic of the row check boxes is never attached.
    if (auto* old = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow))) {
        SetGraphicObjectEx(ACol, ARow, nullptr);
        delete old;
    }
    auto* g = new TCellGraphic();
    if (GetCellEx(ACol, ARow).IsEmpty()) {
        SetCellEx(ACol, ARow, u" ");
        delete SetGraphicObjectEx(ACol, ARow, g);
        SetCellEx(ACol, ARow, String());
    } else {
        delete SetGraphicObjectEx(ACol, ARow, g);
    }
    if (FNumHiddenColumns > 0 && RealToDisplayCol(ACol) != ACol) RepaintCell(RealToDisplayCol(ACol), ARow);
    return g;
}

bool TVerAdevovEdav::FreeCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return false;
    // The cell's own graphic: another class counts as none and stays.
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (!g) return false;
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (g->CellType != ctVirtCheckBox && g->CellType != ctRowCheckBox) delete g;
    if (!ComponentState().Contains(csDestroying)) RepaintCell(ACol, ARow);
    return true;
}

bool TVerAdevovEdav::RemoveCellGraphic(int ACol, int ARow, TCellType Kind) {
    if (GetCellType(ACol, ARow) != Kind) return false;
    return FreeCellGraphic(ACol, ARow);
}

bool TVerAdevovEdav::HasCellGraphicType(int ACol, int ARow, std::initializer_list<TCellType> Kinds) {
    if (ACol < 0 || ARow < 0) return false;
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(base.X, base.Y);
    return g && std::find(Kinds.begin(), Kinds.end(), g->CellType) != Kinds.end();
}

bool TVerAdevovEdav::HasCheckBox(int ACol, int ARow) {
    return HasCellGraphicType(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox});
}

bool TVerAdevovEdav::HasDataCheckBox(int ACol, int ARow) {
    return HasCellGraphicType(ACol, ARow, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
}

bool TVerAdevovEdav::HasDataGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return false;
    const TPoint base = BaseCell(ACol, ARow);
    switch (GetCellType(base.X, base.Y)) {
        case ctDataCheckBox:
        case ctDataImage:
        case ctVirtCheckBox:
        case ctRowCheckBox: return true;
        default: return false;
    }
}

bool TVerAdevovEdav::HasClickControl(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return false;
    const TPoint base = BaseCell(ACol, ARow);
    switch (GetCellType(base.X, base.Y)) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctRadio:
        case ctButton:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctRadioButton:
        case ctTriStateCheckBox: return true;
        default: return false;
    }
}

TIntList* TVerAdevovEdav::GetCellImages(int ACol, int ARow) {
    if (GetCellType(ACol, ARow) != ctImages) return nullptr;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? dynamic_cast<TIntList*>(g->CellBitmap()) : nullptr;
}

intptr_t TVerAdevovEdav::GetCellGraphicSortKey(int ACol, int ARow) {
    switch (GetCellType(ACol, ARow)) {
        case ctImageList: return GetCellGraphic(ACol, ARow)->CellIndex;
        // One value per object: cells sharing a bitmap (icon) sort together.
        case ctBitmap: return reinterpret_cast<intptr_t>(GetCellGraphic(ACol, ARow)->CellBitmap());
        case ctIcon: return reinterpret_cast<intptr_t>(GetCellGraphic(ACol, ARow)->CellIcon());
        default: return -1;
    }
}

// ---------------------------------------------------------------------------------------------
// Sizes

namespace {

// The radio group's items side by side or one above the other, measured on the canvas.
TPoint RadioSize(TCanvas* Canvas, TStrings* Items, bool Horizontal, bool MinimumHeight) {
    if (!Items) return {0, 0};
    const int lineHeight = Canvas->TextHeight(u"gh");
    int w = 0;
    for (int i = 0; i < Items->Count(); ++i) {
        const int item = Canvas->TextWidth((*Items)[i]) + 12;
        w = Horizontal ? w + item : std::max(w, item);
    }
    if (Horizontal) return {w, lineHeight};
    const int h = MinimumHeight ? std::max(16, lineHeight) : lineHeight;
    return {std::max(12, w), h * Items->Count()};
}

TPoint InterfaceSize(TCellGraphic* g) {
    auto* intf = dynamic_cast<IGridCellGraphic*>(g->CellBitmap());
    if (!intf) return {0, 0};
    return {intf->GetWidth(), intf->GetHeight()};
}

}  // namespace

TPoint TVerAdevovEdav::GetCellGraphicSize(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return {0, 0};
    const bool hasText = !GetCellEx(ACol, ARow).IsEmpty();
    const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
    const bool above = g->CellVAlign == TCellVAlign::vaUnderText || g->CellVAlign == TCellVAlign::vaAboveText;
    TCanvas* canvas = Canvas();
    TPoint size{0, 0};
    bool fullWidth = true;
    switch (g->CellType) {
        case ctBitmap:
            if (auto* bmp = dynamic_cast<TBitmap*>(g->CellBitmap())) {
                size.X = beside || !hasText ? bmp->Width() : 0;
                size.Y = above || !hasText ? bmp->Height() : 0;
            }
            break;
        case ctIcon:
            if (auto* icon = dynamic_cast<TIcon*>(g->CellIcon())) size = {beside || !hasText ? icon->Width() : 0, icon->Height()};
            break;
        case ctImageList:
        case ctDataImage:
            if (TCustomImageList* list = CellImageList(ACol, ARow))
                size = {beside || !hasText ? list->Width() : 0, above || !hasText ? list->Height() : 0};
            break;
        case ctPicture:
        case ctFilePicture: {
            const TPoint cell = CellSize(RealToDisplayCol(ACol), ARow);
            size = g->GetPictureSize(cell.X, cell.Y, hasText);
            break;
        }
        case ctButton:
        case ctBitButton:
            size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
            if (hasText) {
                if (g->CellHAlign == haCenter) size.X = 0;
                if (g->CellHAlign == haFull) size.X = canvas->TextWidth(g->CellText) + 4;
                if (above)
                    size.X = 0;
                else
                    size.Y = 0;
            } else {
                if (g->CellHAlign == haFull) {
                    canvas->Font()->Assign(Font());
                    size.X = canvas->TextWidth(g->CellText) + 4;
                }
                fullWidth = g->CellText.IsEmpty();
            }
            break;
        case ctInterface: {
            size = InterfaceSize(g);
            if (size.X == 0 || size.Y == 0) size = CellSize(RealToDisplayCol(ACol), ARow);
            break;
        }
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: size = {FControlLook->CheckSize(), FControlLook->CheckSize()}; break;
        case ctRadioButton: size = {FControlLook->RadioSize(), FControlLook->RadioSize()}; break;
        case ctProgressPie: size = {20, 20}; break;
        case ctRadio: size = RadioSize(canvas, dynamic_cast<TStrings*>(g->CellBitmap()), g->CellBoolean, true); break;
        case ctImages:
            if (TCustomImageList* list = CellImageList(ACol, ARow))
                if (auto* images = dynamic_cast<TIntList*>(g->CellBitmap())) {
                    const int n = images->Count();
                    size = g->CellBoolean ? TPoint{n * list->Width(), list->Height()} : TPoint{list->Width(), n * list->Height()};
                }
            break;
        case ctRating:
            size = {g->CellAngle * 18, 16};
            fullWidth = false;
            break;
        default: break;
    }
    const TRect r = CellRect(RealToDisplayCol(ACol), ARow);
    if (g->CellVAlign == TCellVAlign::vaFull) {
        size.Y = r.Height();
        fullWidth = true;
    }
    if (g->CellHAlign == haFull && fullWidth) size.X = r.Width();
    return size;
}

TPoint TVerAdevovEdav::GetCellGraphicSizeEx(int ACol, int ARow, int CellWidth, int CellHeight, double Scale) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return {0, 0};
    const bool hasText = !GetCellEx(ACol, ARow).IsEmpty();
    const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
    switch (g->CellType) {
        case ctBitmap:
            if (auto* bmp = dynamic_cast<TBitmap*>(g->CellBitmap())) return {bmp->Width(), bmp->Height()};
            return {0, 0};
        case ctIcon:
            if (auto* icon = dynamic_cast<TIcon*>(g->CellIcon())) return {icon->Width(), icon->Height()};
            return {0, 0};
        case ctImageList:
            if (TCustomImageList* list = CellImageList(ACol, ARow))
                return {beside || !hasText ? list->Width() : 0, list->Height()};
            return {0, 0};
        case ctDataImage:
            if (TCustomImageList* list = CellImageList(ACol, ARow)) return {list->Width(), list->Height()};
            return {0, 0};
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: return {FControlLook->CheckSize(), FControlLook->CheckSize()};
        case ctRadioButton: return {FControlLook->RadioSize(), FControlLook->RadioSize()};
        case ctNode:
        case ctProgressPie: return {20, 20};
        case ctRadio: return RadioSize(Canvas(), dynamic_cast<TStrings*>(g->CellBitmap()), g->CellBoolean, false);
        case ctImages:
            if (TCustomImageList* list = CellImageList(ACol, ARow))
                if (auto* images = dynamic_cast<TIntList*>(g->CellBitmap())) {
                    const int n = images->Count();
                    return g->CellBoolean ? TPoint{n * list->Width(), list->Height()} : TPoint{list->Width(), n * list->Height()};
                }
            return {0, 0};
        case ctPicture:
        case ctFilePicture: {
            const TPoint p = g->GetPictureSize(CellWidth, CellHeight, hasText);
            const double scale = Scale == 0 ? 1.0 : Scale;
            return {static_cast<int>(std::nearbyint(p.X / scale)), static_cast<int>(std::nearbyint(p.Y / scale))};
        }
        case ctProgress:
        case ctXPProgress: {
            const int d = RealToDisplayCol(ACol);
            return {ColWidths(d), RowHeights(ARow)};
        }
        case ctButton:
        case ctBitButton: return {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
        case ctInterface: {
            auto* intf = dynamic_cast<IGridCellGraphic*>(g->CellBitmap());
            if (!intf) return {0, 0};
            const TRect r = CellRect(RealToDisplayCol(ACol), ARow);
            TPoint size = InterfaceSize(g);
            if (size.X == 0) size.X = r.Width();
            if (size.Y == 0) size.Y = r.Height();
            return size;
        }
        case ctShape: {
            const int side = RowHeights(ARow) - 2 * FXYOffset.Y;
            return {side, side};
        }
        default: return {0, 0};
    }
}
