#pragma once
// Menus: menu items with captions, shortcuts, check marks and sub-menus; the main menu of a form
// and pop-up menus. A key-down that reaches a form is offered to the menus before the focused
// control sees it: the item whose ShortCut matches runs its OnClick.
//
// A form's main menu shows as the menu bar of its window, built by the backend from the menu's
// lines whenever they change and whenever the form's window is made; the backend reports the
// user's choices and the sub-menus opening, and this unit runs them. Tests replace the pop-up
// with a hook that picks an item, and read what would have been shown.
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Forms.h"

RTL_DECLARE_EXCEPTION(EMenuError, Exception);

// The modifier bits of a TShortCut (ActnList.h): the virtual key in the low byte, these above.
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+Q", "F8", "Shift+F7", "Ctrl+Alt+Del", "Ctrl+Up"; modifier names are read without
// regard to case. Text that names no key gives scNone.
TShortCut TextToShortCut(const String& Text);
// The same form back; scNone and unknown keys give an empty string.
String ShortCutToText(TShortCut ShortCut);
// The caption without its accelerator marks ("&&" stays one "&").
String StripHotkey(const String& Caption);

class TMenu;
class TMenuItem;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees its sub-items too.
    ~TMenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    // A caption of "-" makes a separator line.
    bool IsLine() const { return FCaption == "-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Checking a radio item unchecks the other radio items of its GroupIndex under the same parent.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(uint8_t value);
    // A click toggles Checked first.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }

    // Sub-items. An item added to another parent leaves its old one first.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Removes the item at index and frees it.
    void Delete(int index);
    // Removes the item without freeing it.
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The sub-item with this caption, compared without accelerator marks and case; nullptr if none.
    TMenuItem* Find(const String& caption) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    // The menu the item belongs to (through its parents), or nullptr.
    TMenu* GetParentMenu() const;
    // Visible and enabled, and so are all its parents up to the menu.
    bool CanRun() const;

    // Runs OnClick (after AutoCheck), as choosing the item does; a disabled item does nothing.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void Changed(bool rebuild);
    void TurnSiblingsOff();

    String FCaption;
    String FHint;
    TShortCut FShortCut = scNone;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    bool FDefault = false;
    uint8_t FGroupIndex = 0;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item only
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    const char* ClassName() const override { return "TMenu"; }
    // The root item; its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems; }
    // The runnable item with this shortcut, searched depth first; nullptr if none.
    TMenuItem* FindItem(TShortCut shortCut) const;
    // A key-down (WParam the virtual key; the modifiers as the keyboard has them now): runs the
    // matching item. True when an item took the key.
    bool IsShortCut(TMessage& Message);
    // Called after any change of the items (the backend rebuilds what it shows).
    TMenuChangeEvent OnChange;

protected:
    virtual void MenuChanged(TMenuItem* source, bool rebuild);

private:
    friend class TMenuItem;
    TMenuItem* FItems;
};

class TMainMenu : public TMenu {
public:
    // A main menu made by a form is that form's menu (when the form has none yet).
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    const char* ClassName() const override { return "TMainMenu"; }
    // The form that shows the menu, or nullptr.
    TCustomForm* Form() const;

protected:
    void MenuChanged(TMenuItem* source, bool rebuild) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    const char* ClassName() const override { return "TPopupMenu"; }
    // Shows the menu at a screen position and runs the chosen item, if any; OnPopup first.
    virtual void Popup(int X, int Y);
    // Opens on right-click of a control whose PopupMenu it is.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu was last opened for (set by the right-click path).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    TPoint PopupPoint() const { return FPopupPoint; }
    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    TPoint FPopupPoint{-1, -1};
};

// Building menus in code: an item (owned by owner, which may be nullptr), a separator line, and
// an item holding sub-items (which it takes over from their old parents).
TMenuItem* NewItem(TComponent* owner, const String& caption, TShortCut shortCut = scNone,
                   TNotifyEvent onClick = nullptr, bool enabled = true, bool checked = false);
TMenuItem* NewLine(TComponent* owner);
TMenuItem* NewSubMenu(TComponent* owner, const String& caption, std::initializer_list<TMenuItem*> items);

// The main menu of a form. Kept by the menu unit: forms have no menu field of their own.
TMainMenu* FormMenu(const TCustomForm* form);
void SetFormMenu(TCustomForm* form, TMainMenu* menu);

namespace ui {

// One line of a menu as it would be shown.
struct MenuLine {
    int Depth = 0;           // 0 for the entries of the menu itself
    String Caption;          // as set, with its accelerator marks
    String ShortCut;         // ShortCutToText
    bool Enabled = true;
    bool Checked = false;
    bool Checkable = false;  // checked, auto-check or radio: it shows a check mark's place
    bool Radio = false;
    uint8_t GroupIndex = 0;  // radio lines of one group under one parent check one at a time
    bool Default = false;
    bool Separator = false;
    bool HasSubMenu = false;
    TMenuItem* Item = nullptr;
};
// The visible items of a menu, depth first.
std::vector<MenuLine> DescribeMenu(const TMenuItem* root);
// The item at a path of captions separated by '/' (compared as Find does: "File/Close").
TMenuItem* FindMenuItem(const TMenuItem* root, const String& path);
// Whether item is root's child or a child of its children; item itself is never dereferenced,
// so it may be an item freed while a menu was open.
bool MenuHoldsItem(const TMenuItem* root, const TMenuItem* item);

// Replaces the shown pop-up menu: given the menu and the screen position, the hook returns the
// item the user picks (nullptr: the menu is dismissed). An item that cannot run is not clicked.
using PopupMenuHook = std::function<TMenuItem*(TPopupMenu* menu, const TPoint& at)>;
void SetPopupMenuHook(PopupMenuHook hook);

}  // namespace ui
