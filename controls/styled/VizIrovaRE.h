#pragma once
// The shared vocabulary of the styled controls: the visual styles a control takes, the colour
// tones a host hands over, the two interfaces through which a host asks for them, detection of
// the colour theme the user runs, and the notifier that tells registered windows when the
// office colour theme changes.
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/rtl/Lists.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Registry.h"

// Ordinals are stored by callers and index tables: the order is fixed.
enum TQRBStyle : uint8_t {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista,
    tsWindows7, tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

// What theme detection finds; detection never answers otUnknown.
enum TOfficeTheme : uint8_t {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black,
    ot2010Blue, ot2010Silver, ot2010Black, otUnknown
};

// One tone of a control: its fill, its frame and its text. Zero (black) until set, as a record
// that its owner holds starts out.
struct TColorTone {
    TColor BrushColor = 0;
    TColor BorderColor = 0;
    TColor TextColor = 0;
};

// The five tones a control takes from its host, in the order hosts hand them over.
struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// A control that restyles itself to the preset of a style; tsCustom leaves its colours alone.
// A host asks with dynamic_cast; the control's own lifetime rules (no reference counting).
class IQRBStyle {
public:
    static constexpr const char* IID = "{6C7B1D2E-4A39-4F0B-9E51-3A8D0C27B5E1}";
    virtual void SetComponentStyle(TQRBStyle AStyle) = 0;

protected:
    ~IQRBStyle() = default;
};

// A control that takes its background, foreground, selection, hover and disabled colours from
// its host.
class IQRBTones {
public:
    static constexpr const char* IID = "{0E93A5C4-7D12-4B6E-8F20-51C9D4E7A3B8}";
    virtual void SetColorTones(const TColorTones& ATones) = 0;

protected:
    ~IQRBTones() = default;
};

// Window handles in a list.
class THandleList : public TList {
public:
    int Add(HWND Value) { return TList::Add(Value); }
    void Insert(int Index, HWND Value) { TList::Insert(Index, Value); }
    using TList::Delete;
    // Removes the first entry equal to Value; nothing when there is none.
    void DeleteValue(HWND Value) { TList::Remove(Value); }
    bool HasValue(HWND Value) const { return IndexOf(Value) >= 0; }
    HWND GetInteger(int Index) const { return Items(Index); }
    void SetInteger(int Index, HWND Value) { SetItems(Index, Value); }
};

// The message a watched office theme change sends: WParam the root key, LParam the key's path
// as zero-terminated UTF-16, valid while the message is handled.
constexpr UINT WM_OFFICETHEMECHANGED = 2993;

bool IsComCtl6OrLater();
bool IsWinXPOrLater();
bool IsWindowsVistaOrLater();
String DefaultUIFontName();
// 2: office 2010 keys, 1: office 2007 keys, 0: neither.
int DetectOfficeVersion();
// 1 "NormalColor", 2 "HomeStead", 3 "Metallic" (found anywhere in the colour name), 0 none.
int DetectXPColorScheme();
namespace styled {
// The colour name of the desktop's visual style into Name; false (Name empty) before version 5.1,
// without the theme library or an active style, or, with RequireComCtl6, before common
// controls 6. The library is freed on every way out.
bool ThemeColorName(String& Name, bool RequireComCtl6);
}  // namespace styled

// The number "Theme" of Key under the registry's root, -1 when the key or the value is missing.
int ReadOfficeThemeValue(TRegistry& Registry, const String& Key);
TOfficeTheme DetectOfficeTheme();

// Watches a registry key and sends WM_OFFICETHEMECHANGED, blocking, to Wnd and then to every
// window of WinList at each change. Owned and joined by its notifier.
class TRegMonitorThread : public TThread {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    String Key;
    HKEY RootKey = HKEY_CURRENT_USER;
    bool WatchSub = true;  // kept; the watch always covers the subkeys
    HWND Wnd = nullptr;

    // Reading it while it is 0 stores and answers 15.
    DWORD Filter();
    void SetFilter(DWORD value) { FFilter = value; }

    // Registration runs on the UI thread while the monitor walks the list: both hold the lock,
    // and the monitor sends from a copy, outside it.
    void AddWindow(HWND hwnd);
    void RemoveWindow(HWND hwnd);
    std::vector<HWND> Windows();
    const THandleList& WinList() const { return FWinList; }

    // Sets the terminate flag and wakes the thread.
    void Stop();
    // Waits until the watch is armed, or the key could not be opened; a started thread only.
    void WaitUntilWatching();

protected:
    void Execute() override;

private:
    void OpenAndWatch();
    void Arm();
    TRegistry FReg;
    HANDLE FEvent = nullptr;
    HANDLE FWatching = nullptr;
    DWORD FFilter = 0;
    std::mutex FListLock;
    THandleList FWinList;
};

// The hidden window whose WM_OFFICETHEMECHANGED fires OnOfficeThemeChange.
class TThemeNotifierWindow : public TWinControl {
public:
    explicit TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}
    const char* ClassName() const override { return "TThemeNotifierWindow"; }
    TNotifyEvent OnOfficeThemeChange;

protected:
    void WndProc(TMessage& Message) override;
};

// The one notifier of the process (ObtainThemeNotifier). Watching when office 2007 or 2010 keys
// exist (a hidden window and a monitor thread), passive otherwise.
class TThemeNotifier : public TComponent {
public:
    explicit TThemeNotifier(TComponent* AOwner);
    ~TThemeNotifier() override;
    const char* ClassName() const override { return "TThemeNotifier"; }

    void RegisterWindow(HWND Hwnd);
    void UnRegisterWindow(HWND Hwnd);
    TNotifyEvent OnOfficeThemeChange;

    // For the tests and the curious: the monitor (nil when passive) and the hidden window.
    TRegMonitorThread* Monitor() const { return FMonitor.get(); }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

private:
    void DoOfficeThemeChange(TObject* Sender);
    // The monitor, unless it has ended (its watched key could not be opened).
    TRegMonitorThread* RunningMonitor() const;
    std::unique_ptr<TRegMonitorThread> FMonitor;
    TThemeNotifierWindow* FNotifier = nullptr;
};

// The one notifier, made on first use: owned by the main form when its window exists, else by
// AOwner.
TThemeNotifier* ObtainThemeNotifier(TComponent* AOwner);
