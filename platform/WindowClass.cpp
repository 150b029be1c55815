#include "WindowClass.h"

#include "DispatchWindow.h"
#include "Exception.h"

TWindowClass::TWindowClass(const wchar_t* name, int backgroundColor) : name_(name) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = TDispatchWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // The application's icon, once the executable carries one under this name.
    windowClass.hIcon = LoadIconW(windowClass.hInstance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(backgroundColor + 1));
    windowClass.lpszClassName = name;
    atom_ = RegisterClassW(&windowClass);
    if (!atom_) throw Exception("ウィンドウクラスを登録できません");
}

bool TWindowClass::IsClassOf(HWND window) const {
    return window && GetClassLongW(window, GCW_ATOM) == atom_;
}
