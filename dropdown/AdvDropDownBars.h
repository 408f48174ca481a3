#pragma once
// The pop-up's header and footer of unit AdvDropDown (which includes this header): the two
// appearance objects a drop-down edit owns and publishes, the bars the pop-up window makes from
// them, and the appearance of the bars' buttons.
//
// These are the bars' first shape: an appearance says whether its bar shows and how high it is
// (the pop-up's layout needs both), and a bar is a plain strip aligned to the top or the bottom
// of the pop-up that takes both from the drop-down each time the pop-up opens. Colours,
// captions, images, buttons and the footer's size grip come with the bars' own painting.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/rtl/Objects.h"
#include "platform/rtl/Persistent.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"

class TAdvCustomDropDown;

namespace advdropdown {
// The way a gradient of the unit runs (the gradient label has a direction type of its own).
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
}  // namespace advdropdown

// A bar's own background painting in place of its look.
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
// The caption a bar is about to show, which the handler may replace.
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;
// A button of the header or footer was clicked: ButtonIndex is its place in the collection.
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;

namespace advdropdown {

// What the header's and the footer's appearances share. Visible fires OnChange when it
// changes; Height changes silently. OnButtonsChanged passes on the changes of the bar's buttons.
class TBarAppearance : public TPersistent {
public:
    explicit TBarAppearance(TPersistent* AOwner) : FOwner(AOwner) {}
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    TPersistent* GetOwner() const override { return FOwner; }
    // Height, then Visible through its setter.
    void AssignBar(const TBarAppearance& Source);

private:
    TPersistent* FOwner;
    bool FVisible = true;
    int FHeight = 22;
};

}  // namespace advdropdown

// The header's settings. Assign copies only from another header appearance; any other source
// is ignored.
class THeaderAppearance : public advdropdown::TBarAppearance {
public:
    using TBarAppearance::TBarAppearance;
    const char* ClassName() const override { return "THeaderAppearance"; }
    void Assign(const TPersistent* Source) override;
};

// The footer's settings, as the header's.
class TFooterAppearance : public advdropdown::TBarAppearance {
public:
    using TBarAppearance::TBarAppearance;
    const char* ClassName() const override { return "TFooterAppearance"; }
    void Assign(const TPersistent* Source) override;
};

// The look of the header's and footer's buttons, shared by every button of a drop-down; it
// holds nothing yet. Assign takes another button appearance.
class TAdvButtonAppearance : public TPersistent {
public:
    TAdvButtonAppearance() = default;
    const char* ClassName() const override { return "TAdvButtonAppearance"; }
    void Assign(const TPersistent* Source) override;
    TNotifyEvent OnChange;
};

namespace advdropdown {

// A bar of the pop-up, linked to its drop-down while the pop-up is prepared. With
// OnDrawBackGround the handler paints the bar.
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
    // The buttons anew from the linked drop-down's items (none yet).
    void RebuildButtons() {}
    // The bar's appearance changed: its visibility and height follow it.
    void AppearanceChanged(TObject* Sender);

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The drop-down's appearance for this bar.
    virtual const TAppearance* LinkedAppearance() const = 0;

private:
    std::unique_ptr<TAppearance> FAppearance;
    TCustomImageList* FImages = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
};

}  // namespace advdropdown

// The header bar: aligned to the pop-up's top.
class TAdvHeader : public advdropdown::TPopupBar<THeaderAppearance> {
public:
    using TPopupBar::TPopupBar;
    const char* ClassName() const override { return "TAdvHeader"; }

protected:
    const THeaderAppearance* LinkedAppearance() const override;
};

// The footer bar: aligned to the pop-up's bottom.
class TAdvFooter : public advdropdown::TPopupBar<TFooterAppearance> {
public:
    using TPopupBar::TPopupBar;
    const char* ClassName() const override { return "TAdvFooter"; }

protected:
    const TFooterAppearance* LinkedAppearance() const override;
};
