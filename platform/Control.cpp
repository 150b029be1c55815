#include "Control.h"

#include "Unicode.h"

TControl::TControl(HWND parent, const TComponentLayout& layout, int id, HFONT font, const wchar_t* className,
                   DWORD style, DWORD exStyle)
    : name_(layout.name), id_(id) {
    if (layout.visible) style |= WS_VISIBLE;
    if (layout.tabOrder != NoTabOrder) style |= WS_TABSTOP;
    Attach(CheckCreated(CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, className, Widen(layout.caption).c_str(),
                                        WS_CHILD | style, layout.left, layout.top, layout.width, layout.height,
                                        parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                        GetModuleHandleW(nullptr), nullptr)));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}
