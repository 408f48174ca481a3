#include "platform/ui/StdCtrls.h"

#include <algorithm>
#include <string_view>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/StdCtrlsShared.h"
#include "platform/win/Window.h"

using ui::stdctrls::MakeLong;

namespace {

const String kCrLf(u"\r\n");

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TNativeControlOf(AOwner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

std::unique_ptr<ui::TextView> TCustomEdit::CreateView(ui::Backend& backend, ui::WidgetPeer& host) {
    return backend.CreateTextView(MultiLine() ? ui::TextKind::MultiLine : ui::TextKind::SingleLine, host, this);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TNativeControlOf::CreateParams(Params);
    if (MultiLine()) Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | (FWantReturns ? ES_WANTRETURN : 0);
    else Params.Style |= ES_AUTOHSCROLL;
    if (FBorderStyle == bsSingle) AddBorderStyle(Params);
}

void TCustomEdit::InitView() {
    ui::TextView* v = View();
    v->SetText(Text());
    v->SetReadOnly(ReadOnly());
    // A memo shows its text as it is, as the platform's multi-line edit does.
    if (!MultiLine()) v->SetPasswordChar(MaskChar());
    DWORD style = WindowStyle();
    v->SetAlignment((style & ES_RIGHT) ? taRightJustify : (style & ES_CENTER) ? taCenter : taLeftJustify);
    ShowFormatRect();
    ShowSelection();
}

char16_t TCustomEdit::MaskChar() const {
    if (FPasswordChar) return FPasswordChar;
    return (WindowStyle() & ES_PASSWORD) && !MultiLine() ? u'*' : 0;
}

// The rectangle is in client coordinates; the view keeps the text inside it by its margins.
void TCustomEdit::ShowFormatRect() {
    if (!View()) return;
    TRect margins;
    if (!FFormatRect.IsEmpty()) {
        TRect client = ClientRect();
        margins = TRect(std::max(0, FFormatRect.Left), std::max(0, FFormatRect.Top), std::max(0, client.Right - FFormatRect.Right),
                        std::max(0, client.Bottom - FFormatRect.Bottom));
    }
    View()->SetTextMargins(margins);
}

void TCustomEdit::WMSize(TMessage& Message) {
    TNativeControlOf::WMSize(Message);
    if (auto v = ChangeView()) ShowFormatRect();
}

void TCustomEdit::PaintWindow(HDC DC) {
    int saved = SaveDC(DC);
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(Color())));
    SetBkMode(DC, OPAQUE);
    UINT query = (ReadOnly() || !Enabled()) ? CN_CTLCOLORSTATIC : CN_CTLCOLOREDIT;
    auto brush = reinterpret_cast<HBRUSH>(Perform(query, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Handle())));
    // A disabled edit draws its text grey whatever the DC says, as the platform's does.
    TColor text = Enabled() ? static_cast<TColor>(GetTextColor(DC)) : ShownTextColor();
    bool transparent = GetBkMode(DC) == TRANSPARENT;
    RestoreDC(DC, saved);
    // No brush (or a clear one) leaves the edit's own colour.
    TColor back = ShownColor();
    if (brush) ui::gdi::BrushColor(brush, back);
    if (View()) View()->SetColors(transparent ? clNone : back, text);
    TNativeControlOf::PaintWindow(DC);
}

void TCustomEdit::SetMultiLine(bool value) {
    if (MultiLine() == value) return;
    FModel.SetMultiLine(value);
    if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetMaxLength(int value) { Perform(EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, value)), 0); }

void TCustomEdit::SetReadOnly(bool value) { Perform(EM_SETREADONLY, value ? 1 : 0, 0); }

void TCustomEdit::SetPasswordChar(char16_t value) { Perform(EM_SETPASSWORDCHAR, value, 0); }

