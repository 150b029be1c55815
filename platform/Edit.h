#pragma once
// A one-line edit field.

#include "Control.h"

class TEdit : public TControl {
public:
    TEdit(HWND parent, const TComponentLayout& layout, int id, HFONT font);

    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
};
