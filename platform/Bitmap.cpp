#include "Bitmap.h"

#include <windows.h>

TBitmap::TBitmap(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previousBitmap_ = SelectObject(HDC(dc_), HGDIOBJ(bitmap_));
    canvas_ = std::make_unique<TCanvas>(dc_);
}

TBitmap::~TBitmap() {
    canvas_.reset();
    SelectObject(HDC(dc_), HGDIOBJ(previousBitmap_));
    DeleteObject(HGDIOBJ(bitmap_));
    DeleteDC(HDC(dc_));
}

void TBitmap::Draw(void* deviceContext, int x, int y) const {
    BitBlt(HDC(deviceContext), x, y, width_, height_, HDC(dc_), 0, 0, SRCCOPY);
}
