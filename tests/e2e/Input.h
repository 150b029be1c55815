#pragma once
// User input for another process, posted to its queue so that it passes through the
// program's own message loop (and its dialog-key handling) like typed input would.
// Posting needs neither the foreground nor a window manager.

#include <windows.h>

// A mouse click on a push button.
void PostClick(HWND button);
// A key pressed and released while target has the focus: VK_RETURN, VK_SPACE, VK_ESCAPE, VK_TAB.
void PostKey(HWND target, WORD virtualKey);
// The title bar's close box (or Alt+F4): the window menu's Close command.
void PostSystemClose(HWND window);
