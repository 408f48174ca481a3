#include "platform/ui/StdCtrls.h"

#include <algorithm>
#include <string_view>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/win/Window.h"

namespace {

const String kCrLf(u"\r\n");

String InCase(const String& s, TEditCharCase c) {
    if (c == ecUpperCase) return AnsiUpperCase(s);
    if (c == ecLowerCase) return AnsiLowerCase(s);
    return s;
}

DWORD MakeLong(DWORD lo, DWORD hi) { return (lo & 0xFFFF) | ((hi & 0xFFFF) << 16); }

bool IsWordChar(char16_t c) { return c > u' ' && c != u'\r' && c != u'\n'; }

// The text a list or combo message points at (none for a null pointer).
String MessageText(LPARAM l) { return l ? String(reinterpret_cast<const char16_t*>(l)) : String(); }

// Copies an item's text with its terminating zero into the caller's buffer, when one is given.
void CopyItemText(const String& s, LPARAM buffer) {
    if (!buffer) return;
    auto* buf = reinterpret_cast<char16_t*>(buffer);
    std::copy(s.begin(), s.end(), buf);
    buf[s.size()] = 0;
}

// The first item after `after` (wrapping round) that starts with s, or equals it when exact,
// ignoring case; -1 when none does.
int FindItem(const TStrings& items, const String& s, int after, bool exact) {
    int n = items.Count();
    if (n == 0) return -1;
    String key = AnsiUpperCase(s);
    int first = (after < -1 || after >= n) ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        int i = (first + k) % n;
        String item = AnsiUpperCase(items.Get(i));
        if (exact ? item == key : item.compare(0, key.size(), key) == 0) return i;
    }
    return -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TNativeControl

TNativeControl::TNativeControl(TComponent* AOwner, ui::NativeKind kind)
    : TWinControl(AOwner), FKind(kind) {}

void TNativeControl::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    ApplyLooks();
}

TNativeControl::~TNativeControl() {
    // The view goes before the widget it lives in.
    FView.reset();
}

void TNativeControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (Peer()) FView = ui::CreateNativeView(FKind, *Peer(), this, this);
    if (FView) {
        if (FOwnerPainted) FView->SetOwnerPainted(true);
        ApplyLooks();
        FView->SetCaption(Text());
        InitView();
    }
}

void TNativeControl::ViewChanged() {
    // An owner-painted control shows the widget's picture in its own image: paint it again.
    if (FOwnerPainted && FView && !(FCanvas && FCanvas->Painting())) Invalidate();
}

void TNativeControl::RefreshView() {
    if (!FView) return;
    InitView();
    ViewChanged();
}

void TNativeControl::SetOwnerPainted(bool value) {
    FOwnerPainted = value;
    if (FView) FView->SetOwnerPainted(value);
    if (FView && value && FNativePicture) FView->SetOverlay(*FNativePicture, *FNativePicture);  // nothing over a hidden widget
    Invalidate();
}

TCanvas* TNativeControl::Canvas() {
    ui::CheckUiThread("Canvas");
    if (FItemCanvas) return FItemCanvas;
    return ui::OwnCanvas(this, FCanvas);
}

void TNativeControl::PaintNative(TCanvas* canvas) {
    if (!FView) return;
    TBitmap picture(Width(), Height());
    FView->Render(picture);
    canvas->Draw(0, 0, &picture);
}

void TNativeControl::Paint() { PaintNative(Canvas()); }

void TNativeControl::PaintWindow(HDC DC) {
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    TPaintScope scope(*FCanvas, DC);
    if (FOwnerPainted) {
        Paint();
        return;
    }
    // The widget shows itself; its picture in the image is what anything drawn later is told
    // apart from.
    PaintNative(FCanvas.get());
    TBitmap* image = BackingImage();
    if (!image || FCanvas->Bitmap() != image) return;
    if (!FNativePicture || FNativePicture->Width() != image->Width() || FNativePicture->Height() != image->Height())
        FNativePicture = std::make_unique<TBitmap>(image->Width(), image->Height());
    TRect drawn = FCanvas->ClipRect();
    TRect area = ClientArea();
    TRect at = OffsetRectBy(drawn, area.Left, area.Top);
    if (!at.IsEmpty()) FNativePicture->Canvas()->CopyRect(at, image->Canvas(), at);
}

void TNativeControl::PaintPassEnded() {
    if (FOwnerPainted || !FView || !FNativePicture || !BackingImage()) return;
    FView->SetOverlay(*BackingImage(), *FNativePicture);
}

bool TNativeControl::NativeDrawItem(int index, const TRect& rect, unsigned state, TBitmap& target) {
    if (!OwnerDrawsItems()) return false;
    TOwnerDrawState st;
    if (state & 1u) st << odSelected;
    if (state & 4u) st << odDisabled;
    if (state & 16u) st << odFocused;
    TCanvas* c = target.Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(st.Contains(odSelected) ? clHighlight : Color());
    if (st.Contains(odSelected)) c->Font()->SetColor(clHighlightText);
    FItemCanvas = c;
    try {
        DrawItem(index, rect, st);
    } catch (...) {
        FItemCanvas = nullptr;
        throw;
    }
    FItemCanvas = nullptr;
    return true;
}

int TNativeControl::NativeMeasureItem(int index) {
    if (!OwnerDrawsItems()) return -1;
    int h = -1;
    MeasureItem(index, h);
    return h;
}

void TNativeControl::DestroyWnd() {
    FView.reset();
    FNativePicture.reset();
    TWinControl::DestroyWnd();
}

void TNativeControl::ApplyLooks() {
    if (!FView) return;
    FView->SetFont(*Font());
    FView->SetColors(Color(), Font()->Color());
    ViewChanged();
}

void TNativeControl::CMColorChanged(TMessage& Message) {
    ApplyLooks();
    TWinControl::CMColorChanged(Message);
}

void TNativeControl::CMTextChanged(TMessage& Message) {
    if (auto v = ChangeView()) v->SetCaption(Text());
    TWinControl::CMTextChanged(Message);
}

void TNativeControl::FocusOnClick() {
    if (!Focused() && CanFocus()) SetFocus();
}

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TNativeControl(AOwner, ui::NativeKind::Edit) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::InitView() {
    ui::NativeView* v = View();
    v->SetText(Text());
    v->SetReadOnly(FReadOnly);
    v->SetPasswordChar(FPasswordChar);
    v->SetFramed(FBorderStyle != bsNone);
    if (!FFormatRect.IsEmpty())
        v->SetTextMargins(TRect(FFormatRect.Left, FFormatRect.Top, std::max(0, Width() - FFormatRect.Right),
                                std::max(0, Height() - FFormatRect.Bottom)));
    SetSelection(FAnchor, FCaret);
}

void TCustomEdit::SetMaxLength(int value) { Perform(EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, value)), 0); }

void TCustomEdit::SetReadOnly(bool value) { Perform(EM_SETREADONLY, value ? 1 : 0, 0); }

void TCustomEdit::SetPasswordChar(char16_t value) { Perform(EM_SETPASSWORDCHAR, value, 0); }

String TCustomEdit::SelText() const { return String(Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))); }

void TCustomEdit::SetSelText(const String& value) {
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

TRect TCustomEdit::FormatRect() const { return FFormatRect.IsEmpty() ? ClientRect() : FFormatRect; }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// Where the CR LF pairs are (the CR's index), made again after each change of the text, so a
// large memo pays one pass per change rather than one per position.
const std::vector<int>& TCustomEdit::Breaks() const {
    if (FBreaksValid) return FBreaks;
    FBreaks.clear();
    std::u16string_view t(Text());
    for (size_t i = t.find(u'\r'); i != std::u16string_view::npos; i = t.find(u'\r', i + 1))
        if (i + 1 < t.size() && t[i + 1] == u'\n') FBreaks.push_back(static_cast<int>(i));
    FBreaksValid = true;
    return FBreaks;
}

int TCustomEdit::ToView(int pos) const {
    if (!FMultiLine) return pos;
    const std::vector<int>& b = Breaks();
    // Every pair that ends before pos counts one character less.
    auto n = std::lower_bound(b.begin(), b.end(), pos - 1) - b.begin();
    return pos - static_cast<int>(n);
}

int TCustomEdit::FromView(int pos) const {
    if (!FMultiLine || pos < 0) return pos;
    const std::vector<int>& b = Breaks();
    // The k-th pair sits at view position b[k] - k; each one before pos adds a character.
    size_t lo = 0, hi = b.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (b[mid] - static_cast<int>(mid) < pos) lo = mid + 1;
        else hi = mid;
    }
    return std::min(pos + static_cast<int>(lo), Text().Length());
}

