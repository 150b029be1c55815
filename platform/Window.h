#pragma once
// The owner of one window handle: destroys the window with itself.

#include <string>

#include <windows.h>

#include "NotifyEvent.h"

class TWindow : public TObject {
public:
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;
    ~TWindow() override;

    HWND Handle() const { return handle_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    void SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }
    bool Visible() const { return IsWindowVisible(handle_) != FALSE; }

protected:
    TWindow() = default;
    void Attach(HWND handle) { handle_ = handle; }
    // Raises when a window could not be created.
    static HWND CheckCreated(HWND handle);

private:
    HWND handle_ = nullptr;
};
