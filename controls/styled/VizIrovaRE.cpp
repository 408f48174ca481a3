#include "controls/styled/VizIrovaRE.h"

#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Modules.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/win/Window.h"

namespace {

constexpr const char16_t* kOffice14 = u"Software\\Microsoft\\Office\\14.0\\Common";
constexpr const char16_t* kOffice12 = u"Software\\Microsoft\\Office\\12.0\\Common";

TThemeNotifier* gNotifier = nullptr;

// Frees a module on every way out.
struct ModuleGuard {
    HMODULE handle;
    ~ModuleGuard() {
        if (handle) FreeLibrary(handle);
    }
};

}  // namespace

bool IsComCtl6OrLater() {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(u"COMCTL32.DLL", &handle);
    if (size == 0) return true;
    std::vector<char> block(size);
    if (!GetFileVersionInfo(u"COMCTL32.DLL", handle, size, block.data())) return true;
    void* info = nullptr;
    UINT length = 0;
    if (!VerQueryValue(block.data(), u"\\", &info, &length) || length < sizeof(VS_FIXEDFILEINFO)) return true;
    DWORD major = static_cast<const VS_FIXEDFILEINFO*>(info)->dwFileVersionMS >> 16;
    return (major & 0xFF) > 5;
}

bool IsWinXPOrLater() {
    OSVERSIONINFO info;
    if (!GetVersionEx(&info)) return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion != 0);
}

bool IsWindowsVistaOrLater() {
    HMODULE kernel = GetModuleHandle(u"kernel32");
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

String DefaultUIFontName() {
    return IsWindowsVistaOrLater() ? String(u"Segoe UI") : String(u"Tahoma");
}

int DetectOfficeVersion() {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.KeyExists(String(kOffice14) + u"\\General")) return 2;
    if (reg.KeyExists(String(kOffice12) + u"\\General")) return 1;
    return 0;
}

namespace styled {

bool ThemeColorName(String& Name, bool RequireComCtl6) {
    Name.clear();
    if (!IsWinXPOrLater()) return false;
    ModuleGuard theme{LoadLibrary(u"uxtheme.dll")};
    if (!theme.handle) return false;
    auto isActive = reinterpret_cast<decltype(&::IsThemeActive)>(GetProcAddress(theme.handle, "IsThemeActive"));
    if (!isActive || !isActive() || (RequireComCtl6 && !IsComCtl6OrLater())) return false;
    auto themeName =
        reinterpret_cast<decltype(&::GetCurrentThemeName)>(GetProcAddress(theme.handle, "GetCurrentThemeName"));
    if (!themeName) return false;
    char16_t file[255] = {}, color[255] = {}, size[255] = {};
    themeName(file, 255, color, 255, size, 255);
    Name = color;
    return true;
}

}  // namespace styled

int DetectXPColorScheme() {
    String name;
    if (!styled::ThemeColorName(name, true)) return 0;
    if (Pos(u"NormalColor", name) > 0) return 1;
    if (Pos(u"HomeStead", name) > 0) return 2;
    if (Pos(u"Metallic", name) > 0) return 3;
    return 0;
}

int ReadOfficeThemeValue(TRegistry& Registry, const String& Key) {
    if (!Registry.KeyExists(Key)) return -1;
    if (!Registry.OpenKeyReadOnly(Key)) return -1;
    int result = -1;
    try {
        if (Registry.ValueExists(u"Theme")) result = Registry.ReadInteger(u"Theme");
    } catch (...) {
        Registry.CloseKey();
        throw;
    }
    Registry.CloseKey();
    return result;
}

TOfficeTheme DetectOfficeTheme() {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    switch (ReadOfficeThemeValue(reg, kOffice14)) {
        case -1: break;
        case 1: return ot2010Blue;
        case 2: return ot2010Silver;
        case 3: return ot2010Black;
        default: return ot2003Blue;
    }
    switch (ReadOfficeThemeValue(reg, kOffice12)) {
        case -1: break;
        case 1: return ot2007Blue;
        case 2: return ot2007Silver;
        case 3: return ot2007Black;
        default: return ot2003Blue;
    }
    switch (DetectXPColorScheme()) {
        case 1: return ot2003Blue;
        case 2: return ot2003Olive;
        case 3: return ot2003Silver;
        default: return ot2003Classic;
    }
}

// ---------------------------------------------------------------------------------------------

TRegMonitorThread::TRegMonitorThread() : TThread(true) {
    // Made here rather than in Execute, so a Stop that comes before the thread reached its wait
    // still finds an event to wake it with.
    FEvent = CreateEvent(nullptr, TRUE_, FALSE_, u"RegMonitorChange");
    FWatching = CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
}

TRegMonitorThread::~TRegMonitorThread() {
    Stop();
    TerminateAndWaitFor();  // nothing for a thread that never started
    if (FEvent) CloseHandle(FEvent);
    if (FWatching) CloseHandle(FWatching);
}