int TCustomEdit::LineCount() const {
    if (!FMultiLine) return 1;
    int n = 1;
    const String& t = Text();
    for (int i = 0; i < t.Length(); ++i)
        if (t[static_cast<size_t>(i)] == u'\n') ++n;
    return n;
}

int TCustomEdit::LineIndex(int line) const {
    if (line <= 0) return 0;
    const String& t = Text();
    int n = 0;
    for (int i = 0; i < t.Length(); ++i)
        if (t[static_cast<size_t>(i)] == u'\n' && ++n == line) return i + 1;
    return -1;
}

int TCustomEdit::LineFromChar(int pos) const {
    const String& t = Text();
    int n = 0;
    for (int i = 0; i < std::min(pos, t.Length()); ++i)
        if (t[static_cast<size_t>(i)] == u'\n') ++n;
    return n;
}

void TCustomEdit::SetSelection(int anchor, int caret) {
    int len = Text().Length();
    FAnchor = std::clamp(anchor, 0, len);
    FCaret = std::clamp(caret, 0, len);
    // Never between the CR and LF of a line break.
    auto fix = [&](int& p) {
        if (FMultiLine && p > 0 && p < len && Text()[static_cast<size_t>(p) - 1] == u'\r' && Text()[static_cast<size_t>(p)] == u'\n') --p;
    };
    fix(FAnchor);
    fix(FCaret);
    if (auto v = ChangeView()) {
        v->SetSelection(ToView(FAnchor), ToView(FCaret));
        v->EnsureCaretVisible();
    }
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
    FBorderStyle = value;
    if (auto v = ChangeView()) v->SetFramed(value != bsNone);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    FCharCase = value;
    if (value != ecNormal && InCase(Text(), value) != Text()) SetText(InCase(Text(), value));
}

bool TCustomEdit::ReplaceRange(int start, int end, String text, bool user) {
    text = InCase(text, FCharCase);
    const String& old = Text();
    start = std::clamp(start, 0, old.Length());
    end = std::clamp(end, start, old.Length());
    if (!FMultiLine) {
        // One line: the text stops at the first line break.
        size_t br = text.find_first_of(u"\r\n");
        if (br != String::npos) text = String(text.substr(0, br));
    }
    if (FMaxLength > 0) {
        int room = FMaxLength - (old.Length() - (end - start));
        if (room < text.Length()) {
            if (room <= 0 && !text.empty()) return false;
            text = String(text.substr(0, static_cast<size_t>(std::max(room, 0))));
            if (!text.empty() && text.back() == u'\r') text.pop_back();
        }
    }
    if (start == end && text.empty()) return true;
    if (user) {
        FUndoText = old;
        FUndoCaret = FCaret;
        FCanUndo = true;
    } else {
        // An undo step from before would take this change back with it.
        FCanUndo = false;
        FUndoText.clear();
    }
    int vstart = ToView(start), vend = ToView(end);
    String next = old;
    next.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
    FInternalText = true;
    try {
        TControl::SetText(next);
    } catch (...) {
        FInternalText = false;
        throw;
    }
    FInternalText = false;
    if (auto v = ChangeView()) v->Replace(vstart, vend - vstart, text);
    if (user) FModified = true;
    int caret = start + text.Length();
    SetSelection(caret, caret);
    return true;
}

void TCustomEdit::CMTextChanged(TMessage& Message) {
    FBreaksValid = false;
    if (!FInternalText && FCharCase != ecNormal && InCase(Text(), FCharCase) != Text()) {
        SetText(InCase(Text(), FCharCase));  // comes back here with the converted text
        return;
    }
    if (!FInternalText) {
        // Written by the program: the caret goes to the start, nothing to undo, not modified.
        FAnchor = FCaret = 0;
        FCanUndo = false;
        FTypingRun = false;
        FModified = false;
        if (auto v = ChangeView()) {
            v->SetText(Text());
            SetSelection(0, 0);
        }
    }
    TWinControl::CMTextChanged(Message);
    Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
    if (FAutoSelect && !FMultiLine && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TNativeControl::CMEnter(Message);
}

void TCustomEdit::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (FMultiLine) {
        if (FWantReturns) Message.Result |= DLGC_WANTALLKEYS;
        if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    }
}

int TCustomEdit::WordStart(int pos) const {
    const String& t = Text();
    while (pos > 0 && !IsWordChar(t[static_cast<size_t>(pos) - 1])) --pos;
    while (pos > 0 && IsWordChar(t[static_cast<size_t>(pos) - 1])) --pos;
    return pos;
}

int TCustomEdit::WordEnd(int pos) const {
    const String& t = Text();
    while (pos < t.Length() && IsWordChar(t[static_cast<size_t>(pos)])) ++pos;
    while (pos < t.Length() && !IsWordChar(t[static_cast<size_t>(pos)]) && t[static_cast<size_t>(pos)] != u'\r') ++pos;
    return pos;
}

void TCustomEdit::TypeChar(char16_t ch) {
    if (FReadOnly) return;
    String s = ch == u'\r' ? kCrLf : String(1, ch);
    bool run = FTypingRun && SelLength() == 0;
    String undo = FUndoText;
    int undoCaret = FUndoCaret;
    bool couldUndo = FCanUndo;
    if (!ReplaceRange(SelStart(), SelStart() + SelLength(), s, true)) return;
    if (run && couldUndo) {
        // One undo step takes back the whole run of typing.
        FUndoText = undo;
        FUndoCaret = undoCaret;
    }
    FTypingRun = true;
}

void TCustomEdit::KeyAction(WORD key) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const String& t = Text();
    int caret = FCaret;
    auto lineStart = [&](int p) {
        while (p > 0 && t[static_cast<size_t>(p) - 1] != u'\n') --p;
        return p;
    };
    auto lineEnd = [&](int p) {
        while (p < t.Length() && t[static_cast<size_t>(p)] != u'\r' && t[static_cast<size_t>(p)] != u'\n') ++p;
        return p;
    };
    auto step = [&](int p, int dir) {
        if (dir < 0) return (p >= 2 && t[static_cast<size_t>(p) - 1] == u'\n' && t[static_cast<size_t>(p) - 2] == u'\r') ? p - 2 : std::max(0, p - 1);
        return (p + 1 < t.Length() && t[static_cast<size_t>(p)] == u'\r' && t[static_cast<size_t>(p) + 1] == u'\n') ? p + 2 : std::min(t.Length(), p + 1);
    };
    switch (key) {
        case VK_LEFT:
            if (!shift && SelLength() > 0) caret = SelStart();
            else caret = ctrl ? WordStart(caret) : step(caret, -1);
            break;
        case VK_RIGHT:
            if (!shift && SelLength() > 0) caret = SelStart() + SelLength();
            else caret = ctrl ? WordEnd(caret) : step(caret, 1);
            break;
        case VK_HOME: caret = (ctrl || !FMultiLine) ? 0 : lineStart(caret); break;
        case VK_END: caret = (ctrl || !FMultiLine) ? t.Length() : lineEnd(caret); break;
        case VK_UP:
        case VK_DOWN: {
            if (!FMultiLine) {
                caret = key == VK_UP ? step(caret, -1) : step(caret, 1);
                break;
            }
            int col = caret - lineStart(caret);
            int ls = lineStart(caret);
            if (key == VK_UP) {
                if (ls == 0) return;
                int prev = lineStart(ls - 1);
                caret = std::min(prev + col, lineEnd(prev));
            } else {
                int le = lineEnd(caret);
                if (le >= t.Length()) return;
                int next = step(le, 1);
                caret = std::min(next + col, lineEnd(next));
            }
            break;
        }
        case VK_DELETE:
            if (shift) {
                Perform(WM_CUT, 0, 0);
                return;
            }
            if (FReadOnly) return;
            FTypingRun = false;
            if (SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
            else if (caret < t.Length()) ReplaceRange(caret, step(caret, 1), String(), true);
            return;
        case VK_INSERT:
            if (shift) Perform(WM_PASTE, 0, 0);
            else if (ctrl) Perform(WM_COPY, 0, 0);
            return;
        default: return;
    }
    FTypingRun = false;
    SetSelection(shift ? FAnchor : caret, caret);
}

void TCustomEdit::Paste() {
    if (FReadOnly) return;
    String s = ui::NativeClipboardText();
    if (s.empty()) return;
    FTypingRun = false;
    ReplaceRange(SelStart(), SelStart() + SelLength(), s, true);
}

