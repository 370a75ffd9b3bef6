// The application object: one per process, constructed statically. Its InitInstance runs the
// program; ExitInstance releases what it holds and makes the process exit code.
#pragma once

#include <windows.h>

namespace fw {

class App {
public:
    App();
    virtual ~App() = default;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() = 0;

    // Runs InitInstance then ExitInstance and gives the exit code. The program's windows run
    // modally inside InitInstance; there is no message loop after them.
    int Run();

    static App* Current();
};

}  // namespace fw
