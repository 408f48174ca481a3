#include "platform/ui/ValEdit.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexOutOfRange() { throw EInvalidGridOperation(String("Grid index out of range")); }

}  // namespace

void TValueListStrings::Changed() {
    TStringList::Changed();
    if (FEditor) FEditor->StringsChanged();
}

TValueListEditor::TValueListEditor(TComponent* AOwner)
    : TCustomDrawGrid(AOwner),
      FStrings(std::make_unique<TValueListStrings>(this)),
      FTitleCaptions(std::make_unique<TStringList>()) {
    FTitleCaptions->Add(String(u"Key"));
    FTitleCaptions->Add(String(u"Value"));
    FTitleCaptions->OnChange = [this](TStrings*) { InvalidateRow(0); };
    SetFixedCols(0);
    SetColCount(2);
    SetRowCount(2);
    SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goEditing,
                goAlwaysShowEditor, goThumbTracking});
    SetBounds(0, 0, 306, 300);
    SetColWidths(0, 150);
    AdjustColWidths();
}

TValueListEditor::~TValueListEditor() {
    // The lists go before the grid: they must not tell it of their end.
    FTitleCaptions->OnChange = nullptr;
    FStrings.reset();
}

int TValueListEditor::LineOf(int ARow) const {
    int line = ARow - (FDisplayOptions.Contains(doColumnTitles) ? 1 : 0);
    return line >= 0 && line < FStrings->Count() ? line : -1;
}

void TValueListEditor::StringsChanged() {
    int titles = FDisplayOptions.Contains(doColumnTitles) ? 1 : 0;
    SetRowCount(std::max(1, FStrings->Count()) + titles);
    InvalidateGrid();
    // The editor shows the line's value as it is now, unless the change came from the editor.
    EditedCellChanged(1, Row());
}

void TValueListEditor::SetDisplayOptions(TDisplayOptions Value) {
    if (Value == FDisplayOptions) return;
    bool titles = Value.Contains(doColumnTitles), had = FDisplayOptions.Contains(doColumnTitles);
    FDisplayOptions = Value;
    int lines = std::max(1, FStrings->Count());
    if (titles && !had) {
        SetRowCount(lines + 1);
        SetFixedRows(1);
    } else if (!titles && had) {
        SetFixedRows(0);
        SetRowCount(lines);
    }
    AdjustColWidths();
    InvalidateGrid();
}

String TValueListEditor::Keys(int ARow) const {
    int line = LineOf(ARow);
    if (line < 0) IndexOutOfRange();
    return FStrings->Names(line);
}

void TValueListEditor::SetKeys(int ARow, const String& Value) {
    int line = LineOf(ARow);
    if (line < 0) IndexOutOfRange();
    String s = Value;
    s.push_back(FStrings->NameValueSeparator());
    s += FStrings->ValueFromIndex(line);
    FStrings->Put(line, s);
}

String TValueListEditor::Values(const String& Key) const { return FStrings->Values(Key); }

// An empty value keeps its key: the list of a value editor lists keys, whatever their values.
void TValueListEditor::SetValues(const String& Key, const String& Value) {
    String s = Key;
    s.push_back(FStrings->NameValueSeparator());
    s += Value;
    int i = FStrings->IndexOfName(Key);
    if (i < 0)
        FStrings->Add(s);
    else
        FStrings->Put(i, s);
}

bool TValueListEditor::FindRow(const String& KeyName, int& Row) const {
    int i = FStrings->IndexOfName(KeyName);
    if (i < 0) return false;
    Row = i + (FDisplayOptions.Contains(doColumnTitles) ? 1 : 0);
    return true;
}

String TValueListEditor::Cells(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0) IndexOutOfRange();
    if (FDisplayOptions.Contains(doColumnTitles) && ARow == 0)
        return ACol < FTitleCaptions->Count() ? FTitleCaptions->Get(ACol) : String();
    int line = LineOf(ARow);
    if (line < 0) return String();
    if (ACol == 0) return FStrings->Names(line);
    if (ACol == 1) return FStrings->ValueFromIndex(line);
    return String();
}

void TValueListEditor::SetCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ACol > 1 || ARow < 0) IndexOutOfRange();
    if (FDisplayOptions.Contains(doColumnTitles) && ARow == 0) {
        while (FTitleCaptions->Count() <= ACol) FTitleCaptions->Add(String());
        FTitleCaptions->Put(ACol, Value);
        return;
    }
    int line = LineOf(ARow);
    if (line < 0) {
        // The empty row of an empty list takes the first line.
        if (FStrings->Count() != 0 || ARow != RowCount() - 1) IndexOutOfRange();
        String s = ACol == 0 ? Value : String();
        s.push_back(FStrings->NameValueSeparator());
        if (ACol == 1) s += Value;
        FStrings->Add(s);
        return;
    }
    if (ACol == 0) {
        SetKeys(ARow, Value);
        return;
    }
    String s = FStrings->Names(line);
    s.push_back(FStrings->NameValueSeparator());
    s += Value;
    FStrings->Put(line, s);
}

// Values are edited in place; keys and titles are not.
bool TValueListEditor::CanEditShow() {
    return TCustomDrawGrid::CanEditShow() && Col() == 1 && LineOf(Row()) >= 0;
}

String TValueListEditor::GetEditText(int ACol, int ARow) {
    String text = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TValueListEditor::SetEditText(int ACol, int ARow, const String& Value) {
    if (ACol == 1 && LineOf(ARow) >= 0 && Cells(ACol, ARow) != Value) SetCells(ACol, ARow, Value);
    TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}

void TValueListEditor::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing()) {
        TCanvas* canvas = Canvas();
        // The keys look like fixed cells unless they are highlighted.
        if (ACol == 0 && FDisplayOptions.Contains(doKeyColFixed) && !AState.Contains(gdFixed) &&
            canvas->Brush()->Color() == Color()) {
            canvas->Brush()->SetColor(FixedColor());
            canvas->FillRect(ARect);
        }
        canvas->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    }
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TValueListEditor::Resize() {
    AdjustColWidths();
    TCustomDrawGrid::Resize();
}

void TValueListEditor::ColWidthsChanged() {
    AdjustColWidths();
    TCustomDrawGrid::ColWidthsChanged();
}

// The value column takes what the key column leaves of the client area.
void TValueListEditor::AdjustColWidths() {
    if (!FDisplayOptions.Contains(doAutoColResize) || FAdjusting || ColCount() < 2) return;
    FAdjusting = true;
    int lines = GridLineWidth() * 2;
    int width = std::max(0, ClientWidth() - ColWidths(0) - lines);
    SetColWidths(1, width);
    FAdjusting = false;
}
