#include "platform/ui/GdiHandles.h"

#include <algorithm>
#include <unordered_map>

namespace ui::gdi {

namespace {

struct Entry {
    Kind kind;
    void* object;
    std::shared_ptr<void> owner;
    bool permanent;
};

struct Registry {
    std::recursive_mutex mutex;
    std::unordered_map<uintptr_t, Entry> entries;
    // Far from 0, so small numbers (a system colour index + 1 stands in for a brush) never name
    // an object.
    uintptr_t next = 0x10000;
};

// Never destroyed: objects may still leave it while the process ends.
Registry& TheRegistry() {
    static Registry* r = new Registry;
    return *r;
}

}  // namespace

uintptr_t Add(Kind kind, void* object, std::shared_ptr<void> owner, bool permanent) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    uintptr_t h = r.next += 4;
    r.entries.emplace(h, Entry{kind, object, std::move(owner), permanent});
    return h;
}

void Remove(uintptr_t handle) {
    Registry& r = TheRegistry();
    std::shared_ptr<void> gone;
    std::lock_guard lock(r.mutex);
    auto it = r.entries.find(handle);
    if (it == r.entries.end()) return;
    gone = std::move(it->second.owner);
    r.entries.erase(it);
}

void Adopt(uintptr_t handle, std::shared_ptr<void> owner) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.entries.find(handle);
    if (it != r.entries.end()) it->second.owner = std::move(owner);
}

Deleted Delete(uintptr_t handle, std::initializer_list<Kind> kinds) {
    Registry& r = TheRegistry();
    std::shared_ptr<void> gone;  // freed after the lock is released
    {
        std::lock_guard lock(r.mutex);
        auto it = r.entries.find(handle);
        if (it == r.entries.end() || !it->second.owner ||
            std::find(kinds.begin(), kinds.end(), it->second.kind) == kinds.end())
            return Deleted::Unknown;
        if (it->second.permanent) return Deleted::Kept;
        gone = std::move(it->second.owner);
        r.entries.erase(it);
    }
    return Deleted::Freed;
}

Access::Access() : FLock(TheRegistry().mutex) {}
Access::~Access() = default;

void* Access::Find(uintptr_t handle, Kind kind) const {
    Registry& r = TheRegistry();
    auto it = r.entries.find(handle);
    return it != r.entries.end() && it->second.kind == kind ? it->second.object : nullptr;
}

}  // namespace ui::gdi
