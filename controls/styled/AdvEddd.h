#pragma once
// Drag and drop of text: a drop target with overridable hooks, a drop source, a data object
// for a text with its format enumerator, a reader of what a dropped data object offers, and a
// text drag out of the program.
#include <memory>

#include "platform/ole/DragDrop.h"
#include "platform/rtl/StringList.h"

// The registered "Rich Text Format" (0 until a reader registers it), and whether RTF is taken
// on a drop and served by the data object. Nothing in the program turns RTF on.
extern UINT CF_RTF;
extern bool AllowRTF;

// DROPEFFECT_COPY with Ctrl held, else DROPEFFECT_MOVE.
DWORD DropEffectForKeys(DWORD keyState);

// A reader over one data object: which formats it offers and what they hold.
class TEnumFormats {
public:
    // Raises the assertion failure "Cannot get the format enumerator" for a data object that
    // has no enumerator of readable formats.
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats();
    TEnumFormats(const TEnumFormats&) = delete;
    TEnumFormats& operator=(const TEnumFormats&) = delete;

    IDataObject* DataObject() const { return FDataObject.Get(); }
    void SetDataObject(IDataObject* value);

    // Back to the first format; false when the enumerator cannot.
    bool Reset();
    // The next format into FormatEtc; false at the end.
    bool Next();
    // Steps to the entry of that format (it stays current); false when there is none.
    bool HasFormat(CLIPFORMAT ClipFormat);
    // The current entry's data in a medium of that kind; 0 when it is not offered or the data
    // cannot be had. The handle lives until the next call or the reader's end.
    HGLOBAL Handle(DWORD Tymed);
    HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }
    bool HasText() { return HasFormat(static_cast<CLIPFORMAT>(CF_TEXT)); }
    bool HasFile() { return HasFormat(static_cast<CLIPFORMAT>(CF_HDROP)); }
    bool HasRTF() { return CF_RTF != 0 && HasFormat(static_cast<CLIPFORMAT>(CF_RTF)); }
    // The text (CF_TEXT, the ANSI code page: UTF-8 here); empty when it cannot be had.
    String Text();
    String RTF();
    // Fills Files from the CF_HDROP block; true when it holds a name.
    bool ReadFiles();
    TStringList* Files() const { return FFiles.get(); }

    const FORMATETC& FormatEtc() const { return FFormatEtc; }
    bool Valid() const { return FValid; }
    int Count() const { return FCount; }
    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD v) { FFormatEtc.dwAspect = v; }
    CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(CLIPFORMAT v) { FFormatEtc.cfFormat = v; }
    LONG Index() const { return FFormatEtc.lindex; }
    void SetIndex(LONG v) { FFormatEtc.lindex = v; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD v) { FFormatEtc.tymed = v; }

private:
    String TextOf(CLIPFORMAT format);
    void ReleaseMedium();

    ComPtr<IDataObject> FDataObject;
    ComPtr<IEnumFORMATETC> FEnum;
    FORMATETC FFormatEtc;
    bool FValid = false;
    int FCount = 0;
    std::unique_ptr<TStringList> FFiles;
    STGMEDIUM FMedium;
};

// A drop target taking text, files and (while allowed) RTF; what is dropped goes to the hooks.
class TAEDropTarget : public TInterfacedObject<IDropTarget> {
public:
    TAEDropTarget() = default;

    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    // The points are screen points.
    virtual void DropText(TPoint pt, const String& s) {}
    virtual void DropRTF(TPoint pt, const String& s) {}
    virtual void DropFiles(TPoint pt, TStrings* Files) {}
    virtual void DragMouseMove(TPoint pt, bool& Allow) { Allow = true; }

private:
    bool FAcceptable = false;
};

class TAEDropSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;
    // The last feedback had no drop effect.
    bool NoAccept() const { return FNoAccept; }

private:
    bool FNoAccept = false;
};

// A text (and its RTF) offered as CF_TEXT, CF_UNICODETEXT and, while allowed, RTF.
class TSourceDataObject : public TInterfacedObject<IDataObject> {
public:
    TSourceDataObject(const String& stxt, const String& srtf) : FText(stxt), FRtf(srtf) {}

    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const FORMATETC* format) override;
    HRESULT GetCanonicalFormatEtc(const FORMATETC* format, FORMATETC* canonical) override;
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return DV_E_FORMATETC; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA** advises) override;

private:
    String FText;
    String FRtf;
};

// CF_TEXT, CF_UNICODETEXT and the RTF format, each for DVASPECT_CONTENT in global memory.
class TSourceEnumFormatEtc : public TInterfacedObject<IEnumFORMATETC> {
public:
    explicit TSourceEnumFormatEtc(int index = 0) : FIndex(index) {}
    HRESULT Next(ULONG count, FORMATETC* items, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** copy) override;
    int Index() const { return FIndex; }

private:
    int FIndex;
};

// Drags the text out through the drag loop: DRAGDROP_S_CANCEL when the source's last feedback
// had no effect, else the loop's answer.
HRESULT StartTextDrag(const String& text, const String& rtf, DWORD okeffects, DWORD& effect);
