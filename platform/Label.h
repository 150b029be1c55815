#pragma once
// A line of static text.

#include "Control.h"

class TLabel : public TControl {
public:
    TLabel(HWND parent, const TComponentLayout& layout, int id, HFONT font);
};
