#pragma once
// Unit AdvColorPickerDropDown: the colour panels of the colour picker's pop-up.
//
// TAdvCustomColorSelectorPanel is their common base. TCustomColorSelector is a compact grid of
// captionless colour boxes in rows of Columns, with a hot and a selected box outlined in the
// colours of a TColorBoxAppearance; AddDiscreteColors fills it with the fixed 60-colour palette
// (a row of separate boxes over ten five-box column strips).
//
// TAdvColorPickerDropDown is a non-typeable drop-down whose value is a colour (SelectedColor),
// picked in the pop-up from a list of named colours (csList, the item selector) or the boxes
// (csDiscrete), and shown in the edit as a colour box and a text (SelectedColorText).
#include <cstdint>
#include <memory>

#include "dropdown/AdvDropDown.h"
#include "dropdown/AdvDetailDropDown.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"

// The base of the picker's colour panels. OnShouldHide is fired by the cube and the spectrum
// when the mouse button is released over them.
class TAdvCustomColorSelectorPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    const char* ClassName() const override { return "TAdvCustomColorSelectorPanel"; }

    TNotifyEvent OnShouldHide;
};

// The outlines of the boxes; nothing fires OnChange and no change repaints by itself.
class TColorBoxAppearance : public TPersistent {
public:
    const char* ClassName() const override { return "TColorBoxAppearance"; }
    void Assign(const TPersistent* Source) override;

    TColor BorderColor = static_cast<TColor>(0xC5C5C5);
    TColor OuterBorderColorHot = static_cast<TColor>(0x3694F2);
    TColor InnerBorderColorHot = static_cast<TColor>(0x94E2FF);
    TColor OuterBorderColorSelected = static_cast<TColor>(0x0000FF);
    TColor InnerBorderColorSelected = static_cast<TColor>(0x94E2FF);
    TNotifyEvent OnChange;
};

// Which sides of a box that is neither hot nor selected are outlined, so that stacked boxes form
// one column strip.
enum TItemPos : uint8_t { ipStandAlone, ipTop, ipMiddle, ipBottom };

// A box. A new Color tells the collection; a disabled box is neither hot nor selected.
class TColorBoxItem : public TCollectionItem {
public:
    explicit TColorBoxItem(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}
    const char* ClassName() const override { return "TColorBoxItem"; }
    // Color and Enabled.
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TItemPos ColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos value) { FColorBoxPos = value; }
    // In control coordinates, written by ArrangeItems; four -1 until then.
    const TRect& ItemRect() const { return FRect; }
    void SetItemRect(const TRect& value) { FRect = value; }

private:
    TColor FColor = clNone;
    bool FEnabled = true;
    TRect FRect{-1, -1, -1, -1};
    TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public advdropdown::TNotifyingItems<TColorBoxItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TColorBoxItems"; }
};

class TCustomColorSelector : public TAdvCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(TComponent* AOwner);
    ~TCustomColorSelector() override;
    const char* ClassName() const override { return "TCustomColorSelector"; }

    // An index of a disabled box or at or past the boxes is ignored. A box (also the selected
    // one again) takes SelectedColor from it, is drawn at once and fires OnItemSelect.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Index);
    int ItemHot() const { return FItemHot; }
    // Ignored for the hot box and a disabled one.
    void SetItemHot(int Index);
    // Selects the first box of that colour, or none (clNone and a colour on no box clear it).
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);

    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value);
    TColorBoxAppearance* ColorBoxAppearance() const { return FColorBoxAppearance.get(); }
    void SetColorBoxAppearance(const TColorBoxAppearance* value) { FColorBoxAppearance->Assign(value); }
    TColorBoxItems* Items() const { return FItems.get(); }
    void SetItems(const TColorBoxItems* value) { FItems->Assign(value); }
    // Styles other than scCustom load the one preset of outline colours; scCustom keeps them.
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle value);

    // No wrap-around; from none SelectNext takes box 0 and SelectPrevious does nothing.
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // The picker's edit keys (Page Up .. Down only; nothing while disabled). Left and Right
    // belong to a typeable edit while the pop-up is closed; Up and Down move by a row while open.
    void HandleSelectorKey(WORD Key, bool EditorEnabled, bool DroppedDown);
    // Clears the boxes and adds the 60-colour palette.
    void AddDiscreteColors();
    // Four -1 for an invalid index.
    TRect GetItemRect(int Index) const;
    // Right and bottom edges outside; -1 for none.
    int ItemAtPos(int X, int Y) const;
    void PaintItems();

    TNotifyEvent OnItemSelect;

    // The virtual operations the selector adds, in slot order.
    virtual void DrawSelectorItem(int Index, TCanvas* Canvas);
    virtual void GetItemsArea(TRect& Rect);
    virtual void ComputeItemSize(TSize& Size);
    // Lays out the boxes and sizes the control to them (100 x 50 without boxes).
    virtual void ArrangeItems();
    virtual void InvalidateSelectorItem(int Index);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    bool Disabled(int Index) const;
    void DrawAtOnce(int Index);

    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 4, FOffSetY = 4;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12, FColorBoxWidth = 12;
    std::unique_ptr<TColorBoxAppearance> FColorBoxAppearance;
    std::unique_ptr<TColorBoxItems> FItems;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TColor FSelectedColor = clNone;
};

