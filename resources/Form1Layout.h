#pragma once
// The stored layout of Form1, the main window (app/Unit1.h).

#include <iterator>

#include "FormLayout.h"

inline constexpr TComponentLayout Form1Components[] = {
    // kind                  name       left top  width height caption               visible tab
    {TComponentKind::Image,  "Image1",  8,   8,   512,  193,  "",                    true,   NoTabOrder},
    {TComponentKind::Button, "Button1", 8,   216, 113,  33,   "アップデート開始",     true,   0},
    {TComponentKind::Button, "Button3", 432, 216, 83,   33,   "終了",                true,   1},
    {TComponentKind::Button, "Button4", 296, 216, 113,  33,   "アップデート先変更",   false,  2},
};

// Outer size; centred by its FormCreate.
inline constexpr TFormLayout Form1Layout = {
    "Form1", "アップデーター", TBorderStyle::Sizeable, TSizeKind::Outer, 0, 0, 538, 291,
    Form1Components, std::size(Form1Components),
};
