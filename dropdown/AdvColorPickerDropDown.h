#pragma once
// Unit AdvColorPickerDropDown: the colour panels of the colour picker's pop-up.
//
// TAdvCustomColorSelectorPanel is their common base. TCustomColorSelector is a compact grid of
// captionless colour boxes in rows of Columns, with a hot and a selected box outlined in the
// colours of a TColorBoxAppearance; AddDiscreteColors fills it with the fixed 60-colour palette
// (a row of separate boxes over ten five-box column strips).
#include <cstdint>
#include <memory>

#include "dropdown/AdvDropDown.h"
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
