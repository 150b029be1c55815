#pragma once
// The stored layout of a form, as the form designer would keep it: the form's
// own settings and its components in creation order. Positions and sizes are
// pixels at 96 dpi, used as they stand (no scaling with the screen's dpi).

#include <cstddef>

enum class TComponentKind { Button, Label, Edit, DirectoryList, DriveList, Image };

// Components that the Tab key never stops at (labels).
constexpr int NoTabOrder = -1;

struct TComponentLayout {
    TComponentKind kind;
    const char* name;
    int left;
    int top;
    int width;
    int height;
    const char* caption;
    bool visible;
    int tabOrder;
    // Buttons only: pressed by Enter when no button has the focus, or by Esc.
    bool isDefault = false;
    bool isCancel = false;
};

enum class TBorderStyle {
    Dialog,    // fixed size, a close box and no other title-bar button
    Sizeable,  // sizable frame with the usual title-bar buttons
};

enum class TSizeKind { Outer, Client };

struct TFormLayout {
    const char* name;
    const char* caption;
    TBorderStyle borderStyle;
    TSizeKind sizeKind;  // what width and height measure
    int left;
    int top;
    int width;
    int height;
    const TComponentLayout* components;
    size_t componentCount;
};