void TCustomEdit::SetSelText(const String& value) {
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

TRect TCustomEdit::FormatRect() const { return FFormatRect.IsEmpty() ? ClientRect() : FFormatRect; }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::ShowSelection() {
    if (auto v = ChangeView()) {
        v->SetSelection(ToView(FModel.Anchor()), ToView(FModel.Caret()));
        v->EnsureCaretVisible();
    }
}

void TCustomEdit::SetSelection(int anchor, int caret) {
    FModel.SetSelection(anchor, caret);
    ShowSelection();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateFrame();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    FModel.SetCharCase(value);
    String cased = ui::EditModel::InCase(Text(), value);
    if (cased != Text()) SetText(cased);
}

void TCustomEdit::TakeModelText(const ui::EditModel::Change* change) {
    FInternalText = true;
    // The write below is the model's own; one that a change handler makes inside it is not.
    const uint64_t before = TextVersion();
    FSyncedText = before + 1;
    try {
        if (change) ReplaceText(static_cast<size_t>(change->Start), static_cast<size_t>(change->Removed), change->Inserted);
        else TControl::SetText(FModel.Text());
    } catch (...) {
        FInternalText = false;
        throw;
    }
    FInternalText = false;
    if (TextVersion() == before) FSyncedText = before;  // the text was the model's already
}

bool TCustomEdit::Apply(const ui::EditModel::Change& change) {
    if (change.Refused) return false;
    if (!change.Changed) return true;
    if (auto v = ChangeView()) v->Replace(change.ViewStart, change.ViewRemoved, change.Inserted);
    ShowSelection();
    TakeModelText(&change);
    return true;
}

void TCustomEdit::CatchUp() {
    // Only a write since the model last matched the text can have parted them.
    if (FSyncedText == TextVersion()) return;
    if (FModel.Text() != Text()) FModel.SetText(Text());
    FSyncedText = TextVersion();
}

bool TCustomEdit::ReplaceRange(int start, int end, const String& text, bool user) {
    CatchUp();
    return Apply(FModel.Replace(start, end, text, user));
}

void TCustomEdit::CMTextChanged(TMessage& Message) {
    if (!FInternalText && CharCase() != ecNormal) {
        String cased = ui::EditModel::InCase(Text(), CharCase());
        if (cased != Text()) {
            SetText(cased);  // comes back here with the converted text
            return;
        }
    }
    if (!FInternalText) {
        // Written by the program: the caret goes to the start, nothing to undo, not modified.
        FModel.SetText(Text());
        FSyncedText = TextVersion();
        if (auto v = ChangeView()) v->SetText(Text());
        ShowSelection();
    }
    // What the change handlers write (an auto-complete rewriting the typed text) is the
    // program's: it reaches the model and the view.
    FInternalText = false;
    TWinControl::CMTextChanged(Message);
    Notify(EN_CHANGE);
}

void TCustomEdit::CMEnter(TMessage& Message) {
    if (FAutoSelect && !MultiLine() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TNativeControl::CMEnter(Message);
}

void TCustomEdit::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (MultiLine()) {
        if (FWantReturns) Message.Result |= DLGC_WANTALLKEYS;
        if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    }
}

void TCustomEdit::KeyAction(WORD key) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const ui::EditModel& m = FModel;
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
        case VK_HOME: caret = (ctrl || !MultiLine()) ? 0 : m.LineStart(caret); break;
        case VK_END: caret = (ctrl || !MultiLine()) ? m.Text().Length() : m.LineEnd(caret); break;
        case VK_UP:
        case VK_DOWN:
            if (!MultiLine()) {
                caret = m.Step(caret, key == VK_UP ? -1 : 1);
                break;
            }
            caret = key == VK_UP ? m.LineAbove(caret) : m.LineBelow(caret);
            if (caret < 0) return;  // on the first or last line already
            break;
        case VK_DELETE:
            if (shift) {
                Perform(WM_CUT, 0, 0);
                return;
            }
            Apply(FModel.DeleteForward());
            return;
        case VK_INSERT:
            if (shift) Perform(WM_PASTE, 0, 0);
            else if (ctrl) Perform(WM_COPY, 0, 0);
            return;
        default: return;
    }
    SetSelection(shift ? m.Anchor() : caret, caret);
}

void TCustomEdit::Paste() {
    if (ReadOnly()) return;
    String s = ui::NativeClipboardText();
    if (s.empty()) return;
    ReplaceRange(SelStart(), SelStart() + SelLength(), s, true);
}

