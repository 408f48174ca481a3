#pragma once
// The rich edit of the ComCtrls unit: a native control that keeps a rich text document
// (platform/ui/RichText.h) and its rules, and shows it on its view. Lines, positions, the size
// the content needs and what a page holds are the layer's own layout, not the view's.
#include <functional>
#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/CommNotify.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/ui/RichText.h"
#include "platform/ui/StdCtrls.h"

// Rich edit messages.
constexpr UINT EM_EXGETSEL = 0x0434, EM_EXSETSEL = 0x0437, EM_FORMATRANGE = 0x0439, EM_GETCHARFORMAT = 0x043A,
               EM_GETEVENTMASK = 0x043B, EM_REQUESTRESIZE = 0x0441, EM_SETBKGNDCOLOR = 0x0443,
               EM_SETCHARFORMAT = 0x0444, EM_SETEVENTMASK = 0x0445, EM_STREAMIN = 0x0449, EM_STREAMOUT = 0x044A;
// EM_SETCHARFORMAT's WParam: the default format, the selection, the whole text.
constexpr WPARAM SCF_DEFAULT = 0, SCF_SELECTION = 1, SCF_ALL = 4;
constexpr DWORD CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4, CFM_STRIKEOUT = 0x8, CFM_CHARSET = 0x08000000,
                CFM_OFFSET = 0x10000000, CFM_FACE = 0x20000000, CFM_COLOR = 0x40000000, CFM_SIZE = 0x80000000;
constexpr DWORD CFE_BOLD = 0x1, CFE_ITALIC = 0x2, CFE_UNDERLINE = 0x4, CFE_STRIKEOUT = 0x8, CFE_AUTOCOLOR = 0x40000000;
constexpr DWORD ENM_NONE = 0, ENM_CHANGE = 0x1, ENM_REQUESTRESIZE = 0x40000, ENM_SELCHANGE = 0x80000;
constexpr UINT EN_REQUESTRESIZE = 0x0701, EN_SELCHANGE = 0x0702;
constexpr WPARAM SF_TEXT = 0x1, SF_RTF = 0x2;
constexpr WORD SEL_EMPTY = 0, SEL_TEXT = 1;

// The character format of the messages. CHARFORMAT (60 bytes) names its face in narrow
// characters and has no offset: CFM_OFFSET leaves the offset as it is. CHARFORMAT2 (92 bytes)
// names it in wide characters and takes the offset. Heights and offsets are in twips.
struct CHARFORMAT {
    UINT cbSize = sizeof(CHARFORMAT);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    int32_t yHeight = 0;
    int32_t yOffset = 0;
    COLORREF crTextColor = 0;
    uint8_t bCharSet = 0;
    uint8_t bPitchAndFamily = 0;
    char szFaceName[32] = {};
};
struct CHARFORMAT2 {
    UINT cbSize = sizeof(CHARFORMAT2);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    int32_t yHeight = 0;
    int32_t yOffset = 0;
    COLORREF crTextColor = 0;
    uint8_t bCharSet = 0;
    uint8_t bPitchAndFamily = 0;
    char16_t szFaceName[32] = {};
};
static_assert(sizeof(CHARFORMAT) == 60 && sizeof(CHARFORMAT2) == 92);

struct CHARRANGE {
    int32_t cpMin = 0;
    int32_t cpMax = 0;  // -1: the end
};
// EM_FORMATRANGE: the text of chrg laid out in rc (twips, on the render DC) and drawn on hdc.
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    TRect rc;
    TRect rcPage;
    CHARRANGE chrg;
};
// EM_STREAMIN / EM_STREAMOUT: the callback fills or takes cb bytes at buf and tells how many in
// *pcb; an answer other than 0 is an error that stops the transfer.
using EDITSTREAMCALLBACK = DWORD (*)(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb);
struct EDITSTREAM {
    uintptr_t dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};
struct REQRESIZE {
    NMHDR nmhdr;
    TRect rc;
};
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp = SEL_EMPTY;
};

class TCustomRichEdit;

// The character format of the selection (SelAttributes) or the default one (DefAttributes),
// read and set through EM_GETCHARFORMAT and EM_SETCHARFORMAT.
class TTextAttributes : public TPersistent {
public:
    enum Kind { Selected, Default };
    TTextAttributes(TCustomRichEdit* edit, Kind kind) : FEdit(edit), FKind(kind) {}
    const char* ClassName() const override { return "TTextAttributes"; }
    String Name() const;
    void SetName(const String& value);
    int Size() const;  // points
    void SetSize(int value);
    TColor Color() const;
    void SetColor(TColor value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    TFontCharset Charset() const;
    void SetCharset(TFontCharset value);
    // Sets every field of a font.
    void Assign(const TPersistent* Source) override;

private:
    CHARFORMAT2 Get() const;
    void Set(CHARFORMAT2 format);
    TCustomRichEdit* FEdit;
    Kind FKind;
};

// The paragraph format of the selection's paragraphs (the first one's when read). Indents in
// points.
class TParaAttributes : public TPersistent {
public:
    explicit TParaAttributes(TCustomRichEdit* edit) : FEdit(edit) {}
    const char* ClassName() const override { return "TParaAttributes"; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    int FirstIndent() const;
    void SetFirstIndent(int value);
    int LeftIndent() const;
    void SetLeftIndent(int value);
    int RightIndent() const;
    void SetRightIndent(int value);

private:
    ui::RichParaFormat Get() const;
    void Set(const ui::RichParaFormat& format);
    TCustomRichEdit* FEdit;
};

// The rich edit's text as lines; LoadFromStream reads RTF (plain text when PlainText is set or
// the bytes do not start "{\rtf"), SaveToStream writes RTF bytes whatever encoding it is given
// (plain text when PlainText is set).
class TRichEditStrings final : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* edit) : FEdit(edit) {}
    int Count() const override;
    String Get(int Index) const override;
    void* GetObject(int) const override { return nullptr; }
    void PutObject(int, void*) override {}
    void Put(int Index, const String& S) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(const String& Value) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream, TextEncoding Encoding = TextEncoding::Utf8) const override;

