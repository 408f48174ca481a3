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
        // The text also as 8-bit text when the other program gave none, as the platform offers it.
        auto text = FData.Content.find(CF_UNICODETEXT);
        if (text != FData.Content.end() && !FData.Content.count(CF_TEXT)) {
            std::string s = ui::ClipboardText(text->second).ToUtf8();
            FData.Content[CF_TEXT] = std::vector<uint8_t>(s.c_str(), s.c_str() + s.size() + 1);
        }
        // The richer text first, as the platform lists it; the rest by number.
        if (FData.Content.count(CF_UNICODETEXT)) FFormats.push_back(GlobalFormat(CF_UNICODETEXT));
        for (const auto& entry : FData.Content)
            if (entry.first != CF_UNICODETEXT) FFormats.push_back(GlobalFormat(static_cast<CLIPFORMAT>(entry.first)));
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
        std::vector<uint8_t> b = FData.Content.at(format);
        // A list of files carries the point of the drop.
        if (format == CF_HDROP && b.size() >= sizeof(DROPFILES)) {
            DROPFILES header;
            std::memcpy(&header, b.data(), sizeof header);
            header.pt = FPoint;
            std::memcpy(b.data(), &header, sizeof header);
        }
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

ui::ClipboardContent ContentOf(IDataObject* data) {
    ui::ClipboardContent content;
    auto take = [&](CLIPFORMAT cf) {
        FORMATETC f = GlobalFormat(cf);
        STGMEDIUM m;
        if (data->GetData(&f, &m) != S_OK) return;
        if (m.tymed == TYMED_HGLOBAL) {
            size_t size = GlobalSize(m.hGlobal);
            if (const void* p = GlobalLock(m.hGlobal)) {
                const auto* b = static_cast<const uint8_t*>(p);
                content[cf] = std::vector<uint8_t>(b, b + size);
                GlobalUnlock(m.hGlobal);
            }
        }
        ReleaseStgMedium(&m);
    };
    ComPtr<IEnumFORMATETC> formats;
    if (SUCCEEDED(data->EnumFormatEtc(DATADIR_GET, formats.ReleaseAndGetAddressOf())) && formats) {
        FORMATETC f;
        ULONG got = 0;
        while (formats->Next(1, &f, &got) == S_OK && got == 1)
            if ((f.tymed & TYMED_HGLOBAL) && f.dwAspect == DVASPECT_CONTENT && !content.count(f.cfFormat)) take(f.cfFormat);
    } else {
        // A data object that cannot list its formats is asked for its text.
        take(CF_UNICODETEXT);
        take(CF_TEXT);
    }
    return content;
}

}  // namespace ole::detail
