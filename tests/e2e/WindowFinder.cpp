#include "WindowFinder.h"

#include "Unicode.h"
#include "Wait.h"

namespace {

// A busy updater (decoding, or in a modal loop of a hung handler) must not hang the driver.
constexpr UINT MessageTimeoutMs = 5000;

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(ARRAYSIZE(text)), LPARAM(text), SMTO_ABORTIFHUNG,
                             MessageTimeoutMs, &copied))
        return "<no answer to WM_GETTEXT>";
    return Narrow(std::wstring(text, copied));
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    return Narrow(name);
}

bool ClassIs(HWND window, const std::string& className) {
    return lstrcmpiW(Widen(ClassOf(window)).c_str(), Widen(className).c_str()) == 0;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectWindowOf, LPARAM(&search));
    return search.found;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindows(processId))
        if (IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

HWND FindVisibleWindow(DWORD processId, const std::string& caption, const std::string& className) {
    for (HWND window : VisibleTopLevelWindows(processId))
        if ((className.empty() || ClassIs(window, className)) && WindowText(window) == caption) return window;
    return nullptr;
}

HWND WaitForVisibleWindow(DWORD processId, const std::string& caption, const std::string& className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindVisibleWindow(processId, caption, className)) != nullptr; });
    return found;
}

HWND FindWindowOf(DWORD processId, const std::string& caption) {
    for (HWND window : TopLevelWindows(processId))
        if (WindowText(window) == caption) return window;
    return nullptr;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
    for (HWND child : ChildWindows(parent))
        if (ClassIs(child, className) && WindowText(child) == text) return child;
    return nullptr;
}

HWND FocusIn(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::string DescribeWindows(DWORD processId) {
    std::string lines;
    for (HWND window : TopLevelWindows(processId))
        lines += "  [" + ClassOf(window) + "] \"" + WindowText(window) + "\"" +
                 (IsWindowVisible(window) ? " visible\n" : " hidden\n");
    return lines.empty() ? "  (no windows)\n" : lines;
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}
