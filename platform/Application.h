#pragma once
// The application object: owns the auto-created forms, runs the message loop
// and shows the standard error box.

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "Form.h"

class TDispatchWindow;

class TApplication {
public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication();

    // Creates a form owned by the application; reference points to it before
    // its OnCreate runs. The first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        auto form = std::make_unique<T>();
        reference = form.get();
        forms_.push_back(std::move(form));
        reference->DoCreate();
        if (!mainForm_) mainForm_ = reference;
    }

    // Shows the main form and dispatches messages until it closes.
    void Run();
    // Dispatches the messages already waiting, without waiting for more.
    void ProcessMessages();
    // Waits for one message and dispatches it.
    void HandleMessage();
    // Ends the message loop once the messages before the request are dispatched.
    void Terminate() { PostQuitMessage(0); }
    bool Terminated() const { return terminated_; }

    TForm* MainForm() const { return mainForm_; }
    const std::string& Title();
    // The application's own window: never visible; it owns the forms and the error box.
    HWND Handle();

    // The standard error box: message (see ErrorBoxText) under the title, error icon, OK.
    void ShowException(const std::string& message);
    // Shows the failure being handled; for use in a catch block.
    void HandleException();

private:
    void Dispatch(MSG& message);

    std::string title_;
    std::unique_ptr<TDispatchWindow> window_;
    std::vector<std::unique_ptr<TForm>> forms_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;

// The default title: the file name of path without its directory, cut before
// its first ".", every character after the first in lower case.
std::string TitleFromFileName(const std::wstring& path);
