#include "Button.h"

TButton::TButton(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, L"BUTTON", layout.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
      isDefault_(layout.isDefault),
      isCancel_(layout.isCancel) {}

void TButton::Click() {
    if (OnClick) OnClick(this);
}

void TButton::Notify(int code) {
    if (code == BN_CLICKED) Click();
}
