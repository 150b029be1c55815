#pragma once
// A window class of this module, registered on construction, whose windows are
// served by TDispatchWindow. Instances live as function statics: registered on
// first use, never unregistered (the process's end does that).

#include <windows.h>

class TWindowClass {
public:
    TWindowClass(const wchar_t* name, int backgroundColor);
    TWindowClass(const TWindowClass&) = delete;
    TWindowClass& operator=(const TWindowClass&) = delete;

    const wchar_t* Name() const { return name_; }
    bool IsClassOf(HWND window) const;

private:
    const wchar_t* name_;
    ATOM atom_;
};
