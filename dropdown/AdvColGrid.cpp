// The multi-column drop-down's pop-up grid: loading and sizing from the drop-down, drawing the
// cells from its items, and the keys, mouse and wheel that confirm a row or not.
#include <algorithm>

#include "dropdown/AdvMultiColumnDropDown.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace advmulticolumndropdown {

TAdvColGrid::TAdvColGrid(TComponent* AOwner)
    : TStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)), FHeaderFont(std::make_unique<TFont>()) {
    SetFixedCols(0);
    SetFixedRows(1);
    TGridOptions options = Options();
    options << goHorzLine;
    options << goRowSelect;
    options >> goRangeSelect;
    options >> goDrawFocusSelected;
    SetOptions(options);
    SetDefaultDrawing(false);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetLineWidth(0);
    SetBorderStyle(bsNone);
    FGridLineWidth = 1;
    FOldRow = Row();
}

TAdvColGrid::~TAdvColGrid() = default;

void TAdvColGrid::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
}

void TAdvColGrid::SetLineWidth(int value) {
    FGridLineWidth = value;
    SetGridLineWidth(0);
    Invalidate();
}

void TAdvColGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) FImages = nullptr;
}

bool TAdvColGrid::InPopup() const { return dynamic_cast<TDropDownForm*>(Parent()) != nullptr; }

// ---------------------------------------------------------------------------------------------
// Loading and sizing

void TAdvColGrid::LoadFromDropDown(TAdvMultiColumnDropDown* ADropDown) {
    if (!ADropDown) return;
    SetDropDown(ADropDown);
    FColumns->Assign(ADropDown->Columns());
    SetColCount(std::max(1, FColumns->Count()));
    const int rows = ADropDown->Items()->Count() + 1;
    SetRowCount(rows);
    if (RowCount() > 1) {
        SetFixedRows(1);
        SetRow(1);
        SetRowCount(rows);
    }
    for (int i = 0; i < FColumns->Count(); ++i) SetColWidths(i, FColumns->Items(i)->Width);
    LineColor = ADropDown->LineColor();
    FixedLineColor = ADropDown->FixedLineColor();
    HeaderColor = ADropDown->HeaderColor();
    HeaderColorTo = ADropDown->HeaderColorTo();
    HeaderHeight = ADropDown->HeaderHeight();
    FHeaderFont->Assign(ADropDown->HeaderFont());
    SetImages(ADropDown->Images());
    SetDefaultRowHeight(ADropDown->DropDownRowHeight());
    SetRowHeights(0, HeaderHeight);
    TGridOptions options = Options();
    if (ADropDown->ColumnSizing()) options << goColSizing;
    else options >> goColSizing;
    SetOptions(options);
    AutoSizeColumns();
    SizeWrappedRows();
}

int TAdvColGrid::GetTotalWidth() {
    // The grid has no border width of its own (border style none).
    int w = 0;
    for (int i = 0; i < ColCount(); ++i) w += ColWidths(i);
    if (VisibleRowCount() + FixedRows() != RowCount()) w += GetSystemMetrics(SM_CXVSCROLL);
    return w;
}

TRect TAdvColGrid::GetCellBounds(int ACol, int ARow) const {
    TRect r = CellRect(ACol, ARow);
    r.Right = r.Left + ColWidths(ACol);
    r.Bottom = r.Top + RowHeights(ARow);
    return r;
}

void TAdvColGrid::AutoSizeColumns() {
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->AutoSize) AutoSizeColumn(i);
}

