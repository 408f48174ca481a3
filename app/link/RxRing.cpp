#include "app/link/RxRing.h"

#include <algorithm>

TRxRing::TRxRing() : FSlots(kSlots, u'0') {}

void TRxRing::Push(const char16_t* chars, size_t count) {
    std::lock_guard<std::mutex> g(FLock);
    for (size_t i = 0; i < count; ++i) {
        if (static_cast<size_t>(FCount.load(std::memory_order_relaxed)) == FSlots.size()) {
            // Full: unwrap the unread characters into a ring twice the size.
            std::vector<char16_t> grown(FSlots.size() * 2, u'0');
            size_t n = FSlots.size();
            for (size_t k = 0; k < n; ++k) grown[k] = FSlots[(FRead + k) % n];
            FSlots.swap(grown);
            FRead = 0;
            FWrite = n;
        }
        FSlots[FWrite] = chars[i];
        FWrite = (FWrite + 1) % FSlots.size();
        FCount.fetch_add(1, std::memory_order_release);
    }
}

char16_t TRxRing::Get() {
    std::lock_guard<std::mutex> g(FLock);
    if (FCount.load(std::memory_order_relaxed) == 0) return u'0';
    char16_t c = FSlots[FRead];
    FRead = (FRead + 1) % FSlots.size();
    FCount.fetch_sub(1, std::memory_order_release);
    return c;
}

void TRxRing::Clear() {
    std::lock_guard<std::mutex> g(FLock);
    FSlots.assign(kSlots, u'0');
    FRead = 0;
    FWrite = 0;
    FCount.store(0, std::memory_order_release);
}

size_t TRxRing::Capacity() const {
    std::lock_guard<std::mutex> g(FLock);
    return FSlots.size();
}
