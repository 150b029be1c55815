// The Windows version that programs see in a version run's Wine prefix
// (PELMOR_WINE_VERSION, cmake/wine-run): proof that the run is what it claims.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TVersionCase {
    const char* wineName;
    DWORD major, minor;        // what the system is
    DWORD shownMajor, shownMinor;  // what GetVersionEx tells a program without a manifest
};

// Windows 8.1 and later tell a program without a manifest, such as the updater,
// that they are Windows 8 (6.2).
constexpr TVersionCase VersionCases[] = {
    {"winxp", 5, 1, 5, 1},
    {"win7", 6, 1, 6, 1},
    {"win10", 10, 0, 6, 2},
};

const TVersionCase* ExpectedVersion() {
    const char* name = std::getenv("PELMOR_WINE_VERSION");
    if (name == nullptr) return nullptr;
    for (const auto& version : VersionCases)
        if (std::strcmp(version.wineName, name) == 0) return &version;
    ADD_FAILURE() << "no expectation for the version " << name;
    return nullptr;
}

// RtlGetVersion tells the truth whatever the manifest says.
OSVERSIONINFOW SystemVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) ADD_FAILURE() << "no RtlGetVersion";
    return info;
}

TEST(WindowsVersion, IsTheOneTheRunAskedFor) {
    const TVersionCase* expected = ExpectedVersion();
    if (expected == nullptr) GTEST_SKIP() << "not a version run (PELMOR_WINE_VERSION unset)";

    OSVERSIONINFOEXW shown = {};
    shown.dwOSVersionInfoSize = sizeof shown;
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&shown)));
    EXPECT_EQ(expected->shownMajor, shown.dwMajorVersion);
    EXPECT_EQ(expected->shownMinor, shown.dwMinorVersion);

    const OSVERSIONINFOW system = SystemVersion();
    EXPECT_EQ(expected->major, system.dwMajorVersion);
    EXPECT_EQ(expected->minor, system.dwMinorVersion);
}

// The oldest system the programs are built for: XP with its third service pack.
TEST(WindowsVersion, XpRunIsServicePack3) {
    const TVersionCase* expected = ExpectedVersion();
    if (expected == nullptr || std::strcmp(expected->wineName, "winxp") != 0) GTEST_SKIP() << "not the XP run";
    OSVERSIONINFOEXW shown = {};
    shown.dwOSVersionInfoSize = sizeof shown;
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&shown)));
    EXPECT_EQ(3, shown.wServicePackMajor);
    EXPECT_EQ(2600u, shown.dwBuildNumber);
}

}  // namespace
