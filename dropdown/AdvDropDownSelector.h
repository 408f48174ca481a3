#pragma once
// The item selector of unit AdvDropDown (which includes this header): the scrolling grid of
// items that the detail, colour and image pickers show in their pop-up. Each item is a colour
// box or an image with an HTML caption beside it; items share one size, fill rows of Columns
// items and show a hot and a selected state in the gradient colours of TItemAppearance. The
// wrapper TAdvCustomItemSelector scrolls and owns the items and settings; its panel
// TCustomItemSelector lays out, paints and hit-tests them and grows to their full extent.
#include <cstdint>
#include <functional>
#include <memory>

#include "dropdown/AdvDropDownBars.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

// The look of a selected item in the item pickers.
enum TSelectionColorStyle : uint8_t { scCustom, scOffice2007, scWindowsVista, scWindows7 };
// Where an item's caption stands beside its image.
enum TItemLayout : uint8_t { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };
// Items show an image, or a colour box.
enum TSelectorType : uint8_t { stImage, stColor };
// The common size of the items, which the handler sets whole.
using TItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;

namespace advdropdown {
// An item drawn by the host over its background (the list box has a drawing event of that name).
using TDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, int Index)>;
}  // namespace advdropdown

class TAdvCustomItemSelector;

// An item: Caption, Color and ImageIndex tell the collection when they change; a non-empty
// Image is drawn in place of ImageIndex. A disabled item is neither hot nor selected.
class TSelectorItem : public TCollectionItem {
public:
    explicit TSelectorItem(TCollection* Collection = nullptr);
    ~TSelectorItem() override;
    const char* ClassName() const override { return "TSelectorItem"; }
    void Assign(const TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TPicture* Image() const { return FImage.get(); }
    void SetImage(const TPicture* value) { FImage->Assign(value); }
    bool HasImage() const;
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    // In panel coordinates; four -1 until laid out.
    const TRect& ItemRect() const { return FItemRect; }
    void SetItemRect(const TRect& value) { FItemRect = value; }

private:
    String FCaption;
    TColor FColor = clNone;
    int FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
    String FHint;
    bool FEnabled = true;
    TRect FItemRect{-1, -1, -1, -1};
};

// The items; OnChange follows the items' own changes only: adding and deleting lay out nothing.
class TSelectorItems : public advdropdown::TNotifyingItems<TSelectorItem, false> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TSelectorItems"; }
};

// The hot and selected looks of the items. The colours are plain fields: changing one repaints
// nothing. SetColorStyle loads a style's preset; Assign copies the colours, then takes the
// source's style (whose preset then wins), then the text and the two state border colours.
class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TPersistent* AOwner);
    ~TItemAppearance() override;
    const char* ClassName() const override { return "TItemAppearance"; }
    void Assign(const TPersistent* Source) override;

    TColor BorderColor = clNone;
    TColor BorderColorTop = clNone;
    TColor BorderColorBottom = clNone;
    TColor BorderColorHot = clNone;
    TColor BorderColorSelected = clNone;
    TColor ColorHot = clNone;
    TColor ColorHotTo = clNone;
    TColor ColorHotText = clBlack;
    TColor ColorMirrorHot = clNone;
    TColor ColorMirrorHotTo = clNone;
    TColor ColorSelected = clNone;
    TColor ColorSelectedTo = clNone;
    TColor ColorMirrorSelected = clNone;
    TColor ColorMirrorSelectedTo = clNone;
    TColor ColorSelectedText = clBlack;
    TColor EdgeColor = clNone;

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // Nothing for the style it has; scCustom keeps the colours.
    void SetColorStyle(TSelectionColorStyle Style);
    // Fired by nothing here; the wrapper hooks it.
    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
    std::unique_ptr<TFont> FFont;
    TSelectionColorStyle FColorStyle = scCustom;
};

