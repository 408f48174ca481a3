#include "platform/ui/Menus.h"

#include <algorithm>
#include <map>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/UiInput.h"
#include "platform/ui/backend/Backend.h"

namespace {

struct KeyName {
    WORD vk;
    const char* name;
};

// Names of the keys that are not letters, digits or function keys.
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},
    {VK_HOME, "Home"},  {VK_LEFT, "Left"},   {VK_UP, "Up"},       {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

String KeyToText(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return String(static_cast<char16_t>(vk));
    if (vk >= VK_F1 && vk < VK_F1 + 24) return String("F") + String(std::to_string(vk - VK_F1 + 1));
    for (const KeyName& k : kKeyNames)
        if (k.vk == vk) return String(k.name);
    return String();
}

WORD TextToKey(const String& text) {
    if (text.Length() == 1) {
        char16_t c = text[0];
        if (c >= 'a' && c <= 'z') c = static_cast<char16_t>(c - 'a' + 'A');
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return c;
        return 0;
    }
    if (text.Length() >= 2 && (text[0] == 'F' || text[0] == 'f')) {
        int n = StrToIntDef(String(text.substr(1)), 0);
        if (n >= 1 && n <= 24 && IntToStr(n) == String(text.substr(1))) return static_cast<WORD>(VK_F1 + n - 1);
    }
    for (const KeyName& k : kKeyNames)
        if (SameText(text, String(k.name))) return k.vk;
    return 0;
}

std::map<const TCustomForm*, TMainMenu*>& FormMenus() {
    static std::map<const TCustomForm*, TMainMenu*> menus;
    return menus;
}

ui::PopupMenuHook gPopupHook;

bool SameCaption(const String& a, const String& b) { return SameText(StripHotkey(a), StripHotkey(b)); }

// Shortcuts of the focused control's pop-up menus (and its parents'), then the form's main menu.
bool MenuShortCut(TCustomForm* form, TMessage& message) {
    for (TControl* c = form->ActiveControl(); c; c = c->Parent()) {
        if (TPopupMenu* pm = c->PopupMenu(); pm && pm->IsShortCut(message)) return true;
        if (c == form) break;
    }
    if (!form->ActiveControl() || form->ActiveControl() == form) {
        if (TPopupMenu* pm = form->PopupMenu(); pm && pm->IsShortCut(message)) return true;
    }
    if (TMainMenu* menu = FormMenu(form); menu && menu->IsShortCut(message)) return true;
    return false;
}

bool AutoPopup(TPopupMenu* menu, TControl* control, const TPoint& at) {
    if (!menu->AutoPopup()) return false;
    menu->SetPopupComponent(control);
    menu->Popup(at.X, at.Y);
    return true;
}

// What the backend reports about a menu it shows, and what it means. Items are looked up among
// the menu's items before they are touched: one may have been freed while the menu was open.
void RunSubMenuOpening(const TMenuItem* root, TMenuItem* item) {
    // Opening a sub-menu runs the parent item's OnClick, which may update the sub-items.
    if (!ui::MenuHoldsItem(root, item) || !item->OnClick) return;
    try {
        item->OnClick(item);
    } catch (...) {
        Application->HandleException(item);
    }
}

void RunChoice(const TMenuItem* root, TMenuItem* item) {
    if (!ui::MenuHoldsItem(root, item) || !item->CanRun()) return;
    try {
        item->Click();
    } catch (...) {
        Application->HandleException(item);
    }
}

// The menu bar of a form's window: the backend's peer and the sink its reports come through.
class FormBar final : public ui::MenuSink {
public:
    explicit FormBar(TMainMenu* menu) : Menu(menu) {}
    void SubMenuOpening(TMenuItem* item) override {
        // A menu of the bar opening starts the menu mode.
        if (ui::MenuHoldsItem(Menu->Items(), item) && item->Parent() == Menu->Items()) ui::SendCancelMode();
        RunSubMenuOpening(Menu->Items(), item);
    }
    void ItemChosen(TMenuItem* item) override { RunChoice(Menu->Items(), item); }
    TMainMenu* Menu;
    std::unique_ptr<ui::MenuBarPeer> Peer;
};

std::map<const TCustomForm*, std::unique_ptr<FormBar>>& Bars() {
    static std::map<const TCustomForm*, std::unique_ptr<FormBar>> bars;
    return bars;
}

// Builds (or rebuilds) the menu bar of the form's window; menu nullptr removes it. A form without
// a window yet gets its bar once the window is made. The bar is outside the client area: the
// form learns the height it takes after each change.
void ShowMenuBar(TCustomForm* form, TMainMenu* menu) {
    auto& bars = Bars();
    // A form being destroyed may be half gone: only its component state is read then.
    bool destroying = form->ComponentState().Contains(csDestroying);
    if (!menu || destroying || !form->Peer()) {
        bars.erase(form);
        if (!menu && !destroying && form->Peer()) UiInput::MenuBarChanged(form, 0);
        return;
    }
    std::unique_ptr<FormBar>& bar = bars[form];
    if (!bar) bar = std::make_unique<FormBar>(menu);
    bar->Menu = menu;
    if (!bar->Peer) bar->Peer = ui::GetBackend().CreateMenuBar(*form->Peer(), *bar);
    UiInput::MenuBarChanged(form, bar->Peer->SetLines(ui::DescribeMenu(menu->Items())));
}

// The form's window was made (its menu shows there) or is about to go (its bar goes first).
void FormWindowChanged(TCustomForm* form, bool created) {
    if (created) {
        if (TMainMenu* menu = FormMenu(form)) ShowMenuBar(form, menu);
    } else {
        Bars().erase(form);
    }
}

// The pop-up menu being shown: the choice the backend reports is kept for Popup to run.
class PopupSink final : public ui::MenuSink {
public:
    explicit PopupSink(TPopupMenu* menu) : FMenu(menu) {}
    void SubMenuOpening(TMenuItem* item) override { RunSubMenuOpening(FMenu->Items(), item); }
    void ItemChosen(TMenuItem* item) override { Chosen = item; }
    TMenuItem* Chosen = nullptr;

private:
    TPopupMenu* FMenu;
};

// The menus take part in key and right-click handling, and in the making of forms' windows,
// from the first menu made on (again at each new menu, should anything have reset the handlers).
void InstallHandlers() {
    ui::SetShortCutHandler(MenuShortCut);
    ui::SetPopupMenuHandler(AutoPopup);
    ui::SetFormWindowHandler(FormWindowChanged);
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
    if ((Key & 0xFF00) != 0) return scNone;
    TShortCut sc = Key;
    if (Shift.Contains(ssShift)) sc |= scShift;
    if (Shift.Contains(ssCtrl)) sc |= scCtrl;
    if (Shift.Contains(ssAlt)) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut sc, WORD& Key, TShiftState& Shift) {
    Key = static_cast<WORD>(sc & 0xFF);
    Shift = {};
    if (sc & scShift) Shift << ssShift;
    if (sc & scCtrl) Shift << ssCtrl;
    if (sc & scAlt) Shift << ssAlt;
}

TShortCut TextToShortCut(const String& Text) {
    String rest = Trim(Text);
    TShortCut mods = 0;
    // Modifier prefixes in any order; the key name is what follows the last one. A key that is
    // itself "+" cannot be written, which matches the platform's table.
    for (;;) {
        size_t plus = rest.find(u'+');
        if (plus == String::npos || plus == 0) break;
        String head = Trim(String(rest.substr(0, plus)));
        if (SameText(head, String("Ctrl"))) mods |= scCtrl;
        else if (SameText(head, String("Shift"))) mods |= scShift;
        else if (SameText(head, String("Alt"))) mods |= scAlt;
        else return scNone;
        rest = Trim(String(rest.substr(plus + 1)));
    }
    WORD key = TextToKey(rest);
    if (key == 0) return scNone;
    return static_cast<TShortCut>(key | mods);
}

String ShortCutToText(TShortCut sc) {
    String key = KeyToText(static_cast<WORD>(sc & 0xFF));
    if (key.IsEmpty()) return String();
    String text;
    if (sc & scShift) text += "Shift+";
    if (sc & scCtrl) text += "Ctrl+";
    if (sc & scAlt) text += "Alt+";
    return text + key;
}

String StripHotkey(const String& Caption) {
    String r;
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == u'&') {
            if (i + 1 < Caption.size() && Caption[i + 1] == u'&') {
                r.push_back(u'&');
                ++i;
            }
            continue;
        }
        r.push_back(Caption[i]);
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FParent = nullptr;
        delete item;
    }
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Changed(bool rebuild) {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

void TMenuItem::SetCaption(const String& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut value) {
    FShortCut = value;
    Changed(false);
}

void TMenuItem::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Changed(false);
}

