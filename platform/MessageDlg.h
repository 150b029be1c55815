#pragma once
// The standard message dialog: a system message box with one OK button (Enter
// and Esc close it too), the kind's icon and caption, centred on the screen.

#include <string>

enum class TMsgDlgType { Information };

void MessageDlg(const std::string& text, TMsgDlgType type);
