#include "Application.h"

#include "DispatchWindow.h"
#include "ErrorBox.h"
#include "TaskWindows.h"
#include "Unicode.h"
#include "WindowClass.h"

namespace {

class TApplicationWindow : public TDispatchWindow {
public:
    explicit TApplicationWindow(const std::string& title) {
        static const TWindowClass applicationClass(L"TApplication", COLOR_BTNFACE);
        Create(applicationClass, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, title, 0, 0, 0, 0, nullptr);
    }
};

std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int StartupShowCommand() {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

TApplication instance;

}  // namespace

TApplication* Application = &instance;

std::string TitleFromFileName(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.size() > 1) CharLowerBuffW(&name[1], DWORD(name.size() - 1));
    return Narrow(name);
}

TApplication::TApplication() = default;

// Forms go before the application's window, which owns them.
TApplication::~TApplication() {
    while (!forms_.empty()) forms_.pop_back();
}

const std::string& TApplication::Title() {
    if (title_.empty()) title_ = TitleFromFileName(ModuleFileName());
    return title_;
}

HWND TApplication::Handle() {
    if (!window_) window_ = std::make_unique<TApplicationWindow>(Title());
    return window_->Handle();
}

void TApplication::Run() {
    if (!mainForm_) return;
    mainForm_->Show(StartupShowCommand());
    while (!terminated_) HandleMessage();
}

void TApplication::HandleMessage() {
    MSG message;
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return;
    }
    Dispatch(message);
}

void TApplication::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        Dispatch(message);
    }
}

// A form's messages go through the dialog manager first, which turns Tab, Enter
// and Esc into focus moves and commands.
void TApplication::Dispatch(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && TForm::IsForm(root) && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void TApplication::ShowException(const std::string& message) {
    const HWND previouslyActive = GetActiveWindow();
    {
        TDisabledTaskWindows disabled(nullptr);
        MessageBoxW(Handle(), Widen(ErrorBoxText(message)).c_str(), Widen(Title()).c_str(), MB_OK | MB_ICONERROR);
    }
    if (previouslyActive && IsWindow(previouslyActive)) SetActiveWindow(previouslyActive);
}

void TApplication::HandleException() { ShowException(FailureMessage(std::current_exception())); }
