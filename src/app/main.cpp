// Kestrune's start-up as far as the foundation reaches: log, banner, the two configuration loads
// and the property dump. It prints where the log went.
#include <windows.h>

#include <cstdio>

#include "app/startup.h"
#include "foundation/diag_log.h"
#include "foundation/platform_facts.h"
#include "foundation/wprops.h"

using namespace kestrune;

int wmain() {
    OpenDiagnosticLog();
    std::wstring folder;
    GetExecutableFolder(folder);
    InitProperties(folder);
    const bool configured = InitProperties(folder);
    WProps::Instance().Dump();
    DiagLog::Write(L"64-bit Windows: %s", IsWindows64() ? L"yes" : L"no");
    std::wprintf(L"configuration: %ls\n", configured ? L"loaded" : L"NOT loaded (see the log)");
    std::wprintf(L"log: %ls\n", DiagLog::Instance().fileName().c_str());
    WProps::Release();
    DiagLog::Release();
    return configured ? 0 : 1;
}