namespace {

// Texts are measured on a scratch bitmap in the column's font.
struct TMeasure {
    TBitmap bitmap{1, 1};
    TCanvas* canvas = bitmap.Canvas();
    int Width(const String& text) {
        TRect r(0, 0, 1000, 500);
        DrawText(canvas->Handle(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        return r.Right;
    }
    int Height(const String& text, int width) {
        TRect r(0, 0, width, 500);
        DrawText(canvas->Handle(), text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
        return r.Bottom;
    }
};

}  // namespace

void TAdvColGrid::AutoSizeColumn(int i) {
    if (i < 0 || i >= FColumns->Count() || !FColumns->Items(i)->AutoSize || !InPopup()) return;
    TDropDownColumn* column = FColumns->Items(i);
    TMeasure m;
    m.canvas->Font()->Assign(column->Font());
    int widest = 0;
    for (int row = 1; row < RowCount(); ++row) {
        String text;
        bool image = false;
        if (FAdvDropDown) {
            if (row - 1 < FAdvDropDown->Items()->Count()) {
                const TDropDownItem* item = FAdvDropDown->Items()->Items(row - 1);
                if (const std::optional<String> t = item->TextAt(i)) {
                    text = *t;
                    image = column->ColumnType == ctImage && item->ImageIndex() >= 0;
                }
            }
        } else {
            text = Cells(i, row);
        }
        int w = image && FImages ? FImages->Width() + 4 : 0;
        if (!text.empty()) w += m.Width(text) + 6;
        widest = std::max(widest, w);
    }
    column->Width = widest;
    if (i < ColCount()) SetColWidths(i, widest);
}

void TAdvColGrid::SizeWrappedRows() {
    bool wraps = false;
    for (int i = 0; i < FColumns->Count(); ++i) wraps = wraps || FColumns->Items(i)->Wordwrap;
    if (!wraps || !InPopup()) return;
    TMeasure m;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        int h = 24;
        const TDropDownItem* item = FAdvDropDown && r - 1 >= 0 && r - 1 < FAdvDropDown->Items()->Count()
                                        ? FAdvDropDown->Items()->Items(r - 1)
                                        : nullptr;
        for (int c = 0; c < ColCount() && c < FColumns->Count(); ++c) {
            const TDropDownColumn* column = FColumns->Items(c);
            if (!column->Wordwrap) continue;
            const std::optional<String> text = item ? item->TextAt(c) : std::nullopt;
            int b = column->ColumnType == ctImage && text && item->ImageIndex() >= 0 && FImages ? FImages->Height() + 6 : 0;
            if (text && !text->empty()) {
                m.canvas->Font()->Assign(column->Font());
                b = std::max(b, m.Height(*text, ColWidths(c)) + 6);
            }
            h = std::max(h, b);
        }
        SetRowHeights(r, h);
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TAdvColGrid::DrawCell(int ACol, int ARow, const TRect&, TGridDrawState AState) {
    TCanvas* canvas = Canvas();
    TAdvMultiColumnDropDown* dd = FAdvDropDown;
    if (dd && dd->OnDropDownDrawItem) {
        dd->OnDropDownDrawItem(dd, ACol, ARow, canvas, GetCellBounds(ACol, ARow));
        return;
    }
    int edge = ACol == FixedCols() ? 1 : ACol == ColCount() - 1 ? 2 : 3;
    if (ACol == FixedCols() && ACol == ColCount() - 1) edge = 0;
    TRect R = GetCellBounds(ACol, ARow);
    int imageIndex = -1;
    String text = Cells(ACol, ARow);
    TColor background;
    TAlignment alignment = taLeftJustify;
    bool wrap = false, ellipsis = false;
    const bool fixed = AState.Contains(gdFixed);
    if (ACol < FColumns->Count() && ACol >= FixedCols()) {
        const TDropDownColumn* column = FColumns->Items(ACol);
        background = column->Color;
        alignment = column->Alignment;
        wrap = column->Wordwrap;
        ellipsis = column->Ellipsis;
        canvas->Font()->Assign(column->Font());
        if (dd && ARow > 0 && ARow - 1 < dd->Items()->Count()) {
            const TDropDownItem* item = dd->Items()->Items(ARow - 1);
            if (column->ColumnType == ctImage) imageIndex = item->ImageIndex();
            if (const std::optional<String> t = item->TextAt(ACol)) text = *t;
        }
    } else {
        background = Color();
        canvas->Font()->Assign(FHeaderFont.get());
    }
    if (dd && dd->OnDropDownGetItemText) dd->OnDropDownGetItemText(dd, ACol, ARow, text);

    if (fixed) {
        text.clear();
        if (dd && ACol < FColumns->Count()) {
            text = FColumns->Items(ACol)->Header;
            imageIndex = -1;
        }
        if (HeaderColor != clNone && HeaderColorTo != clNone) {
            if (dd) dd->DrawGradientFill(canvas, HeaderColor, HeaderColorTo, 80, R, true);
            else StepGradient(canvas, HeaderColor, HeaderColorTo, 80, R, false);
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(HeaderColor);
            canvas->FillRect(R);
        }
    } else if (AState.Contains(gdSelected)) {
        if (dd) {
            dd->DrawSelectionBackground(canvas, R, background, edge);
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(clActiveCaption);
            canvas->FillRect(R);
        }
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Brush()->SetColor(background);
        canvas->Pen()->SetColor(background);
        canvas->Pen()->SetWidth(1);
        canvas->Rectangle(R);
    }

    // The lines: the header's in FixedLineColor, the rows' in LineColor.
    int c;
    bool horz, vert;
    canvas->Pen()->SetStyle(psSolid);
    if (fixed) {
        canvas->Pen()->SetColor(FixedLineColor);
        canvas->Pen()->SetWidth(1);
        c = 1;
        horz = Options().Contains(goFixedHorzLine);
        vert = Options().Contains(goFixedVertLine);
    } else {
        if (FGridLineWidth > 0) canvas->Pen()->SetColor(LineColor);
        canvas->Pen()->SetWidth(std::max(FGridLineWidth, 1));
        c = (FGridLineWidth + 1) / 2;
        horz = Options().Contains(goHorzLine);
        vert = Options().Contains(goVertLine);
    }
    if (horz && (fixed || FGridLineWidth > 0)) {
        canvas->MoveTo(R.Left - c + 1, R.Bottom - c);
        canvas->LineTo(R.Right - c + 1, R.Bottom - c);
    }
    if (vert && (fixed || FGridLineWidth > 0)) {
        const int x = UseRightToLeftReading() ? R.Right - c + 1 : R.Right - c;
        canvas->MoveTo(x, R.Bottom - c);
        canvas->LineTo(x, R.Top - c);
    }

    InflateRect(R, -FGridLineWidth, -FGridLineWidth);
    TRect T = R;
    TCustomImageList* images = dd ? dd->Images() : nullptr;
    if (images && imageIndex >= 0) {
        const int y = images->Height() < R.Height() ? R.Top + (R.Height() - images->Height()) / 2 : R.Top;
        images->Draw(canvas, R.Left + 2, y, imageIndex, true);
        T.Left = R.Left + images->Width() + 4;
    } else {
        T.Left = R.Left + 2;
    }
    if (text.empty()) return;
    canvas->Brush()->SetStyle(bsClear);
    if (AState.Contains(gdSelected) && !fixed && dd) canvas->Font()->SetColor(dd->SelectionTextColor());
    if (fixed) canvas->Font()->Assign(FHeaderFont.get());
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
    flags |= wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    if (ellipsis) flags |= DT_END_ELLIPSIS;
    DrawText(canvas->Handle(), text, -1, &T, flags);
}

// ---------------------------------------------------------------------------------------------
// Keys, mouse and wheel

void TAdvColGrid::DoSelect() {
    if (OnSelect) OnSelect(this);
}

void TAdvColGrid::Dispatch(TMessage& Message) {
    // Tab does nothing in the pop-up's table.
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB) return;
    TStringGrid::Dispatch(Message);
}

void TAdvColGrid::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB; }

void TAdvColGrid::KeyDown(WORD& Key, TShiftState Shift) {
    FConfirmSelection = true;
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (FAdvDropDown && FAdvDropDown->HandleAllocated()) SendMessage(FAdvDropDown->Handle(), WM_KEYDOWN, Key, 0);
        return;
    }
    const WORD key = Key;
    TStringGrid::KeyDown(Key, Shift);
    if (key == VK_RETURN) DoSelect();
}

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FConfirmSelection = true;
    FOldRow = Row();
    TStringGrid::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TStringGrid::MouseUp(Button, Shift, X, Y);
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (row >= FixedRows() && row < RowCount()) DoSelect();
}

template <class F>
bool TAdvColGrid::Wheel(F&& inherited) {
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    bool result;
    try {
        result = inherited();
    } catch (...) {
        FMouseWheelSelection = false;
        throw;
    }
    FMouseWheelSelection = false;
    return result;
}

bool TAdvColGrid::DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) {
    return Wheel([&] { return TStringGrid::DoMouseWheelDown(Shift, MousePos); });
}

bool TAdvColGrid::DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) {
    return Wheel([&] { return TStringGrid::DoMouseWheelUp(Shift, MousePos); });
}

}  // namespace advmulticolumndropdown
