#include "MessageDlg.h"

#include <windows.h>

#include "Unicode.h"

void MessageDlg(const std::string& text, TMsgDlgType type) {
    (void)type;  // the only kind the program uses
    // Without an owner the box is centred on the screen; task-modal, it disables
    // the thread's windows until it closes, as an owned box would.
    MessageBoxW(nullptr, Widen(text).c_str(), Widen("情報").c_str(), MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}
