#include "platform/ui/StdCtrls.h"

#include <algorithm>
#include <string_view>

#include "platform/ui/Backend.h"
#include "platform/ui/StdCtrlsShared.h"
#include "platform/win/Window.h"

using ui::stdctrls::InCase;
using ui::stdctrls::MakeLong;

namespace {

const String kCrLf(u"\r\n");

bool IsWordChar(char16_t c) { return c > u' ' && c != u'\r' && c != u'\n'; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

std::unique_ptr<ui::TextView> TCustomEdit::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateTextView(FMultiLine ? ui::TextKind::MultiLine : ui::TextKind::SingleLine, host, this);
}

void TCustomEdit::InitView() {
    ui::TextView* v = View();
    v->SetText(Text());
    v->SetReadOnly(FReadOnly);
    // A memo shows its text as it is, as the platform's multi-line edit does.
    if (!FMultiLine) v->SetPasswordChar(FPasswordChar);
    v->SetFramed(FBorderStyle != bsNone);
    if (!FFormatRect.IsEmpty())
        v->SetTextMargins(TRect(FFormatRect.Left, FFormatRect.Top, std::max(0, Width() - FFormatRect.Right),
                                std::max(0, Height() - FFormatRect.Bottom)));
    SetSelection(FAnchor, FCaret);
}

void TCustomEdit::SetMultiLine(bool value) {
    if (FMultiLine == value) return;
    FMultiLine = value;
    if (HandleAllocated()) RecreateWnd();
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
            if (FMultiLine) return;
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
    View()->SetScrollBars(FScrollBars);
    View()->SetWordWrap(FWordWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    if (auto v = ChangeView()) v->SetScrollBars(value);
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
