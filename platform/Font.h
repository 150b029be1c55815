#pragma once
// The owner of one GDI font.

#include <string>

#include <windows.h>

class TFont {
public:
    // height in pixels; negative for the character height, positive for the cell height.
    TFont(const std::string& face, int height, BYTE charSet);
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    ~TFont() { DeleteObject(handle_); }

    HFONT Handle() const { return handle_; }

private:
    HFONT handle_;
};