void TMenuItem::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    Changed(true);
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent) return;
    for (TMenuItem* s : FParent->FItems)
        if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
}

void TMenuItem::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    if (value && FRadioItem) TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::SetRadioItem(bool value) {
    FRadioItem = value;
    if (FChecked && FRadioItem) TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::SetGroupIndex(uint8_t value) {
    FGroupIndex = value;
    if (FChecked && FRadioItem) TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::SetDefault(bool value) {
    FDefault = value;
    Changed(false);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError(String("Menu index out of range"));
    return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item) throw EMenuError(String("A menu item cannot hold itself"));
    if (item->FParent) item->FParent->Remove(item);
    if (index < 0 || index > Count()) throw EMenuError(String("Menu index out of range"));
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (item->FChecked && item->FRadioItem) item->TurnSiblingsOff();
    Changed(true);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    delete item;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    Changed(true);
}

void TMenuItem::Clear() {
    while (!FItems.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& caption) const {
    for (TMenuItem* item : FItems)
        if (SameCaption(item->FCaption, caption)) return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int value) {
    TMenuItem* parent = FParent;
    if (!parent) return;
    value = std::clamp(value, 0, parent->Count() - 1);
    parent->Remove(this);
    parent->Insert(value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    return root->FMenu;
}

bool TMenuItem::CanRun() const {
    for (const TMenuItem* p = this; p && p->FParent; p = p->FParent)
        if (!p->FEnabled || !p->FVisible) return false;
    return true;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck && !(FRadioItem && FChecked)) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------------------------
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
    InstallHandlers();
}

TMenu::~TMenu() {
    FItems->FMenu = nullptr;
    delete FItems;
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (OnChange) OnChange(this, source, rebuild);
}

TMenuItem* TMenu::FindItem(TShortCut shortCut) const {
    if (shortCut == scNone) return nullptr;
    std::function<TMenuItem*(TMenuItem*)> walk = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->FItems) {
            if (!item->FVisible || !item->FEnabled) continue;
            if (item->FShortCut == shortCut && item->Count() == 0) return item;
            if (TMenuItem* found = walk(item)) return found;
        }
        return nullptr;
    };
    return walk(FItems);
}

