#include "platform/ui/ComCtrlsRich.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Streams.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/StdCtrlsShared.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

using ui::stdctrls::MakeLong;

namespace {

// CHARFORMAT's and CHARFORMAT2's common head; the face name differs in width.
template <class CF>
void FillFormat(CF& cf, const ui::RichCharFormat& f, DWORD mask) {
    cf.dwMask = mask;
    cf.dwEffects = (f.Style.Contains(fsBold) ? CFE_BOLD : 0) | (f.Style.Contains(fsItalic) ? CFE_ITALIC : 0) |
                   (f.Style.Contains(fsUnderline) ? CFE_UNDERLINE : 0) | (f.Style.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0) |
                   (f.Color == clWindowText ? CFE_AUTOCOLOR : 0);
    cf.yHeight = f.Height;
    cf.crTextColor = static_cast<COLORREF>(ColorToRGB(f.Color));
    cf.bCharSet = static_cast<uint8_t>(f.Charset);
}

template <class CF>
ui::RichCharFormat ReadFormat(const CF& cf) {
    ui::RichCharFormat f;
    if (cf.dwEffects & CFE_BOLD) f.Style << fsBold;
    if (cf.dwEffects & CFE_ITALIC) f.Style << fsItalic;
    if (cf.dwEffects & CFE_UNDERLINE) f.Style << fsUnderline;
    if (cf.dwEffects & CFE_STRIKEOUT) f.Style << fsStrikeOut;
    f.Height = std::clamp<int32_t>(cf.yHeight, 20, 32760);
    f.Color = (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(cf.crTextColor & 0xFFFFFF);
    f.Charset = cf.bCharSet;
    return f;
}

constexpr DWORD kFormatFields = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET | CFM_OFFSET | CFM_FACE |
                                CFM_COLOR | CFM_SIZE;

std::string ReadAll(TStream* stream) {
    std::string bytes;
    char buf[8192];
    for (;;) {
        int32_t n = stream->Read(buf, sizeof buf);
        if (n <= 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    return bytes;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TTextAttributes

CHARFORMAT2 TTextAttributes::Get() const {
    CHARFORMAT2 cf;
    FEdit->Perform(EM_GETCHARFORMAT, FKind == Default ? SCF_DEFAULT : SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
}

void TTextAttributes::Set(CHARFORMAT2 cf) {
    FEdit->Perform(EM_SETCHARFORMAT, FKind == Default ? SCF_DEFAULT : SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

String TTextAttributes::Name() const { return String(Get().szFaceName); }

void TTextAttributes::SetName(const String& value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_FACE;
    std::u16string_view v(value);
    v = v.substr(0, 31);
    std::copy(v.begin(), v.end(), cf.szFaceName);
    Set(cf);
}

int TTextAttributes::Size() const { return Get().yHeight / 20; }

void TTextAttributes::SetSize(int value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = value * 20;
    Set(cf);
}

TColor TTextAttributes::Color() const {
    CHARFORMAT2 cf = Get();
    return (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(cf.crTextColor);
}

void TTextAttributes::SetColor(TColor value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_COLOR;
    if (value == clWindowText || value == clDefault) cf.dwEffects = CFE_AUTOCOLOR;
    else cf.crTextColor = static_cast<COLORREF>(ColorToRGB(value));
    Set(cf);
}

TFontStyles TTextAttributes::Style() const { return ReadFormat(Get()).Style; }

void TTextAttributes::SetStyle(TFontStyles value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    ui::RichCharFormat f;
    f.Style = value;
    FillFormat(cf, f, cf.dwMask);
    cf.dwEffects &= ~CFE_AUTOCOLOR;
    Set(cf);
}

TFontCharset TTextAttributes::Charset() const { return Get().bCharSet; }

void TTextAttributes::SetCharset(TFontCharset value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_CHARSET;
    cf.bCharSet = static_cast<uint8_t>(value);
    Set(cf);
}

void TTextAttributes::Assign(const TPersistent* Source) {
    if (auto* font = dynamic_cast<const TFont*>(Source)) {
        CHARFORMAT2 cf;
        ui::RichCharFormat f;
        f.Style = font->Style();
        f.Height = font->Size() * 20;
        f.Color = font->Color();
        f.Charset = font->Charset();
        FillFormat(cf, f, CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_FACE);
        const String fontName = font->Name();
        std::u16string_view v(fontName);
        v = v.substr(0, 31);
        std::copy(v.begin(), v.end(), cf.szFaceName);
        Set(cf);
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TParaAttributes

ui::RichParaFormat TParaAttributes::Get() const { return FEdit->FDoc.ParaFormat(FEdit->FDoc.ParagraphOf(FEdit->SelStart())); }

void TParaAttributes::Set(const ui::RichParaFormat& format) {
    FEdit->FDoc.ApplyParaFormat(FEdit->SelStart(), FEdit->SelStart() + FEdit->SelLength(), format);
    FEdit->ShowContent();
    FEdit->Relayout();
    FEdit->CheckResize(false);
}

TAlignment TParaAttributes::Alignment() const {
    switch (Get().Align) {
        case ui::RichAlign::Right: return taRightJustify;
        case ui::RichAlign::Center: return taCenter;
        default: return taLeftJustify;
    }
}

void TParaAttributes::SetAlignment(TAlignment value) {
    ui::RichParaFormat f = Get();
    f.Align = value == taRightJustify ? ui::RichAlign::Right : value == taCenter ? ui::RichAlign::Center : ui::RichAlign::Left;
    Set(f);
}

int TParaAttributes::FirstIndent() const { return Get().FirstIndent / 20; }
void TParaAttributes::SetFirstIndent(int value) {
    ui::RichParaFormat f = Get();
    f.FirstIndent = value * 20;
    Set(f);
}
int TParaAttributes::LeftIndent() const { return Get().LeftIndent / 20; }
void TParaAttributes::SetLeftIndent(int value) {
    ui::RichParaFormat f = Get();
    f.LeftIndent = value * 20;
    Set(f);
}
int TParaAttributes::RightIndent() const { return Get().RightIndent / 20; }
void TParaAttributes::SetRightIndent(int value) {
    ui::RichParaFormat f = Get();
    f.RightIndent = value * 20;
    Set(f);
}

// ---------------------------------------------------------------------------------------------
// TRichEditStrings

int TRichEditStrings::Count() const { return static_cast<int>(ui::stdctrls::SplitLines(FEdit->FDoc.Text()).size()); }

String TRichEditStrings::Get(int Index) const {
    auto lines = ui::stdctrls::SplitLines(FEdit->FDoc.Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    return String(FEdit->FDoc.Text().substr(static_cast<size_t>(s), static_cast<size_t>(e - s)));
}

void TRichEditStrings::Put(int Index, const String& S) {
    auto lines = ui::stdctrls::SplitLines(FEdit->FDoc.Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    FEdit->Changed(FEdit->FDoc.Replace(s, e, S, false));
}

void TRichEditStrings::Insert(int Index, const String& S) {
    const String& t = FEdit->FDoc.Text();
    auto lines = ui::stdctrls::SplitLines(t);
    if (Index < 0 || Index > static_cast<int>(lines.size())) IndexError(Index);
    const String crlf(u"\r\n");
    if (Index < static_cast<int>(lines.size())) {
        int at = lines[static_cast<size_t>(Index)].first;
        FEdit->Changed(FEdit->FDoc.Replace(at, at, S + crlf, false));
    } else {
        bool open = !t.empty() && t.back() != u'\n';
        FEdit->Changed(FEdit->FDoc.Replace(t.Length(), t.Length(), open ? crlf + S : S + crlf, false));
    }
}

void TRichEditStrings::Delete(int Index) {
    const String& t = FEdit->FDoc.Text();
    auto lines = ui::stdctrls::SplitLines(t);
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    int start = lines[static_cast<size_t>(Index)].first;
    int end = Index + 1 < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(Index) + 1].first : t.Length();
    FEdit->Changed(FEdit->FDoc.Replace(start, end, String(), false));
}

void TRichEditStrings::Clear() { FEdit->SetText(String()); }

void TRichEditStrings::SetText(const String& Value) { FEdit->SetText(Value); }

void TRichEditStrings::LoadFromStream(TStream* Stream) {
    std::string bytes = ReadAll(Stream);
    FEdit->LoadBytes(bytes, !FEdit->PlainText() && ui::LooksLikeRtf(bytes));
}

void TRichEditStrings::SaveToStream(TStream* Stream, TextEncoding Encoding) const {
    std::string bytes = FEdit->PlainText() ? EncodeText(FEdit->FDoc.Text(), Encoding) : FEdit->SaveBytes(true);
    if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// ---------------------------------------------------------------------------------------------
// TCustomRichEdit

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TNativeControlOf(AOwner),
      FLines(std::make_unique<TRichEditStrings>(this)),
      FSelAttributes(std::make_unique<TTextAttributes>(this, TTextAttributes::Selected)),
      FDefAttributes(std::make_unique<TTextAttributes>(this, TTextAttributes::Default)),
      FParagraph(std::make_unique<TParaAttributes>(this)) {
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(clWindow);
    Perform(CM_FONTCHANGED, 0, 0);
}

TCustomRichEdit::~TCustomRichEdit() = default;

std::unique_ptr<ui::RichTextView> TCustomRichEdit::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateRichTextView(host, this);
}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
    TNativeControlOf::CreateParams(Params);
    Params.Style |= ES_MULTILINE | ES_WANTRETURN;
    if (FBorderStyle == bsSingle) AddBorderStyle(Params);
}

void TCustomRichEdit::InitView() {
    ui::RichTextView* v = View();
    v->SetContent(FDoc.Content());
    v->SetReadOnly(ReadOnly());
    v->SetWordWrap(FWordWrap);
    v->SetScrollBars(FScrollBars);
    v->SetHideSelection(FHideSelection);
    TRect client = ClientRect(), fr = FormatRect();
    v->SetTextMargins(TRect(std::max(0, fr.Left), std::max(0, fr.Top), std::max(0, client.Right - fr.Right), std::max(0, client.Bottom - fr.Bottom)));
    v->SetSelection(FDoc.Edit().ToView(FDoc.Edit().Anchor()), FDoc.Edit().ToView(FDoc.Edit().Caret()));
}

void TCustomRichEdit::CMFontChanged(TMessage& Message) {
    TNativeControlOf::CMFontChanged(Message);
    FDefAttributes->Assign(Font());
}

void TCustomRichEdit::PaintWindow(HDC DC) {
    if (View()) View()->SetColors((WindowExStyle() & WS_EX_TRANSPARENT) ? clNone : ShownColor(), ShownTextColor());
    TNativeControlOf::PaintWindow(DC);
}

void TCustomRichEdit::WMEraseBkgnd(TMessage& Message) {
    TWinControl* parent = Parent();
    TBitmap* under = parent ? parent->BackingImage() : nullptr;
    TCanvas* c = TCanvas::FromHandle(reinterpret_cast<HDC>(Message.WParam));
    if (!(WindowExStyle() & WS_EX_TRANSPARENT) || !under || !c) {
        TNativeControlOf::WMEraseBkgnd(Message);
        return;
    }
    // The parent's image holds its frame: its client area and this control's client area
    // within its bounds place the part under the DC's origin.
    TRect pc = parent->ClientArea(), own = ClientArea();
    int x = pc.Left + Left() + own.Left, y = pc.Top + Top() + own.Top;
    TRect client = ClientRect();
    c->CopyRect(client, under->Canvas(), TRect(x, y, x + client.Width(), y + client.Height()));
    Message.Result = 1;
}

TCanvas& TCustomRichEdit::MeasureCanvas() {
    if (!FMeasure) {
        FMeasure = std::make_unique<TBitmap>();
        FMeasure->SetSize(1, 1);
    }
    return *FMeasure->Canvas();
}

const ui::RichLayout& TCustomRichEdit::Layout() {
    if (!FLayoutValid) {
        ui::RichLayout::Options o;
        o.Width = FormatRect().Width();
        o.Wrap = FWordWrap;
        FLayout.Build(FDoc, MeasureCanvas(), o);
        FLayoutValid = true;
    }
    return FLayout;
}

void TCustomRichEdit::ShowContent() {
    Relayout();
    if (auto v = ChangeView()) v->SetContent(FDoc.Content());
}

void TCustomRichEdit::SendNotify(NMHDR& header) {
    header.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    if (Parent() && Parent()->HandleAllocated() && HandleAllocated())
        SendMessage(Parent()->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    else Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void TCustomRichEdit::ShowSelection() {
    const ui::EditModel& m = FDoc.Edit();
    if (auto v = ChangeView()) v->SetSelection(m.ToView(m.Anchor()), m.ToView(m.Caret()));
    if (m.Anchor() == FLastAnchor && m.Caret() == FLastCaret) return;
    FLastAnchor = m.Anchor();
    FLastCaret = m.Caret();
    if (!(FEventMask & ENM_SELCHANGE)) return;
    SELCHANGE sc;
    sc.nmhdr.code = EN_SELCHANGE;
    sc.chrg.cpMin = SelStart();
    sc.chrg.cpMax = SelStart() + SelLength();
    sc.seltyp = SelLength() ? SEL_TEXT : SEL_EMPTY;
    SendNotify(sc.nmhdr);
}

void TCustomRichEdit::SetSelection(int anchor, int caret) {
    FDoc.SetSelection(anchor, caret);
    ShowSelection();
}

void TCustomRichEdit::SetSelStart(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(value), value); }
void TCustomRichEdit::SetSelLength(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(SelStart()), SelStart() + value); }
void TCustomRichEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomRichEdit::SetSelText(const String& value) { Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str())); }

void TCustomRichEdit::SetWordWrap(bool value) {
    FWordWrap = value;
    Relayout();
    if (auto v = ChangeView()) v->SetWordWrap(value);
    CheckResize(true);
}

void TCustomRichEdit::SetHideSelection(bool value) {
    FHideSelection = value;
    if (auto v = ChangeView()) v->SetHideSelection(value);
}

void TCustomRichEdit::SetReadOnly(bool value) { Perform(EM_SETREADONLY, value ? 1 : 0, 0); }

void TCustomRichEdit::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateFrame();
}

void TCustomRichEdit::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    if (auto v = ChangeView()) v->SetScrollBars(value);
}

void TCustomRichEdit::TakeModelText() {
    FInternalText = true;
    try {
        TControl::SetText(FDoc.Text());
    } catch (...) {
        FInternalText = false;
        throw;
    }
    FInternalText = false;
}

void TCustomRichEdit::Changed(const ui::EditModel::Change& change) {
    if (!change.Changed) return;
    ShowContent();
    TakeModelText();
    ShowSelection();
    CheckResize(false);
}

void TCustomRichEdit::Reload() {
    ShowContent();
    TakeModelText();
    ShowSelection();
    CheckResize(false);
}

void TCustomRichEdit::CMTextChanged(TMessage& Message) {
    if (!FInternalText && Text() != FDoc.Text()) {
        // Written by the program: the default format, the caret at the start.
        FDoc.SetText(Text());
        ShowContent();
        ShowSelection();
        CheckResize(false);
    }
    TWinControl::CMTextChanged(Message);
    if (FEventMask & ENM_CHANGE) Notify(EN_CHANGE);
}

void TCustomRichEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange() {
    if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::RequestSize(const TRect& Rect) {
    if (OnResizeRequest) OnResizeRequest(this, Rect);
}

TSize TCustomRichEdit::NeededSize() {
    const ui::RichLayout& l = Layout();
    TRect client = ClientRect(), fr = FormatRect();
    int mx = std::max(0, fr.Left - client.Left) + std::max(0, client.Right - fr.Right);
    int my = std::max(0, fr.Top - client.Top) + std::max(0, client.Bottom - fr.Bottom);
    return TSize(FWordWrap ? fr.Width() : l.WidestLine() + mx, l.Height() + my);
}

void TCustomRichEdit::CheckResize(bool force) {
    if (!(FEventMask & ENM_REQUESTRESIZE)) return;
    TSize size = NeededSize();
    if (!force && size.cx == FLastRequest.cx && size.cy == FLastRequest.cy) return;
    FLastRequest = size;
    REQRESIZE r;
    r.nmhdr.code = EN_REQUESTRESIZE;
    r.rc = TRect(0, 0, size.cx, size.cy);
    SendNotify(r.nmhdr);
}

void TCustomRichEdit::WMSize(TMessage& Message) {
    TNativeControlOf::WMSize(Message);
    Relayout();
    if (auto v = ChangeView()) InitView();
}

void TCustomRichEdit::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS; }

void TCustomRichEdit::WMLButtonDown(TMessage& Message) {
    FocusOnClick();
    TRect fr = FormatRect();
    Layout();
    int pos = FLayout.CharAt(FDoc, MeasureCanvas(), GET_X_LPARAM(Message.LParam) - fr.Left, GET_Y_LPARAM(Message.LParam) - fr.Top);
    SetSelection((Message.WParam & MK_SHIFT) ? FDoc.Edit().Anchor() : pos, pos);
    TNativeControlOf::WMLButtonDown(Message);
}

void TCustomRichEdit::KeyAction(WORD key) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const ui::EditModel& m = FDoc.Edit();
    int caret = m.Caret();
    switch (key) {
        case VK_LEFT:
            if (!shift && m.SelLength() > 0) caret = m.SelStart();
            else caret = ctrl ? m.WordStart(caret) : m.Step(caret, -1);
            break;
        case VK_RIGHT:
            if (!shift && m.SelLength() > 0) caret = m.SelStart() + m.SelLength();
            else caret = ctrl ? m.WordEnd(caret) : m.Step(caret, 1);
            break;
        case VK_HOME: caret = ctrl ? 0 : m.LineStart(caret); break;
        case VK_END: caret = ctrl ? m.Text().Length() : m.LineEnd(caret); break;
        case VK_UP:
        case VK_DOWN:
            caret = key == VK_UP ? m.LineAbove(caret) : m.LineBelow(caret);
            if (caret < 0) return;
            break;
        case VK_DELETE:
            if (shift) Perform(WM_CUT, 0, 0);
            else Changed(FDoc.DeleteForward());
            return;
        default: return;
    }
    SetSelection(shift ? m.Anchor() : caret, caret);
}

LRESULT TCustomRichEdit::GetCharFormat(WPARAM scope, LPARAM format) {
    if (!format) return 0;
    UINT size = *reinterpret_cast<const UINT*>(format);
    if (size != sizeof(CHARFORMAT) && size != sizeof(CHARFORMAT2)) return 0;
    uint32_t alike = ui::rfAll;
    ui::RichCharFormat f = scope == SCF_DEFAULT ? FDoc.DefaultFormat() : FDoc.RangeFormat(SelStart(), SelStart() + SelLength(), &alike);
    DWORD mask = alike & kFormatFields;
    std::u16string_view name(f.Name);
    name = name.substr(0, 31);
    if (size == sizeof(CHARFORMAT)) {
        auto& cf = *reinterpret_cast<CHARFORMAT*>(format);
        FillFormat(cf, f, mask & ~CFM_OFFSET);
        std::string narrow = Utf16ToUtf8(name).substr(0, 31);
        std::memset(cf.szFaceName, 0, sizeof cf.szFaceName);
        std::memcpy(cf.szFaceName, narrow.data(), narrow.size());
        return cf.dwMask;
    }
    auto& cf = *reinterpret_cast<CHARFORMAT2*>(format);
    FillFormat(cf, f, mask);
    cf.yOffset = f.Offset;
    std::fill(std::begin(cf.szFaceName), std::end(cf.szFaceName), u'\0');
    std::copy(name.begin(), name.end(), cf.szFaceName);
    return cf.dwMask;
}

LRESULT TCustomRichEdit::SetCharFormat(WPARAM scope, LPARAM format) {
    if (!format) return 0;
    UINT size = *reinterpret_cast<const UINT*>(format);
    ui::RichCharFormat f;
    DWORD mask = 0;
    if (size == sizeof(CHARFORMAT)) {
        const auto& cf = *reinterpret_cast<const CHARFORMAT*>(format);
        f = ReadFormat(cf);
        f.Name = Utf8ToUtf16(std::string(cf.szFaceName, strnlen(cf.szFaceName, sizeof cf.szFaceName)));
        mask = cf.dwMask & kFormatFields & ~CFM_OFFSET;  // the narrow record has no offset
    } else if (size == sizeof(CHARFORMAT2)) {
        const auto& cf = *reinterpret_cast<const CHARFORMAT2*>(format);
        f = ReadFormat(cf);
        size_t n = 0;
        while (n < 32 && cf.szFaceName[n]) ++n;
        f.Name = String(std::u16string_view(cf.szFaceName, n));
        f.Offset = std::clamp<int32_t>(cf.yOffset, -32760, 32760);
        mask = cf.dwMask & kFormatFields;
    } else {
        return 0;
    }
    if ((mask & CFM_FACE) && f.Name.empty()) mask &= ~CFM_FACE;
    if (scope & SCF_ALL) {
        FDoc.ApplyCharFormat(0, FDoc.Text().Length(), f, mask);
        if (FDoc.Text().empty()) FDoc.SetDefaultFormat(f, mask);
    } else if (scope & SCF_SELECTION) {
        FDoc.ApplyCharFormat(SelStart(), SelStart() + SelLength(), f, mask);
    } else {
        FDoc.SetDefaultFormat(f, mask);
    }
    ShowContent();
    CheckResize(false);
    return 1;
}

LRESULT TCustomRichEdit::FormatRange(WPARAM render, LPARAM range) {
    // nil: the layout kept for the pages is let go.
    if (!range) return 0;
    const auto& fr = *reinterpret_cast<const FORMATRANGE*>(range);
    int len = FDoc.Text().Length();
    int start = std::max<int32_t>(0, fr.chrg.cpMin);
    int end = fr.chrg.cpMax < 0 || fr.chrg.cpMax > len ? len : fr.chrg.cpMax;
    TCanvas* canvas = fr.hdc ? TCanvas::FromHandle(fr.hdc) : nullptr;
    if (!canvas || start > len || end < start) return start;
    int dpiX = GetDeviceCaps(fr.hdc, LOGPIXELSX), dpiY = GetDeviceCaps(fr.hdc, LOGPIXELSY);
    if (dpiX <= 0) dpiX = 96;
    if (dpiY <= 0) dpiY = 96;
    auto px = [](int twips, int dpi) { return static_cast<int>((int64_t{twips} * dpi + (twips >= 0 ? 720 : -720)) / 1440); };
    TRect rc(px(fr.rc.Left, dpiX), px(fr.rc.Top, dpiY), px(fr.rc.Right, dpiX), px(fr.rc.Bottom, dpiY));
    if (rc.Width() <= 0 || rc.Height() <= 0) return start;
    ui::RichLayout layout;
    ui::RichLayout::Options o;
    o.Width = rc.Width();
    o.Wrap = FWordWrap;
    o.DpiX = dpiX;
    o.DpiY = dpiY;
    o.From = start;
    o.To = end;
    o.MaxHeight = rc.Height();
    layout.Build(FDoc, *canvas, o);
    if (render) layout.Draw(FDoc, *canvas, rc.Left, rc.Top);
    return layout.End();
}

void TCustomRichEdit::LoadBytes(const std::string& bytes, bool rtf) {
    if (rtf) FDoc.SetContent(ui::ReadRtf(bytes, FDoc.DefaultFormat()));
    else FDoc.SetText(DecodeText(bytes));
    Reload();
}

std::string TCustomRichEdit::SaveBytes(bool rtf) const {
    return rtf ? ui::WriteRtf(FDoc.Content()) : EncodeText(FDoc.Text(), TextEncoding::Utf8);
}

LRESULT TCustomRichEdit::StreamIn(WPARAM format, EDITSTREAM* stream) {
    if (!stream || !stream->pfnCallback) return 0;
    std::string bytes;
    uint8_t buf[4096];
    for (;;) {
        int32_t got = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, buf, static_cast<int32_t>(sizeof buf), &got);
        if (error) {
            // The callback failed: the previous content stays.
            stream->dwError = error;
            return 0;
        }
        if (got <= 0) break;
        bytes.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(std::min<int32_t>(got, sizeof buf)));
    }
    stream->dwError = 0;
    LoadBytes(bytes, (format & SF_RTF) && ui::LooksLikeRtf(bytes));
    return FDoc.Text().Length();
}

LRESULT TCustomRichEdit::StreamOut(WPARAM format, EDITSTREAM* stream) {
    if (!stream || !stream->pfnCallback) return 0;
    std::string bytes = SaveBytes((format & SF_RTF) != 0);
    size_t done = 0;
    stream->dwError = 0;
    while (done < bytes.size()) {
        auto chunk = static_cast<int32_t>(std::min<size_t>(bytes.size() - done, 4096));
        int32_t written = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, reinterpret_cast<uint8_t*>(bytes.data() + done), chunk, &written);
        if (error) {
            stream->dwError = error;
            break;
        }
        if (written <= 0) break;
        done += static_cast<size_t>(std::min(written, chunk));
    }
    return static_cast<LRESULT>(done);
}

void TCustomRichEdit::DefaultHandler(TMessage& Message) {
    const ui::EditModel& m = FDoc.Edit();
    switch (Message.Msg) {
        case WM_KEYDOWN: KeyAction(static_cast<WORD>(Message.WParam)); return;
        case WM_CHAR: {
            auto ch = static_cast<char16_t>(Message.WParam);
            switch (ch) {
                case 0x01: SelectAll(); return;
                case 0x03: Perform(WM_COPY, 0, 0); return;
                case 0x16: Perform(WM_PASTE, 0, 0); return;
                case 0x18: Perform(WM_CUT, 0, 0); return;
                case 0x1A: Perform(WM_UNDO, 0, 0); return;
                case u'\b': Changed(FDoc.DeleteBack()); return;
                default:
                    if (ch >= 0x20 || ch == u'\r' || ch == u'\t') Changed(FDoc.Type(ch));
                    return;
            }
        }
        case WM_COPY:
            if (SelLength() > 0) ui::SetNativeClipboardText(SelText());
            return;
        case WM_CUT:
            if (SelLength() == 0) return;
            ui::SetNativeClipboardText(SelText());
            if (!ReadOnly()) Changed(FDoc.Replace(SelStart(), SelStart() + SelLength(), String(), true));
            return;
        case WM_PASTE: {
            String s = ui::NativeClipboardText();
            if (!ReadOnly() && !s.empty()) Changed(FDoc.Replace(SelStart(), SelStart() + SelLength(), s, true));
            return;
        }
        case WM_CLEAR:
            if (!ReadOnly() && SelLength() > 0) Changed(FDoc.Replace(SelStart(), SelStart() + SelLength(), String(), true));
            return;
        case WM_UNDO:
        case EM_UNDO:
            Message.Result = m.CanUndo() ? 1 : 0;
            if (FDoc.Undo()) Reload();
            return;
        case EM_CANUNDO: Message.Result = m.CanUndo() ? 1 : 0; return;
        case EM_EMPTYUNDOBUFFER: FDoc.ClearUndo(); return;
        case EM_SETSEL:
        case EM_EXSETSEL: {
            int len = FDoc.Text().Length(), start, end;
            if (Message.Msg == EM_SETSEL) {
                start = static_cast<int>(static_cast<int32_t>(Message.WParam));
                end = static_cast<int>(static_cast<int32_t>(Message.LParam));
            } else {
                if (!Message.LParam) return;
                const auto& cr = *reinterpret_cast<const CHARRANGE*>(Message.LParam);
                start = cr.cpMin;
                end = cr.cpMax;
            }
            if (start == -1) {
                SetSelection(m.Caret(), m.Caret());
            } else {
                if (end < 0 || end > len) end = len;
                SetSelection(std::min(std::max(start, 0), len), end);
            }
            Message.Result = SelStart() + SelLength();
            return;
        }
        case EM_GETSEL: {
            auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = s;
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = e;
            Message.Result = static_cast<LRESULT>(MakeLong(std::min<DWORD>(s, 0xFFFF), std::min<DWORD>(e, 0xFFFF)));
            return;
        }
        case EM_EXGETSEL:
            if (Message.LParam) {
                auto& cr = *reinterpret_cast<CHARRANGE*>(Message.LParam);
                cr.cpMin = SelStart();
                cr.cpMax = SelStart() + SelLength();
            }
            return;
        case EM_REPLACESEL: {
            String s = Message.LParam ? String(reinterpret_cast<const char16_t*>(Message.LParam)) : String();
            FDoc.SetModified(true);
            Changed(FDoc.Replace(SelStart(), SelStart() + SelLength(), s, Message.WParam != 0));
            return;
        }
        case EM_LIMITTEXT: FDoc.SetMaxLength(static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFE))); return;
        case EM_SETREADONLY:
            FDoc.SetReadOnly(Message.WParam != 0);
            if (auto v = ChangeView()) v->SetReadOnly(ReadOnly());
            Message.Result = 1;
            return;
        case EM_GETMODIFY: Message.Result = m.Modified() ? 1 : 0; return;
        case EM_SETMODIFY: FDoc.SetModified(Message.WParam != 0); return;
        case EM_GETLINECOUNT: Message.Result = std::max<LRESULT>(1, static_cast<LRESULT>(Layout().Lines().size())); return;
        case EM_LINEINDEX: {
            int line = static_cast<int>(static_cast<int32_t>(Message.WParam));
            const auto& lines = Layout().Lines();
            if (line < 0) line = FLayout.LineOf(m.Caret());
            Message.Result = line >= 0 && line < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(line)].Start : -1;
            return;
        }
        case EM_LINEFROMCHAR: {
            int pos = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Layout();
            Message.Result = std::max(0, FLayout.LineOf(pos < 0 ? m.Caret() : pos));
            return;
        }
        case EM_POSFROMCHAR: {
            Message.Result = -1;
            int pos = static_cast<int>(Message.WParam);
            if (pos < 0 || pos > FDoc.Text().Length()) return;
            Layout();
            TPoint p = FLayout.PosOf(FDoc, MeasureCanvas(), pos);
            TRect fr = FormatRect();
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(p.X + fr.Left), static_cast<WORD>(p.Y + fr.Top)));
            return;
        }
        case EM_CHARFROMPOS: {
            TRect fr = FormatRect();
            int x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(Message.LParam))) - fr.Left;
            int y = static_cast<int16_t>(HIWORD(static_cast<DWORD>(Message.LParam))) - fr.Top;
            Layout();
            int pos = FLayout.CharAt(FDoc, MeasureCanvas(), x, y);
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(pos), static_cast<WORD>(std::max(0, FLayout.LineOf(pos)))));
            return;
        }
        case EM_GETRECT:
            if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = FormatRect();
            return;
        case EM_SETRECT:
        case EM_SETRECTNP:
            FFormatRect = Message.LParam ? *reinterpret_cast<const TRect*>(Message.LParam) : TRect();
            FRectSet = Message.LParam != 0;
            Relayout();
            if (auto v = ChangeView()) InitView();
            CheckResize(false);
            return;
        case EM_SETCHARFORMAT: Message.Result = SetCharFormat(Message.WParam, Message.LParam); return;
        case EM_GETCHARFORMAT: Message.Result = GetCharFormat(Message.WParam, Message.LParam); return;
        case EM_SETEVENTMASK:
            Message.Result = static_cast<LRESULT>(FEventMask);
            FEventMask = static_cast<DWORD>(Message.LParam);
            return;
        case EM_GETEVENTMASK: Message.Result = static_cast<LRESULT>(FEventMask); return;
        case EM_REQUESTRESIZE: CheckResize(true); return;
        case EM_SETBKGNDCOLOR:
            Message.Result = static_cast<LRESULT>(ColorToRGB(Color()));
            SetColor(Message.WParam ? clWindow : static_cast<TColor>(Message.LParam & 0xFFFFFF));
            return;
        case EM_FORMATRANGE: Message.Result = FormatRange(Message.WParam, Message.LParam); return;
        case EM_STREAMIN: Message.Result = StreamIn(Message.WParam, reinterpret_cast<EDITSTREAM*>(Message.LParam)); return;
        case EM_STREAMOUT: Message.Result = StreamOut(Message.WParam, reinterpret_cast<EDITSTREAM*>(Message.LParam)); return;
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == EN_CHANGE) Change();
            return;
        case CN_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
            if (!header) return;
            if (header->code == EN_SELCHANGE) SelectionChange();
            else if (header->code == EN_REQUESTRESIZE) RequestSize(reinterpret_cast<const REQRESIZE*>(header)->rc);
            return;
        }
        default: TNativeControlOf::DefaultHandler(Message); return;
    }
}
