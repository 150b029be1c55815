#include "Label.h"

// One line, clipped at the label's width: a wrapped second line would fall
// outside the label's height anyway. "&" is text, not an accelerator.
TLabel::TLabel(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX) {}
