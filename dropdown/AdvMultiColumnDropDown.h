#pragma once
// Unit AdvMultiColumnDropDown: an editable drop-down whose pop-up shows a table (Items, one text
// per column of Columns, a header row, optional images) in its own grid, TAdvColGrid. The edit's
// value is the LookupColumn text of the chosen row; typing in the edit completes it from the
// lookup list (the LookupColumn texts as of the last EndUpdate or Loaded), typing in the grid
// searches the same column.
//
// The column and item classes and the grid are defined again by the grid's multi-column editor,
// so they live in namespace advmulticolumndropdown with the events of that name.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "dropdown/AdvDropDown.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Grids.h"

class TAdvMultiColumnDropDown;

namespace advmulticolumndropdown {

enum TColumnType : uint8_t { ctText, ctImage };

// Replaces the drawing of a grid cell.
using TDrawCellEvent = std::function<void(TObject* Sender, int Column, int Row, TCanvas* ACanvas, TRect ARect)>;
// May change a cell's text before it is drawn.
using TGetCellTextEvent = std::function<void(TObject* Sender, int Column, int Row, String& Text)>;
using TGetCellPropEvent =
    std::function<void(TObject* Sender, int Column, int Row, TFont* Font, TColor& AColor, TColor& AColorTo)>;

// A column of the table. No setter notifies anything.
class TDropDownColumn : public TCollectionItem {
public:
    explicit TDropDownColumn(TCollection* Collection = nullptr);
    ~TDropDownColumn() override;
    const char* ClassName() const override { return "TDropDownColumn"; }
    void Assign(const TPersistent* Source) override;

    bool Wordwrap = false;
    // Pixels; the relative weight when the columns are fitted to the pop-up.
    int Width = 80;
    // Sized to the widest cell when the pop-up opens.
    bool AutoSize = false;
    String Header;
    TAlignment Alignment = taLeftJustify;
    TColor Color = clWhite;
    TColumnType ColumnType = ctText;
    bool Ellipsis = false;
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }

private:
    std::unique_ptr<TFont> FFont;
};

class TDropDownColumns : public advdropdown::TNotifyingItems<TDropDownColumn, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TDropDownColumns"; }
};

// A row: its texts in column order and the image of its ctImage columns.
class TDropDownItem : public TCollectionItem {
public:
    explicit TDropDownItem(TCollection* Collection = nullptr);
    ~TDropDownItem() override;
    const char* ClassName() const override { return "TDropDownItem"; }
    // ImageIndex only.
    void Assign(const TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    TStringList* Text() const { return FText.get(); }
    void SetText(const TStrings* value) { FText->Assign(value); }
    // The text at a column; none where the row has none (a negative column too).
    std::optional<String> TextAt(int Column) const;

private:
    int FImageIndex = -1;
    std::unique_ptr<TStringList> FText;
};

class TDropDownItems : public advdropdown::TNotifyingItems<TDropDownItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TDropDownItems"; }
    // The first item whose text at Column equals Value exactly; -1 for none.
    int IndexInColumn(int Column, const String& Value) const;
};

// The table in the pop-up: a string grid with one fixed header row whose cells it draws from its
// drop-down's Items (its own cells stay empty), sized from the drop-down's Columns. A row reached
// by a key or a mouse press is a confirmed choice, one reached by the wheel is not.
class TAdvColGrid : public TStringGrid {
public:
    explicit TAdvColGrid(TComponent* AOwner);
    ~TAdvColGrid() override;
    const char* ClassName() const override { return "TAdvColGrid"; }

