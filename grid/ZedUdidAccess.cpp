// TVerAdevovEdav: typed and extended cell access, single cell properties, row-wide colours.
#include <string>

#include "grid/ZedUdid.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "render/VarAvir.h"
#include "render/ZivAVEZE.h"

namespace {

int IntOfText(const String& Text) {
    const String t = Trim(Text);
    if (t.empty() || t == u"-") return 0;
    int32_t value = 0;
    if (!TryStrToInt(t, value)) throw EZedUdidError(u"Cell does not contain integer value");
    return value;
}

double FloatOfText(const String& Text) {
    const String t = Trim(Text);
    if (t.empty() || t == u"-") return 0;
    // The plain form has "." as its decimal separator whatever the locale.
    double value = 0;
    if (!TryStrToFloat(NormalizeNumberText(t), value, TFormatSettings::Default()))
        throw EZedUdidError(u"Cell does not contain a float value");
    return value;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Numbers

int TVerAdevovEdav::GetInts(int ACol, int ARow) { return IntOfText(GetCellEx(ACol, ARow)); }

void TVerAdevovEdav::SetInts(int ACol, int ARow, int Value) {
    SetCellEx(ACol, ARow, IntToStr(Value));
    if (FNumHiddenColumns > 0) RepaintCell(RealToDisplayCol(ACol), ARow);
}

int TVerAdevovEdav::GetAllInts(int ACol, int ARow) { return IntOfText(GetCellsEx(ACol, ARow)); }
void TVerAdevovEdav::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, IntToStr(Value)); }

double TVerAdevovEdav::GetFloats(int ACol, int ARow) { return FloatOfText(GetCellEx(ACol, ARow)); }
void TVerAdevovEdav::SetFloats(int ACol, int ARow, double Value) { SetCellEx(ACol, ARow, Format(FFloatFormat, {Value})); }
double TVerAdevovEdav::GetAllFloats(int ACol, int ARow) { return FloatOfText(GetCellsEx(ACol, ARow)); }
void TVerAdevovEdav::SetAllFloats(int ACol, int ARow, double Value) {
    SetCellsEx(ACol, ARow, Format(FFloatFormat, {Value}));
}

// ---------------------------------------------------------------------------------------------
// Texts

String TVerAdevovEdav::GetCellsEx(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return String();
    // A hidden row is read in its item, through the display hook.
    if (TStrings* items = HiddenRowItems(ARow)) {
        String s = ACol < items->Count() ? (*items)[ACol] : String();
        GetDisplText(ACol, ARow, s);
        return s;
    }
    return GetCellEx(ACol, RealToDisplayRow(ARow));
}

void TVerAdevovEdav::SetCellsEx(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) return;
    if (TStrings* items = HiddenRowItems(ARow)) {
        while (items->Count() <= ACol) items->Add(String());
        items->SetStrings(ACol, Value);
        return;
    }
    const int row = RealToDisplayRow(ARow);
    SetCellEx(ACol, row, Value);
    if (RealToDisplayCol(ACol) != ACol) RepaintCell(RealToDisplayCol(ACol), row);
}

String TVerAdevovEdav::GetGridCellsEx(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0) return String();
    return GetGridCell(ACol, RealToDisplayRow(ARow));
}

void TVerAdevovEdav::SetGridCellsEx(int ACol, int ARow, const String& Value) {
    SetGridCell(ACol, RealToDisplayRow(ARow), Value);
}

String TVerAdevovEdav::GetStrippedCell(int ACol, int ARow) { return HtmlToPlainText(GetCellEx(ACol, ARow)); }

String TVerAdevovEdav::GetOriginalCells(int ACol, int ARow) {
    const int position = ColumnPosition(ACol);
    return GetCellEx(position < 0 ? ACol : position, ARow);
}

void TVerAdevovEdav::SetOriginalCells(int ACol, int ARow, const String& Value) {
    const int position = ColumnPosition(ACol);
    SetCellEx(position < 0 ? ACol : position, ARow, Value);
}

int TVerAdevovEdav::UnSortedRowIndex(int ARow) const {
    const int count = FSortRowXRef->Count();
    if (count == 0) return ARow;
    const int index = FSortRowXRef->IndexOfValue(ARow);
    return index < 0 ? count : index;
}

int TVerAdevovEdav::SortedRowIndex(int ARow) const {
    const int r = ARow >= 0 && ARow < FSortRowXRef->Count() ? FSortRowXRef->GetInteger(ARow) : ARow;
    return DisplayToRealRow(r);
}

String TVerAdevovEdav::GetUnSortedCell(int ACol, int ARow) {
    return GetCellEx(ACol, FSortRowXRef->Count() >= ARow ? UnSortedRowIndex(ARow) : ARow);
}

void TVerAdevovEdav::SetUnSortedCell(int ACol, int ARow, const String& Value) {
    SetCellEx(ACol, FSortRowXRef->Count() >= ARow ? UnSortedRowIndex(ARow) : ARow, Value);
}

String TVerAdevovEdav::GetCtrlVal(int ACol, int ARow, const String& ID) {
    String value;
    HtmlGetControlValue(GetCellEx(ACol, ARow), ID, value);
    return value;
}

void TVerAdevovEdav::SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value) {
    String text = GetCellEx(ACol, ARow);
    if (HtmlSetControlValue(text, ID, Value)) SetCellEx(ACol, ARow, text);
}

int TVerAdevovEdav::GetLinesInCell(int ACol, int ARow) { return CountTextLines(GetCellEx(ACol, ARow), true); }

// ---------------------------------------------------------------------------------------------
// Objects

