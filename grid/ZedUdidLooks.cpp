// The settings objects of the grid's view.
#include "grid/ZedUdidLooks.h"

#include "grid/ZedUdid.h"

void TGrouping::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TGrouping*>(Source);
    if (!s) return;
    GroupCountFormat = s->GroupCountFormat;
    HeaderColor = s->HeaderColor;
    HeaderColorTo = s->HeaderColorTo;
    HeaderTextColor = s->HeaderTextColor;
    HeaderUnderline = s->HeaderUnderline;
    MergeHeader = s->MergeHeader;
    MergeSummary = s->MergeSummary;
    ShowGroupCount = s->ShowGroupCount;
    SummaryColor = s->SummaryColor;
    SummaryColorTo = s->SummaryColorTo;
    SummaryTextColor = s->SummaryTextColor;
    SummaryLine = s->SummaryLine;
    AutoCheckGroup = s->AutoCheckGroup;
    AutoSelectGroup = s->AutoSelectGroup;
}

void TDragScrollDelays::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TDragScrollDelays*>(Source);
    if (!s) return;
    InitialDelay = s->InitialDelay;
    RepeatDelay = s->RepeatDelay;
}

void TDragScrollMargins::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TDragScrollMargins*>(Source);
    if (!s) return;
    TopMargin = s->TopMargin;
    BottomMargin = s->BottomMargin;
    LeftMargin = s->LeftMargin;
    RightMargin = s->RightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>()) {}

void TDragScrollOptions::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TDragScrollOptions*>(Source);
    if (!s) return;
    FMargins->Assign(s->FMargins.get());
    FDelays->Assign(s->FDelays.get());
    FActive = s->FActive;
}

// ---------------------------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TVerAdevovEdav* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}

void TBackGround::Changed() {
    if (FGrid) FGrid->Invalidate();
}

void TBackGround::SetTop(int Value) {
    FTop = Value;
    Changed();
}

void TBackGround::SetLeft(int Value) {
    FLeft = Value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value) {
    FDisplay = Value;
    Changed();
}

void TBackGround::SetBitmap(const TBitmap* Value) {
    FBitmap->Assign(Value);
    Changed();
}

void TBackGround::SetCells(TBackGroundCells Value) {
    FCells = Value;
    Changed();
}

void TBackGround::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TBackGround::SetColorTo(TColor Value) {
    FColorTo = Value;
    Changed();
}

// ---------------------------------------------------------------------------------------------
// TGridProgressAppearance

void TGridProgressAppearance::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TGridProgressAppearance*>(Source);
    if (!s) return;
    FV = s->FV;
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// TControlLook

TControlLook::TControlLook(TVerAdevovEdav* AGrid) : FGrid(AGrid) {
    for (auto& glyph : FGlyphs) glyph = std::make_unique<TBitmap>();
    Init();
}

TControlLook::~TControlLook() = default;

void TControlLook::Init() {
    FColor = clBlack;
    FCommentColor = clRed;
    FProgressBorderColor = clGray;
    static const TColor kGradient[14] = {clNone, clNone,   clNone, clNone, clWhite, clGray,   clNone,
                                         clNone, clSilver, clSilver, clGray, clNone,  clNone, clGray};
    for (int i = 0; i < 14; ++i) FFixedGradient[i] = kGradient[i];
}

void TControlLook::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TControlLook*>(Source);
    if (!s) return;
    FCheckSize = s->FCheckSize;
    FRadioSize = s->FRadioSize;
    FControlStyle = s->FControlStyle;
    for (int i = 0; i < 4; ++i) FGlyphs[i]->Assign(s->FGlyphs[i].get());
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    FCommentColor = s->FCommentColor;
    FColor = s->FColor;
    FProgressBorderColor = s->FProgressBorderColor;
    FCheckAlwaysActive = s->FCheckAlwaysActive;
    FRadioAlwaysActive = s->FRadioAlwaysActive;
    for (int i = 0; i < 14; ++i) FFixedGradient[i] = s->FFixedGradient[i];
    FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
    FDropDownCount = s->FDropDownCount;
}

void TControlLook::Changed() {
    if (FGrid) FGrid->Invalidate();
}

void TControlLook::SetGlyph(int Index, const TBitmap* Value) {
    FGlyphs[Index]->Assign(Value);
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Small settings

void TSizeWhileTyping::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TSizeWhileTyping*>(Source);
    if (!s) return;
    Height = s->Height;
    Width = s->Width;
}

void TBalloonSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TBalloonSettings*>(Source);
    if (!s) return;
    TextColor = s->TextColor;
    BackgroundColor = s->BackgroundColor;
    InitialDelay = s->InitialDelay;
    AutoHideDelay = s->AutoHideDelay;
    ReshowDelay = s->ReshowDelay;
    FEnable = s->FEnable;
}

void TBalloonSettings::SetEnable(bool Value) {
    FEnable = Value;
    if (OnEnableChange) OnEnableChange(this);
}

void TShowModified::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TShowModified*>(Source);
    if (!s) return;
    FColor = s->FColor;
    FEnabled = s->FEnabled;
}

void TShowModified::SetColor(TColor Value) {
    FColor = Value;
    if (OnChange) OnChange(this);
}

TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clSilver); }
