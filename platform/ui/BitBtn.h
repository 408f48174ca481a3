#pragma once
// A push button with a picture beside its caption, and stock kinds (OK, Cancel, Yes...) that
// bring their caption, modal result and default or cancel role.
#include <memory>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/backend/Enums.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    const char* ClassName() const override { return "TBitBtn"; }
    TBitBtnKind Kind() const { return FKind; }
    // A stock kind sets the caption, ModalResult and Default or Cancel.
    void SetKind(TBitBtnKind value);
    // The picture; its bottom-left pixel's colour shows as transparent. With NumGlyphs > 1 the
    // bitmap holds that many pictures side by side: normal, disabled, ...
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // Pixels between picture and caption.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    // Pixels from the edge to the picture; -1: centred with the caption.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    // bkClose closes the form.
    void Click() override;

protected:
    void InitView() override;
    void CMEnabledChanged(TMessage& Message) override;

private:
    void ShowGlyph();
    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    int FMargin = -1;
};
