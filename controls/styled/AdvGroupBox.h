#pragma once
// The styled group box: a frame of its own (none, single or double; plain or etched; square or
// rounded) in a chosen colour, the caption at one of six places on the top or bottom edge with
// an optional image and a caption check box that enables, disables or checks the controls
// inside, and the parent's background painted through it.
#include <functional>
#include <memory>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"

namespace AdvGroupBox {
// Here rather than global: the forms' border style has bsNone and bsSingle too.
enum TBorderStyle { bsNone, bsSingle, bsDouble };
enum TCaptionPosition { cpTopLeft, cpTopRight, cpTopCenter, cpBottomLeft, cpBottomRight, cpBottomCenter };
// The check box before (cpLeft) or after (cpRight) the caption.
enum TCheckBoxPos { cpLeft, cpRight };
enum TCheckBoxAction { caNone, caDisable, caCheckAll };
}  // namespace AdvGroupBox

class TAdvCustomGroupBox;

// The caption check box's settings, owned by its group box.
class TGroupBoxCheck : public TPersistent {
public:
    explicit TGroupBoxCheck(TAdvCustomGroupBox* AGroupBox) : FGroupBox(AGroupBox) {}
    const char* ClassName() const override { return "TGroupBoxCheck"; }
    // From another check box: everything but Visible.
    void Assign(const TPersistent* Source) override;

    bool Checked() const { return FState == cbChecked; }
    // Changes State only when it differs from whether State is checked: a grayed box stays
    // grayed on Checked := False.
    void SetChecked(bool value);
    AdvGroupBox::TCheckBoxPos Position() const { return FPosition; }
    void SetPosition(AdvGroupBox::TCheckBoxPos value);
    AdvGroupBox::TCheckBoxAction Action() const { return FAction; }
    void SetAction(AdvGroupBox::TCheckBoxAction value) { FAction = value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    // A change redraws the box, applies the action and fires OnCheckBoxClick, also when the
    // program makes it.
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }

    std::function<void()> OnChange;

private:
    friend class TAdvCustomGroupBox;
    void Changed();
    TAdvCustomGroupBox* FGroupBox;
    AdvGroupBox::TCheckBoxPos FPosition = AdvGroupBox::cpLeft;
    AdvGroupBox::TCheckBoxAction FAction = AdvGroupBox::caDisable;
    String FHint;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    bool FThemed = true;
    bool FVisible = false;
    bool FHot = false;
    bool FPressed = false;
};

class TAdvCustomGroupBox : public TCustomGroupBox {
public:
    explicit TAdvCustomGroupBox(TComponent* AOwner);
    ~TAdvCustomGroupBox() override;
    const char* ClassName() const override { return "TAdvCustomGroupBox"; }
    void Loaded() override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    AdvGroupBox::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(AdvGroupBox::TBorderStyle value);
    AdvGroupBox::TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(AdvGroupBox::TCaptionPosition value);
    TGroupBoxCheck* CheckBox() const { return FCheckBox.get(); }
    void SetCheckBox(TGroupBoxCheck* value) { FCheckBox->Assign(value); }
    TCustomImageList* Images() const { return FImages; }
    // Nil also sets ImageIndex to -1.
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    String Version() const;
    void SetVersion(const String&) {}
    int GetVersionNr() const;

    TNotifyEvent OnCheckBoxClick;

    // The frame's width by the border style and Ctl3D.
    int BorderWidth() const;
    // The caption area (where the caption, image and check box go), the caption's own rectangle
    // and the check box's ((-1, -1, -1, -1) without a visible one), in client coordinates.
    void CalcCaptionLayout(TRect& Area, TRect& CaptionRect, TRect& CheckRect) const;
    // Where the frame is drawn.
    TRect FrameRect() const;
    // The hint for a point of the client area: the check box's over the check box, else the
    // box's own.
    String HintAt(int X, int Y) const;

protected:
    friend class TGroupBoxCheck;
    virtual void DrawTransparentBackground();
    virtual void ApplyCheckBoxAction();
    virtual void DoCheckBoxClick();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustClientRect(TRect& Rect) override;
    void CreateWnd() override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void DrawCheckBox(TCanvas* Canvas, const TRect& CheckRect);
    // The visual style draws the check box.
    bool CheckBoxThemed() const;

private:
    bool Interactive() const;
    bool InHitArea(int X, int Y) const;
    // Whether the check box's hint is the one for a point; check gets the check box's rectangle.
    bool CheckBoxHintAt(const TPoint& P, TRect& check) const;
    void RedrawCheckBox();
    // The caption's text size and the image's.
    TSize TextSize() const;
    TSize ImageSize() const;
    // The height of the caption strip: max(h, bw).
    int CaptionHeight() const;

    TColor FBorderColor = 0xC0C0C0;
    AdvGroupBox::TBorderStyle FBorderStyle = AdvGroupBox::bsSingle;
    AdvGroupBox::TCaptionPosition FCaptionPosition = AdvGroupBox::cpTopLeft;
    std::unique_ptr<TGroupBoxCheck> FCheckBox;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    bool FRoundEdges = false;
    bool FTransparent = true;
};

class DAzuVidazEra : public TAdvCustomGroupBox {
public:
    using TAdvCustomGroupBox::TAdvCustomGroupBox;
    const char* ClassName() const override { return "DAzuVidazEra"; }
};

namespace advgroupbox {
// The check box's picture in the visual style: unchecked 1 to 4, checked 5 to 8, grayed 9 to
// 12, each normal, hot, pressed, disabled (disabled first, then pressed, then hot).
int ThemedCheckState(TCheckBoxState State, bool Enabled, bool Hot, bool Pressed);
// The name of the check box's bitmap without a visual style ("QRBGRPU", "QRBGRPCH", ...):
// pressed wins over hot.
String CheckBitmapName(TCheckBoxState State, bool Hot, bool Pressed);
// Makes the nine 13 x 13 check box bitmaps resources of the program (once).
void RegisterCheckBitmaps();
}  // namespace advgroupbox
