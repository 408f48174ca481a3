// Media, format enumerators and the data object of drops from other programs.
#include "platform/ole/OleData.h"

#include <algorithm>
#include <cstring>

#include "platform/ole/Stream.h"

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (!medium) return;
    if (medium->pUnkForRelease) {
        medium->pUnkForRelease->Release();
    } else if (medium->tymed == TYMED_HGLOBAL) {
        if (medium->hGlobal) GlobalFree(medium->hGlobal);
    } else if (medium->tymed == TYMED_ISTREAM) {
        if (medium->pstm) medium->pstm->Release();
    }
    *medium = STGMEDIUM{};
}

namespace ole::detail {

namespace {

class TFormatEnumerator final : public TInterfacedObject<IEnumFORMATETC> {
public:
    TFormatEnumerator(std::shared_ptr<const std::vector<FORMATETC>> formats, size_t index)
        : FFormats(std::move(formats)), FIndex(index) {}

    HRESULT Next(ULONG count, FORMATETC* items, ULONG* fetched) override {
        if (!items || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        while (n < count && FIndex < FFormats->size()) items[n++] = (*FFormats)[FIndex++];
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        size_t left = FFormats->size() - FIndex;
        FIndex += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        FIndex = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC** copy) override {
        if (!copy) return E_POINTER;
        *copy = ComPtr<IEnumFORMATETC>(new TFormatEnumerator(FFormats, FIndex)).Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const std::vector<FORMATETC>> FFormats;
    size_t FIndex;
};

FORMATETC GlobalFormat(CLIPFORMAT format) {
    FORMATETC f;
    f.cfFormat = format;
    f.tymed = TYMED_HGLOBAL;
    return f;
}

std::vector<uint8_t> Utf16Bytes(const String& s) {
    std::vector<uint8_t> b((s.size() + 1) * 2, 0);
    std::memcpy(b.data(), s.data(), s.size() * 2);
    return b;
}

}  // namespace

ComPtr<IEnumFORMATETC> NewFormatEnumerator(std::vector<FORMATETC> formats) {
    return ComPtr<IEnumFORMATETC>(
        new TFormatEnumerator(std::make_shared<const std::vector<FORMATETC>>(std::move(formats)), 0));
}

HGLOBAL BlockOf(const void* data, size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!h || size == 0) return h;
    void* p = GlobalLock(h);
    std::memcpy(p, data, size);
    GlobalUnlock(h);
    return h;
}

class TDesktopDataObject final : public TInterfacedObject<IDataObject> {
public:
    explicit TDesktopDataObject(const ui::DesktopDragData& data) : FData(data) {
        if (FData.HasText) {
            FFormats.push_back(GlobalFormat(CF_UNICODETEXT));
            FFormats.push_back(GlobalFormat(CF_TEXT));
        }
        if (!FData.Files.empty()) FFormats.push_back(GlobalFormat(CF_HDROP));
    }
    void SetPoint(TPoint client) { FPoint = client; }

    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override {
        if (!medium) return E_POINTER;
        *medium = STGMEDIUM{};
        HRESULT hr = QueryGetData(format);
        if (hr != S_OK) return hr;
        std::vector<uint8_t> bytes = BytesOf(format->cfFormat);
        HGLOBAL h = BlockOf(bytes.data(), bytes.size());
        if (!h) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = h;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC* format, STGMEDIUM* medium) override {
        if (!medium) return E_POINTER;
        HRESULT hr = QueryGetData(format);
        if (hr != S_OK) return hr;
        if (medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
        std::vector<uint8_t> bytes = BytesOf(format->cfFormat);
        if (GlobalSize(medium->hGlobal) < bytes.size()) return STG_E_MEDIUMFULL;
        void* p = GlobalLock(medium->hGlobal);
        if (!p) return E_INVALIDARG;
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(medium->hGlobal);
        return S_OK;
    }
    HRESULT QueryGetData(const FORMATETC* format) override {
        if (!format) return E_POINTER;
        bool offered = std::any_of(FFormats.begin(), FFormats.end(),
                                   [&](const FORMATETC& f) { return f.cfFormat == format->cfFormat; });
        if (!offered) return DV_E_FORMATETC;
        if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return S_OK;
    }
    HRESULT GetCanonicalFormatEtc(const FORMATETC* format, FORMATETC* canonical) override {
        if (!format || !canonical) return E_POINTER;
        *canonical = *format;
        canonical->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    // Another program's data is not changed here.
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (!formats) return E_POINTER;
        *formats = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        *formats = NewFormatEnumerator(FFormats).Detach();
        return S_OK;
    }
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA** advises) override {
        if (advises) *advises = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<uint8_t> BytesOf(CLIPFORMAT format) const {
        if (format == CF_UNICODETEXT) return Utf16Bytes(FData.Text);
        if (format == CF_TEXT) {
            std::string s = FData.Text.ToUtf8();
            return std::vector<uint8_t>(s.c_str(), s.c_str() + s.size() + 1);
        }
        // CF_HDROP: the header, then the wide names, each ended by a zero, and an empty one.
        DROPFILES header;
        header.pt = FPoint;
        header.fWide = TRUE_;
        std::vector<uint8_t> b(sizeof header);
        std::memcpy(b.data(), &header, sizeof header);
        for (const String& file : FData.Files) {
            std::vector<uint8_t> name = Utf16Bytes(file);
            b.insert(b.end(), name.begin(), name.end());
        }
        b.push_back(0);
        b.push_back(0);
        return b;
    }

    ui::DesktopDragData FData;
    std::vector<FORMATETC> FFormats;
    TPoint FPoint;
};

ComPtr<IDataObject> NewDesktopDataObject(const ui::DesktopDragData& data) {
    return ComPtr<IDataObject>(new TDesktopDataObject(data));
}

void SetDropPoint(IDataObject* desktopData, TPoint client) {
    if (auto* d = dynamic_cast<TDesktopDataObject*>(desktopData)) d->SetPoint(client);
}

bool TextOf(IDataObject* data, String& text) {
    for (CLIPFORMAT cf : {static_cast<CLIPFORMAT>(CF_UNICODETEXT), static_cast<CLIPFORMAT>(CF_TEXT)}) {
        FORMATETC f = GlobalFormat(cf);
        STGMEDIUM m;
        if (data->GetData(&f, &m) != S_OK) continue;
        bool ok = false;
        if (m.tymed == TYMED_HGLOBAL) {
            size_t size = GlobalSize(m.hGlobal);
            if (const void* p = GlobalLock(m.hGlobal)) {
                // Up to the terminating zero, or the end of the block when it has none.
                if (cf == CF_UNICODETEXT) {
                    const auto* c = static_cast<const char16_t*>(p);
                    size_t n = size / 2;
                    text = String(c, std::find(c, c + n, u'\0') - c);
                } else {
                    const auto* c = static_cast<const char*>(p);
                    text = String(std::string_view(c, std::find(c, c + size, '\0') - c));
                }
                GlobalUnlock(m.hGlobal);
                ok = true;
            }
        }
        ReleaseStgMedium(&m);
        if (ok) return true;
    }
    return false;
}

}  // namespace ole::detail