bool TMenu::IsShortCut(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    TShiftState shift = KeyboardShiftState();
    shift >> ssLeft >> ssRight >> ssMiddle >> ssDouble;
    if (Message.Msg == CN_SYSKEYDOWN || Message.Msg == WM_SYSKEYDOWN) shift << ssAlt;
    TMenuItem* item = FindItem(ShortCut(key, shift));
    if (!item) return false;
    item->Click();
    return true;
}

// ---------------------------------------------------------------------------------------------
TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !FormMenu(form)) SetFormMenu(form, this);
}

TMainMenu::~TMainMenu() {
    auto& menus = FormMenus();
    for (auto it = menus.begin(); it != menus.end();) {
        if (it->second == this) {
            ShowMenuBar(const_cast<TCustomForm*>(it->first), nullptr);
            it = menus.erase(it);
        } else {
            ++it;
        }
    }
}

TCustomForm* TMainMenu::Form() const {
    for (auto& [form, menu] : FormMenus())
        if (menu == this) return const_cast<TCustomForm*>(form);
    return nullptr;
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (ComponentState().Contains(csDestroying)) return;
    if (TCustomForm* form = Form(); form && !form->ComponentState().Contains(csDestroying)) ShowMenuBar(form, this);
    TMenu::MenuChanged(source, rebuild);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    auto& menus = FormMenus();
    for (auto it = menus.begin(); it != menus.end();) {
        if (it->first == AComponent && it->second == this) {
            ShowMenuBar(const_cast<TCustomForm*>(it->first), nullptr);
            it = menus.erase(it);
        } else {
            ++it;
        }
    }
}

