// The drop-down edit's life and settings: construction and destruction, the style operations,
// copying, streaming, loading and the notices of components that go.
#include "dropdown/AdvDropDown.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/SysUtils.h"

TAdvCustomDropDown::TAdvCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    // The fields keep the defaults their declarations give; these are the ones a setter keeps.
    SetOwnerPainted(true);  // the focus box and the borders go over the native picture
    SetBounds(Left(), Top(), 200, 21);
    SetControlStyle(ControlStyle() >> csSetCaption);
    SetReadOnly(false);
    FDropDownHeader = std::make_unique<THeaderAppearance>(this);
    FDropDownFooter = std::make_unique<TFooterAppearance>(this);
    advdropdown::TBarAppearance* bars[] = {FDropDownHeader.get(), FDropDownFooter.get()};
    for (advdropdown::TBarAppearance* bar : bars) {
        bar->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
        bar->OnButtonsChanged = [this](TObject* Sender) { AppearanceChanged(Sender); };
    }
    FButtonAppearance = std::make_unique<TAdvButtonAppearance>();
    FIsWinXP = IsWinXPOrLater();
    FIsThemed = IsComCtl6OrLater();
    FLabelFont = std::make_unique<TFont>();
    FLabelFont->OnChange = [this](TObject* Sender) { LabelFontChanged(Sender); };
    RequireAfterConstruction();
}

void TAdvCustomDropDown::AfterConstruction() {
    TCustomMaskEdit::AfterConstruction();
    if (!ComponentState().Contains(csDesigning)) BuildPopup();
    BuildDropButton();
    SetText(String());
    FOldText.clear();
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(tsOffice2007Luna);
}

// The button and the pop-up go while the whole drop-down stands, so the pop-up's destroy event
// reaches a picker's PopupDestroyed.
void TAdvCustomDropDown::BeforeDestruction() {
    if (FLabelFont) FLabelFont->OnChange = nullptr;
    if (TDropDownEditButton* button = FButton) {
        FButton = nullptr;
        button->Free();
    }
    FreePopup();
    TCustomMaskEdit::BeforeDestruction();
}

void TAdvCustomDropDown::FreePopup() {
    if (TDropDownForm* form = FDropDownForm) {
        FDropDownForm = nullptr;
        form->Free();
    }
}

TAdvCustomDropDown::~TAdvCustomDropDown() {
    Destroying();
    FLabelFont.reset();
    if (TDropDownEditButton* button = FButton) {
        FButton = nullptr;
        button->Free();
    }
    FreePopup();
}

// ---------------------------------------------------------------------------------------------
// Settings

void TAdvCustomDropDown::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    InvalidateFrame();
    Invalidate();
    if (FButton) FButton->Button()->Invalidate();
}

void TAdvCustomDropDown::SetFocusBorderColor(TColor value) {
    FFocusBorderColor = value;
    InvalidateFrame();
}

void TAdvCustomDropDown::SetDisabledBorder(bool value) {
    if (FDisabledBorder == value) return;
    FDisabledBorder = value;
    InvalidateFrame();
}

void TAdvCustomDropDown::SetDropDownWidth(int value) {
    if (FDropDownWidth == value) return;
    FDropDownWidth = value;
    FUserDropDownWidth = -1;
}

void TAdvCustomDropDown::SetDropDownHeight(int value) {
    if (FDropDownHeight == value) return;
    FDropDownHeight = value;
    FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::SetDropDownButtonWidth(int value) {
    if (FButtonWidth == value || !FButton) return;
    FButtonWidth = value;
    FButton->SetButtonWidth(value);
    if (FButton->HandleAllocated()) LayoutEditControl();
}

void TAdvCustomDropDown::SetDropDownButtonHint(const String& value) {
    if (FButtonHint == value) return;
    FButtonHint = value;
    if (!FButton) return;
    FButton->SetHint(value);
    FButton->SetShowHint(!value.empty());
}

TBitmap* TAdvCustomDropDown::DropDownButtonGlyph() const { return FButton ? FButton->Glyph() : nullptr; }

void TAdvCustomDropDown::SetDropDownButtonGlyph(TBitmap* value) {
    if (FButton) FButton->SetGlyph(value);
}

void TAdvCustomDropDown::SetEditorEnabled(bool value) {
    FEditorEnabled = value;
    SetControlStyle(value ? ControlStyle() << csDoubleClicks : ControlStyle() >> csDoubleClicks);
}

void TAdvCustomDropDown::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
}

void TAdvCustomDropDown::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    LayoutEditControl();
    InvalidateFrame();
}