void TCustomEdit::DoUndo() {
    if (!FModel.Undo()) return;
    if (auto v = ChangeView()) v->SetText(FModel.Text());
    ShowSelection();
    TakeModelText();
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    CatchUp();
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
                case u'\b': Apply(FModel.DeleteBack()); return;
                case u'\r':
                    if (MultiLine() && FWantReturns) Apply(FModel.Type(ch));
                    return;
                case u'\t':
                    if (MultiLine() && FWantTabs) Apply(FModel.Type(ch));
                    return;
                default:
                    if (ch >= 0x20) Apply(FModel.Type(ch));
                    return;
            }
        }
        case WM_COPY:
            if (SelLength() > 0 && !MaskChar()) ui::SetNativeClipboardText(SelText());
            return;
        case WM_CUT:
            if (SelLength() == 0 || MaskChar()) return;
            ui::SetNativeClipboardText(SelText());
            if (!ReadOnly()) ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
            return;
        case WM_PASTE: Paste(); return;
        case WM_CLEAR:
            if (!ReadOnly() && SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), String(), true);
            return;
        case WM_UNDO:
        case EM_UNDO:
            Message.Result = CanUndo() ? 1 : 0;
            DoUndo();
            return;
        case EM_CANUNDO: Message.Result = CanUndo() ? 1 : 0; return;
        case EM_EMPTYUNDOBUFFER: FModel.ClearUndo(); return;
        case EM_SETSEL: {
            int len = Text().Length();
            int start = static_cast<int>(static_cast<int32_t>(Message.WParam));
            int end = static_cast<int>(static_cast<int32_t>(Message.LParam));
            if (start == -1) {
                SetSelection(FModel.Caret(), FModel.Caret());  // -1 removes the selection
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
            FModel.SetModified(true);
            // wParam false: no undo step, and none left that would bring back an older text.
            ReplaceRange(SelStart(), SelStart() + SelLength(), s, Message.WParam != 0);
            return;
        }
        case EM_LIMITTEXT: FModel.SetMaxLength(static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFE))); return;
        case EM_GETLIMITTEXT: Message.Result = MaxLength() > 0 ? MaxLength() : 0x7FFFFFFE; return;
        case EM_SETREADONLY:
            FModel.SetReadOnly(Message.WParam != 0);
            if (auto v = ChangeView()) v->SetReadOnly(ReadOnly());
            Message.Result = 1;
            return;
        case EM_SETPASSWORDCHAR:
            FPasswordChar = static_cast<char16_t>(Message.WParam);
            // No mark shows the text as typed, whatever style the window was made with.
            if (!FPasswordChar && (WindowStyle() & ES_PASSWORD))
                SetWindowLong(Handle(), GWL_STYLE, static_cast<LONG>(WindowStyle() & ~ES_PASSWORD));
            if (MultiLine()) return;
            if (auto v = ChangeView()) v->SetPasswordChar(MaskChar());
            return;
        case EM_GETPASSWORDCHAR: Message.Result = MaskChar(); return;
        case EM_GETMODIFY: Message.Result = Modified() ? 1 : 0; return;
        case EM_SETMODIFY: SetModified(Message.WParam != 0); return;
        case EM_GETLINECOUNT: Message.Result = LineCount(); return;
        case EM_LINEINDEX: {
            int line = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Message.Result = LineIndex(line < 0 ? LineFromChar(FModel.Caret()) : line);
            return;
        }
        case EM_LINEFROMCHAR: {
            int pos = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Message.Result = LineFromChar(pos < 0 ? FModel.Caret() : pos);
            return;
        }
        case EM_LINELENGTH: {
            int pos = static_cast<int>(static_cast<int32_t>(Message.WParam));
            Message.Result = FModel.LineLength(pos < 0 ? FModel.Caret() : pos);
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
            Message.Result = static_cast<LRESULT>(MakeLong(static_cast<WORD>(pos), static_cast<WORD>(MultiLine() ? LineFromChar(pos) : 0)));
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
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == EN_CHANGE) Change();
            return;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(ShownTextColor())));
            SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(ShownColor())));
            FBrush.SetColor(ShownColor());
            Message.Result = reinterpret_cast<LRESULT>(FBrush.Handle());
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
            FMouseSelecting = true;
            SetSelection((Message.WParam & MK_SHIFT) ? FModel.Anchor() : pos, pos);
        }
    }
    TNativeControl::WMLButtonDown(Message);
}

void TCustomEdit::WMLButtonDblClk(TMessage& Message) {
    int pos = FModel.Caret();
    SetSelection(FModel.WordStart(std::min(pos + 1, Text().Length())), FModel.WordEnd(pos));
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
    if (pos >= 0) SetSelection(FModel.Anchor(), pos);
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

int TMemoStrings::Count() const { return FMemo->ListLineCount(); }

String TMemoStrings::Get(int Index) const {
    auto lines = ui::stdctrls::SplitLines(FMemo->Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    return String(FMemo->Text().substr(static_cast<size_t>(s), static_cast<size_t>(e - s)));
}

void TMemoStrings::Put(int Index, const String& S) {
    auto lines = ui::stdctrls::SplitLines(FMemo->Text());
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    auto [s, e] = lines[static_cast<size_t>(Index)];
    FMemo->ReplaceRange(s, e, S, false);
}

void TMemoStrings::Insert(int Index, const String& S) {
    const String& t = FMemo->Text();
    auto lines = ui::stdctrls::SplitLines(t);
    if (Index < 0 || Index > static_cast<int>(lines.size())) IndexError(Index);
    if (Index < static_cast<int>(lines.size())) {
        FMemo->ReplaceRange(lines[static_cast<size_t>(Index)].first, lines[static_cast<size_t>(Index)].first, S + kCrLf, false);
    } else {
        bool open = !t.empty() && t.back() != u'\n' && t.back() != u'\r';
        FMemo->ReplaceRange(t.Length(), t.Length(), open ? kCrLf + S : S + kCrLf, false);
    }
}

void TMemoStrings::Delete(int Index) {
    const String& t = FMemo->Text();
    auto lines = ui::stdctrls::SplitLines(t);
    if (Index < 0 || Index >= static_cast<int>(lines.size())) IndexError(Index);
    int start = lines[static_cast<size_t>(Index)].first;
    int end = Index + 1 < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(Index) + 1].first : t.Length();
    FMemo->ReplaceRange(start, end, String(), false);
}

void TMemoStrings::Clear() { FMemo->SetText(String()); }

void TMemoStrings::SetText(const String& Value) { FMemo->SetText(Value); }
