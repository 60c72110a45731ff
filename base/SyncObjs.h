#pragma once
// A critical section and its scoped lock. Any thread; the section may be entered again by the thread that holds it.
#include <mutex>

namespace kes {

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Acquire() { mutex_.lock(); }
    void Release() { mutex_.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    bool TryEnter() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a critical section for the lifetime of the object.
class TScopedLock {
public:
    explicit TScopedLock(TCriticalSection& section) : section_(section) { section_.Acquire(); }
    ~TScopedLock() { section_.Release(); }
    TScopedLock(const TScopedLock&) = delete;
    TScopedLock& operator=(const TScopedLock&) = delete;

private:
    TCriticalSection& section_;
};

}  // namespace kes
