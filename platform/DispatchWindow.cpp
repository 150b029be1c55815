#include "DispatchWindow.h"

#include "Application.h"
#include "ErrorBox.h"
#include "Unicode.h"
#include "WindowClass.h"

TDispatchWindow::~TDispatchWindow() {
    // The derived parts are gone: messages sent while the window is destroyed
    // must not reach the handler.
    if (Handle()) SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

void TDispatchWindow::Create(const TWindowClass& windowClass, DWORD exStyle, DWORD style,
                             const std::string& caption, int left, int top, int width, int height,
                             HWND owner) {
    const HWND handle = CreateWindowExW(exStyle, windowClass.Name(), Widen(caption).c_str(), style, left, top,
                                        width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
    Attach(CheckCreated(handle));
}

LRESULT TDispatchWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK TDispatchWindow::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TDispatchWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->Attach(handle);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* window = reinterpret_cast<TDispatchWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (!window) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        window->Attach(nullptr);
        return DefWindowProcW(handle, message, wParam, lParam);
    }

    std::string failure;
    try {
        return window->HandleMessage(message, wParam, lParam);
    } catch (...) {
        failure = FailureMessage(std::current_exception());
    }
    // Shown after the handler's frames are gone, so that the box's own message
    // loop never runs inside a catch block.
    Application->ShowException(failure);
    return 0;
}
