#pragma once
// Data objects: what a drag (or another program) offers, in formats (FORMATETC) that a reader
// asks for and receives in a storage medium (STGMEDIUM), usually a block of global memory. The
// clipboard formats are those of platform/ui/Clipbrd.h (CF_TEXT, CF_UNICODETEXT, CF_HDROP and
// the registered ones).
#include "platform/ole/Com.h"
#include "platform/rtl/Geometry.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/GlobalMemory.h"

struct IStream;
struct IAdviseSink;    // notifications of changed data: no data object of the layer offers them
struct IEnumSTATDATA;

using CLIPFORMAT = WORD;

// Describes a target device; the layer's formats never carry one.
struct DVTARGETDEVICE;

constexpr DWORD DVASPECT_CONTENT = 1, DVASPECT_THUMBNAIL = 2, DVASPECT_ICON = 4, DVASPECT_DOCPRINT = 8;
constexpr DWORD TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_FILE = 2, TYMED_ISTREAM = 4, TYMED_ISTORAGE = 8,
                TYMED_GDI = 16, TYMED_MFPICT = 32, TYMED_ENHMF = 64;
constexpr DWORD DATADIR_GET = 1, DATADIR_SET = 2;

constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068u);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006Bu);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
constexpr HRESULT DATA_S_SAMEFORMATETC = 0x00040130;

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    LONG lindex = -1;
    DWORD tymed = TYMED_NULL;
};
using tagFORMATETC = FORMATETC;

struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    union {
        HGLOBAL hGlobal = nullptr;
        IStream* pstm;
        char16_t* lpszFileName;
    };
    // When set, ReleaseStgMedium releases this instead of freeing the data.
    IUnknown* pUnkForRelease = nullptr;
};

// Frees what a medium holds (its global block, its stream's reference) unless it names another
// owner in pUnkForRelease, which is released instead; the medium is left empty.
void ReleaseStgMedium(STGMEDIUM* medium);

struct IEnumFORMATETC : IUnknown {
    static constexpr IID Iid{0x00000103, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;
    // Up to count entries into items; S_OK when count came, else S_FALSE.
    virtual HRESULT Next(ULONG count, FORMATETC* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** copy) = 0;
};
inline constexpr const IID& IID_IEnumFORMATETC = IEnumFORMATETC::Iid;

struct IDataObject : IUnknown {
    static constexpr IID Iid{0x0000010E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;
    // The data in a medium the caller then owns (ReleaseStgMedium).
    virtual HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) = 0;
    // Into a medium the caller supplies.
    virtual HRESULT GetDataHere(const FORMATETC* format, STGMEDIUM* medium) = 0;
    // S_OK when GetData of that format would succeed.
    virtual HRESULT QueryGetData(const FORMATETC* format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC* format, FORMATETC* canonical) = 0;
    virtual HRESULT SetData(const FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) = 0;
    virtual HRESULT DAdvise(const FORMATETC* format, DWORD advf, IAdviseSink* sink, DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** advises) = 0;
};
inline constexpr const IID& IID_IDataObject = IDataObject::Iid;