DWORD TRegMonitorThread::Filter() {
    if (FFilter == 0) FFilter = 15;
    return FFilter;
}

void TRegMonitorThread::AddWindow(HWND hwnd) {
    std::lock_guard<std::mutex> lock(FListLock);
    if (!FWinList.HasValue(hwnd)) FWinList.Add(hwnd);
}

void TRegMonitorThread::RemoveWindow(HWND hwnd) {
    std::lock_guard<std::mutex> lock(FListLock);
    FWinList.DeleteValue(hwnd);
}

std::vector<HWND> TRegMonitorThread::Windows() {
    std::lock_guard<std::mutex> lock(FListLock);
    std::vector<HWND> copy;
    for (int i = 0; i < FWinList.Count(); ++i) copy.push_back(FWinList.GetInteger(i));
    return copy;
}

void TRegMonitorThread::Stop() {
    Terminate();
    if (FEvent) SetEvent(FEvent);
}

void TRegMonitorThread::WaitUntilWatching() {
    WaitForSingleObject(FWatching, INFINITE);
}

void TRegMonitorThread::Arm() {
    RegNotifyChangeKeyValue(FReg.CurrentKey(), TRUE_, Filter(), FEvent, TRUE_);
}

void TRegMonitorThread::OpenAndWatch() {
    FReg.SetRootKey(RootKey);
    if (!FReg.OpenKeyReadOnly(Key)) throw Exception(u"Unable to open registry key " + Key);
    Arm();
}

void TRegMonitorThread::Execute() {
    try {
        OpenAndWatch();
    } catch (...) {
        SetEvent(FWatching);
        throw;
    }
    SetEvent(FWatching);
    while (!Terminated()) {
        while (WaitForSingleObject(FEvent, INFINITE) != WAIT_OBJECT_0) {
        }
        if (Terminated()) break;
        // Armed again before the windows hear of it, so a change made while they handle the
        // message (a handler of theirs, or the next switch of the theme) is not lost.
        ResetEvent(FEvent);
        Arm();
        LPARAM path = reinterpret_cast<LPARAM>(Key.c_str());
        if (Wnd) SendMessage(Wnd, WM_OFFICETHEMECHANGED, RootKey, path);
        for (HWND hwnd : Windows()) SendMessage(hwnd, WM_OFFICETHEMECHANGED, RootKey, path);
    }
}

// ---------------------------------------------------------------------------------------------

void TThemeNotifierWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_OFFICETHEMECHANGED && OnOfficeThemeChange) OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {
    if (ComponentState().Contains(csDesigning)) return;
    int version = DetectOfficeVersion();
    if (version != 1 && version != 2) return;
    auto* parent = dynamic_cast<TWinControl*>(AOwner);
    if (AOwner && !parent) throw EInvalidCast(u"Invalid class typecast");
    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->SetVisible(false);
    FNotifier->SetParent(parent);
    FNotifier->OnOfficeThemeChange = [this](TObject* Sender) { DoOfficeThemeChange(Sender); };
    FMonitor = std::make_unique<TRegMonitorThread>();
    FMonitor->Wnd = FNotifier->Handle();
    FMonitor->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    FMonitor->Key = version == 2 ? kOffice14 : kOffice12;
    FMonitor->RootKey = HKEY_CURRENT_USER;
    FMonitor->WatchSub = true;
    FMonitor->Start();
    // A theme switched once the notifier exists is never missed.
    FMonitor->WaitUntilWatching();
}

TThemeNotifier::~TThemeNotifier() {
    if (FMonitor) {
        FMonitor->Stop();
        // Joined here, while the hidden window it sends to still exists; the main thread keeps
        // answering its sends while it waits.
        if (!FMonitor->Finished()) FMonitor->WaitFor();
        FMonitor.reset();
    }
    if (gNotifier == this) gNotifier = nullptr;
}

TRegMonitorThread* TThemeNotifier::RunningMonitor() const {
    return FMonitor && !FMonitor->Finished() ? FMonitor.get() : nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Hwnd) {
    if (TRegMonitorThread* monitor = RunningMonitor()) monitor->AddWindow(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd) {
    if (TRegMonitorThread* monitor = RunningMonitor()) monitor->RemoveWindow(Hwnd);
}

void TThemeNotifier::DoOfficeThemeChange(TObject*) {
    if (OnOfficeThemeChange) OnOfficeThemeChange(this);
}

TThemeNotifier* ObtainThemeNotifier(TComponent* AOwner) {
    if (gNotifier) return gNotifier;
    TComponent* owner = AOwner;
    if (TCustomForm* main = Application->MainForm(); main && main->HandleAllocated()) owner = main;
    gNotifier = new TThemeNotifier(owner);
    return gNotifier;
}
