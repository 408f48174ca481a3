#pragma once
// The ComCtrls unit. Drawn by the library, here: the page control with its sheets, the status
// bar with its panels, the tool bar with its buttons, and the image list the tool bar takes its
// images from (ImgList.h). Native: the track bar and the up-down (ComCtrlsNative.h). Date and time
// entry: the date-time picker and the month calendar (ComCtrlsDateTime.h). The rich edit
// (ComCtrlsRich.h).
#include <memory>
#include <vector>

#include "platform/ui/ComCtrlsDateTime.h"
#include "platform/ui/ComCtrlsNative.h"
#include "platform/ui/ComCtrlsRich.h"
#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/ImgList.h"

// ---------------------------------------------------------------------------------------------
class TPageControl;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    const char* ClassName() const override { return "TTabSheet"; }
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    // Position among the page control's pages.
    int PageIndex() const;
    void SetPageIndex(int value);
    // A hidden tab cannot be clicked or reached with Ctrl+Tab.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    // Index among the visible tabs, -1 when the tab is hidden.
    int TabIndex() const;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    void SetParent(TWinControl* AParent) override;

protected:
    void Dispatch(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    const char* ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    // Setting the page by program fires neither OnChanging nor OnChange, as on the platform;
    // a tab click and Ctrl+Tab fire both.
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
    void SetActivePageIndex(int Index);
    // The next (or previous) page with a visible tab, wrapping; OnChanging may refuse it.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;

    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // 0: from the caption's text.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value) { FImages = value; Invalidate(); }

    // The tab of a page in client coordinates (empty when hidden), and the page under a point.
    TRect TabRect(int PageIndex);
    TTabSheet* PageAt(const TPoint& P);
    // Where the sheets sit.
    TRect DisplayRect();
    int RowCount();

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    virtual bool CanChange();
    virtual void Change();
    void ChangeActivePage(TTabSheet* Page);
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void Layout();
    void PlaceSheets();
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    bool FMultiLine = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TCustomImageList* FImages = nullptr;
    std::vector<TRect> FTabRects;  // by page, empty for hidden tabs
    int FRows = 1;
    bool FLayoutValid = false;
};

// ---------------------------------------------------------------------------------------------
class TStatusBar;
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* owner) : FOwner(owner) {}
    int Index() const;
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    const String& Text() const { return FText; }
    void SetText(const String& value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);

private:
    void Changed();
    TStatusBar* FOwner;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    String FText;
    TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* owner) : FOwner(owner) {}
    TStatusPanel* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    TStatusPanel* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
    TStatusPanel* operator[](int Index) const { return Items(Index); }
    void Delete(int Index);
    void Clear();
    int IndexOf(const TStatusPanel* panel) const;
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate();

private:
    friend class TStatusPanel;
    void Changed();
    TStatusBar* FOwner;
    std::vector<std::unique_ptr<TStatusPanel>> FItems;
    int FUpdating = 0;
};

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    const char* ClassName() const override { return "TStatusBar"; }
    TStatusPanels* Panels() { return &FPanels; }
    // One text across the whole bar instead of the panels.
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const String& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // A panel's area in client coordinates; the last panel reaches the right edge.
    TRect PanelRect(int Index) const;
    // Where a panel's text is drawn (after the last paint).
    TRect PanelTextRect(int Index);

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TStatusPanels FPanels{this};
    bool FSimplePanel = false;
    String FSimpleText;
    bool FSizeGrip = true;
};

// ---------------------------------------------------------------------------------------------
class TToolBar;
enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    const char* ClassName() const override { return "TToolButton"; }
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle value);
    // A tbsCheck button stays down after a click until clicked again.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    // Adjacent grouped check buttons: at most one is down.
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool value) { FGrouped = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TToolBar* ToolBar() const;
    void SetParent(TWinControl* AParent) override;
    void Click() override;
    bool Pressed() const { return FPressed; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FGrouped = false;
    int FImageIndex = -1;
    bool FPressed = false;
    bool FDragging = false;
    bool FHot = false;
};

class TToolBar : public TCustomControl {
public:
    explicit TToolBar(TComponent* AOwner);
    const char* ClassName() const override { return "TToolBar"; }
    int ButtonCount() const;
    TToolButton* Buttons(int Index) const;
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Places the buttons left to right in the order they were added.
    void ArrangeButtons();

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    TCustomImageList* FImages = nullptr;
    bool FShowCaptions = false;
    bool FFlat = false;
};
