#include "ChildProcess.h"

#include "Unicode.h"

ChildProcess::ChildProcess(const std::string& exe, const std::string& workingDir) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + Widen(exe) + L"\"";
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, Widen(workingDir).c_str(),
                        &startup, &info_))
        info_ = {};
}

ChildProcess::~ChildProcess() {
    if (!Started()) return;
    Kill();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!Started() || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ChildProcess::Running() const {
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(info_.hProcess, 0xDEAD);
    WaitForSingleObject(info_.hProcess, 10000);
}
