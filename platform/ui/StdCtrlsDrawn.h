#pragma once
// Text and frame controls drawn by the library: the label (a graphic control), the static text
// and the group box (windowed containers of their own).
#include "platform/ui/DrawnCtrls.h"

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomLabel"; }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // The control that Alt + the caption's accelerator focuses.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    // Where the caption was last drawn, in the label's coordinates.
    TRect TextRect() const { return FTextRect; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustBounds();
    UINT TextFlags() const;

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
    TRect FTextRect;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
    const char* ClassName() const override { return "TLabel"; }
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

// A label with a window of its own.
class TStaticText : public TCustomControl {
public:
    explicit TStaticText(TComponent* AOwner);
    const char* ClassName() const override { return "TStaticText"; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustBounds();

private:
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomGroupBox"; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    // Aligned children stay below the caption and inside the frame.
    void AdjustClientRect(TRect& Rect) override;

private:
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
    const char* ClassName() const override { return "TGroupBox"; }
};