void TCustomEdit::DoUndo() {
    if (!FCanUndo || FReadOnly) return;
    String undo = FUndoText;
    int caret = FUndoCaret;
    FUndoText = Text();
    FUndoCaret = FCaret;
    FTypingRun = false;
    FInternalText = true;
    try {
        TControl::SetText(undo);
    } catch (...) {
        FInternalText = false;
        throw;
    }
    FInternalText = false;
    if (auto v = ChangeView()) v->SetText(undo);
    FModified = true;
    SetSelection(caret, caret);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN: KeyAction(static_cast<WORD>(Message.WParam)); return;
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            switch (ch) {
                case 0x01: SelectAll(); return;
                case 0x03: Perform(WM_COPY, 0, 0); return;
                case 0x16: Perform(WM_PASTE, 0, 0); return;
                case 0x18: Perform(WM_CUT, 0, 0); return;
                case 0x1A: Perform(WM_UNDO, 0, 0); return;
                case u'\b':
                    if (FReadOnly) return;
                    if (SelLength() > 0) {
                        FTypingRun = false;
                        ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
                    } else if (FCaret > 0) {
                        FTypingRun = false;
                        int from = FCaret - 1;
                        if (from > 0 && Text()[static_cast<size_t>(from)] == u'\n' && Text()[static_cast<size_t>(from) - 1] == u'\r') --from;
                        ReplaceRange(from, FCaret, String(), true);
                    }
                    return;
                case u'\r':
                    if (FMultiLine && FWantReturns) TypeChar(ch);
                    return;
                case u'\t':
                    if (FMultiLine && FWantTabs) TypeChar(ch);
                    return;
                default:
                    if (ch >= 0x20) TypeChar(ch);
                    return;
            }
        }
        case WM_COPY:
            if (SelLength() > 0 && !FPasswordChar) ui::SetNativeClipboardText(SelText());
            return;
        case WM_CUT:
            if (SelLength() == 0 || FPasswordChar) return;
            ui::SetNativeClipboardText(SelText());
            if (!FReadOnly) ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
            return;
        case WM_PASTE: Paste(); return;
        case WM_CLEAR:
            if (!FReadOnly && SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
            return;
        case WM_UNDO:
        case EM_UNDO:
            Message.Result = FCanUndo ? 1 : 0;
            DoUndo();
            return;
        case EM_CANUNDO: Message.Result = FCanUndo ? 1 : 0; return;
        case EM_EMPTYUNDOBUFFER:
            FCanUndo = false;
            FUndoText.clear();
            return;
        case EM_SETSEL: {
            int len = Text().Length();
            int start = static_cast<int>(static_cast<int32_t>(Message.WParam));
            int end = static_cast<int>(static_cast<int32_t>(Message.LParam));
            FTypingRun = false;
            if (start == -1) {
                SetSelection(FCaret, FCaret);  // -1 removes the selection
                return;
            }
            if (end < 0 || end > len) end = len;
            if (start > len) start = len;
            SetSelection(start, end);
            return;
        }
        case EM_GETSEL: {
            auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = s;
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = e;
            Message.Result = static_cast<LRESULT>(MakeLong(std::min<DWORD>(s, 0xFFFF), std::min<DWORD>(e, 0xFFFF)));
            return;
        }
        case EM_REPLACESEL: {
            String s = Message.LParam ? String(reinterpret_cast<const char16_t*>(Message.LParam)) : String();
            FTypingRun = false;
            // wParam false: no undo step, and none left that would bring back an older text.
            ReplaceRange(SelStart(), SelStart() + SelLength(), s, Message.WParam != 0);
            FModified = true;
            return;
        }
        case EM_LIMITTEXT: FMaxLength = static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFE)); return;
        case EM_GETLIMITTEXT: Message.Result = FMaxLength > 0 ? FMaxLength : 0x7FFFFFFE; return;
        case EM_SETREADONLY:
            FReadOnly = Message.WParam != 0;
            if (auto v = ChangeView()) v->SetReadOnly(FReadOnly);
            Message.Result = 1;
            return;
        case EM_SETPASSWORDCHAR:
            FPasswordChar = static_cast<char16_t>(Message.WParam);
            if (auto v = ChangeView()) v->SetPasswordChar(FPasswordChar);
            return;
        case EM_GETPASSWORDCHAR: Message.Result = FPasswordChar; return;
        case EM_GETMODIFY: Message.Result = FModified ? 1 : 0; return;
        case EM_SETMODIFY: FModified = Message.WParam != 0; return;
        case EM_GETLINECOUNT: Message.Result = LineCount(); return;
        case EM_LINEINDEX: {
            int line = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Message.Result = LineIndex(line < 0 ? LineFromChar(FCaret) : line);
            return;
        }
        case EM_LINEFROMCHAR: {
            int pos = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Message.Result = LineFromChar(pos < 0 ? FCaret : pos);
            return;
        }
        case EM_LINELENGTH: {
            int pos = static_cast<int>(static_cast<int32_t>(Message.WParam));
            int start = LineIndex(LineFromChar(pos < 0 ? FCaret : pos));
            int end = start;
            while (end < Text().Length() && Text()[static_cast<size_t>(end)] != u'\r' && Text()[static_cast<size_t>(end)] != u'\n') ++end;
            Message.Result = end - start;
            return;
        }
        case EM_SCROLLCARET:
            if (auto v = ChangeView()) v->EnsureCaretVisible();
            Message.Result = 1;
            return;
        case EM_GETFIRSTVISIBLELINE: Message.Result = 0; return;
        case EM_CHARFROMPOS: {
            Message.Result = -1;
            if (!View()) return;
            int x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(Message.LParam)));
            int y = static_cast<int16_t>(HIWORD(static_cast<DWORD>(Message.LParam)));
            int pos = FromView(View()->CharFromPos(x, y));
            if (pos < 0) return;
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(pos), static_cast<WORD>(FMultiLine ? LineFromChar(pos) : 0)));
            return;
        }
        case EM_POSFROMCHAR: {
            Message.Result = -1;
            int pos = static_cast<int>(Message.WParam);
            if (!View() || pos < 0 || pos > Text().Length()) return;
            TPoint p = View()->PosFromChar(ToView(pos));
            if (p.X < 0 && p.Y < 0) return;
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
            return;
        }
        case EM_GETRECT:
            if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = FormatRect();
            return;
        case EM_SETRECT:
        case EM_SETRECTNP:
            FFormatRect = Message.LParam ? *reinterpret_cast<const TRect*>(Message.LParam) : TRect();
            RefreshView();
            return;
        case EM_SETMARGINS: {
            TRect r = FormatRect();
            if (Message.WParam & EC_LEFTMARGIN) r.Left = Message.WParam == EC_USEFONTINFO ? 1 : LOWORD(static_cast<DWORD>(Message.LParam));
            if (Message.WParam & EC_RIGHTMARGIN) r.Right = Width() - (Message.WParam == EC_USEFONTINFO ? 1 : HIWORD(static_cast<DWORD>(Message.LParam)));
            FFormatRect = r;
            RefreshView();
            return;
        }
        case EM_GETMARGINS: {
            TRect r = FormatRect();
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(r.Left), static_cast<WORD>(Width() - r.Right)));
            return;
        }
        default: TNativeControl::DefaultHandler(Message); return;
    }
}

