// The tool tip control behind a "tooltips_class32" handle, the edit balloon tip, and the tip
// window both show in.
#include "platform/ui/Tooltips.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Window.h"

namespace {

// The tip window's measures: the frame, the space inside it, a balloon's stem and the icon.
constexpr int kFrame = 1, kPad = 4, kBalloonPad = 8, kStem = 12, kIcon = 16, kIconGap = 6;
// Below the pointer, where a tool tip shows.
constexpr int kCursorHeight = 20;
constexpr int kNoWrap = 1 << 20;

TColor IconColor(int icon) {
    switch (icon) {
        case TTI_INFO: return static_cast<TColor>(0xC06000);
        case TTI_WARNING: return static_cast<TColor>(0x00B8F0);
        default: return static_cast<TColor>(0x2020D0);
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The tip window

void TTipWindow::CreateParams(TCreateParams& Params) {
    THintWindow::CreateParams(Params);
    Params.Style &= ~WS_BORDER;  // the frame, square or a balloon's, is painted
}

void TTipWindow::SetTip(const String& Title, int Icon, bool Balloon, TColor TextColor, TColor BkColor) {
    FTitle = Title;
    FIcon = Icon >= TTI_INFO && Icon <= TTI_ERROR ? Icon : TTI_NONE;
    FBalloon = Balloon;
    Font()->SetColor(TextColor);
    SetColor(BkColor);
    Invalidate();
}

TRect TTipWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(Font());
    int pad = FBalloon ? kBalloonPad : kPad;
    int inner = std::max(1, MaxWidth - 2 * (pad + kFrame));
    TRect text(0, 0, inner, 0);
    DrawText(canvas->Handle(), AHint, -1, &text, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    int width = text.Width(), height = text.Height();
    if (!FTitle.IsEmpty() || FIcon != TTI_NONE) {
        canvas->Font()->SetStyle(canvas->Font()->Style() << fsBold);
        int titleWidth = canvas->TextWidth(FTitle) + (FIcon != TTI_NONE ? kIcon + kIconGap : 0);
        width = std::max(width, std::min(titleWidth, inner));
        height += std::max(canvas->TextHeight(u"Ag"), FIcon != TTI_NONE ? kIcon : 0) + kPad;
    }
    return TRect(0, 0, width + 2 * (pad + kFrame), height + 2 * (pad + kFrame) + (FBalloon ? kStem : 0));
}

void TTipWindow::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    canvas->Pen()->SetColor(clInfoText);
    canvas->Pen()->SetWidth(1);
    int top = FBalloon ? kStem : 0;
    if (FBalloon) {
        // A rounded body under a stem that points up at the place the tip belongs to.
        canvas->RoundRect(r.Left, top, r.Right, r.Bottom, 12, 12);
        TPoint stem[] = {TPoint(14, top + 1), TPoint(14, 0), TPoint(28, top + 1)};
        canvas->Polygon(stem, 3);
    } else {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(r);
    }
    int pad = FBalloon ? kBalloonPad : kPad;
    TRect area(r.Left + kFrame + pad, top + kFrame + pad, r.Right - kFrame - pad, r.Bottom - kFrame - pad);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    if (!FTitle.IsEmpty() || FIcon != TTI_NONE) {
        int x = area.Left;
        int lineHeight = std::max(canvas->TextHeight(u"Ag"), FIcon != TTI_NONE ? kIcon : 0);
        if (FIcon != TTI_NONE) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(IconColor(FIcon));
            canvas->Pen()->SetColor(IconColor(FIcon));
            canvas->Ellipse(x, area.Top, x + kIcon, area.Top + kIcon);
            canvas->Brush()->SetStyle(bsClear);
            TFont mark;
            mark.Assign(Font());
            mark.SetColor(clWhite);
            mark.SetStyle(TFontStyles{fsBold});
            canvas->Font()->Assign(&mark);
            String glyph = FIcon == TTI_INFO ? String(u"i") : FIcon == TTI_WARNING ? String(u"!") : String(u"x");
            canvas->TextOut(x + (kIcon - canvas->TextWidth(glyph)) / 2, area.Top + (kIcon - canvas->TextHeight(glyph)) / 2, glyph);
            x += kIcon + kIconGap;
        }
        canvas->Font()->Assign(Font());
        canvas->Font()->SetStyle(canvas->Font()->Style() << fsBold);
        TRect title(x, area.Top, area.Right, area.Top + lineHeight);
        DrawText(canvas->Handle(), FTitle, -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        area.Top += lineHeight + kPad;
        canvas->Font()->Assign(Font());
    }
    DrawText(canvas->Handle(), Caption(), -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void TTipWindow::Describe(TTipWindowInfo& Info) const {
    THintWindow::Describe(Info);
    Info.Title = FTitle;
    Info.Icon = FIcon;
    Info.Balloon = FBalloon;
}

// ---------------------------------------------------------------------------------------------
// The tool tip control

namespace {

struct Tool {
    UINT flags = 0;
    HWND window = nullptr;
    uintptr_t id = 0;
    TRect rect;
    String text;
    bool callback = false;
    LPARAM lParam = 0;
};

constexpr UINT_PTR kInitialTimer = 1, kAutoPopTimer = 2;

class ToolTip {
public:
    explicit ToolTip(DWORD style) : FStyle(style) {}
    ~ToolTip() {
        std::erase(All(), this);
        if (FDisplay) FDisplay->Free();
    }
    static std::vector<ToolTip*>& All() {
        static std::vector<ToolTip*> all;
        return all;
    }

    HWND Handle = nullptr;

    LRESULT Message(UINT msg, WPARAM w, LPARAM l) {
        switch (msg) {
            case TTM_ADDTOOLW: return AddTool(reinterpret_cast<const TOOLINFOW*>(l));
            case TTM_ADDTOOLA: {
                auto* a = reinterpret_cast<const TOOLINFOA*>(l);
                if (!a || !SizeFits(a->cbSize, sizeof(TOOLINFOA))) return FALSE_;
                TOOLINFOW info;
                info.cbSize = sizeof(TOOLINFOW);
                info.uFlags = a->uFlags;
                info.hwnd = a->hwnd;
                info.uId = a->uId;
                info.rect = a->rect;
                info.lParam = a->lParam;
                String text = a->lpszText == LPSTR_TEXTCALLBACKA || !a->lpszText ? String() : String(a->lpszText);
                info.lpszText = a->lpszText == LPSTR_TEXTCALLBACKA ? LPSTR_TEXTCALLBACKW : text.data();
                return AddTool(&info);
            }
            case TTM_DELTOOLW:
            case TTM_DELTOOLA: {
                auto* info = reinterpret_cast<const TOOLINFOW*>(l);  // hwnd and uId lie alike in both
                if (!info) return 0;
                if (FCurrent >= 0 && Matches(Tools[static_cast<size_t>(FCurrent)], info->hwnd, info->uId)) Pop();
                std::erase_if(Tools, [&](const Tool& t) { return Matches(t, info->hwnd, info->uId); });
                FCurrent = -1;
                return 0;
            }
            case TTM_SETTITLEW:
            case TTM_SETTITLEA:
                FIcon = w <= static_cast<WPARAM>(TTI_ERROR) ? static_cast<int>(w) : TTI_NONE;
                if (!l) FTitle = String();
                else if (msg == TTM_SETTITLEW) FTitle = String(reinterpret_cast<const char16_t*>(l));
                else FTitle = String(reinterpret_cast<const char*>(l));
                Refresh();
                return TRUE_;
            case TTM_SETMAXTIPWIDTH: {
                int old = FMaxWidth;
                FMaxWidth = static_cast<int>(l);
                return old;
            }
            case TTM_SETTIPBKCOLOR: FBkColor = static_cast<TColor>(w); Refresh(); return 0;
            case TTM_SETTIPTEXTCOLOR: FTextColor = static_cast<TColor>(w); Refresh(); return 0;
            case TTM_SETDELAYTIME: {
                int ms = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(l)));
                bool reset = ms < 0;
                switch (w) {
                    case TTDT_INITIAL: FInitial = reset ? 500 : ms; break;
                    case TTDT_RESHOW: FReshow = reset ? 100 : ms; break;
                    case TTDT_AUTOPOP: FAutoPop = reset ? 5000 : ms; break;
                    case TTDT_AUTOMATIC:
                        FInitial = reset ? 500 : ms;
                        FAutoPop = 10 * FInitial;
                        FReshow = FInitial / 5;
                        break;
                    default: break;
                }
                return 0;
            }
            case TTM_POP: Pop(); return 0;
            case TTM_ACTIVATE:
                FActive = w != 0;
                if (!FActive) Pop();
                return 0;
            case WM_TIMER:
                KillTimer(Handle, w);
                if (w == kInitialTimer) Show();
                else if (w == kAutoPopTimer) Pop();
                return 0;
            default: return DefWindowProc(Handle, msg, w, l);
        }
    }

    void Mouse(HWND window, UINT msg, TPoint client, bool leave) {
        if (!FActive) return;
        bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
        if (leave || press) {
            KillTimer(Handle, kInitialTimer);
            Pop();
            if (leave) FCurrent = -1;
            return;
        }
        if (msg != WM_MOUSEMOVE) return;
        int found = -1;
        for (size_t i = 0; i < Tools.size() && found < 0; ++i) {
            const Tool& t = Tools[i];
            if (!(t.flags & TTF_SUBCLASS)) continue;
            bool hit = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) == window
                                                : t.window == window && t.rect.Contains(client);
            if (hit) found = static_cast<int>(i);
        }
        if (found == FCurrent) return;
        bool wasShowing = FShowing;
        Pop();
        KillTimer(Handle, kInitialTimer);
        FCurrent = found;
        if (found >= 0) SetTimer(Handle, kInitialTimer, static_cast<UINT>(std::max(1, wasShowing ? FReshow : FInitial)), nullptr);
    }

    void Pop() {
        KillTimer(Handle, kAutoPopTimer);
        if (!FShowing) return;
        FShowing = false;
        if (FDisplay) FDisplay->SetVisible(false);
        if (FCurrent >= 0) Notify(Tools[static_cast<size_t>(FCurrent)], TTN_POP);
    }

    std::vector<Tool> Tools;

private:
    static bool SizeFits(UINT size, size_t full) { return size == full || size == full - sizeof(void*); }
    static bool Matches(const Tool& t, HWND window, uintptr_t id) { return t.window == window && t.id == id; }

    LRESULT AddTool(const TOOLINFOW* info) {
        if (!info || !SizeFits(info->cbSize, sizeof(TOOLINFOW))) return FALSE_;
        Tool t;
        t.flags = info->uFlags;
        t.window = info->hwnd;
        t.id = info->uId;
        t.rect = info->rect;
        t.lParam = info->lParam;
        t.callback = info->lpszText == LPSTR_TEXTCALLBACKW;
        if (!t.callback && info->lpszText) t.text = String(info->lpszText);
        std::erase_if(Tools, [&](const Tool& o) { return Matches(o, t.window, t.id); });
        Tools.push_back(t);
        return TRUE_;
    }

    void Notify(const Tool& t, UINT code) {
        NMHDR hdr{Handle, t.id, code};
        SendMessage(t.window, WM_NOTIFY, static_cast<WPARAM>(t.id), reinterpret_cast<LPARAM>(&hdr));
    }

    void Refresh() {
        if (FDisplay && FShowing) FDisplay->SetTip(FTitle, FIcon, (FStyle & TTS_BALLOON) != 0, FTextColor, FBkColor);
    }

    void Show() {
        if (FCurrent < 0 || static_cast<size_t>(FCurrent) >= Tools.size()) return;
        Tool t = Tools[static_cast<size_t>(FCurrent)];
        String text = t.text;
        if (t.callback) {
            // Asked each time: the owner may change the title, colours and width meanwhile.
            NMTTDISPINFOW info;
            info.hdr = NMHDR{Handle, t.id, TTN_NEEDTEXTW};
            info.lParam = t.lParam;
            info.uFlags = t.flags;
            SendMessage(t.window, WM_NOTIFY, static_cast<WPARAM>(t.id), reinterpret_cast<LPARAM>(&info));
            if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKW) text = String(info.lpszText);
            else text = String(info.szText);
        }
        if (text.IsEmpty() || FCurrent < 0) return;
        if (!FDisplay) FDisplay = new TTipWindow(nullptr);
        bool balloon = (FStyle & TTS_BALLOON) != 0;
        FDisplay->SetTip(FTitle, FIcon, balloon, FTextColor, FBkColor);
        TRect r = FDisplay->CalcHintRect(FMaxWidth > 0 ? FMaxWidth : kNoWrap, text, nullptr);
        TPoint p;
        GetCursorPos(&p);
        // A balloon's stem points at the pointer; a plain tip sits under it.
        r = balloon ? OffsetRectBy(r, p.X - 21, p.Y) : OffsetRectBy(r, p.X, p.Y + kCursorHeight);
        FDisplay->ActivateHint(r, text);
        FShowing = true;
        Notify(t, TTN_SHOW);
        if (FAutoPop > 0) SetTimer(Handle, kAutoPopTimer, static_cast<UINT>(FAutoPop), nullptr);
    }

    DWORD FStyle;
    TTipWindow* FDisplay = nullptr;
    int FCurrent = -1;
    bool FShowing = false;
    bool FActive = true;
    int FInitial = 500, FReshow = 100, FAutoPop = 5000;
    int FMaxWidth = -1;
    TColor FTextColor = clInfoText, FBkColor = clInfoBk;
    String FTitle;
    int FIcon = TTI_NONE;
};

}  // namespace