void TAdvCustomDropDown::SetPopupControl(TControl* value) {
    if (FControl == value) return;
    if (FControl) FControl->RemoveFreeNotification(this);
    FControl = value;
    if (FControl) FControl->FreeNotification(this);
    if (!ComponentState().Contains(csDesigning)) DockPopupControl();
}

void TAdvCustomDropDown::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

// The header's or footer's visibility or buttons changed: an open pop-up follows at once.
void TAdvCustomDropDown::AppearanceChanged(TObject*) {
    if (FDropDownForm && FDroppedDown) FDropDownForm->InitializeAndUpdate();
}

// ---------------------------------------------------------------------------------------------
// Styles: the operations keep what they are given; the colours of each style come with the
// style tables.

void TAdvCustomDropDown::DrawGradientFill(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps,
                                          const TRect& Rect, bool Vertical) {
    StepGradient(Canvas, FromColor, ToColor, Steps, Rect, !Vertical);
}

String TAdvCustomDropDown::Version() {
    const int v = GetVersionNr();
    return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

// ---------------------------------------------------------------------------------------------
// Copying, streaming, loading, notices

void TAdvCustomDropDown::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TAdvCustomDropDown*>(Source);
    if (!s) {
        TCustomMaskEdit::Assign(Source);
        return;
    }
    FFocusDraw = s->FFocusDraw;
    FForceShadow = s->FForceShadow;
    FDropDownEnabled = s->FDropDownEnabled;
    SetDropDownColor(s->FDropDownColor);
    SetDropDownColorTo(s->FDropDownColorTo);
    SetDropDownGradient(s->FDropDownGradient);
    SetDropDownBorderColor(s->FDropDownBorderColor);
    SetDropDownBorderWidth(s->FDropDownBorderWidth);
    SetDropDownShadow(s->FDropDownShadow);
    SetDropDownWidth(s->FDropDownWidth);
    SetDropDownHeight(s->FDropDownHeight);
    SetDropDownSizeable(s->FDropDownSizeable);
    // The type and precision as fields: the text is not copied, nor formatted for them.
    FEditType = s->FEditType;
    SetPasswordChar(FEditType == etPassword ? u'*' : 0);
    FReturnIsTab = s->FReturnIsTab;
    SetLengthLimit(s->FLengthLimit);
    FPrecision = s->FPrecision;
    SetPrefix(s->FPrefix);
    SetSuffix(s->FSuffix);
    FDefaultHandling = s->FDefaultHandling;
    FCanUndo = s->FCanUndo;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FValidChars = s->FValidChars;
    FSigned = s->FSigned;
    FAutoThousandSeparator = s->FAutoThousandSeparator;
    FButtonAppearance->Assign(s->FButtonAppearance.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    SetDropPosition(s->FDropPosition);
    SetFlat(s->FFlat);
    SetDropDownButtonWidth(s->FButtonWidth);
    SetDropDownButtonHint(s->FButtonHint);
    FEditorEnabled = s->FEditorEnabled;
    if (FButton && s->FButton) {
        FButton->SetGlyph(s->FButton->Glyph());
        FButton->SetButtonCaption(s->FButton->ButtonCaption());
    }
    FEtched = s->FEtched;
    SetImages(s->FImages);
    FSelectionColorStyle = s->FSelectionColorStyle;
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
}

// Both are written as integers and read back without side effects: reading a style does not
// apply it.
void TAdvCustomDropDown::DefineProperties(TFiler* Filer) {
    TCustomMaskEdit::DefineProperties(Filer);
    Filer->DefineProperty(
        "SelectionColorStyle",
        [this](TReader* Reader) { FSelectionColorStyle = static_cast<TSelectionColorStyle>(Reader->ReadInteger()); },
        [this](TWriter* Writer) { Writer->WriteInteger(FSelectionColorStyle); }, true);
    Filer->DefineProperty(
        "QRBStyle", [this](TReader* Reader) { FQRBStyle = static_cast<TQRBStyle>(Reader->ReadInteger()); },
        [this](TWriter* Writer) { Writer->WriteInteger(FQRBStyle); }, true);
}

void TAdvCustomDropDown::Loaded() {
    TCustomMaskEdit::Loaded();
    FParentFnt = ParentFont();
    UpdateEditRect();
    LayoutEditControl();
    if (FButton) FButton->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    PlaceLabel(ParentFont() ? Font() : nullptr);
}

void TAdvCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FLabel) FLabel = nullptr;
    if (ComponentState().Contains(csDestroying)) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl) SetPopupControl(nullptr);
    if (AComponent == FFocusControl) FFocusControl = nullptr;
}