// The platform's edit acts on the button first (focus, caret, word selection); the control's
// events follow, so a handler sees and may change the result.
void TCustomEdit::WMLButtonDown(TMessage& Message) {
    FocusOnClick();
    if (View()) {
        int pos = FromView(View()->CharFromPos(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        if (pos >= 0) {
            FTypingRun = false;
            FMouseSelecting = true;
            SetSelection((Message.WParam & MK_SHIFT) ? FAnchor : pos, pos);
        }
    }
    TNativeControl::WMLButtonDown(Message);
}

void TCustomEdit::WMLButtonDblClk(TMessage& Message) {
    int pos = FCaret;
    SetSelection(WordStart(std::min(pos + 1, Text().Length())), WordEnd(pos));
    TNativeControl::WMLButtonDblClk(Message);
}

void TCustomEdit::WMLButtonUp(TMessage& Message) {
    FMouseSelecting = false;
    TNativeControl::WMLButtonUp(Message);
}

void TCustomEdit::WMMouseMove(TMessage& Message) {
    TNativeControl::WMMouseMove(Message);
    if (!FMouseSelecting || !(Message.WParam & MK_LBUTTON) || !View()) return;
    int pos = FromView(View()->CharFromPos(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    if (pos >= 0) SetSelection(FAnchor, pos);
}

// ---------------------------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
    SetBounds(0, 0, 185, 89);
    SetMultiLine(true);
    SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::InitView() {
    TCustomEdit::InitView();
    View()->SetScrollBars(static_cast<int>(FScrollBars));
    View()->SetWordWrap(FWordWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    if (auto v = ChangeView()) v->SetScrollBars(static_cast<int>(value));
}

void TCustomMemo::SetWordWrap(bool value) {
    FWordWrap = value;
    if (auto v = ChangeView()) v->SetWordWrap(value);
}

void TCustomMemo::CaretToEnd() {
    SetSelStart(Text().Length());
    Perform(EM_SCROLLCARET, 0, 0);
}

namespace {

// Start of each line of a memo's text: lines end at CR LF, LF or CR.
std::vector<std::pair<int, int>> SplitLines(const String& t) {
    std::vector<std::pair<int, int>> lines;  // start, end (without the break)
    int start = 0;
    for (int i = 0; i < t.Length(); ++i) {
        char16_t c = t[static_cast<size_t>(i)];
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(start, i);
            if (c == u'\r' && i + 1 < t.Length() && t[static_cast<size_t>(i) + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < t.Length()) lines.emplace_back(start, t.Length());
    return lines;
}

}  // namespace

int TMemoStrings::Count() const { return static_cast<int>(SplitLines(FMemo->Text()).size()); }

String TMemoStrings::Get(int Index) const {
    auto lines = SplitLines(FMemo->Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    return String(FMemo->Text().substr(static_cast<size_t>(s), static_cast<size_t>(e - s)));
}

void TMemoStrings::Put(int Index, const String& S) {
    auto lines = SplitLines(FMemo->Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    FMemo->FTypingRun = false;
    FMemo->ReplaceRange(s, e, S, false);
}

void TMemoStrings::Insert(int Index, const String& S) {
    const String& t = FMemo->Text();
    auto lines = SplitLines(t);
    if (Index < 0 || Index > static_cast<int>(lines.size())) IndexError(Index);
    FMemo->FTypingRun = false;
    if (Index < static_cast<int>(lines.size())) {
        FMemo->ReplaceRange(lines[static_cast<size_t>(Index)].first, lines[static_cast<size_t>(Index)].first, S + kCrLf, false);
    } else {
        bool open = !t.empty() && t.back() != u'\n' && t.back() != u'\r';
        FMemo->ReplaceRange(t.Length(), t.Length(), open ? kCrLf + S : S + kCrLf, false);
    }
}

void TMemoStrings::Delete(int Index) {
    const String& t = FMemo->Text();
    auto lines = SplitLines(t);
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    int start = lines[static_cast<size_t>(Index)].first;
    int end = Index + 1 < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(Index) + 1].first : t.Length();
    FMemo->FTypingRun = false;
    FMemo->ReplaceRange(start, end, String(), false);
}

void TMemoStrings::Clear() { FMemo->SetText(String()); }

void TMemoStrings::SetText(const String& Value) { FMemo->SetText(Value); }

// ---------------------------------------------------------------------------------------------
// TItemTracker

void TItemTracker::Before(const TStrings& items, bool needed) {
    FBefore.clear();
    FActive = needed;
    if (!needed) return;
    FBefore.reserve(static_cast<size_t>(items.Count()));
    for (int i = 0; i < items.Count(); ++i) FBefore.emplace_back(items.Get(i), items.GetObject(i));
}

int TItemTracker::Map(const TStrings& items, int oldIndex) const {
    int before = static_cast<int>(FBefore.size()), after = items.Count();
    if (!FActive || oldIndex < 0 || oldIndex >= before) return -1;
    auto same = [&](int b, int a) { return FBefore[static_cast<size_t>(b)].first == items.Get(a) &&
                                           FBefore[static_cast<size_t>(b)].second == items.GetObject(a); };
    // The unchanged head and tail of the list; the change lies between them.
    int head = 0;
    while (head < before && head < after && same(head, head)) ++head;
    int tail = 0;
    while (tail < before - head && tail < after - head && same(before - 1 - tail, after - 1 - tail)) ++tail;
    if (oldIndex < head) return oldIndex;
    if (oldIndex >= before - tail) return oldIndex + (after - before);
    for (int a = head; a < after - tail; ++a)
        if (same(oldIndex, a)) return a;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeControl(AOwner, ui::NativeKind::ComboBox), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    FItems->OnChanging = [this](TStrings*) { FTracker.Before(*FItems, FItemIndex >= 0); };
    FItems->OnChange = [this](TStrings*) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
    FItems->OnChanging = nullptr;
    FItems->OnChange = nullptr;
}

void TCustomComboBox::InitView() {
    ui::NativeView* v = View();
    v->SetEditable(Editable());
    v->SetOwnerDrawItems(OwnerDrawsItems(), FStyle == csOwnerDrawVariable);
    std::vector<String> items;
    for (int i = 0; i < FItems->Count(); ++i) items.push_back(FItems->Get(i));
    v->SetItems(items);
    v->SetItemIndex(FItemIndex);
    v->SetText(Text());
    v->SetDropDownCount(FDropDownCount);
    if (FDroppedWidth > 0) v->SetDroppedWidth(FDroppedWidth);
    v->SetSelection(FAnchor, FCaret);
}

void TCustomComboBox::ItemsChanged() {
    // The selection follows its item; the shown text stays as it is.
    if (FTracker.Active()) FItemIndex = FTracker.Map(*FItems, FItemIndex);
    FTracker.Done();
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    RefreshView();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    FStyle = value;
    if (auto v = ChangeView()) v->SetOwnerDrawItems(OwnerDrawsItems(), value == csOwnerDrawVariable);
    if (!Editable() && FItemIndex < 0 && !Text().empty()) {
        FInternalText = true;
        TControl::SetText(String());
        FInternalText = false;
    }
    RefreshView();
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (auto v = ChangeView()) v->SetItemIndex(value);
    if (value >= 0) {
        FInternalText = true;
        TControl::SetText(FItems->Get(value));
        FInternalText = false;
        SetEditSel(0, Text().Length());
    } else if (!Editable() && !Text().empty()) {
        FInternalText = true;
        TControl::SetText(String());
        FInternalText = false;
    }
}

void TCustomComboBox::SetDropDownCount(int value) {
    FDropDownCount = value;
    if (auto v = ChangeView()) v->SetDropDownCount(value);
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (FDroppedDown == value) return;
    if (value) DropDown();
    FDroppedDown = value;
    if (auto v = ChangeView()) v->SetDroppedDown(value);
    if (!value) CloseUp();
}

void TCustomComboBox::SetSorted(bool value) {
    FSorted = value;
    FItems->SetSorted(value);  // the selection follows its item
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    FItemIndex = -1;
    SetText(String());
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
    Height = FItemHeight;
    if (FStyle == csOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
    else Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::UserSelect(int index) {
    if (index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
    Click();
    Select();
}

void TCustomComboBox::NativeNotification(ui::NativeNotify what, int value) {
    switch (what) {
        case ui::NativeNotify::ItemPicked:
            UserSelect(value);
            if (FDroppedDown) {
                FDroppedDown = false;
                CloseUp();
            }
            break;
        case ui::NativeNotify::CloseUp:
            if (FDroppedDown) {
                FDroppedDown = false;
                CloseUp();
            }
            break;
        default: break;
    }
}

void TCustomComboBox::CMTextChanged(TMessage& Message) {
    if (!FInternalText) {
        // Written by the program: a drop-down list shows it only as one of its items.
        int i = FItems->IndexOf(Text());
        if (!Editable()) {
            FItemIndex = i;
            if (i < 0 && !Text().empty()) {
                FInternalText = true;
                TControl::SetText(String());
                FInternalText = false;
            }
            if (auto v = ChangeView()) v->SetItemIndex(FItemIndex);
        }
        FAnchor = FCaret = 0;
        if (auto v = ChangeView()) v->SetText(Text());
    }
    TNativeControl::CMTextChanged(Message);
}

void TCustomComboBox::SetEditSel(int anchor, int caret) {
    int len = Text().Length();
    FAnchor = std::clamp(anchor, 0, len);
    FCaret = std::clamp(caret, 0, len);
    if (auto v = ChangeView()) v->SetSelection(FAnchor, FCaret);
}

void TCustomComboBox::MatchItem() {
    int i = Find(Text(), -1, true);
    FItemIndex = i;
}

void TCustomComboBox::SetCharCase(TEditCharCase value) {
    FCharCase = value;
    if (Editable() && value != ecNormal && InCase(Text(), value) != Text()) SetText(InCase(Text(), value));
}

void TCustomComboBox::EditText(int start, int end, const String& in) {
    String s = InCase(in, FCharCase);
    size_t br = s.find_first_of(u"\r\n");
    if (br != String::npos) s = String(s.substr(0, br));
    const String& old = Text();
    if (FMaxLength > 0) {
        int room = FMaxLength - (old.Length() - (end - start));
        if (room <= 0 && !s.empty()) return;
        if (room < s.Length()) s = String(s.substr(0, static_cast<size_t>(room)));
    }
    String next = old;
    next.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), s);
    FInternalText = true;
    TControl::SetText(next);
    FInternalText = false;
    if (auto v = ChangeView()) v->SetText(next);
    SetEditSel(start + s.Length(), start + s.Length());
    MatchItem();
    Change();  // the user's typing
}

int TCustomComboBox::Find(const String& s, int after, bool exact) const {
    return FindItem(*FItems, s, after, exact);
}

void TCustomComboBox::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FDroppedDown) Message.Result |= DLGC_WANTALLKEYS;
}

void TCustomComboBox::CMDialogKey(TMessage& Message) {
    // Enter and Escape close an open list before the form sees them.
    WORD key = static_cast<WORD>(Message.WParam);
    if (FDroppedDown && (key == VK_RETURN || key == VK_ESCAPE)) {
        SetDroppedDown(false);
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogKey(Message);
}

void TCustomComboBox::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    FocusOnClick();
    int x = GET_X_LPARAM(Message.LParam);
    bool onArrow = x >= Width() - Height();
    if (!Editable() || (FStyle == csDropDown && onArrow)) {
        SetDroppedDown(!FDroppedDown);
        return;
    }
    if (View()) {
        int pos = View()->CharFromPos(x, GET_Y_LPARAM(Message.LParam));
        if (pos >= 0) SetEditSel(pos, pos);
    }
}

void TCustomComboBox::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(Message.WParam);
            bool shift = GetKeyState(VK_SHIFT) < 0;
            if (key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && GetKeyState(VK_MENU) < 0)) {
                SetDroppedDown(!FDroppedDown);
                return;
            }
            if (FDroppedDown && (key == VK_ESCAPE || key == VK_RETURN)) {
                SetDroppedDown(false);
                return;
            }
            switch (key) {
                case VK_UP:
                case VK_DOWN:
                case VK_PRIOR:
                case VK_NEXT: {
                    int n = FItems->Count();
                    if (n == 0) return;
                    int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -FDropDownCount : FDropDownCount;
                    int i = FItemIndex < 0 ? (step > 0 ? 0 : n - 1) : std::clamp(FItemIndex + step, 0, n - 1);
                    if (i != FItemIndex) UserSelect(i);
                    return;
                }
                case VK_HOME:
                case VK_END:
                    if (!Editable()) {
                        if (FItems->Count() > 0) UserSelect(key == VK_HOME ? 0 : FItems->Count() - 1);
                        return;
                    }
                    SetEditSel(shift ? FAnchor : (key == VK_HOME ? 0 : Text().Length()), key == VK_HOME ? 0 : Text().Length());
                    return;
                case VK_LEFT:
                case VK_RIGHT: {
                    if (!Editable()) return;
                    int c = std::clamp(FCaret + (key == VK_LEFT ? -1 : 1), 0, Text().Length());
                    SetEditSel(shift ? FAnchor : c, c);
                    return;
                }
                case VK_DELETE:
                    if (!Editable()) return;
                    if (SelLength() > 0) EditText(SelStart(), SelStart() + SelLength(), String());
                    else if (FCaret < Text().Length()) EditText(FCaret, FCaret + 1, String());
                    return;
                default: return;
            }
        }
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (!Editable()) {
                // A typed letter selects the next item that starts with it.
                if (ch < 0x20) return;
                int i = Find(String(1, ch), FItemIndex, false);
                if (i >= 0 && i != FItemIndex) UserSelect(i);
                return;
            }
            if (ch == u'\b') {
                if (SelLength() > 0) EditText(SelStart(), SelStart() + SelLength(), String());
                else if (FCaret > 0) EditText(FCaret - 1, FCaret, String());
                return;
            }
            if (ch == 0x16) {
                Perform(WM_PASTE, 0, 0);
                return;
            }
            if (ch == 0x03) {
                Perform(WM_COPY, 0, 0);
                return;
            }
            if (ch == 0x18) {
                Perform(WM_CUT, 0, 0);
                return;
            }
            if (ch == 0x01) {
                SelectAll();
                return;
            }
            if (ch >= 0x20) EditText(SelStart(), SelStart() + SelLength(), String(1, ch));
            return;
        }
        case WM_PASTE:
            if (Editable()) EditText(SelStart(), SelStart() + SelLength(), ui::NativeClipboardText());
            return;
        case WM_COPY:
            if (SelLength() > 0) ui::SetNativeClipboardText(String(Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))));
            return;
        case WM_CUT:
            if (!Editable() || SelLength() == 0) return;
            ui::SetNativeClipboardText(String(Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))));
            EditText(SelStart(), SelStart() + SelLength(), String());
            return;
        case CB_SHOWDROPDOWN:
            SetDroppedDown(Message.WParam != 0);
            Message.Result = 1;
            return;
        case CB_GETDROPPEDSTATE: Message.Result = FDroppedDown ? 1 : 0; return;
        case CB_SETCURSEL: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            SetItemIndex(i);
            Message.Result = (i >= 0 && i < FItems->Count()) ? i : CB_ERR;
            return;
        }
        case CB_GETCURSEL: Message.Result = FItemIndex; return;
        case CB_GETCOUNT: Message.Result = FItems->Count(); return;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            Message.Result = Find(MessageText(Message.LParam), static_cast<int>(static_cast<int32_t>(Message.WParam)), Message.Msg == CB_FINDSTRINGEXACT);
            return;
        case CB_SELECTSTRING: {
            int i = Find(MessageText(Message.LParam), static_cast<int>(static_cast<int32_t>(Message.WParam)), false);
            if (i >= 0) SetItemIndex(i);
            Message.Result = i;
            return;
        }
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            String s = FItems->Get(i);
            if (Message.Msg == CB_GETLBTEXT) CopyItemText(s, Message.LParam);
            Message.Result = s.Length();
            return;
        }
        case CB_ADDSTRING: Message.Result = FItems->Add(MessageText(Message.LParam)); return;
        case CB_INSERTSTRING: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i > FItems->Count()) i = FItems->Count();
            FItems->Insert(i, MessageText(Message.LParam));
            Message.Result = i;
            return;
        }
        case CB_DELETESTRING: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            FItems->Delete(i);
            Message.Result = FItems->Count();
            return;
        }
        case CB_RESETCONTENT:
            FItems->Clear();
            FItemIndex = -1;
            return;
        case CB_GETITEMDATA:
        case CB_SETITEMDATA: {
            int i = static_cast<int>(static_cast<int32_t>(Message.WParam));
            if (i < 0 || i >= FItems->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            if (Message.Msg == CB_SETITEMDATA) FItems->PutObject(i, reinterpret_cast<void*>(Message.LParam));
            Message.Result = reinterpret_cast<LRESULT>(FItems->GetObject(i));
            return;
        }
        case CB_LIMITTEXT: FMaxLength = static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFE)); Message.Result = 1; return;
        case CB_SETEDITSEL: {
            if (!Editable()) {
                Message.Result = CB_ERR;
                return;
            }
            int s = static_cast<int16_t>(LOWORD(static_cast<DWORD>(Message.LParam)));
            int e = static_cast<int16_t>(HIWORD(static_cast<DWORD>(Message.LParam)));
            int len = Text().Length();
            if (s < 0) {
                SetEditSel(FCaret, FCaret);
            } else {
                SetEditSel(s, (e < 0 || e > len) ? len : e);
            }
            Message.Result = 1;
            return;
        }
        case CB_GETEDITSEL: {
            auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
            if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = s;
            if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = e;
            Message.Result = static_cast<LRESULT>(MakeLong(s, e));
            return;
        }
        case CB_SETDROPPEDWIDTH:
            FDroppedWidth = static_cast<int>(Message.WParam);
            if (auto v = ChangeView()) v->SetDroppedWidth(DroppedWidth());
            Message.Result = DroppedWidth();
            return;
        case CB_GETDROPPEDWIDTH: Message.Result = DroppedWidth(); return;
        case CB_SETITEMHEIGHT: FItemHeight = static_cast<int>(Message.LParam); Message.Result = 0; return;
        case CB_GETITEMHEIGHT: Message.Result = FItemHeight; return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons

