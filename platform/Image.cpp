#include "Image.h"

const wchar_t* TImage::ClassName() {
    static const ATOM registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &TImage::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PelmorImage";
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        return RegisterClassW(&windowClass);
    }();
    (void)registered;
    return L"PelmorImage";
}

TImage::TImage(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, ClassName(), 0), width_(layout.width), height_(layout.height) {
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TCanvas& TImage::Canvas() {
    if (!picture_) picture_ = std::make_unique<TBitmap>(width_, height_);
    return picture_->Canvas();
}

// Painting only copies the bitmap, so nothing here can raise. Until the object
// is attached (during creation) the window is left to the system.
LRESULT CALLBACK TImage::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* image = reinterpret_cast<TImage*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (message == WM_PAINT && image) {
        image->Paint();
        return 0;
    }
    if (message == WM_ERASEBKGND && image && image->picture_) return 1;
    return DefWindowProcW(handle, message, wParam, lParam);
}

void TImage::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    if (picture_) picture_->Draw(dc, 0, 0);
    EndPaint(Handle(), &paint);
}