HWND CreateWindowEx(DWORD exStyle, const String& className, const String& windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    (void)exStyle, (void)windowName, (void)x, (void)y, (void)width, (void)height, (void)parent, (void)menu,
        (void)instance, (void)param;
    if (UpperCase(className) != UpperCase(String(TOOLTIPS_CLASS))) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    // The handle holds the tool tip: destroying the window frees it.
    auto tip = std::make_shared<ToolTip>(style);
    HWND h = win::CreateWindowHandle([tip](HWND, UINT msg, WPARAM w, LPARAM l) -> LRESULT { return tip->Message(msg, w, l); });
    tip->Handle = h;
    ToolTip::All().push_back(tip.get());
    return h;
}

void ui::detail::RelayToolMouse(TWinControl* window, UINT msg, TPoint client, bool leave) {
    if (!window || !window->HandleAllocated() || ToolTip::All().empty()) return;
    HWND h = window->Handle();
    std::vector<ToolTip*> tips = ToolTip::All();
    for (ToolTip* tip : tips)
        if (std::find(ToolTip::All().begin(), ToolTip::All().end(), tip) != ToolTip::All().end()) tip->Mouse(h, msg, client, leave);
}

// ---------------------------------------------------------------------------------------------
// The edit balloon tip

namespace {
TTipWindow* gBalloon = nullptr;  // one for the program, as the system keeps one

// The part of a window that edits text: an edit's client area, a combo box's edit field.
bool EditArea(TWinControl* w, TRect& area) {
    if (dynamic_cast<TCustomEdit*>(w)) {
        area = w->ClientRect();
        return true;
    }
    COMBOBOXINFO info;
    if (dynamic_cast<TCustomComboBox*>(w) && GetComboBoxInfo(w->Handle(), &info) && info.hwndItem) {
        area = info.rcItem;
        return true;
    }
    return false;
}
}  // namespace

