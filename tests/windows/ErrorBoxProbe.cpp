// Shows one error box, then ends: copied under other names, it shows how the
// application's title follows the executable's file name.

#include "Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->ShowException("プローブ");
    return 0;
}
