#pragma once
// Finding and reading the windows of another process: by owning process, caption
// and class, texts through WM_GETTEXT, focus through the thread's GUI state.

#include <windows.h>

#include <string>
#include <vector>

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
bool ClassIs(HWND window, const std::string& className);  // ignores case, as Windows does

// Top-level windows of the process, hidden ones included, in z-order.
std::vector<HWND> TopLevelWindows(DWORD processId);
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);

// A visible top-level window of the process with this caption (and class, unless
// empty), or null.
HWND FindVisibleWindow(DWORD processId, const std::string& caption, const std::string& className = "");
HWND WaitForVisibleWindow(DWORD processId, const std::string& caption, const std::string& className = "");
// Any top-level window of the process with this caption, hidden or not, or null.
HWND FindWindowOf(DWORD processId, const std::string& caption);

// Direct children, in z-order (for the controls of a form that is their tab order).
std::vector<HWND> ChildWindows(HWND parent);
// The direct child of that class and text, or null.
HWND FindChild(HWND parent, const std::string& className, const std::string& text);

// The window with the keyboard focus in the thread that owns window, or null.
HWND FocusIn(HWND window);

// One line per top-level window of the process: class, caption, visibility; for
// failure messages.
std::string DescribeWindows(DWORD processId);

RECT WindowRect(HWND window);
SIZE ClientSize(HWND window);
