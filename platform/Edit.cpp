#include "Edit.h"

TEdit::TEdit(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE) {}
