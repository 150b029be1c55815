#include "Input.h"

void PostClick(HWND button) {
    // Posted, not sent: the click may run a long handler and a modal box.
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PostKey(HWND target, WORD virtualKey) {
    const LPARAM scanCode = LPARAM(MapVirtualKeyW(virtualKey, 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    // Previous state down and transition up, as the keyboard driver reports a release.
    PostMessageW(target, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

void PostSystemClose(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
