#pragma once
// Reading a system message box of another process: class #32770, the message in
// the static control with id 0xFFFF, one push button per choice.

#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxContents {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // visible buttons' captions, in z-order
};

// The visible message box of the process with this caption, or null after the timeout.
HWND WaitForMessageBox(DWORD processId, const std::string& caption);
MessageBoxContents ReadMessageBox(HWND box);
// The box's button with that caption, or null.
HWND MessageBoxButton(HWND box, const std::string& caption);
