#pragma once
// A program started by the driver. A process still running when its owner goes is
// killed, so that a stuck updater never outlives its test.

#include <windows.h>

#include <optional>
#include <string>

class ChildProcess {
public:
    // Starts exe in workingDir with this process's environment; Started() tells.
    ChildProcess(const std::string& exe, const std::string& workingDir);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }

    // The exit code, or nothing when the process still runs after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    bool Running() const;
    void Kill();

private:
    PROCESS_INFORMATION info_ = {};
};
