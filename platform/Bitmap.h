#pragma once
// An off-screen bitmap with a canvas to draw on, shown by copying it to a window.

#include <memory>

#include "Canvas.h"

class TBitmap {
public:
    TBitmap(int width, int height);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    TCanvas& Canvas() { return *canvas_; }

    // Copies the bitmap to (x, y) of another device context.
    void Draw(void* deviceContext, int x, int y) const;

private:
    int width_;
    int height_;
    void* dc_;
    void* bitmap_;
    void* previousBitmap_;
    std::unique_ptr<TCanvas> canvas_;
};
