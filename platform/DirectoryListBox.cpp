#include "DirectoryListBox.h"

#include <vector>

#include "Unicode.h"

namespace {
constexpr UINT DirectoriesOnly = DDL_DIRECTORY | DDL_EXCLUSIVE;
}

TDirectoryListBox::TDirectoryListBox(HWND parent, const TComponentLayout& layout, int id, HFONT font)
    : TControl(parent, layout, id, font, L"LISTBOX", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
               WS_EX_CLIENTEDGE) {}

void TDirectoryListBox::Open(const std::string& path) {
    // DlgDirListW writes into the path it is given.
    std::wstring pattern = Widen(path);
    pattern.resize(pattern.size() + MAX_PATH, L'\0');
    DlgDirListW(GetParent(Handle()), &pattern[0], Id(), 0, DirectoriesOnly);
}

void TDirectoryListBox::Notify(int code) {
    if (code != LBN_DBLCLK) return;
    std::vector<wchar_t> selected(MAX_PATH + 1, L'\0');
    // Gives "name\" for a directory, "..\" for the way up.
    if (!DlgDirSelectExW(GetParent(Handle()), selected.data(), int(selected.size()), Id())) return;
    Open(Narrow(selected.data()));
    if (OnChange) OnChange(this);
}
