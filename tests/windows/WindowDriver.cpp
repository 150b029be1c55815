#include "WindowDriver.h"

#include <atomic>
#include <thread>

#include "Unicode.h"

namespace {

struct TopLevelSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopLevelSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    TopLevelSearch search{processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

// Windows that the script's last step is closing get the time to; only then is
// the rest closed, so that no close request outlives its window's showing.
void CloseEverythingLeftOpen() {
    const auto nothingVisible = [] { return VisibleTopLevelWindows(GetCurrentProcessId()).empty(); };
    if (WaitUntil(nothingVisible, 1000)) return;
    WaitUntil([] {
        const auto windows = VisibleTopLevelWindows(GetCurrentProcessId());
        for (HWND window : windows) {
            if (ClassOf(window) == MessageBoxClass) {
                PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            } else {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
        }
        if (!windows.empty()) Sleep(100);
        return windows.empty();
    });
}

}  // namespace

void DriveWhile(const std::function<void()>& uiWork, const std::function<void()>& script) {
    std::atomic<bool> finished{false};
    std::thread driver([&] {
        script();
        CloseEverythingLeftOpen();
        finished = true;
    });
    uiWork();
    // The script may still read texts or sync with this thread: answer its sent
    // messages, but leave posted ones to the next message loop.
    MSG message;
    while (!finished) {
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(5);
    }
    driver.join();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

HWND WaitForWindow(const wchar_t* className, const std::string& caption, DWORD processId, DWORD timeoutMs) {
    HWND result = nullptr;
    WaitUntil([&] {
        for (HWND window : VisibleTopLevelWindows(processId)) {
            if (ClassOf(window) == className && TextOf(window) == caption) {
                result = window;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return result;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, WaitTimeoutMs, &length)) return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                        WaitTimeoutMs, &copied);
    text.resize(copied);
    return Narrow(text);
}

std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className) {
    std::vector<HWND> children;
    for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
         child = FindWindowExW(parent, child, className, nullptr)) {
        children.push_back(child);
    }
    return children;
}

HWND ChildWithText(HWND parent, const wchar_t* className, const std::string& text) {
    for (HWND child : ChildrenOf(parent, className)) {
        if (TextOf(child) == text) return child;
    }
    return nullptr;
}

std::string MessageBoxText(HWND box) {
    for (HWND child : ChildrenOf(box, L"Static")) {
        const std::string text = TextOf(child);
        if (!text.empty()) return text;
    }
    return "";
}

RECT WindowRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

SIZE ClientSizeOf(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

RECT ChildRectOf(HWND child) {
    RECT rect = WindowRectOf(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PostKey(HWND target, WORD virtualKey) {
    const LPARAM scanCode = LPARAM(MapVirtualKeyW(virtualKey, 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    PostMessageW(target, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM(3) << 30));
}

void ClickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void SyncWith(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, WaitTimeoutMs, &ignored);
}
