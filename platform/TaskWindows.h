#pragma once
// What makes a window modal: while an object of this class lives, the thread's
// other visible and enabled top-level windows are disabled; it enables them
// again when it goes.

#include <vector>

#include <windows.h>

class TDisabledTaskWindows {
public:
    explicit TDisabledTaskWindows(HWND except);
    TDisabledTaskWindows(const TDisabledTaskWindows&) = delete;
    TDisabledTaskWindows& operator=(const TDisabledTaskWindows&) = delete;
    ~TDisabledTaskWindows();

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self);

    HWND except_;
    std::vector<HWND> disabled_;
};