TMenuItem* NewItem(TComponent* owner, const String& caption, TShortCut shortCut, TNotifyEvent onClick, bool enabled, bool checked) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = std::move(onClick);
    item->SetEnabled(enabled);
    item->SetChecked(checked);
    return item;
}

TMenuItem* NewLine(TComponent* owner) { return NewItem(owner, String("-")); }

TMenuItem* NewSubMenu(TComponent* owner, const String& caption, std::initializer_list<TMenuItem*> items) {
    TMenuItem* sub = NewItem(owner, caption);
    for (TMenuItem* item : items) sub->Add(item);
    return sub;
}

TMainMenu* FormMenu(const TCustomForm* form) {
    auto it = FormMenus().find(form);
    return it == FormMenus().end() ? nullptr : it->second;
}

void SetFormMenu(TCustomForm* form, TMainMenu* menu) {
    if (!form) return;
    if (menu) {
        FormMenus()[form] = menu;
        // The entry goes when the form does, even if the menu outlives it.
        form->FreeNotification(menu);
    } else {
        FormMenus().erase(form);
    }
    ShowMenuBar(form, menu);
}

// ---------------------------------------------------------------------------------------------
TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Popup(int X, int Y) {
    FPopupPoint = Point(X, Y);
    if (OnPopup) OnPopup(this);
    TMenuItem* chosen = nullptr;
    ui::Backend& backend = ui::GetBackend();
    if (!gPopupHook && !backend.Headless()) {
        PopupSink sink(this);
        ui::ForeignLoop loop;  // the menu takes the mouse and runs a loop of its own
        backend.CreatePopupMenu(sink)->Run(ui::DescribeMenu(Items()), FPopupPoint);
        chosen = sink.Chosen;
    } else {
        // A menu on the headless platform has no one to choose from it: it is dismissed.
        ui::CancelModesForModalLoop();
        if (gPopupHook) chosen = gPopupHook(this, FPopupPoint);
    }
    // The choice must still belong to this menu and be runnable. Items may have been freed while
    // the menu was open, so the answer is looked up among the items before it is touched.
    if (!chosen || !ui::MenuHoldsItem(Items(), chosen) || !chosen->CanRun()) return;
    chosen->Click();
}

// ---------------------------------------------------------------------------------------------
namespace ui {

bool MenuHoldsItem(const TMenuItem* root, const TMenuItem* item) {
    for (int i = 0; i < root->Count(); ++i) {
        const TMenuItem* child = root->Items(i);
        if (child == item || MenuHoldsItem(child, item)) return true;
    }
    return false;
}

std::vector<MenuLine> DescribeMenu(const TMenuItem* root) {
    std::vector<MenuLine> lines;
    std::function<void(const TMenuItem*, int)> walk = [&](const TMenuItem* parent, int depth) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible()) continue;
            MenuLine l;
            l.Depth = depth;
            l.Caption = item->Caption();
            l.ShortCut = ShortCutToText(item->ShortCut());
            l.Enabled = item->Enabled();
            l.Checked = item->Checked();
            l.Checkable = item->Checked() || item->AutoCheck() || item->RadioItem();
            l.Radio = item->RadioItem();
            l.GroupIndex = item->GroupIndex();
            l.Default = item->Default();
            l.Separator = item->IsLine();
            l.HasSubMenu = item->Count() > 0;
            l.Item = item;
            lines.push_back(l);
            walk(item, depth + 1);
        }
    };
    if (root) walk(root, 0);
    return lines;
}

TMenuItem* FindMenuItem(const TMenuItem* root, const String& path) {
    const TMenuItem* at = root;
    size_t start = 0;
    while (at) {
        size_t slash = path.find(u'/', start);
        String part(path.substr(start, slash == String::npos ? String::npos : slash - start));
        at = at->Find(part);
        if (slash == String::npos) return const_cast<TMenuItem*>(at);
        start = slash + 1;
    }
    return nullptr;
}

void SetPopupMenuHook(PopupMenuHook hook) { gPopupHook = std::move(hook); }

}  // namespace ui
