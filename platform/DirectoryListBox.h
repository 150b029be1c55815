#pragma once
// The list of the current directory's subdirectories ("[..]" leads up). The
// system fills it and, on opening a directory, makes that directory the
// process's current directory.

#include "Control.h"

class TDirectoryListBox : public TControl {
public:
    TDirectoryListBox(HWND parent, const TComponentLayout& layout, int id, HFONT font);

    // Run after a double click has opened a directory.
    TNotifyEvent OnChange;

    // Makes path (a directory, or a drive as "c:") current and lists it;
    // a path that cannot be opened leaves everything as it was.
    void Open(const std::string& path);
    void Notify(int code) override;
};
