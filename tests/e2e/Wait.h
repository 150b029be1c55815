#pragma once
// Polling with a deadline: the updater runs in another process, and every wait
// for it must end even when it hangs.

#include <windows.h>

#include <functional>

constexpr DWORD WindowTimeoutMs = 15000;

// True as soon as condition holds, false once timeoutMs have passed without it.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = WindowTimeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}