// ---------------------------------------------------------------------------------------------
// The colour cube: 127 hexagonal cells (numbered 1..127 row by row) in a hexagon of 13 rows.

class TAdvColorCubePanel : public TAdvCustomColorSelectorPanel {
public:
    static constexpr int kCells = 127;
    struct TCubeCell {
        int X = 0, Y = 0;
        TColor Color = clNone;
    };

    explicit TAdvColorCubePanel(TComponent* AOwner);
    const char* ClassName() const override { return "TAdvColorCubePanel"; }

    TColor SelectedColor() const { return FSelectedColor; }
    // Selects the first cell of that colour, or none; no repaint.
    void SetSelectedColor(TColor Value) { SelectCubeColor(Value, -1); }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool value);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    const TCubeCell& Cell(int i) const { return FCubeCells[i - 1]; }

    // The cells' centres and colours.
    void InitCubeCells();
    // No hot cell; 182 x 160.
    void ResetCubePanel();
    // Index 1..127 selects that cell; anything else the first cell of the colour, or none.
    void SelectCubeColor(TColor AColor, int Index);
    // The first cell whose centre lies within 6 pixels of the point; -1 for none.
    int CellAtPos(int X, int Y) const;

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawCubeCell(int i);
    void DrawOutline(int i, TColor outer);

    TCubeCell FCubeCells[kCells];
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = true;
};

// ---------------------------------------------------------------------------------------------
// The colour picker drop-down

// A named colour of the list. Caption and Color tell the collection when they change.
class TColorItem : public TCollectionItem {
public:
    explicit TColorItem(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}
    const char* ClassName() const override { return "TColorItem"; }
    void Assign(const TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Enabled() const { return FEnabled; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }

private:
    String FCaption;
    TColor FColor = clNone;
    bool FEnabled = true;
    String FHint;
};

class TColorItems : public advdropdown::TNotifyingItems<TColorItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TColorItems"; }
};

enum TColorSelectionStyle : uint8_t { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText : uint8_t { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
    static constexpr UINT kKeyTimeoutMs = 500;

    explicit TAdvColorPickerDropDown(TComponent* AOwner);
    ~TAdvColorPickerDropDown() override;
    const char* ClassName() const override { return "TAdvColorPickerDropDown"; }

    TColorItems* Colors() const { return FColors.get(); }
    void SetColors(const TColorItems* value) { FColors->Assign(value); }
    // At or past Colors.Count ignored; anything else (-1 and the same index too) is stored,
    // repaints and fires OnSelect; an item's colour becomes SelectedColor.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // Selects the first item of that colour, or none (ItemIndex -1) when no item has it.
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    String SelectedColorText() { return GetSelectedColorText(); }
    // Sixteen named colours appended, "Black" to "White".
    void AddDefaultColors();

    int Columns() const { return FColumns; }
    void SetColumns(int value) { FColumns = value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout value) { FLayout = value; }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value) { FColorBoxWidth = value; }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value) { FColorBoxHeight = value; }
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(const TItemAppearance* value) { FItemAppearance->Assign(value); }
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    // Forgets the pop-up's remembered size, so that the next opening fits the new control.
    void SetColorSelectionStyle(TColorSelectionStyle Value);
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText value) { FColorValueText = value; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);

    // The pop-up's controls (none before they are needed).
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TAdvColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TQRBStyle AStyle) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedColor;
    advdropdown::TDrawItemEvent OnDrawColor;

    // The caption of the list's item (csList), else the colour in the ColorValueText form.
    virtual String GetSelectedColorText();

protected:
    void AfterConstruction() override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BuildPopup() override;
    void PreparePopup() override;
    void DockPopupControl() override;
    void SizePopup() override;
    void ClosePopup(bool Cancelled) override;
    void PopupDestroyed(TObject* Sender) override;
    void Paint() override;

    void BuildItemSelector();
    void BuildColorSelector();
    void BuildCubePanel();
    void CubeSelected(TObject* Sender);
    void LoadItemSelector();
    void ListItemSelected(TObject* Sender);
    void ColorBoxSelected(TObject* Sender);
    void PaintSelectedColor();

private:
    // The pop-up control of the current style, or none.
    TControl* StyleControl() const;

    TAdvCustomItemSelector* FItemSelector = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    TAdvColorCubePanel* FColorCubePanel = nullptr;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TColorItems> FColors;
    int FItemIndex = -1;
    int FColorBoxWidth = 14, FColorBoxHeight = 14;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
    TColorValueText FColorValueText = cvtNone;
};