// The panel inside the wrapper: it must be made with a wrapper as owner ("Invalid parent"
// otherwise), which becomes its parent. It keeps a selected and a hot item (-1: none).
class TCustomItemSelector : public TCustomControl {
public:
    explicit TCustomItemSelector(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomItemSelector"; }

    // Ignores a disabled item and an index past the items; a new selection repaints the old
    // item and the new one and fires OnItemSelect, also for the same index again; -1 fires
    // nothing.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int ItemHot() const { return FItemHot; }
    // Ignored for the hot item and a disabled one.
    void SetItemHot(int value);
    void SelectFirst();
    void SelectLast();
    // From none the first; no wrap-around.
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // The first item whose plain, trimmed, upper-cased caption starts with s (given upper-case)
    // is selected (a disabled one stays unselected); true when one matched. An empty s matches
    // nothing.
    bool LookupItem(const String& s);
    // Four -1 for an invalid index.
    TRect GetItemRect(int Index) const;
    // Left and top edges inside, right and bottom outside; -1 for none.
    int ItemAtPos(int X, int Y) const;
    TAdvCustomItemSelector* AdvItemSelector() const { return FSelector; }
    void PaintItems();
    // The size of the laid-out content. The window covers only the part of it the wrapper
    // shows, and the content scrolls inside it: a window as large as a long list would hold an
    // image of that size.
    TSize ContentSize() const { return FContent; }
    // Where the shown part starts in the content: the wrapper's scroll positions.
    TPoint ScrollOffset() const;
    // The window's bounds follow the wrapper's client area, whatever is asked.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Read through the wrapper.
    int Columns() const;
    TSelectorItems* Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList* Images() const;
    int ColorBoxHeight() const;
    int ColorBoxWidth() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;

    TNotifyEvent OnItemSelect;

    // The virtual operations the panel adds, in slot order.
    virtual void DrawSelectorItem(int Index, TCanvas* Canvas);
    virtual void GetItemsArea(TRect& Rect);
    virtual void ComputeItemSize(TSize& Size);
    virtual void InvalidateSelectorItem(int Index);
    virtual void ArrangeItems();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    bool Disabled(int Index) const;
    HWND HandleOrNone() { return HandleAllocated() ? Handle() : nullptr; }

    int FItemIndex = -1;
    int FItemHot = -1;
    int FMarginX = 2, FMarginY = 2;
    int FItemMarginX = 4, FItemMarginY = 4;
    int FCaptionGap = 4;
    TAdvCustomItemSelector* FSelector;
    TSize FContent{100, 50};
};

// The scrolling wrapper: owns the items, the look and the panel, scrolls the panel's content
// (its bars' ranges are the content's size), and brings the selection into view. Arrow and all other keys reach it (WM_GETDLGCODE); the thumb scrolls
// as it is dragged.
class TAdvCustomItemSelector : public TScrollingWinControl {
public:
    explicit TAdvCustomItemSelector(TComponent* AOwner);
    ~TAdvCustomItemSelector() override;
    const char* ClassName() const override { return "TAdvCustomItemSelector"; }

    // Values of 0 or less are ignored.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    TSelectorItems* Items() const { return FItems.get(); }
    void SetItems(const TSelectorItems* value) { FItems->Assign(value); }
    int ItemIndex() const;
    void SetItemIndex(int value);
    int ItemHot() const;
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType value);
    // Stored only: the next layout and paint show it.
    TItemLayout ItemLayout() const { return FItemLayout; }
    void SetItemLayout(TItemLayout value) { FItemLayout = value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(const TItemAppearance* value) { FItemAppearance->Assign(value); }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value);
    TCustomItemSelector* SelectorPanel() const { return FPanel; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const String& s);
    void UpdateSelectorPanel();
    // The panel's content size, 100 x 50 without a panel.
    TSize GetSelectorSize() const;
    // Whole rows that fit, times Columns; 0 without items or when the first item has no height.
    int GetVisibleItemCount() const;
    // Brings the item into view with the vertical bar's Margin (only while that bar shows).
    void ScrollItemInView(int Index);

    TNotifyEvent OnItemSelect;
    advdropdown::TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void WMVScroll(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    virtual void CreateSelectorPanel();
    void ItemSelected(TObject* Sender);

private:
    int FColumns = 1;
    std::unique_ptr<TSelectorItems> FItems;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    int FColorBoxHeight = 14;
    int FColorBoxWidth = 14;
    TCustomItemSelector* FPanel = nullptr;

    friend class TCustomItemSelector;
    // The panel's content has a new size: the bars' ranges follow it.
    void ContentResized();
};