void ui::detail::HideEditBalloon() {
    if (gBalloon && gBalloon->Visible()) gBalloon->SetVisible(false);
}

bool ui::detail::EditBalloonMessage(TWinControl* window, TMessage& Message) {
    TRect area;
    if (!EditArea(window, area)) return false;
    if (Message.Msg == EM_HIDEBALLOONTIP) {
        HideEditBalloon();
        Message.Result = TRUE_;
        return true;
    }
    auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(Message.LParam);
    if (!tip || tip->cbStruct != sizeof(EDITBALLOONTIP)) {
        Message.Result = FALSE_;
        return true;
    }
    if (!gBalloon) gBalloon = new TTipWindow(Application);
    String title = tip->pszTitle ? String(tip->pszTitle) : String();
    String text = tip->pszText ? String(tip->pszText) : String();
    gBalloon->SetTip(title, tip->ttiIcon, true, clInfoText, clInfoBk);
    TRect r = gBalloon->CalcHintRect(300, text, nullptr);
    // The stem points into the edit field, a little in from its left, at its lower part.
    TPoint at = window->ClientToScreen(TPoint(area.Left + 10, area.Bottom - 4));
    gBalloon->ActivateHint(OffsetRectBy(r, at.X - 21, at.Y), text);
    Message.Result = TRUE_;
    return true;
}

namespace ui::detail {
void BalloonGone(TControl* control) {
    if (control == gBalloon) gBalloon = nullptr;
}
}  // namespace ui::detail

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
    auto* c = dynamic_cast<TCustomComboBox*>(FindControl(combo));
    if (!c || !info || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE_;
    TRect client = c->ClientRect();
    int button = GetSystemMetrics(SM_CXVSCROLL);
    bool list = c->Style() == csDropDownList || c->Style() == csOwnerDrawFixed || c->Style() == csOwnerDrawVariable;
    info->rcButton = c->Style() == csSimple ? TRect() : TRect(client.Right - button, client.Top, client.Right, client.Bottom);
    info->rcItem = TRect(client.Left, client.Top, c->Style() == csSimple ? client.Right : client.Right - button, client.Bottom);
    info->stateButton = 0;
    info->hwndCombo = combo;
    info->hwndItem = list ? nullptr : combo;
    info->hwndList = nullptr;
    return TRUE_;
}