void TButtonControl::InitView() { View()->SetCaption(Text()); }

TButtonControl::TButtonControl(TComponent* AOwner, ui::NativeKind kind) : TNativeControl(AOwner, kind) {
    // The click comes from the button's own press and release (BM_CLICK), as on the platform.
    FControlStyle >> csClickEvents;
}

void TButtonControl::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    FocusOnClick();
    FPressed = true;
    if (auto v = ChangeView()) v->SetDown(true);
}

void TButtonControl::WMLButtonUp(TMessage& Message) {
    bool pressed = FPressed;
    FPressed = false;
    if (auto v = ChangeView()) v->SetDown(false);
    TNativeControl::WMLButtonUp(Message);
    if (pressed && !ComponentState().Contains(csDestroying) &&
        ClientRect().Contains(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam))))
        Perform(BM_CLICK, 0, 0);
}

void TButtonControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYUP:
            if (Message.WParam == VK_SPACE) Perform(BM_CLICK, 0, 0);
            return;
        case BM_CLICK: Click(); return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}

void TButtonControl::CMDialogChar(TMessage& Message) {
    if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && Enabled() && Showing()) {
        if (CanFocus()) SetFocus();
        Click();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogChar(Message);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner, ui::NativeKind::Button) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::InitView() {
    TButtonControl::InitView();
    View()->SetDefault(FDefault);
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (auto v = ChangeView()) v->SetDefault(value);
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    // Enter clicks the focused button, or the default one while no button has the focus.
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    bool isActive = active == this || (FDefault && !dynamic_cast<TButton*>(active));
    bool enter = key == VK_RETURN && isActive, escape = key == VK_ESCAPE && FCancel;
    if ((enter || escape) && Enabled() && Showing()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(Message);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner, ui::NativeKind::CheckBox) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::InitView() {
    TButtonControl::InitView();
    View()->SetCheckState(static_cast<int>(FState));
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    if (auto v = ChangeView()) v->SetCheckState(static_cast<int>(value));
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case BM_CLICK: Toggle(); return;
        case BM_GETCHECK: Message.Result = static_cast<LRESULT>(FState); return;
        case BM_SETCHECK: {
            // The platform's message changes the look and fires nothing.
            auto s = static_cast<TCheckBoxState>(std::min<WPARAM>(Message.WParam, 2));
            FState = s;
            if (auto v = ChangeView()) v->SetCheckState(static_cast<int>(s));
            return;
        }
        default: TButtonControl::DefaultHandler(Message); return;
    }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, ui::NativeKind::RadioButton) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::InitView() {
    TButtonControl::InitView();
    View()->SetCheckState(FChecked ? 1 : 0);
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    SetTabStop(value);
    if (auto v = ChangeView()) v->SetCheckState(value ? 1 : 0);
    if (!value) return;
    if (TWinControl* p = Parent()) {
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this) r->SetChecked(false);
    }
    if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::CMEnter(TMessage& Message) {
    // Arrow keys move through a group and check the button they reach, as the platform's
    // automatic radio buttons do.
    if (GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0 || GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0) SetChecked(true);
    TButtonControl::CMEnter(Message);
}

