#pragma once
// A window of one of our own classes: its messages come to a virtual handler
// of this object. The window procedure is the one place where a failure raised
// by a handler is caught and shown; no C++ exception may unwind through the
// system's frames that called it.

#include <string>

#include "Window.h"

class TWindowClass;

class TDispatchWindow : public TWindow {
public:
    ~TDispatchWindow() override;

    static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    TDispatchWindow() = default;

    void Create(const TWindowClass& windowClass, DWORD exStyle, DWORD style, const std::string& caption,
                int left, int top, int width, int height, HWND owner);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};
