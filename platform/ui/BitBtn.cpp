#include "platform/ui/BitBtn.h"

namespace {

struct KindInfo {
    const char16_t* caption;
    TModalResult result;
    bool isDefault, isCancel;
};

constexpr KindInfo kKinds[] = {
    {u"", mrNone, false, false},          {u"OK", mrOk, true, false},          {u"Cancel", mrCancel, false, true},
    {u"&Help", mrNone, false, false},     {u"&Yes", mrYes, true, false},       {u"&No", mrNo, false, true},
    {u"&Close", mrNone, false, false},    {u"Abort", mrAbort, false, true},    {u"&Retry", mrRetry, false, false},
    {u"&Ignore", mrIgnore, false, false}, {u"&All", mrAll, false, false},
};

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TPersistent*) { ShowGlyph(); };
}

TBitBtn::~TBitBtn() { FGlyph->OnChange = nullptr; }

void TBitBtn::InitView() {
    TButton::InitView();
    ShowGlyph();
}

void TBitBtn::SetKind(TBitBtnKind value) {
    FKind = value;
    if (value == bkCustom) return;
    const KindInfo& k = kKinds[value];
    SetCaption(String(k.caption));
    SetModalResult(k.result);
    if (k.isDefault) SetDefault(true);
    if (k.isCancel) SetCancel(true);
}

void TBitBtn::SetNumGlyphs(int value) {
    FNumGlyphs = std::clamp(value, 1, 4);
    ShowGlyph();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    FLayout = value;
    ShowGlyph();
}

void TBitBtn::SetSpacing(int value) {
    FSpacing = value;
    ShowGlyph();
}

void TBitBtn::SetMargin(int value) {
    FMargin = value;
    ShowGlyph();
}

void TBitBtn::ShowGlyph() {
    auto v = ChangeView();
    if (!v) return;
    bool has = !FGlyph->Empty();
    // The second picture, when there is one, is the disabled look.
    int index = (!Enabled() && FNumGlyphs > 1) ? 1 : 0;
    v->SetGlyph(has ? FGlyph.get() : nullptr, index, FNumGlyphs, FLayout, FSpacing, FMargin);
}

void TBitBtn::CMEnabledChanged(TMessage& Message) {
    TButton::CMEnabledChanged(Message);
    ShowGlyph();
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}
