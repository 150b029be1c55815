#pragma once
// Finds the directory chooser's window and its controls.

#include <string>

#include <windows.h>

#include "WindowDriver.h"

struct TChooserWindows {
    HWND dialog = nullptr;
    HWND edit = nullptr;
    HWND directories = nullptr;
    HWND drives = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;

    explicit operator bool() const { return dialog && edit && directories && drives && ok && cancel; }
};

inline TChooserWindows WaitForChooser() {
    TChooserWindows chooser;
    chooser.dialog = WaitForWindow(L"TForm", "ディレクトリの選択");
    if (!chooser.dialog) return chooser;
    chooser.edit = FindWindowExW(chooser.dialog, nullptr, L"Edit", nullptr);
    chooser.directories = FindWindowExW(chooser.dialog, nullptr, L"ListBox", nullptr);
    chooser.drives = FindWindowExW(chooser.dialog, nullptr, L"ComboBox", nullptr);
    chooser.ok = ChildWithText(chooser.dialog, L"Button", "OK");
    chooser.cancel = ChildWithText(chooser.dialog, L"Button", "キャンセル");
    return chooser;
}

inline void SetText(HWND window, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, WaitTimeoutMs,
                        &ignored);
}

// Answers the chooser's question with Yes or No; returns its text.
inline std::string AnswerQuestion(int answer) {
    HWND question = WaitForWindow(MessageBoxClass, "確認");
    if (!question) return "<no question>";
    const std::string text = MessageBoxText(question);
    PostMessageW(question, WM_COMMAND, answer, 0);
    WaitUntil([&] { return !IsWindow(question); });
    return text;
}

// Opens a list entry such as "[sub]" or "[..]" with a double click.
inline void OpenListEntry(HWND list, const std::wstring& entry) {
    DWORD_PTR index = 0;
    SendMessageTimeoutW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(entry.c_str()), SMTO_NORMAL,
                        WaitTimeoutMs, &index);
    RECT item = {};
    SendMessageTimeoutW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, WaitTimeoutMs,
                        &index);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(item.left + 2, item.top + 2));
}
