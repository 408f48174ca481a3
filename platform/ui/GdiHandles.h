#pragma once
// The one registry of live drawing objects: canvases (HDC), bitmaps (HBITMAP), regions, pens,
// brushes, fonts and image lists (HIMAGELIST). A handle is a number handed out here, never an address and never handed out
// twice, so a stale or forged handle is refused instead of dereferenced. The registry can own an
// object (memory DCs, compatible bitmaps, the GDI objects), which Delete then frees.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>

namespace ui::gdi {

enum class Kind : uint8_t { Canvas, Bitmap, Region, Brush, Pen, Font, ImageList };

// A handle for object; owner, when given, is held until the handle is deleted. A permanent
// object (a stock object) survives Delete.
uintptr_t Add(Kind kind, void* object, std::shared_ptr<void> owner = nullptr, bool permanent = false);
// Forgets a handle whatever it names (an object going away by itself).
void Remove(uintptr_t handle);
// Gives the registry the object behind a handle, to be freed when the handle is deleted.
void Adopt(uintptr_t handle, std::shared_ptr<void> owner);

enum class Deleted { Unknown, Kept, Freed };
// Deletes a handle of one of the kinds that the registry owns: Unknown for any other handle
// (an object owned elsewhere included), Kept for a permanent one. The object is freed outside
// the registry's lock, since freeing it may delete handles itself.
Deleted Delete(uintptr_t handle, std::initializer_list<Kind> kinds);

// Holds the registry's lock: what Find returns stays valid while the Access lives. The lock is
// recursive, so an Access may be held around any other call here.
class Access {
public:
    Access();
    ~Access();
    Access(const Access&) = delete;
    Access& operator=(const Access&) = delete;
    // The object behind a handle of that kind, nullptr for anything else.
    void* Find(uintptr_t handle, Kind kind) const;
    template <class T>
    T* Find(uintptr_t handle, Kind kind) const { return static_cast<T*>(Find(handle, kind)); }
    template <class T>
    T* Find(const void* handle, Kind kind) const { return Find<T>(reinterpret_cast<uintptr_t>(handle), kind); }

private:
    std::unique_lock<std::recursive_mutex> FLock;
};

// The object behind a handle of that kind, nullptr for anything else (one lookup under the lock).
template <class T>
T* Find(const void* handle, Kind kind) {
    return Access().Find<T>(handle, kind);
}

}  // namespace ui::gdi
