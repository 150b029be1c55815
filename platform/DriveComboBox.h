#pragma once
// The drop-down list of the system's drives.

#include "Control.h"

class TDriveComboBox : public TControl {
public:
    TDriveComboBox(HWND parent, const TComponentLayout& layout, int id, HFONT font);

    // Run when the user picks a drive.
    TNotifyEvent OnChange;

    // Lists the drives and selects the current directory's.
    void Fill();
    // The picked drive as "c:".
    std::string Drive() const;
    void Notify(int code) override;
};
