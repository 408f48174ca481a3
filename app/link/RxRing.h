#pragma once
// The receive ring: characters from the port's event thread (one producer) wait here for the
// main thread's idle passes (one consumer). 1025 slots of 16-bit characters; when every slot
// holds an unread character the ring grows instead of overwriting one, and a clear brings it
// back to its size. The count is atomic, so the idle pass can look without taking the lock.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

class TRxRing {
public:
    static constexpr size_t kSlots = 1025;

    TRxRing();
    // Event thread: appends the characters in order. The slot is written before the count grows.
    void Push(const char16_t* chars, size_t count);
    // Main thread, only while Count() > 0: the oldest character.
    char16_t Get();
    // Read and write positions to 0, no character waiting, the slots back to 1025 holding "0".
    void Clear();
    int Count() const { return FCount.load(std::memory_order_acquire); }
    size_t Capacity() const;

private:
    mutable std::mutex FLock;
    std::vector<char16_t> FSlots;
    size_t FRead = 0;
    size_t FWrite = 0;
    std::atomic<int> FCount{0};
};