TObject* TVerAdevovEdav::GetObjectsEx(int ACol, int ARow) const { return GetObjectEx(ACol, RealToDisplayRow(ARow)); }
void TVerAdevovEdav::SetObjectsEx(int ACol, int ARow, TObject* Value) { SetObjectEx(ACol, RealToDisplayRow(ARow), Value); }
TObject* TVerAdevovEdav::GetGridObjectEx(int ACol, int ARow) const { return GetGridObject(ACol, RealToDisplayRow(ARow)); }

// ---------------------------------------------------------------------------------------------
// Single cell properties

namespace {
// The value a cell's properties hold, or Default for a cell without them (none are created).
template <typename T, typename Read>
T PropertyOr(const TVerAdevovEdav* Grid, int ACol, int ARow, T Default, Read read) {
    if (!Grid->HasCellProperties(ACol, ARow)) return Default;
    return read(*const_cast<TVerAdevovEdav*>(Grid)->GetCellProperties(ACol, ARow));
}
}  // namespace

TColor TVerAdevovEdav::GetColors(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, clNone, [](const TCellProperties& p) { return p.BrushColor(); });
}
void TVerAdevovEdav::SetColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColor(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TColor TVerAdevovEdav::GetColorsTo(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, clNone, [](const TCellProperties& p) { return p.BrushColorTo(); });
}
void TVerAdevovEdav::SetColorsTo(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TCellGradientDirection TVerAdevovEdav::GetGradientDir(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, GradientVertical, [](const TCellProperties& p) { return p.GradientDirection(); });
}
void TVerAdevovEdav::SetGradientDir(int ACol, int ARow, TCellGradientDirection Value) {
    GetCellProperties(ACol, ARow)->SetGradientDirection(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TColor TVerAdevovEdav::GetFontColors(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, clNone, [](const TCellProperties& p) { return p.FontColor(); });
}
void TVerAdevovEdav::SetFontColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetFontColor(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TFontStyles TVerAdevovEdav::GetFontStyles(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, TFontStyles(), [](const TCellProperties& p) { return p.FontStyle(); });
}
void TVerAdevovEdav::SetFontStyles(int ACol, int ARow, TFontStyles Value) {
    GetCellProperties(ACol, ARow)->SetFontStyle(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

int TVerAdevovEdav::GetFontSizes(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, 0, [](const TCellProperties& p) { return p.FontSize(); });
}
void TVerAdevovEdav::SetFontSizes(int ACol, int ARow, int Value) {
    GetCellProperties(ACol, ARow)->SetFontSize(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

String TVerAdevovEdav::GetFontNames(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, String(), [](const TCellProperties& p) { return p.FontName(); });
}
void TVerAdevovEdav::SetFontNames(int ACol, int ARow, const String& Value) {
    GetCellProperties(ACol, ARow)->SetFontName(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TAlignment TVerAdevovEdav::GetAlignments(int ACol, int ARow) const {
    return PropertyOr(this, ACol, ARow, taLeftJustify, [](const TCellProperties& p) { return p.Alignment(); });
}
void TVerAdevovEdav::SetAlignments(int ACol, int ARow, TAlignment Value) {
    GetCellProperties(ACol, ARow)->SetAlignment(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

bool TVerAdevovEdav::GetWordWraps(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->WordWrap(); }
void TVerAdevovEdav::SetWordWraps(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

TFont* TVerAdevovEdav::GetCellFont(int ACol, int ARow) {
    if (!HasCellProperties(ACol, ARow)) return Font();
    if (!FCellFont) FCellFont = std::make_unique<TFont>();
    const TCellProperties* p = GetCellProperties(ACol, ARow);
    FCellFont->SetName(p->FontName());
    FCellFont->SetSize(p->FontSize());
    FCellFont->SetStyle(p->FontStyle());
    FCellFont->SetColor(p->FontColor());
    return FCellFont.get();
}

void TVerAdevovEdav::SetCellFont(int ACol, int ARow, const TFont* Value) {
    TCellProperties* p = GetCellProperties(ACol, ARow);
    p->SetFontName(Value->Name());
    p->SetFontSize(Value->Size());
    p->SetFontStyle(Value->Style());
    p->SetFontColor(Value->Color());
    RepaintCell(RealToDisplayCol(ACol), ARow);
}

// ---------------------------------------------------------------------------------------------
// Row-wide colours

void TVerAdevovEdav::SetRowBrush(int ARow, TColor AColor, TColor TCellProperties::*Field) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone) {
            GetCellProperties(c, ARow)->*Field = AColor;
        } else if (HasCellProperties(c, ARow)) {
            // A merged cell keeps its properties: they hold the block.
            if (GetCellType(c, ARow) == ctEmpty && !IsMergedCell(c, ARow))
                FreeCellPropertiesAt(c, ARow);
            else
                GetCellProperties(c, ARow)->*Field = clNone;
        }
    }
    RepaintRow(ARow);
}

void TVerAdevovEdav::SetRowColor(int ARow, TColor AColor) { SetRowBrush(ARow, AColor, &TCellProperties::FBrushColor); }
void TVerAdevovEdav::SetRowColorTo(int ARow, TColor AColor) { SetRowBrush(ARow, AColor, &TCellProperties::FBrushColorTo); }

void TVerAdevovEdav::SetRowFontColor(int ARow, TColor AColor) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone) {
            GetCellProperties(c, ARow)->SetFontColor(AColor);
        } else if (HasCellProperties(c, ARow)) {
            TCellProperties* p = GetCellProperties(c, ARow);
            if (p->BrushColor() != clNone || GetCellType(c, ARow) != ctEmpty) continue;
            if (IsMergedCell(c, ARow))
                p->SetFontColor(clNone);
            else
                FreeCellPropertiesAt(c, ARow);
        }
    }
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------------------------
// Version

String TVerAdevovEdav::Version() {
    const uint32_t v = GetVersionNr();
    return String(std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
                  std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF));
}
