#pragma once
// The layout of the directory chooser (SelectDirectory.h).

#include <iterator>

#include "FormLayout.h"

inline constexpr TComponentLayout SelectDirComponents[] = {
    // kind                          name            left top  width height caption                visible tab
    {TComponentKind::Label,         "DirLabel",      8,   8,   260,  12,   "ディレクトリ名:",      true,   NoTabOrder},
    {TComponentKind::Edit,          "DirEdit",       8,   24,  260,  21,   "",                     true,   0},
    {TComponentKind::Label,         "DirListLabel",  8,   54,  260,  12,   "ディレクトリ:",        true,   NoTabOrder},
    {TComponentKind::DirectoryList, "DirList",       8,   70,  260,  140,  "",                     true,   1},
    {TComponentKind::Label,         "DriveLabel",    8,   220, 260,  12,   "ドライブ:",            true,   NoTabOrder},
    {TComponentKind::DriveList,     "DriveList",     8,   236, 260,  160,  "",                     true,   2},
    {TComponentKind::Button,        "OKButton",      280, 24,  75,   25,   "OK",                   true,   3, true, false},
    {TComponentKind::Button,        "CancelButton",  280, 56,  75,   25,   "キャンセル",           true,   4, false, true},
};

// Centred by its show handler.
inline constexpr TFormLayout SelectDirLayout = {
    "SelectDirDlg", "ディレクトリの選択", TBorderStyle::Dialog, TSizeKind::Client, 0, 0, 363, 268,
    SelectDirComponents, std::size(SelectDirComponents),
};