void TRadioButton::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case BM_CLICK: SetChecked(true); return;
        case BM_GETCHECK: Message.Result = FChecked ? 1 : 0; return;
        case BM_SETCHECK:
            FChecked = Message.WParam == BST_CHECKED;
            if (auto v = ChangeView()) v->SetCheckState(FChecked ? 1 : 0);
            return;
        default: TButtonControl::DefaultHandler(Message); return;
    }
}

// ---------------------------------------------------------------------------------------------
// TCustomRadioGroup

namespace {

// A radio button of a group: its click is the group's.
class TGroupButton final : public TRadioButton {
public:
    TGroupButton(TComponent* owner, std::function<void(TRadioButton*)> onClick) : TRadioButton(owner), FOnClick(std::move(onClick)) {}
    void Click() override {
        TRadioButton::Click();
        if (FOnClick && Checked()) FOnClick(this);
    }

private:
    std::function<void(TRadioButton*)> FOnClick;
};

}  // namespace

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TNativeControl(AOwner, ui::NativeKind::GroupBox), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 105);
    FControlStyle << csAcceptsControls;
    FItems->OnChange = [this](TStrings*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { FItems->OnChange = nullptr; }

void TCustomRadioGroup::InitView() { View()->SetCaption(Text()); }

void TCustomRadioGroup::UpdateButtons() {
    FUpdating = true;
    while (static_cast<int>(FButtons.size()) > FItems->Count()) {
        TRadioButton* b = FButtons.back();
        FButtons.pop_back();
        b->Free();
    }
    while (static_cast<int>(FButtons.size()) < FItems->Count()) {
        auto* b = new TGroupButton(this, [this](TRadioButton* rb) { ButtonClick(rb); });
        b->SetParent(this);
        FButtons.push_back(b);
    }
    for (size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->SetCaption(FItems->Get(static_cast<int>(i)));
        FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
    }
    if (FItemIndex >= static_cast<int>(FButtons.size())) FItemIndex = -1;
    FUpdating = false;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    int cols = std::max(1, FColumns);
    int rows = (static_cast<int>(FButtons.size()) + cols - 1) / cols;
    const int top = 16, margin = 8;
    int w = std::max(1, (Width() - margin) / cols);
    int h = std::max(1, (Height() - top - 4) / std::max(1, rows));
    for (size_t i = 0; i < FButtons.size(); ++i) {
        int c = static_cast<int>(i) / rows, r = static_cast<int>(i) % rows;
        FButtons[i]->SetBounds(margin + c * w, top + r * h + (h - 17) / 2, w - 4, 17);
    }
}

void TCustomRadioGroup::WMSize(TMessage& Message) {
    TNativeControl::WMSize(Message);
    ArrangeButtons();
}

void TCustomRadioGroup::SetColumns(int value) {
    FColumns = std::clamp(value, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int value) {
    if (value < -1) value = -1;
    if (value >= static_cast<int>(FButtons.size())) value = static_cast<int>(FButtons.size()) - 1;
    if (value == FItemIndex) return;
    FUpdating = true;
    if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    if (value >= 0) FButtons[static_cast<size_t>(value)]->SetChecked(true);
    FUpdating = false;
    // As on the platform, a new index fires OnClick, whoever set it.
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomRadioGroup::ButtonClick(TRadioButton* button) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    FItemIndex = static_cast<int>(it - FButtons.begin());
    Click();
}

// ---------------------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TNativeControl(AOwner, ui::NativeKind::ListBox), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    // OnClick reports a change of selection by the user, not every click.
    FControlStyle >> csClickEvents;
    FItems->OnChanging = [this](TStrings*) {
        FitSelection();
        FTracker.Before(*FItems, FItemIndex >= 0 || FAnchor >= 0 || std::find(FSelected.begin(), FSelected.end(), true) != FSelected.end());
    };
    FItems->OnChange = [this](TStrings*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
    FItems->OnChanging = nullptr;
    FItems->OnChange = nullptr;
}

void TCustomListBox::InitView() {
    std::vector<String> items;
    for (int i = 0; i < FItems->Count(); ++i) items.push_back(FItems->Get(i));
    if (FItemHeight > 0) View()->SetItemHeight(FItemHeight);
    View()->SetOwnerDrawItems(FStyle != lbStandard, FStyle == lbOwnerDrawVariable);
    View()->SetItems(items);
    ShowSelection();
    View()->SetTopIndex(FTopIndex);
}

void TCustomListBox::ShowSelection() {
    auto v = ChangeView();
    if (!v) return;
    v->SetItemIndex(FItemIndex);
    for (int i = 0; i < static_cast<int>(FSelected.size()); ++i) v->SetItemSelected(i, FSelected[static_cast<size_t>(i)]);
}

void TCustomListBox::FitSelection() {
    int n = FItems->Count();
    FSelected.resize(static_cast<size_t>(n), false);
    if (FItemIndex >= n) FItemIndex = -1;
    if (FAnchor >= n) FAnchor = -1;
}

void TCustomListBox::ItemsChanged() {
    int n = FItems->Count();
    if (FTracker.Active()) {
        // Selection marks, item index and anchor move with their items.
        std::vector<bool> moved(static_cast<size_t>(n), false);
        for (size_t i = 0; i < FSelected.size(); ++i) {
            if (!FSelected[i]) continue;
            int to = FTracker.Map(*FItems, static_cast<int>(i));
            if (to >= 0) moved[static_cast<size_t>(to)] = true;
        }
        FSelected = std::move(moved);
        FItemIndex = FTracker.Map(*FItems, FItemIndex);
        FAnchor = FTracker.Map(*FItems, FAnchor);
    }
    FTracker.Done();
    FitSelection();
    if (FTopIndex >= n) FTopIndex = std::max(0, n - 1);
    RefreshView();
}

void TCustomListBox::SelectOnly(int index) {
    std::fill(FSelected.begin(), FSelected.end(), false);
    if (index >= 0 && index < static_cast<int>(FSelected.size())) FSelected[static_cast<size_t>(index)] = true;
}

void TCustomListBox::SelectRange(int anchor, int index) {
    std::fill(FSelected.begin(), FSelected.end(), false);
    int n = static_cast<int>(FSelected.size());
    for (int k = std::max(0, std::min(anchor, index)); k <= std::max(anchor, index) && k < n; ++k) FSelected[static_cast<size_t>(k)] = true;
}

void TCustomListBox::SetItemIndex(int value) {
    FitSelection();
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (!FMultiSelect) SelectOnly(value);
    else if (value >= 0) FSelected[static_cast<size_t>(value)] = true;
    FAnchor = value;
    ShowSelection();
}

void TCustomListBox::SetMultiSelect(bool value) {
    FMultiSelect = value;
    if (!value) SelectOnly(FItemIndex);
    ShowSelection();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= static_cast<int>(FSelected.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    return FSelected[static_cast<size_t>(index)];
}

void TCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= static_cast<int>(FSelected.size())) throw EListError(String("List index out of bounds (") + IntToStr(index) + String(")"));
    if (!FMultiSelect) {
        SetItemIndex(value ? index : (index == FItemIndex ? -1 : FItemIndex));
        return;
    }
    FSelected[static_cast<size_t>(index)] = value;
    ShowSelection();
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return -1;  // as the platform answers for a single-selection list
    return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::SetSorted(bool value) {
    FSorted = value;
    FItems->SetSorted(value);  // the selection follows its item
}

void TCustomListBox::SetTopIndex(int value) {
    FTopIndex = std::clamp(value, 0, std::max(0, FItems->Count() - 1));
    if (auto v = ChangeView()) v->SetTopIndex(FTopIndex);
}

int TCustomListBox::ItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    int h = View() ? View()->ItemHeight() : 0;
    return h > 0 ? h : 16;
}

void TCustomListBox::SetItemHeight(int value) {
    FItemHeight = std::max(1, value);
    if (auto v = ChangeView()) v->SetItemHeight(FItemHeight);
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const {
    int i = -1;
    if (View() && FItemHeight <= 0) i = View()->ItemAtPos(p.X, p.Y);
    else if (p.Y >= 0) i = FTopIndex + p.Y / ItemHeight();
    if (i >= 0 && i < FItems->Count()) return i;
    return existing ? -1 : FItems->Count();
}

void TCustomListBox::UserSelected() { Click(); }

void TCustomListBox::SetStyle(TListBoxStyle value) {
    FStyle = value;
    if (auto v = ChangeView()) v->SetOwnerDrawItems(value != lbStandard, value == lbOwnerDrawVariable);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    Height = FItemHeight > 0 ? FItemHeight : 16;  // not the view's: it asks here
    if (FStyle == lbOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::WMLButtonDown(TMessage& Message) {
    TNativeControl::WMLButtonDown(Message);
    FocusOnClick();
    FitSelection();
    int x = GET_X_LPARAM(Message.LParam);
    int i = ItemAtPos(Point(x, GET_Y_LPARAM(Message.LParam)), true);
    if (i < 0) return;
    bool ctrl = (Message.WParam & MK_CONTROL) != 0, shift = (Message.WParam & MK_SHIFT) != 0;
    if (FMultiSelect) {
        if (ctrl || !FExtendedSelect) {
            FSelected[static_cast<size_t>(i)] = !FSelected[static_cast<size_t>(i)];
            FAnchor = i;
        } else if (shift && FAnchor >= 0) {
            SelectRange(FAnchor, i);
        } else {
            SelectOnly(i);
            FAnchor = i;
        }
        FItemIndex = i;
    } else {
        FItemIndex = i;
        SelectOnly(i);
    }
    ShowSelection();
    FDragSelecting = !(FMultiSelect && (ctrl || !FExtendedSelect));
    ClickItem(i, x);
    UserSelected();
}

void TCustomListBox::WMMouseMove(TMessage& Message) {
    TNativeControl::WMMouseMove(Message);
    if (!FDragSelecting || !(Message.WParam & MK_LBUTTON)) return;
    int i = ItemAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), true);
    if (i < 0 || i == FItemIndex) return;
    FItemIndex = i;
    if (FMultiSelect && FAnchor >= 0) SelectRange(FAnchor, i);
    else SelectOnly(i);
    ShowSelection();
    UserSelected();
}

void TCustomListBox::WMLButtonUp(TMessage& Message) {
    FDragSelecting = false;
    TNativeControl::WMLButtonUp(Message);
}

void TCustomListBox::WMLButtonDblClk(TMessage& Message) {
    TNativeControl::WMLButtonDblClk(Message);
    DblClick();
}

void TCustomListBox::DefaultHandler(TMessage& Message) {
    FitSelection();
    int idx = static_cast<int>(static_cast<int32_t>(Message.WParam));
    bool valid = idx >= 0 && idx < FItems->Count();
    switch (Message.Msg) {
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(Message.WParam);
            int n = FItems->Count();
            if (n == 0) return;
            int page = std::max(1, Height() / ItemHeight() - 1);
            int i = FItemIndex;
            switch (key) {
                case VK_UP: i = i < 0 ? 0 : i - 1; break;
                case VK_DOWN: i = i < 0 ? 0 : i + 1; break;
                case VK_PRIOR: i -= page; break;
                case VK_NEXT: i = i < 0 ? page : i + page; break;
                case VK_HOME: i = 0; break;
                case VK_END: i = n - 1; break;
                case VK_SPACE:
                    if (FItemIndex >= 0) {
                        if (FMultiSelect) {
                            FSelected[static_cast<size_t>(FItemIndex)] = !FSelected[static_cast<size_t>(FItemIndex)];
                            ShowSelection();
                        }
                        ClickItem(FItemIndex, -1);
                        UserSelected();
                    }
                    return;
                default: return;
            }
            i = std::clamp(i, 0, n - 1);
            if (i == FItemIndex) return;
            // Shift extends an extended multi-select list's selection from its anchor.
            int anchor = FAnchor;
            bool extend = FMultiSelect && FExtendedSelect && anchor >= 0 && GetKeyState(VK_SHIFT) < 0;
            SetItemIndex(i);
            if (extend) {
                FAnchor = anchor;
                SelectRange(anchor, i);
                ShowSelection();
            } else if (FMultiSelect) {
                SelectOnly(i), ShowSelection();
            }
            if (i < FTopIndex) SetTopIndex(i);
            else if (i >= FTopIndex + page + 1) SetTopIndex(i - page);
            UserSelected();
            return;
        }
        case WM_CHAR: {
            char16_t ch = static_cast<char16_t>(Message.WParam);
            if (ch <= 0x20) return;
            int i = FindItem(*FItems, String(1, ch), FItemIndex, false);
            if (i >= 0 && i != FItemIndex) {
                SetItemIndex(i);
                UserSelected();
            }
            return;
        }
        case LB_GETCOUNT: Message.Result = FItems->Count(); return;
        case LB_GETCURSEL: Message.Result = FMultiSelect ? FItemIndex : (FItemIndex >= 0 ? FItemIndex : LB_ERR); return;
        case LB_SETCURSEL:
            if (FMultiSelect) {
                Message.Result = LB_ERR;
                return;
            }
            SetItemIndex(valid ? idx : -1);
            Message.Result = valid ? idx : LB_ERR;
            return;
        case LB_GETSEL: Message.Result = valid ? (FSelected[static_cast<size_t>(idx)] ? 1 : 0) : LB_ERR; return;
        case LB_SETSEL: {
            // wParam: select or not; lParam: the item, -1 for all.
            int item = static_cast<int>(static_cast<int32_t>(Message.LParam));
            if (!FMultiSelect) {
                Message.Result = LB_ERR;
                return;
            }
            if (item == -1) std::fill(FSelected.begin(), FSelected.end(), Message.WParam != 0);
            else if (item >= 0 && item < FItems->Count()) FSelected[static_cast<size_t>(item)] = Message.WParam != 0;
            else {
                Message.Result = LB_ERR;
                return;
            }
            ShowSelection();
            return;
        }
        case LB_GETSELCOUNT: Message.Result = FMultiSelect ? SelCount() : LB_ERR; return;
        case LB_GETTEXT:
        case LB_GETTEXTLEN: {
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            String s = FItems->Get(idx);
            if (Message.Msg == LB_GETTEXT) CopyItemText(s, Message.LParam);
            Message.Result = s.Length();
            return;
        }
        case LB_ADDSTRING: Message.Result = FItems->Add(MessageText(Message.LParam)); return;
        case LB_INSERTSTRING: {
            int i = (idx < 0 || idx > FItems->Count()) ? FItems->Count() : idx;
            FItems->Insert(i, MessageText(Message.LParam));
            Message.Result = i;
            return;
        }
        case LB_DELETESTRING:
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            FItems->Delete(idx);
            Message.Result = FItems->Count();
            return;
        case LB_RESETCONTENT: FItems->Clear(); return;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            Message.Result = FindItem(*FItems, MessageText(Message.LParam), idx, Message.Msg == LB_FINDSTRINGEXACT);
            return;
        case LB_SELECTSTRING: {
            int i = FindItem(*FItems, MessageText(Message.LParam), idx, false);
            if (i >= 0) SetItemIndex(i);
            Message.Result = i;
            return;
        }
        case LB_GETTOPINDEX: Message.Result = FTopIndex; return;
        case LB_SETTOPINDEX: SetTopIndex(idx); return;
        case LB_GETITEMHEIGHT: Message.Result = ItemHeight(); return;
        case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(Message.LParam)); return;
        case LB_GETITEMRECT: {
            if (!valid || !Message.LParam) {
                Message.Result = LB_ERR;
                return;
            }
            int h = ItemHeight();
            *reinterpret_cast<TRect*>(Message.LParam) = Bounds(0, (idx - FTopIndex) * h, ClientWidth(), h);
            return;
        }
        case LB_ITEMFROMPOINT: {
            int i = ItemAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), false);
            int n = FItems->Count();
            Message.Result = i < n ? i : MAKELPARAM(static_cast<WORD>(std::max(0, n - 1)), 1);
            return;
        }
        case LB_GETITEMDATA:
        case LB_SETITEMDATA:
            if (!valid) {
                Message.Result = LB_ERR;
                return;
            }
            if (Message.Msg == LB_SETITEMDATA) FItems->PutObject(idx, reinterpret_cast<void*>(Message.LParam));
            Message.Result = reinterpret_cast<LRESULT>(FItems->GetObject(idx));
            return;
        default: TNativeControl::DefaultHandler(Message); return;
    }
}

