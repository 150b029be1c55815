// demo_driver UPDATER STATE_DIR (both Unix paths): plays the user for scripts/demo.
// Starts the updater, and at each step that the demo photographs it writes
// STATE_DIR/<step>.rect ("width height left top" of the window, screen pixels) and
// waits for the script to answer with STATE_DIR/<step>.done:
//   main-window   the main window is shown; then the start button is pressed
//   completion    the completion box is shown; then its OK button is pressed
// and at the end STATE_DIR/exit-code holds the updater's exit code. Any step that
// does not come in time ends the driver with 2 and a line in STATE_DIR/failure.

#include <windows.h>

#include <string>

#include "ChildProcess.h"
#include "Files.h"
#include "Input.h"
#include "MessageBoxReader.h"
#include "Unicode.h"
#include "Wait.h"
#include "WindowFinder.h"

namespace {

// The script has a screenshot to take before it answers.
constexpr DWORD ScriptTimeoutMs = 60000;

std::string stateDir;

void WriteState(const std::string& name, const std::string& text) {
    WriteFileBytes(stateDir + "\\" + name, Bytes(text.begin(), text.end()));
}

int Fail(const std::string& why) {
    WriteState("failure", why + "\n");
    return 2;
}

// Publishes where window is and waits until the script has taken its picture.
bool Photographed(const std::string& step, HWND window) {
    const RECT r = WindowRect(window);
    WriteState(step + ".rect", std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + " " +
                                   std::to_string(r.left) + " " + std::to_string(r.top) + "\n");
    return WaitUntil([&] { return PathExists(stateDir + "\\" + step + ".done"); }, ScriptTimeoutMs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::string updaterPath = FromUnixPath(Narrow(argv[1]));
    stateDir = FromUnixPath(Narrow(argv[2]));
    const std::string updaterDir = updaterPath.substr(0, updaterPath.rfind('\\'));

    ChildProcess updater(updaterPath, updaterDir);
    if (!updater.Started()) return Fail("the updater could not be started");

    HWND main = WaitForVisibleWindow(updater.Id(), "アップデーター");
    if (!main) return Fail("no main window; the updater has:\n" + DescribeWindows(updater.Id()));
    HWND start = FindChild(main, "Button", "アップデート開始");
    if (!start) return Fail("no start button");
    // Let the first painting reach the screen before the picture.
    Sleep(500);
    if (!Photographed("main-window", main)) return Fail("no answer for main-window");

    PostClick(start);
    HWND box = WaitForMessageBox(updater.Id(), "情報");
    if (!box) return Fail("no completion box; the updater has:\n" + DescribeWindows(updater.Id()));
    Sleep(500);
    if (!Photographed("completion", box)) return Fail("no answer for completion");

    PostClick(MessageBoxButton(box, "OK"));
    const auto code = updater.WaitForExit(WindowTimeoutMs);
    if (!code) return Fail("the updater did not end");
    WriteState("exit-code", std::to_string(*code) + "\n");
    return 0;
}
