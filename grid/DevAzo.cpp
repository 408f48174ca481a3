#include "grid/DevAzo.h"

#include <string>

#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------------------------
// TIntList

namespace {
void* Entry(int Value) { return reinterpret_cast<void*>(static_cast<intptr_t>(Value)); }
}  // namespace

int TIntList::Add(int Value) {
    int i = TList::Add(Entry(Value));
    Changed();
    return i;
}

void TIntList::Insert(int Index, int Value) { TList::Insert(Index, Entry(Value)); }

void TIntList::Delete(int Index) {
    TList::Delete(Index);
    Changed();
}

void TIntList::SetInteger(int Index, int Value) {
    SetItems(Index, Entry(Value));
    Changed();
}

int TIntList::IndexOfValue(int Value) const { return IndexOf(Entry(Value)); }

void TIntList::DeleteValue(int Value) {
    int i = IndexOfValue(Value);
    if (i >= 0) Delete(i);
}

String TIntList::StrValue() const {
    std::string s;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) s += ',';
        s += std::to_string(GetInteger(i));
    }
    return String(s);
}

void TIntList::SetStrValue(const String& Value) {
    TStringList items;
    items.SetCommaText(Value);
    Clear();
    for (int i = 0; i < items.Count(); ++i) Add(StrToInt(items[i]));
}

// ---------------------------------------------------------------------------------------------
// TFilePicture

void TFilePicture::SetFilename(const String& Value) {
    FFilename = Value;
    TPicture picture;
    picture.LoadFromFile(Value);
    FWidth = picture.Width();
    FHeight = picture.Height();
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& r) {
    if (FFilename.IsEmpty()) return;
    TPicture picture;
    picture.LoadFromFile(FFilename);
    Canvas->StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TFilePicture*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FFilename = s->FFilename;
    FWidth = s->FWidth;
    FHeight = s->FHeight;
}

// ---------------------------------------------------------------------------------------------
// TFileStringList

void TFileStringList::ReadLn(String& s) {
    s = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(const String& s) {
    Add(cache + s);
    cache.clear();
}

// ---------------------------------------------------------------------------------------------
// TControlList

void TControlList::AddControl(int X, int Y, TControl* AObject) { FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject)); }

int TControlList::ControlIndex(int X, int Y) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->X() == X && FItems[i]->Y() == Y) return static_cast<int>(i);
    return -1;
}

void TControlList::RemoveControl(int i) { FItems.erase(FItems.begin() + i); }

bool TControlList::HasHandle(HWND Handle) const {
    for (const auto& item : FItems) {
        auto* w = dynamic_cast<TWinControl*>(item->Control());
        if (w && w->HandleAllocated() && w->Handle() == Handle) return true;
    }
    return false;
}
