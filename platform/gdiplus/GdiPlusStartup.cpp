// Start-up and shutdown, GDI+'s heap, the table of live objects and the one lock of the API.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>

#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/backend/Backend.h"

namespace gdiplus {

namespace detail {

namespace {

std::recursive_mutex& ApiLock() {
    static std::recursive_mutex lock;
    return lock;
}

struct Entry {
    Kind kind;
    std::unique_ptr<Object> object;
    bool permanent;
};

struct State {
    int starts = 0;
    ULONG_PTR nextToken = 1;
    std::map<ULONG_PTR, bool> tokens;
    // Handles count up from a value no small integer or null reaches.
    uintptr_t nextHandle = 0x10000;
    std::map<uintptr_t, Entry> objects;
};

State& Process() {
    static State* state = new State;  // lives as long as the process: permanent objects stay
    return *state;
}

Status HookProc(ULONG_PTR* token) {
    if (!token) return InvalidParameter;
    std::lock_guard lock(ApiLock());
    *token = Process().nextToken++;
    return Ok;
}

// Nothing runs in the background here, so there is nothing to unhook.
void UnhookProc(ULONG_PTR) {}

}  // namespace

uintptr_t Register(Kind kind, std::unique_ptr<Object> object, bool permanent) {
    State& s = Process();
    uintptr_t handle = s.nextHandle;
    s.nextHandle += 16;
    s.objects.emplace(handle, Entry{kind, std::move(object), permanent});
    return handle;
}

Object* Lookup(const void* handle, Kind kind) {
    State& s = Process();
    auto it = s.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == s.objects.end() || it->second.kind != kind) return nullptr;
    return it->second.object.get();
}

bool Unregister(const void* handle, Kind kind) {
    State& s = Process();
    auto it = s.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == s.objects.end() || it->second.kind != kind) return false;
    if (it->second.permanent) return true;
    std::unique_ptr<Object> gone = std::move(it->second.object);
    s.objects.erase(it);
    return true;
}

bool Started() { return Process().starts > 0; }

Status Call(const std::function<Status()>& body) {
    std::lock_guard lock(ApiLock());
    if (!Started()) return GdiplusNotInitialized;
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    } catch (const EOutOfMemory&) {
        return OutOfMemory;
    } catch (const EBackendUnsupported&) {
        return NotImplemented;
    } catch (const ENotImplemented&) {
        return NotImplemented;
    } catch (const std::exception&) {
        return GenericError;
    }
}

double UnitToPixels(Unit unit) {
    switch (unit) {
        case UnitPoint: return 96.0 / 72.0;
        case UnitInch: return 96.0;
        case UnitDocument: return 96.0 / 300.0;
        case UnitMillimeter: return 96.0 / 25.4;
        default: return 1.0;
    }
}

bool ValidUnit(Unit unit) { return unit >= UnitWorld && unit <= UnitMillimeter; }
bool ValidWrap(WrapMode wrap) { return wrap >= WrapModeTile && wrap <= WrapModeClamp; }

bool Finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

std::atomic<engine::Engine*> gReplacement{nullptr};

engine::Engine& Engine() {
    engine::Engine* replacement = gReplacement.load();
    return replacement ? *replacement : engine::BackendEngine();
}

}  // namespace detail

namespace engine {

Engine* ReplaceEngine(Engine* engine) { return detail::gReplacement.exchange(engine); }

Engine& BackendEngine() { return ui::GetBackend().GdiPlus(); }

}  // namespace engine

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
    using namespace detail;
    if (!token || !input) return InvalidParameter;
    if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3) return UnsupportedGdiplusVersion;
    // Without the background thread the caller runs the notification hook itself, so it needs the
    // output to find it.
    if (input->SuppressBackgroundThread && !output) return InvalidParameter;
    std::lock_guard lock(ApiLock());
    State& s = Process();
    if (output) {
        output->NotificationHook = input->SuppressBackgroundThread ? &HookProc : nullptr;
        output->NotificationUnhook = input->SuppressBackgroundThread ? &UnhookProc : nullptr;
    }
    ++s.starts;
    *token = s.nextToken++;
    s.tokens[*token] = true;
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
    using namespace detail;
    std::vector<std::unique_ptr<Object>> gone;
    {
        std::lock_guard lock(ApiLock());
        State& s = Process();
        if (!s.tokens.erase(token) || --s.starts > 0) return;
        // The last shutdown ends every object but the permanent ones.
        for (auto it = s.objects.begin(); it != s.objects.end();) {
            if (it->second.permanent) {
                ++it;
            } else {
                gone.push_back(std::move(it->second.object));
                it = s.objects.erase(it);
            }
        }
        gone.clear();
    }
}

void* GdipAlloc(size_t size) {
    std::lock_guard lock(detail::ApiLock());
    if (!detail::Started()) return nullptr;
    return std::malloc(size ? size : 1);
}

void GdipFree(void* block) { std::free(block); }

size_t GdipLiveObjects() {
    std::lock_guard lock(detail::ApiLock());
    const auto& objects = detail::Process().objects;
    return static_cast<size_t>(std::count_if(objects.begin(), objects.end(), [](const auto& e) { return !e.second.permanent; }));
}

}  // namespace gdiplus
