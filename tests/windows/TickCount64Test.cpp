// GetTickCount64 through the import slot that platform/TickCount64.cpp defines for
// programs that must start on Windows XP.

#include <windows.h>

#include <gtest/gtest.h>

// The XP headers hide the declaration; the call still goes through the import
// slot, which this program gets from TickCount64.cpp and not from kernel32.dll.
extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

namespace {

TEST(TickCount64, CountsWithTheSystemsTickCount) {
    const DWORD before = GetTickCount();
    const ULONGLONG ticks = GetTickCount64();
    const DWORD after = GetTickCount();
    // The low 32 bits are GetTickCount's count, taken in between.
    EXPECT_LE(DWORD(ticks) - before, after - before);
}

}  // namespace
