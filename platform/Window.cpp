#include "Window.h"

#include "Exception.h"
#include "Unicode.h"

TWindow::~TWindow() {
    if (handle_) DestroyWindow(handle_);
}

HWND TWindow::CheckCreated(HWND handle) {
    if (!handle) throw Exception("ウィンドウを作成できません");
    return handle;
}

std::string TWindow::Caption() const {
    std::wstring text(size_t(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(handle_, &text[0], int(text.size()))));
    return Narrow(text);
}

void TWindow::SetCaption(const std::string& caption) {
    SetWindowTextW(handle_, Widen(caption).c_str());
}
