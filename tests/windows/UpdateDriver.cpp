// Drives the real updater as a user would: records the installation directory in
// the registry, starts the updater, presses "アップデート開始", presses OK in the
// "情報" box that confirms the update, and waits for the updater to end.
// Exits with 0 when all of that happened and the updater ended with code 0.
//
// Usage: update_driver UPDATER INSTALL_DIR
//   INSTALL_DIR as the product's installer records it, ending in "\".
// HKCU\Software\Kurvex is removed again at the end.

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD StepTimeoutMs = 30000;

HANDLE updater = nullptr;

// Leaves no updater running and no record behind, whatever the outcome.
void CleanUp() {
    if (updater != nullptr && WaitForSingleObject(updater, 0) == WAIT_TIMEOUT) TerminateProcess(updater, 2);
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kurvex");
}

// One driver step failed: says which, and ends the driver.
[[noreturn]] void Fail(const char* step) {
    CleanUp();
    std::fprintf(stderr, "update_driver: %s\n", step);
    std::exit(1);
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
    return text;
}

struct TWindowQuery {
    DWORD processId;
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TWindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !IsWindowVisible(window) || WindowText(window) != query->text)
        return TRUE;
    query->found = window;
    return FALSE;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TWindowQuery*>(parameter);
    if (WindowText(window) != query->text) return TRUE;
    query->found = window;
    return FALSE;
}

// The visible top-level window of the process with that caption, once it is there.
HWND WaitForWindow(DWORD processId, const wchar_t* caption) {
    for (DWORD waited = 0; waited < StepTimeoutMs; waited += 50) {
        TWindowQuery query{processId, caption, nullptr};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr) return query.found;
        Sleep(50);
    }
    return nullptr;
}

HWND FindChild(HWND parent, const wchar_t* text) {
    TWindowQuery query{0, text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void RecordInstallDir(const std::wstring& directory) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kurvex\\PELMOR", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        Fail("cannot create HKCU\\Software\\Kurvex\\PELMOR");
    const DWORD bytes = DWORD((directory.size() + 1) * sizeof(wchar_t));
    const LONG status = RegSetValueExW(key, L"GameDir", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(directory.c_str()), bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) Fail("cannot write GameDir");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) Fail("usage: update_driver UPDATER INSTALL_DIR");
    RecordInstallDir(argv[2]);

    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        Fail("cannot start the updater");
    updater = process.hProcess;
    CloseHandle(process.hThread);

    HWND mainWindow = WaitForWindow(process.dwProcessId, L"アップデーター");
    if (mainWindow == nullptr) Fail("no window \"アップデーター\"");
    HWND startButton = FindChild(mainWindow, L"アップデート開始");
    if (startButton == nullptr) Fail("no button \"アップデート開始\"");
    // Posted: the click runs the whole update and a modal box inside the updater.
    PostMessageW(startButton, BM_CLICK, 0, 0);

    HWND infoBox = WaitForWindow(process.dwProcessId, L"情報");
    if (infoBox == nullptr) Fail("no box \"情報\" after the click");
    if (FindChild(infoBox, L"アップデート完了しました") == nullptr) Fail("the box does not say \"アップデート完了しました\"");
    PostMessageW(infoBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(infoBox, IDOK)));

    if (WaitForSingleObject(updater, StepTimeoutMs) != WAIT_OBJECT_0) Fail("the updater did not end after OK");
    DWORD exitCode = 0;
    GetExitCodeProcess(updater, &exitCode);
    CleanUp();
    if (exitCode != 0) Fail("the updater ended with a code other than 0");
    std::puts("update_driver: updated, the updater ended with code 0");
    return 0;
}
