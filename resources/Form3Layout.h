#pragma once
// The stored layout of Form3, the location-unknown dialog (location/Unit3.h).

#include <iterator>

#include "FormLayout.h"

inline constexpr TComponentLayout Form3Components[] = {
    // kind                  name       left top  width height caption                                                              visible tab
    {TComponentKind::Label,  "Label1",  8,   16,  375,  12,   "インストールが正常に行われていないか、ドライブ構成が変更されたなどの", true,   NoTabOrder},
    {TComponentKind::Label,  "Label2",  8,   32,  204,  12,   "理由により、アップデート先が不明です。",                               true,   NoTabOrder},
    // Below the client area (152 > 122): never seen.
    {TComponentKind::Label,  "Label6",  8,   152, 4,    12,   "",                                                                   true,   NoTabOrder},
    {TComponentKind::Label,  "Label3",  8,   48,  355,  12,   "先に製品のインストール（再インストール）を行ってから、アップデートを", true,   NoTabOrder},
    {TComponentKind::Label,  "Label4",  8,   64,  79,   12,   "行ってください。",                                                     true,   NoTabOrder},
    {TComponentKind::Button, "Button2", 24,  104, 169,  33,   "インストール先の指定",                                                 false,  0},
    {TComponentKind::Button, "Button3", 320, 72,  81,   33,   "終了",                                                               true,   1},
};

// Centred on every showing by its FormShow.
inline constexpr TFormLayout Form3Layout = {
    "Form3", "インストール先が不明です", TBorderStyle::Dialog, TSizeKind::Client, 0, 0, 418, 122,
    Form3Components, std::size(Form3Components),
};
