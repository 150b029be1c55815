#pragma once
// Drives real windows from a second thread, as a user would: windows are found
// by class and caption, texts read with WM_GETTEXT, keys and clicks posted.
// Every wait gives up after a timeout so that a stuck window fails the test
// instead of hanging it.

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

constexpr DWORD WaitTimeoutMs = 10000;

// Runs uiWork (which shows something modal) on the calling thread while script
// runs on a second thread. Whatever the script leaves open of this process is
// closed afterwards, so uiWork always returns.
void DriveWhile(const std::function<void()>& uiWork, const std::function<void()>& script);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = WaitTimeoutMs);

// A visible top-level window of the process with that class and caption;
// nullptr after the timeout.
HWND WaitForWindow(const wchar_t* className, const std::string& caption,
                   DWORD processId = GetCurrentProcessId(), DWORD timeoutMs = WaitTimeoutMs);
// The system's message boxes and the chooser's question are of this class.
constexpr wchar_t MessageBoxClass[] = L"#32770";

std::string TextOf(HWND window);
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className);
HWND ChildWithText(HWND parent, const wchar_t* className, const std::string& text);
// The message of a message box: the text of its static that holds text.
std::string MessageBoxText(HWND box);

RECT WindowRectOf(HWND window);
SIZE ClientSizeOf(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRectOf(HWND child);

// The keyboard focus of the thread that owns window.
HWND FocusOf(HWND window);
void PostKey(HWND target, WORD virtualKey);
void ClickButton(HWND button);
// Returns once the thread of window takes messages again, that is once the
// handler it is running has returned to a message loop.
void SyncWith(HWND window);
