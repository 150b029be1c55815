#include "Canvas.h"

#include <windows.h>

#include "Unicode.h"

TCanvas::~TCanvas() {
    if (!font_) return;
    SelectObject(HDC(dc_), HGDIOBJ(previousFont_));
    DeleteObject(HGDIOBJ(font_));
}

void TCanvas::FillRect(const TRect& rect) {
    if (Brush.Style == TBrushStyle::Clear) return;
    const RECT area = {rect.Left, rect.Top, rect.Right, rect.Bottom};
    HBRUSH brush = CreateSolidBrush(Brush.Color);
    ::FillRect(HDC(dc_), &area, brush);
    DeleteObject(brush);
}

void TCanvas::WriteText(int x, int y, const std::string& text) {
    SelectFont();
    HDC dc = HDC(dc_);
    if (Brush.Style == TBrushStyle::Clear) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, Brush.Color);
    }
    SetTextColor(dc, Font.Color);
    const std::wstring wide = Widen(text);
    TextOutW(dc, x, y, wide.c_str(), int(wide.size()));
}

// The drawing font of a Japanese system. Where the face is missing, Windows
// picks one that has the character set, so Japanese text shows everywhere.
void TCanvas::SelectFont() {
    if (font_ && fontHeight_ == Font.Height) return;
    LOGFONTW description = {};
    description.lfHeight = Font.Height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(description.lfFaceName, Widen("ＭＳ Ｐゴシック").c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ previous = SelectObject(HDC(dc_), font);
    if (font_) {
        DeleteObject(HGDIOBJ(font_));
    } else {
        previousFont_ = previous;
    }
    font_ = font;
    fontHeight_ = Font.Height;
}
