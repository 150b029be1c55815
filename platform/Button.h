#pragma once
// A push button.

#include "Control.h"

class TButton : public TControl {
public:
    TButton(HWND parent, const TComponentLayout& layout, int id, HFONT font);

    TNotifyEvent OnClick;
    bool IsDefault() const { return isDefault_; }
    bool IsCancel() const { return isCancel_; }

    // Runs OnClick, as a press with the mouse or the keyboard does.
    void Click();
    void Notify(int code) override;

private:
    bool isDefault_;
    bool isCancel_;
};
