#pragma once
// The pop-up's header and footer of unit AdvDropDown (which includes this header): the two
// appearance objects a drop-down edit owns and publishes, their button items, and the bars the
// pop-up window makes from them. A bar paints a gradient, a frame, an image and an HTML caption,
// and carries a row of gradient buttons (AdvDropDownGradientButton.h) made from its items; the
// footer adds the size grip with which the user drags the pop-up larger.
#include <cstdint>
#include <functional>
#include <memory>

#include "dropdown/AdvDropDownGradientButton.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/Persistent.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"

class TAdvCustomDropDown;

// A bar's own background painting in place of its look.
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
// The caption a bar is about to show, which the handler may replace.
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;
// A button of the header or footer was clicked: ButtonIndex is its place in the collection.
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
// The side from which a bar places its buttons.
enum TButtonAlignment : uint8_t { baLeft, baRight };

// ---------------------------------------------------------------------------------------------
// Button items

// A header button item. Caption, Enabled and Width tell the collection when they change;
// Height and ImageIndex change silently. Width or Height 0: sized to the content.
class THeaderButton : public TCollectionItem {
public:
    explicit THeaderButton(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}
    const char* ClassName() const override { return "THeaderButton"; }
    // From another button item; any other source is refused as unsupported.
    void Assign(const TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FWidth = 0;
    int FHeight = 0;
};

// A footer button item: a header item with the modal result its button passes on.
class TFooterButton : public THeaderButton {
public:
    using THeaderButton::THeaderButton;
    const char* ClassName() const override { return "TFooterButton"; }
    void Assign(const TPersistent* Source) override;
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }

private:
    TModalResult FModalResult = mrNone;
};

namespace advdropdown {

// A collection of items that tell of their changes: OnChange (Sender: the collection) follows
// each change an item tells of and, with Whole, the collection's own (adding, deleting, an
// assignment) as well.
template <class TItem, bool Whole>
class TNotifyingItems : public TCollection {
public:
    explicit TNotifyingItems(TPersistent* AOwner) : TCollection(&CollectionItemOf<TItem>, AOwner) {}
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Insert(int Index) { return static_cast<TItem*>(TCollection::Insert(Index)); }
    TItem* Items(int Index) const { return static_cast<TItem*>(TCollection::Items(Index)); }
    void SetItems(int Index, TItem* Value) { SetItem(Index, Value); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override {
        if (OnChange && (Whole || Item)) OnChange(this);
    }
};

}  // namespace advdropdown

class THeaderButtons : public advdropdown::TNotifyingItems<THeaderButton, true> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "THeaderButtons"; }
};

class TFooterButtons : public advdropdown::TNotifyingItems<TFooterButton, true> {
public:
    using TNotifyingItems::TNotifyingItems;
    const char* ClassName() const override { return "TFooterButtons"; }
};

// ---------------------------------------------------------------------------------------------
// Appearances

namespace advdropdown {

// What the header's and the footer's appearances share. Visible fires OnChange when it
// changes; everything else is stored silently. OnButtonsChanged passes on the changes of the
// bar's button items.
class TBarAppearance : public TPersistent {
public:
    explicit TBarAppearance(TPersistent* AOwner);
    ~TBarAppearance() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // clNone: Color solid.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { FColorTo = value; }
    // HTML-formatted.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value) { FGradientDirection = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }
    // clNone or a width of 0: no frame.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value) { FBorderWidth = value; }
    // An image of the drop-down's Images left of the caption.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment value) { FButtonAlignment = value; }
    // The items, as the bars read them.
    virtual TCollection* ButtonItems() const = 0;

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    TPersistent* GetOwner() const override { return FOwner; }
    // Everything Assign copies, Visible through its setter.
    void AssignBar(const TBarAppearance& Source);
    // The colours, the font and the direction.
    void AssignBarColors(const TBarAppearance& Source);
    void ButtonsChanged(TObject*);

private:
    TPersistent* FOwner;
    TColor FColor = static_cast<TColor>(0xC0C0C0);
    TColor FColorTo = clWhite;
    String FCaption;
    std::unique_ptr<TFont> FFont;
    TGradientDirection FGradientDirection = gdVertical;
    bool FVisible = true;
    int FHeight = 22;
    TColor FBorderColor = clBlack;
    int FBorderWidth = 1;
    int FImageIndex = -1;
    TButtonAlignment FButtonAlignment = baRight;
};

}  // namespace advdropdown

// The header's settings: the caption font is "Tahoma". Assign and AssignColors copy only from
// another header appearance; any other source is ignored.
class THeaderAppearance : public advdropdown::TBarAppearance {
public:
    explicit THeaderAppearance(TPersistent* AOwner);
    const char* ClassName() const override { return "THeaderAppearance"; }
    void Assign(const TPersistent* Source) override;
    void AssignColors(const TPersistent* Source);
    THeaderButtons* Buttons() const { return FButtons.get(); }
    void SetButtons(const THeaderButtons* value) { FButtons->Assign(value); }
    TCollection* ButtonItems() const override { return FButtons.get(); }

private:
    std::unique_ptr<THeaderButtons> FButtons;
};

