#include "MessageBoxReader.h"

#include "WindowFinder.h"

namespace {

constexpr int MessageTextId = 0xFFFF;

}  // namespace

HWND WaitForMessageBox(DWORD processId, const std::string& caption) {
    return WaitForVisibleWindow(processId, caption, "#32770");
}

MessageBoxContents ReadMessageBox(HWND box) {
    MessageBoxContents contents;
    contents.caption = WindowText(box);
    if (HWND text = GetDlgItem(box, MessageTextId)) contents.text = WindowText(text);
    for (HWND child : ChildWindows(box))
        if (ClassIs(child, "Button") && IsWindowVisible(child)) contents.buttons.push_back(WindowText(child));
    return contents;
}

HWND MessageBoxButton(HWND box, const std::string& caption) { return FindChild(box, "Button", caption); }
