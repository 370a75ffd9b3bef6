#include "framework/app.h"

#include <commctrl.h>

namespace fw {

namespace {
App* g_app = nullptr;
}

App::App() { g_app = this; }

App* App::Current() { return g_app; }

int App::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    InitInstance();
    return ExitInstance();
}

}  // namespace fw

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    fw::App* app = fw::App::Current();
    return app ? app->Run() : 1;
}
