#include "grid/AdvHintInfo.h"

TAdvHintInfo::TAdvHintInfo() : FPicture(std::make_unique<TGDIPPicture>()), FNotes(std::make_unique<TStringList>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

void TAdvHintInfo::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TAdvHintInfo*>(Source);
    if (!s) return;
    FTitle = s->FTitle;
    FNotes->Assign(s->FNotes.get());
    FShowHelp = s->FShowHelp;
    FPicture->Assign(s->FPicture.get());
    FWideTitle = s->FWideTitle;
    FWideNotes = s->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const { return FTitle.IsEmpty() && FNotes->Text().IsEmpty(); }

void TAdvHintInfo::SetPicture(const TGDIPPicture* Value) { FPicture->Assign(Value); }

void TAdvHintInfo::SetNotes(const TStrings* Value) { FNotes->Assign(Value); }
