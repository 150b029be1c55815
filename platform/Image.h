#pragma once
// An image component: shows a bitmap that the program draws on through its canvas.
// The bitmap is made on the first use of the canvas, of the image's size then.

#include <memory>

#include "Bitmap.h"
#include "Control.h"

class TImage : public TControl {
public:
    TImage(HWND parent, const TComponentLayout& layout, int id, HFONT font);

    int Width() const { return width_; }
    int Height() const { return height_; }
    TCanvas& Canvas();
    // Shows what was drawn since the last call.
    void Invalidate() { InvalidateRect(Handle(), nullptr, FALSE); }

private:
    static const wchar_t* ClassName();
    static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    int width_;
    int height_;
    std::unique_ptr<TBitmap> picture_;
};
