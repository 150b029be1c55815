#pragma once
// Drawing on a device context: a brush for fills and text backgrounds, a font
// for text. Only what painting the banner needs.

#include <cstdint>
#include <string>

// A colour as 0x00BBGGRR.
using TColor = uint32_t;
constexpr TColor clWhite = 0xFFFFFF;

enum class TBrushStyle { Solid, Clear };

struct TRect {
    int Left, Top, Right, Bottom;  // right and bottom edges exclusive
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;
};

// Face and character set are those of a Japanese system's default drawing font.
struct TCanvasFont {
    int Height = -12;
    TColor Color = 0;
};

class TCanvas {
public:
    explicit TCanvas(void* deviceContext) : dc_(deviceContext) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    TBrush Brush;
    TCanvasFont Font;

    void FillRect(const TRect& rect);
    // Draws text with its top-left corner at (x, y).
    void WriteText(int x, int y, const std::string& text);

private:
    void SelectFont();

    void* dc_;
    void* font_ = nullptr;
    void* previousFont_ = nullptr;
    int fontHeight_ = 0;
};