// ---------------------------------------------------------------------------------------------
// TBoundLabel, TCustomLabeledEdit

TBoundLabel::TBoundLabel(TComponent* AOwner) : TNativeControl(AOwner, ui::NativeKind::Label) {
    SetBounds(0, 0, 60, 13);
    SetColor(clBtnFace);
}

void TBoundLabel::CMDialogChar(TMessage& Message) {
    // The accelerator of the caption focuses the control it labels.
    if (FFocusControl && IsAccel(static_cast<WORD>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogChar(Message);
}

void TBoundLabel::CMTextChanged(TMessage& Message) {
    TNativeControl::CMTextChanged(Message);
    AdjustSize();
}

void TBoundLabel::AdjustSize() {
    TSize size = View() ? View()->PreferredSize() : TSize();
    if (size.cx <= 0) size = TSize{std::max(1, Caption().Length() * 7), 15};  // until the widget can measure
    if (size.cx == Width() && size.cy == Height()) return;
    SetBounds(Left(), Top(), size.cx, size.cy);
    if (auto* edit = dynamic_cast<TCustomLabeledEdit*>(FFocusControl)) edit->PlaceLabel();
}

TCustomLabeledEdit::TCustomLabeledEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    // The label is a sub-component: the edit's owner does not free it twice.
    FEditLabel = new TBoundLabel(this);
    FEditLabel->SetFocusControl(this);
    FEditLabel->FreeNotification(this);
}

void TCustomLabeledEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FEditLabel) FEditLabel = nullptr;
}

