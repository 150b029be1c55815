#include "WindowPixels.h"

WindowPixels::WindowPixels(HWND window, POINT origin, SIZE size) : size_(size) {
    // Wine lets another process's window DC read back what its owner drew.
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, size.cx, size.cy, source, origin.x, origin.y, SRCCOPY)) {
        GdiFlush();
        const auto* quads = static_cast<const RGBQUAD*>(bits);
        pixels_.resize(size_t(size.cx) * size.cy);
        for (size_t i = 0; i < pixels_.size(); ++i)
            pixels_[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
}

COLORREF WindowPixels::At(int x, int y) const { return pixels_[size_t(y) * size_.cx + x]; }