// The footer's settings, as the header's with the platform's default font, and the size grip.
class TFooterAppearance : public advdropdown::TBarAppearance {
public:
    explicit TFooterAppearance(TPersistent* AOwner);
    const char* ClassName() const override { return "TFooterAppearance"; }
    void Assign(const TPersistent* Source) override;
    void AssignColors(const TPersistent* Source);
    TFooterButtons* Buttons() const { return FButtons.get(); }
    void SetButtons(const TFooterButtons* value) { FButtons->Assign(value); }
    TCollection* ButtonItems() const override { return FButtons.get(); }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value) { FSizeGrip = value; }

private:
    std::unique_ptr<TFooterButtons> FButtons;
    bool FSizeGrip = true;
};

// ---------------------------------------------------------------------------------------------
// The bars

namespace advdropdown {

// A bar of the pop-up, linked to its drop-down while the pop-up is prepared; it keeps its own
// copy of the drop-down's appearance for it. With OnDrawBackGround the handler alone paints.
template <class TAppearance>
class TPopupBar : public TCustomControl {
public:
    explicit TPopupBar(TComponent* AOwner);
    ~TPopupBar() override;

    TAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(const TAppearance* value) { FAppearance->Assign(value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    // Links the bar to a drop-down: takes its images and its appearance for this bar. Without
    // one the images go.
    void SetAdvDropDown(TAdvCustomDropDown* value);
    // The buttons anew from the linked drop-down's items.
    void RebuildButtons();
    // The bar's appearance changed: its visibility and height follow it.
    void AppearanceChanged(TObject* Sender);
    // The buttons made, in creation order (TAdvButton*).
    TDbgList* ButtonList() const { return FButtonList.get(); }
    // The rectangle the buttons stand in, and its height.
    TRect ButtonArea() const;
    int ButtonAreaHeight() const { return ButtonArea().Height(); }
    // Four -1 without buttons; else ButtonArea reaching to 2 pixels left of the last button.
    TRect CaptionLimit() const;
    // The OnClick of every button made: the drop-down's item click with its index.
    void ButtonClick(TObject* Sender);

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

    // The virtual operations the bars add, in slot order.
    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;
    // What the header and the footer do differently.
    virtual const TAppearance* LinkedAppearance() const = 0;
    virtual TDropDownButtonItemClick ItemClick() const = 0;
    // The client rectangle inset by the bar's margins.
    virtual TRect InsetArea(TRect client) const = 0;
    // The frame's lines along the pop-up's inside edge, then the outer ones, then the light
    // rectangle.
    virtual void DrawFrame(TCanvas* canvas, const TRect& R, bool outer) const = 0;
    // A button just made from item Index (the footer links it to the drop-down).
    virtual void ButtonMade(TAdvButton* button, int Index) { (void)button, (void)Index; }
    // After the caption (the footer's grip).
    virtual void PaintLast(const TRect& R) { (void)R; }

private:
    std::unique_ptr<TAppearance> FAppearance;
    TCustomImageList* FImages = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    std::unique_ptr<TDbgList> FButtonList;
};

}  // namespace advdropdown

// The header bar: aligned to the pop-up's top; its buttons stand 2 pixels from the left, top
// and right and 3 from the bottom.
class TAdvHeader : public advdropdown::TPopupBar<THeaderAppearance> {
public:
    using TPopupBar::TPopupBar;
    const char* ClassName() const override { return "TAdvHeader"; }
    THeaderButtons* Buttons() const;

protected:
    const THeaderAppearance* LinkedAppearance() const override;
    TDropDownButtonItemClick ItemClick() const override;
    TRect InsetArea(TRect client) const override;
    void DrawFrame(TCanvas* canvas, const TRect& R, bool outer) const override;
};

// The footer bar: aligned to the pop-up's bottom, its buttons 2 pixels from every edge, and,
// while the grip is active, 12 more from the right, where the grip is drawn and a left press
// starts the pop-up's sizing loop.
class TAdvFooter : public advdropdown::TPopupBar<TFooterAppearance> {
public:
    explicit TAdvFooter(TComponent* AOwner);
    const char* ClassName() const override { return "TAdvFooter"; }
    TFooterButtons* Buttons() const;
    // SizeGrip, a linked drop-down, and that one's DropDownSizeable.
    bool SizeGripActive() const;
    // Six 2 x 2 dots in a triangle at G's bottom right: white, then BorderColor up-left of each.
    void DrawSizeGrip(const TRect& G);

protected:
    const TFooterAppearance* LinkedAppearance() const override;
    TDropDownButtonItemClick ItemClick() const override;
    TRect InsetArea(TRect client) const override;
    void DrawFrame(TCanvas* canvas, const TRect& R, bool outer) const override;
    void ButtonMade(TAdvButton* button, int Index) override;
    void PaintLast(const TRect& R) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    bool InGripZone(int X, int Y) const;
    void RestoreCursor();

    // The screen cursor to put back after the grip's.
    TCursor FCursor = crDefault;
};