void TCustomLabeledEdit::SetParent(TWinControl* AParent) {
    TCustomEdit::SetParent(AParent);
    if (!FEditLabel) return;
    FEditLabel->SetParent(AParent);
    FEditLabel->SetVisible(Visible());
    PlaceLabel();
}

void TCustomLabeledEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceLabel();
}

void TCustomLabeledEdit::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TCustomLabeledEdit::SetLabelSpacing(int value) {
    FLabelSpacing = value;
    PlaceLabel();
}

void TCustomLabeledEdit::PlaceLabel() {
    if (!FEditLabel) return;
    int w = FEditLabel->Width(), h = FEditLabel->Height();
    switch (FLabelPosition) {
        case lpAbove: FEditLabel->SetBounds(Left(), Top() - h - FLabelSpacing, w, h); break;
        case lpBelow: FEditLabel->SetBounds(Left(), Top() + Height() + FLabelSpacing, w, h); break;
        case lpLeft: FEditLabel->SetBounds(Left() - w - FLabelSpacing, Top() + (Height() - h) / 2, w, h); break;
        case lpRight: FEditLabel->SetBounds(Left() + Width() + FLabelSpacing, Top() + (Height() - h) / 2, w, h); break;
    }
}

void TCustomLabeledEdit::CMVisibleChanged(TMessage& Message) {
    TCustomEdit::CMVisibleChanged(Message);
    if (FEditLabel) FEditLabel->SetVisible(Visible());
}

void TCustomLabeledEdit::CMEnabledChanged(TMessage& Message) {
    TCustomEdit::CMEnabledChanged(Message);
    if (FEditLabel) FEditLabel->SetEnabled(Enabled());
}

// ---------------------------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TNativeControl(AOwner, ui::NativeKind::ScrollBar) {
    SetBounds(0, 0, 121, 17);
    SetTabStop(true);
    FControlStyle >> csClickEvents;
}

void TScrollBar::InitView() {
    View()->SetVertical(FKind == sbVertical);
    View()->SetRange(FMin, FMax, FPageSize);
    View()->SetSteps(FSmallChange, FLargeChange);
    View()->SetPosition(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value) return;
    FKind = value;
    SetBounds(Left(), Top(), Height(), Width());
    if (auto v = ChangeView()) v->SetVertical(value == sbVertical);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(String("Scroll bar property out of range"));
    // The thumb's page takes room at the end: the last position shows the last page.
    int top = FPageSize > 0 ? std::max(AMin, AMax - FPageSize + 1) : AMax;
    APosition = std::clamp(APosition, AMin, top);
    bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    if (auto v = ChangeView()) {
        v->SetRange(FMin, FMax, FPageSize);
        v->SetPosition(FPosition);
    }
    if (moved) Change();
}

void TScrollBar::SetSmallChange(int value) {
    FSmallChange = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FSmallChange, FLargeChange);
}

void TScrollBar::SetLargeChange(int value) {
    FLargeChange = std::max(1, value);
    if (auto v = ChangeView()) v->SetSteps(FSmallChange, FLargeChange);
}

void TScrollBar::SetPageSize(int value) {
    if (value < 0 || value > FMax - FMin + 1) throw EInvalidOperation(String("Scroll bar property out of range"));
    FPageSize = value;
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TScrollCode code, int trackPos) {
    int pos = FPosition;
    switch (code) {
        case scLineUp: pos -= FSmallChange; break;
        case scLineDown: pos += FSmallChange; break;
        case scPageUp: pos -= FLargeChange; break;
        case scPageDown: pos += FLargeChange; break;
        case scPosition: case scTrack: pos = trackPos; break;
        case scTop: pos = FMin; break;
        case scBottom: pos = FMax; break;
        case scEndScroll: break;
    }
    pos = std::clamp(pos, FMin, FMax);
    Scroll(code, pos);
    SetPosition(pos);
    // The view may have moved further than the handler allowed.
    if (auto v = ChangeView()) v->SetPosition(FPosition);
}

void TScrollBar::NativeNotification(ui::NativeNotify what, int value) {
    if (what == ui::NativeNotify::ScrollCode) {
        FPendingCode = value;
        return;
    }
    if (what != ui::NativeNotify::ValueChanged) return;
    // Qt has moved already: the platform's code, with the position Qt reached for the thumb.
    TScrollCode code = scTrack;
    switch (FPendingCode) {
        case SB_LINEUP: code = scLineUp; break;
        case SB_LINEDOWN: code = scLineDown; break;
        case SB_PAGEUP: code = scPageUp; break;
        case SB_PAGEDOWN: code = scPageDown; break;
        case SB_TOP: code = scTop; break;
        case SB_BOTTOM: code = scBottom; break;
        default: break;
    }
    FPendingCode = -1;
    DoScroll(code, value);
}

void TScrollBar::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
            case VK_LEFT: case VK_UP: DoScroll(scLineUp, FPosition); break;
            case VK_RIGHT: case VK_DOWN: DoScroll(scLineDown, FPosition); break;
            case VK_PRIOR: DoScroll(scPageUp, FPosition); break;
            case VK_NEXT: DoScroll(scPageDown, FPosition); break;
            case VK_HOME: DoScroll(scTop, FPosition); break;
            case VK_END: DoScroll(scBottom, FPosition); break;
            default: TNativeControl::DefaultHandler(Message); return;
        }
        DoScroll(scEndScroll, FPosition);
        return;
    }
    TNativeControl::DefaultHandler(Message);
}