private:
    TCustomRichEdit* FEdit;
};

using TRichEditResizeEvent = std::function<void(TObject* Sender, const TRect& Rect)>;

// A multi-line edit of formatted text. WS_EX_TRANSPARENT: no background of its own. EN_CHANGE
// takes the edit's road (CN_COMMAND, then OnChange); EN_SELCHANGE and EN_REQUESTRESIZE go to the
// parent as WM_NOTIFY, reflected back as CN_NOTIFY, where OnSelectionChange and OnResizeRequest
// run. The event mask (EM_SETEVENTMASK) starts with all three.
class TCustomRichEdit : public TNativeControlOf<ui::RichTextView> {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;
    const char* ClassName() const override { return "TCustomRichEdit"; }

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* value) { FLines->Assign(value); }
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool value) { FPlainText = value; }
    TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
    TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
    TParaAttributes* Paragraph() const { return FParagraph.get(); }

    int SelStart() const { return FDoc.Edit().SelStart(); }
    void SetSelStart(int value);
    int SelLength() const { return FDoc.Edit().SelLength(); }
    void SetSelLength(int value);
    String SelText() const { return FDoc.Edit().SelText(); }
    void SetSelText(const String& value);
    void SelectAll();
    void Clear() { SetText(String()); }

    bool WordWrap() const { return FWordWrap; }
    // Sends a resize request whether or not the size changed.
    void SetWordWrap(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool ReadOnly() const { return FDoc.Edit().ReadOnly(); }
    void SetReadOnly(bool value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);

    // The document and the layer's layout of it in the formatting rectangle (tests, and what
    // the messages answer from).
    const ui::RichDocument& Document() const { return FDoc; }
    const ui::RichLayout& Layout();
    // The formatting rectangle (EM_SETRECT); empty: the client area.
    TRect FormatRect() const { return FFormatRect.IsEmpty() && !FRectSet ? ClientRect() : FFormatRect; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    TRichEditResizeEvent OnResizeRequest;

protected:
    void CreateParams(TCreateParams& Params) override;
    std::unique_ptr<ui::RichTextView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    // WS_EX_TRANSPARENT: the view paints no background, what lies under the control shows.
    void PaintWindow(HDC DC) override;
    // WS_EX_TRANSPARENT: the erase copies the parent's picture under the control.
    void WMEraseBkgnd(TMessage& Message) override;
    virtual void Change();
    virtual void SelectionChange();
    virtual void RequestSize(const TRect& Rect);

private:
    friend class TRichEditStrings;
    friend class TTextAttributes;
    friend class TParaAttributes;
    // Shows a change of the document: the view, the control's text, EN_CHANGE, the selection
    // and a resize request.
    void Changed(const ui::EditModel::Change& change);
    void Reload();
    void ShowContent();
    void ShowSelection();
    void SetSelection(int anchor, int caret);
    void KeyAction(WORD key);
    void TakeModelText();
    void SendNotify(NMHDR& header);
    // Answers EN_REQUESTRESIZE when the needed size changed, or always when forced.
    void CheckResize(bool force);
    TSize NeededSize();
    void Relayout() { FLayoutValid = false; }
    LRESULT SetCharFormat(WPARAM scope, LPARAM format);
    LRESULT GetCharFormat(WPARAM scope, LPARAM format);
    LRESULT FormatRange(WPARAM render, LPARAM range);
    LRESULT StreamIn(WPARAM format, EDITSTREAM* stream);
    LRESULT StreamOut(WPARAM format, EDITSTREAM* stream);
    void LoadBytes(const std::string& bytes, bool rtf);
    std::string SaveBytes(bool rtf) const;
    TCanvas& MeasureCanvas();

    ui::RichDocument FDoc;
    std::unique_ptr<TRichEditStrings> FLines;
    std::unique_ptr<TTextAttributes> FSelAttributes, FDefAttributes;
    std::unique_ptr<TParaAttributes> FParagraph;
    bool FPlainText = false;
    bool FWordWrap = true;
    bool FHideSelection = true;
    TFormBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    DWORD FEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE;
    TRect FFormatRect;
    bool FRectSet = false;
    bool FInternalText = false;
    TSize FLastRequest{-1, -1};
    int FLastAnchor = 0, FLastCaret = 0;
    ui::RichLayout FLayout;
    bool FLayoutValid = false;
    std::unique_ptr<TBitmap> FMeasure;
};

class TRichEdit : public TCustomRichEdit {
public:
    using TCustomRichEdit::TCustomRichEdit;
    const char* ClassName() const override { return "TRichEdit"; }
};
