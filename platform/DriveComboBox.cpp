#include "DriveComboBox.h"

#include <cwctype>
#include <vector>

#include "Unicode.h"

TDriveComboBox::TDriveComboBox(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWNLIST) {}

void TDriveComboBox::Fill() {
    // An empty pattern lists without changing the current directory.
    wchar_t pattern[MAX_PATH] = L"";
    DlgDirListComboBoxW(GetParent(Handle()), pattern, Id(), 0, DDL_DRIVES | DDL_EXCLUSIVE);

    wchar_t current[MAX_PATH] = L"";
    if (GetCurrentDirectoryW(MAX_PATH, current) >= 2 && current[1] == L':') {
        // The system lists drive c as "[-c-]".
        const wchar_t entry[] = {L'[', L'-', wchar_t(std::towlower(current[0])), L'-', L']', L'\0'};
        SendMessageW(Handle(), CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(entry));
    }
}

std::string TDriveComboBox::Drive() const {
    std::vector<wchar_t> drive(MAX_PATH + 1, L'\0');
    DlgDirSelectComboBoxExW(GetParent(Handle()), drive.data(), int(drive.size()), Id());
    return Narrow(drive.data());
}

void TDriveComboBox::Notify(int code) {
    if (code == CBN_SELCHANGE && OnChange) OnChange(this);
}
