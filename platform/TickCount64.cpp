// GetTickCount64 for Windows XP, which lacks it. MinGW's thread library, which the
// C++ runtime uses for its locks, imports it from kernel32.dll, and with that
// import in the table XP's loader refuses to start the program at all.
//
// This file defines the import slot itself, so the linker takes no import for the
// function; the slot leads to the system's own where there is one.

#include <windows.h>

namespace {

using TickCountFunction = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI TickCount64() {
    // Looked up on every call: the thread library may call in before any static
    // initialiser of ours has run, and it calls rarely (timed waits only).
    const auto systemTickCount64 = reinterpret_cast<TickCountFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    if (systemTickCount64 != nullptr) return systemTickCount64();
    // Wraps after 49.7 days of uptime; the library measures only short waits.
    return GetTickCount();
}

}  // namespace

// The name the compiler gives the import slot of a dllimport'ed stdcall function
// without arguments on 32-bit Windows.
extern "C" const TickCountFunction TickCount64ImportSlot __asm__("__imp__GetTickCount64@0");
extern "C" const TickCountFunction TickCount64ImportSlot = TickCount64;