    TAdvMultiColumnDropDown* DropDown() const { return FAdvDropDown; }
    void SetDropDown(TAdvMultiColumnDropDown* value) { FAdvDropDown = value; }
    // Columns, counts, widths, colours and heights from the drop-down, then the auto sizes.
    void LoadFromDropDown(TAdvMultiColumnDropDown* ADropDown);
    // The columns' widths, and the vertical bar's while not every row shows.
    int GetTotalWidth();
    // The cell's rectangle with the column's width and the row's height.
    TRect GetCellBounds(int ACol, int ARow) const;
    void AutoSizeColumns();
    void AutoSizeColumn(int i);
    void SizeWrappedRows();

    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(const TDropDownColumns* value) { FColumns->Assign(value); }
    TColor HeaderColor = clWhite;
    TColor HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080;
    TColor FixedLineColor = clNone;
    int HeaderHeight = 25;
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* value) { FHeaderFont->Assign(value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // The width of the lines this grid draws; the platform grid draws none of its own.
    int LineWidth() const { return FGridLineWidth; }
    void SetLineWidth(int value);
    // The current row was reached by a key or a mouse press (not by the wheel).
    bool ConfirmSelection() const { return FConfirmSelection; }
    // The wheel is moving the row.
    bool MouseWheelSelection() const { return FMouseWheelSelection; }

    // Enter, or a release on a data row.
    TNotifyEvent OnSelect;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    virtual void DoSelect();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) override;
    void Dispatch(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;

private:
    bool InPopup() const;
    template <class F>
    bool Wheel(F&& inherited);

    TAdvMultiColumnDropDown* FAdvDropDown = nullptr;
    std::unique_ptr<TDropDownColumns> FColumns;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TFont> FHeaderFont;
    int FGridLineWidth = 1;
    int FOldRow = 0;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

}  // namespace advmulticolumndropdown

class TAdvMultiColumnDropDown : public TAdvCustomDropDown {
public:
    using TDropDownColumns = advmulticolumndropdown::TDropDownColumns;
    using TDropDownItems = advmulticolumndropdown::TDropDownItems;
    using TAdvColGrid = advmulticolumndropdown::TAdvColGrid;
    // Page Up and Page Down in the edit move the selection by this many items.
    static constexpr int kPageStep = 10;

    explicit TAdvMultiColumnDropDown(TComponent* AOwner);
    ~TAdvMultiColumnDropDown() override;
    const char* ClassName() const override { return "TAdvMultiColumnDropDown"; }
    void Assign(const TPersistent* Source) override;
    void Loaded() override;

    // Does nothing; EndUpdate rebuilds the lookup list.
    void BeginUpdate() {}
    void EndUpdate() { RebuildLookupItems(); }
    // The first item whose LookupColumn text equals value exactly; -1 for none.
    int GetItemIndex(const String& value) const;

    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(const TDropDownColumns* value) { FColumns->Assign(value); }
    TDropDownItems* Items() const { return FItems.get(); }
    void SetItems(const TDropDownItems* value) { FItems->Assign(value); }
    int RowCount() const { return FItems->Count(); }
    // Ignored at or past the item count; otherwise stored (a negative one too) and the row's
    // LookupColumn text written through Text (empty for none). No event, the grid untouched.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(int value) { FLookupColumn = value; }
    // The grid's type-ahead compares with case.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool value) { FDropDownAutoWidth = value; }
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int value) { FDropDownRowHeight = value; }
    bool ColumnSizing() const { return FColumnSizing; }
    void SetColumnSizing(bool value) { FColumnSizing = value; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool value) { FColumnSizeWithDropDown = value; }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor value) { FLineColor = value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor value) { FFixedLineColor = value; }
    // clNone in either gives a solid header.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor value) { FHeaderColor = value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor value) { FHeaderColorTo = value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int value) { FHeaderHeight = value; }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* value) { FHeaderFont->Assign(value); }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor value) { FSelectionTextColor = value; }
    // This class's own: Enter in the edit moves on as Tab does.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    // Auto-complete in the edit compares with case.
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool value) { FMatchCase = value; }
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool value) { FMatchStart = value; }
    // The grid in the pop-up (none at design time).
    TAdvColGrid* Grid() const { return FAdvColGrid; }
    // The lookup list: one entry per item as of the last EndUpdate or Loaded.
    TStringList* LookupItems() const { return FLookupItems.get(); }
    // The text typed into the grid so far.
    const String& LookupEntry() const { return FLookupEntry; }

    // Fits the column widths to the pop-up's width (ColumnSizeWithDropDown).
    void FitColumnWidths();
    // The typed character searches the lookup column: the 0-based row found, or -1.
    int LookupTypedChar(char16_t ch);
    // The first row whose LookupColumn text starts with s (case by CaseSensitive); -1 for none.
    int FindLookupMatch(const String& s, String& text) const;

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TQRBStyle AStyle) override;

    TNotifyEvent OnSelect;
    advmulticolumndropdown::TDrawCellEvent OnDropDownDrawItem;
    advmulticolumndropdown::TGetCellPropEvent OnDropDownGetItemProp;
    advmulticolumndropdown::TGetCellTextEvent OnDropDownGetItemText;

protected:
    void AfterConstruction() override;
    void BuildPopup() override;
    void PreparePopup() override;
    void OpenPopup() override;
    void DockPopupControl() override;
    void SizePopup() override;
    void ClosePopup(bool Cancelled) override;
    void ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyPress(TObject* Sender, char16_t& Key) override;
    void PopupSizing(TObject* Sender) override;
    void WheelSelectNext() override;
    void WheelSelectPrevious() override;
    void HandleChange() override;
    void HandleKeyDown(WORD& Key, TShiftState Shift) override;
    void HandleKeyPress(char16_t& Key) override;
    void HandleKeyUp(WORD& Key, TShiftState Shift) override;
    void KeyDownMessage(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void GridSelect(TObject* Sender);
    void RebuildLookupItems();

private:
    // The item's LookupColumn text; none where it has none.
    std::optional<String> LookupText(int index) const;
    // Writes the text through Text without completing it.
    void WriteText(const String& value);
    void StepDown();
    void StepUp();

    bool FShowing = false;
    bool FColumnSizing = false;
    int FLookupColumn = 0;
    TColor FHeaderColorTo = 0x808080;
    TColor FHeaderColor = clWhite;
    TColor FLineColor = 0xC0C0C0;
    std::unique_ptr<TDropDownItems> FItems;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FItemIndex = -1;
    int FHeaderHeight = 25;
    std::unique_ptr<TFont> FHeaderFont;
    TAdvColGrid* FAdvColGrid = nullptr;
    TColor FFixedLineColor = clNone;
    bool FWorkMode = true;
    // What the text is compared with for Modified: never assigned, so any text marks it.
    String FOldValue;
    bool FReturnIsTab = false;
    std::unique_ptr<TStringList> FLookupItems;
    bool FMatchCase = false;
    bool FMatchStart = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    int FOldItemIndex = -1;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
    TColor FSelectionTextColor = 0;
    int FDropDownRowHeight = 22;
    String FLookupEntry;
    bool FCaseSensitive = false;
    // While the drop-down writes the text itself: the change is not completed.
    bool FWriting = false;
};
