// The entry point: one updater at a time, then the two windows and the event loop.

#include <windows.h>

#include "Application.h"
#include "ProductConstants.h"
#include "Unicode.h"
#include "Unit1.h"
#include "Unit3.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // Any error left by the creation counts, not only an existing mutex; the
    // handle is left for the process's end to close.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, Widen(ProductConstants::MutexName).c_str());
    if (GetLastError() != 0) return 1;

    try {
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        Application->Run();
    } catch (...) {
        Application->HandleException();
    }
    ReleaseMutex(mutex);
    return 0;
}
