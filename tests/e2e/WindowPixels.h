#pragma once
// The pixels another process has drawn in its window, as 0x00BBGGRR colours.

#include <windows.h>

#include <vector>

class WindowPixels {
public:
    // Copies the area of window's client rectangle at origin with that size.
    WindowPixels(HWND window, POINT origin, SIZE size);

    bool Valid() const { return !pixels_.empty(); }
    COLORREF At(int x, int y) const;  // relative to origin
    int Width() const { return size_.cx; }
    int Height() const { return size_.cy; }

private:
    SIZE size_;
    std::vector<COLORREF> pixels_;
};
