// Drag and drop of text: the generic target, source, data object, enumerator and reader.
#include "controls/styled/AdvEddd.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Diagnostics.h"
#include "platform/ui/Clipbrd.h"

UINT CF_RTF = 0;
bool AllowRTF = false;

DWORD DropEffectForKeys(DWORD keyState) { return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

namespace {

// The source's formats, in their order.
FORMATETC Entry(int index) {
    FORMATETC f;
    f.cfFormat = static_cast<CLIPFORMAT>(index == 0 ? CF_TEXT : index == 1 ? CF_UNICODETEXT : CF_RTF);
    f.ptd = nullptr;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = TYMED_HGLOBAL;
    return f;
}
constexpr int kEntries = 3;

HGLOBAL BlockWith(const void* bytes, size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!h) return nullptr;
    void* p = GlobalLock(h);
    if (!p) {
        GlobalFree(h);
        return nullptr;
    }
    std::memcpy(p, bytes, size);
    GlobalUnlock(h);
    return h;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* DataObject) : FFiles(std::make_unique<TStringList>()) {
    FFiles->SetSorted(false);
    FFiles->SetDuplicates(dupAccept);
    if (OpenClipboard(nullptr)) {
        CF_RTF = RegisterClipboardFormat(u"Rich Text Format");
        CloseClipboard();
    }
    SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats() { ReleaseMedium(); }

void TEnumFormats::ReleaseMedium() {
    if (FMedium.tymed != TYMED_NULL) ReleaseStgMedium(&FMedium);
    FMedium = STGMEDIUM();
}

void TEnumFormats::SetDataObject(IDataObject* value) {
    ReleaseMedium();
    FEnum.Reset();
    FDataObject = value;
    if (!value) return;
    if (value->EnumFormatEtc(DATADIR_GET, FEnum.ReleaseAndGetAddressOf()) != S_OK || !FEnum)
        Assert(false, u"Cannot get the format enumerator", "adveddd", 244);
    Reset();
}

bool TEnumFormats::Reset() {
    FValid = false;
    FCount = 0;
    return FEnum && FEnum->Reset() == S_OK;
}

bool TEnumFormats::Next() {
    ++FCount;
    ULONG fetched = 0;
    FValid = FEnum && FEnum->Next(1, &FFormatEtc, &fetched) == S_OK && fetched == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT ClipFormat) {
    if (!Reset()) return false;
    while (Next())
        if (FFormatEtc.cfFormat == ClipFormat) return true;
    return false;
}

HGLOBAL TEnumFormats::Handle(DWORD Tymed) {
    if (!FValid || !(FFormatEtc.tymed & Tymed) || !FDataObject) return nullptr;
    ReleaseMedium();
    FORMATETC asked = FFormatEtc;
    asked.tymed = Tymed;
    if (FDataObject->GetData(&asked, &FMedium) != S_OK) {
        FMedium = STGMEDIUM();
        return nullptr;
    }
    return FMedium.tymed == TYMED_HGLOBAL ? FMedium.hGlobal : nullptr;
}

String TEnumFormats::TextOf(CLIPFORMAT format) {
    if (!HasFormat(format)) return String();
    HGLOBAL h = GlobalHandle();
    if (!h) return String();
    const auto* p = static_cast<const char*>(GlobalLock(h));
    if (!p) return String();
    // Up to the terminating zero, never past the block.
    const size_t size = GlobalSize(h);
    std::string bytes(p, std::find(p, p + size, '\0'));
    GlobalUnlock(h);
    return String(bytes);
}

String TEnumFormats::Text() { return TextOf(static_cast<CLIPFORMAT>(CF_TEXT)); }

String TEnumFormats::RTF() { return CF_RTF ? TextOf(static_cast<CLIPFORMAT>(CF_RTF)) : String(); }

bool TEnumFormats::ReadFiles() {
    FFiles->Clear();
    if (!HasFile()) return false;
    HGLOBAL h = GlobalHandle();
    if (!h) return false;
    const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
    if (!p) return false;
    const size_t size = GlobalSize(h);
    if (size >= sizeof(DROPFILES)) {
        DROPFILES head;
        std::memcpy(&head, p, sizeof head);
        size_t at = head.pFiles;
        // Names follow each other up to an empty one; the block's end stops a list without it.
        if (head.fWide) {
            while (at + 2 <= size) {
                std::u16string name;
                for (; at + 2 <= size; at += 2) {
                    char16_t c;
                    std::memcpy(&c, p + at, 2);
                    if (c == 0) break;
                    name.push_back(c);
                }
                at += 2;
                if (name.empty()) break;
                FFiles->Add(String(name));
            }
        } else {
            while (at < size) {
                std::string name;
                for (; at < size && p[at] != 0; ++at) name.push_back(static_cast<char>(p[at]));
                ++at;
                if (name.empty()) break;
                FFiles->Add(String(name));
            }
        }
    }
    GlobalUnlock(h);
    return FFiles->Count() > 0;
}

// ---------------------------------------------------------------------------------------------
// TAEDropTarget

HRESULT TAEDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    // A data object whose formats cannot be read is refused here, not raised to the drag loop.
    try {
        TEnumFormats formats(data);
        FAcceptable = formats.HasText() || formats.HasFile() || (AllowRTF && formats.HasRTF());
    } catch (const EAssertionFailed&) {
        FAcceptable = false;
    }
    if (effect) *effect = FAcceptable ? DropEffectForKeys(keyState) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TAEDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    DWORD e = FAcceptable ? DropEffectForKeys(keyState) : DROPEFFECT_NONE;
    bool allow = true;
    DragMouseMove(pt, allow);
    if (!allow) e = DROPEFFECT_NONE;
    if (effect) *effect = e;
    return S_OK;
}

HRESULT TAEDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    DWORD e = DROPEFFECT_NONE;
    if (FAcceptable) {
        try {
            TEnumFormats formats(data);
            if (AllowRTF && formats.HasRTF()) DropRTF(pt, formats.RTF());
            else if (formats.HasText()) DropText(pt, formats.Text());
            if (formats.ReadFiles()) DropFiles(pt, formats.Files());
            e = DropEffectForKeys(keyState);
        } catch (const EAssertionFailed&) {
            e = DROPEFFECT_NONE;
        }
    }
    if (effect) *effect = e;
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// TAEDropSource

HRESULT TAEDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    return (keyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}

HRESULT TAEDropSource::GiveFeedback(DWORD effect) {
    FNoAccept = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------------------------------------
// TSourceDataObject

HRESULT TSourceDataObject::QueryGetData(const FORMATETC* format) {
    if (!format || format->dwAspect != DVASPECT_CONTENT || format->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    const UINT cf = format->cfFormat;
    if (cf == CF_TEXT || cf == CF_UNICODETEXT || (AllowRTF && CF_RTF != 0 && cf == CF_RTF)) return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC* format, STGMEDIUM* medium) {
    if (!medium) return E_POINTER;
    *medium = STGMEDIUM();
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL h = nullptr;
    if (format->cfFormat == CF_UNICODETEXT) {
        h = BlockWith(FText.c_str(), (FText.size() + 1) * sizeof(char16_t));
    } else {
        std::string bytes = (format->cfFormat == CF_TEXT ? FText : FRtf).ToUtf8();
        h = BlockWith(bytes.c_str(), bytes.size() + 1);
    }
    if (!h) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h;
    return S_OK;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* canonical) {
    if (canonical) canonical->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (!formats) return E_POINTER;
    if (direction != DATADIR_GET) {
        *formats = nullptr;
        return E_NOTIMPL;
    }
    *formats = new TSourceEnumFormatEtc();
    (*formats)->AddRef();
    return S_OK;
}

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** advises) {
    if (advises) *advises = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---------------------------------------------------------------------------------------------
// TSourceEnumFormatEtc

HRESULT TSourceEnumFormatEtc::Next(ULONG count, FORMATETC* items, ULONG* fetched) {
    ULONG n = 0;
    while (n < count && FIndex < kEntries && items) items[n++] = Entry(FIndex++);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG count) {
    if (static_cast<uint64_t>(FIndex) + count <= kEntries) {
        FIndex += static_cast<int>(count);
        return S_OK;
    }
    FIndex = kEntries;
    return S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset() {
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** copy) {
    if (!copy) return E_POINTER;
    *copy = new TSourceEnumFormatEtc(FIndex);
    (*copy)->AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

HRESULT StartTextDrag(const String& text, const String& rtf, DWORD okeffects, DWORD& effect) {
    ComPtr<TAEDropSource> source(new TAEDropSource());
    ComPtr<TSourceDataObject> data(new TSourceDataObject(text, rtf));
    HRESULT hr = DoDragDrop(data.Get(), source.Get(), okeffects, &effect);
    return source->NoAccept() ? DRAGDROP_S_CANCEL : hr;
}
