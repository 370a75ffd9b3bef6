// The application object: start-up, the launcher window, shutdown.
#pragma once

#include <string>

#include "framework/app.h"

namespace kestrune {

class CKestruneApp : public fw::App {
public:
    CKestruneApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL InitProperties();

private:
    void ReportConfigurationFailure();
    void RunLauncherWindow();

    unsigned m_exitCode = 0;
    std::wstring m_executableFolder;
    std::wstring m_registryKey;
};

}  // namespace kestrune
