#include "TaskWindows.h"

TDisabledTaskWindows::TDisabledTaskWindows(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    // Disabled only after the enumeration, which must not see its own changes.
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

TDisabledTaskWindows::~TDisabledTaskWindows() {
    for (HWND window : disabled_) EnableWindow(window, TRUE);
}

BOOL CALLBACK TDisabledTaskWindows::Collect(HWND window, LPARAM self) {
    auto* disabler = reinterpret_cast<TDisabledTaskWindows*>(self);
    if (window == disabler->except_ || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    try {
        disabler->disabled_.push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the windows listed so far are still disabled
    }
}
