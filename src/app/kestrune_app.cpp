#include "app/kestrune_app.h"

#include <windows.h>

#include "app/launcher_dialog.h"
#include "app/startup.h"
#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "foundation/platform_facts.h"
#include "foundation/wprops.h"
#include "framework/gdi.h"

namespace kestrune {

namespace {
CKestruneApp theApp;
}  // namespace

BOOL CKestruneApp::InitProperties() { return kestrune::InitProperties(m_executableFolder); }

BOOL CKestruneApp::InitInstance() {
    m_exitCode = 0;
    OpenDiagnosticLog();
    GetExecutableFolder(m_executableFolder);
    InitProperties();
    SetStringDll();
    if (!InitProperties()) {
        ReportConfigurationFailure();
        return FALSE;
    }
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    DiagLog::Write(L"appName: %s", module);

    // The application's settings key; nothing is stored under it.
    m_registryKey = WProps::Instance().Value(L"MANUFACTURER", L"manufacturer");

    RunLauncherWindow();
    return FALSE;
}

void CKestruneApp::RunLauncherWindow() {
    const std::wstring series = WProps::Instance().Value(L"PRINTER_SERIES_NAME");
    std::wstring bitmaps = m_executableFolder;
    PathJoin(bitmaps, L"Bitmaps.dll");
    Bitmaps::Instance().Load(bitmaps);

    fw::Bitmap shared(Bitmaps::Instance().GetBitmap(1009));
    MCDialog::SetDefaultMinimizeBox(TRUE);
    MCDialog::SetDefaultTopmost(FALSE);
    MCDialog::SetDefaultPicture(shared.get());

    CKestruneDlg dialog(nullptr);
    const bool showUserGuide = IsOffered(L"FW_SHOW_USER_GUIDE");
    const bool showVendorUrl = IsOffered(L"FW_SHOW_VENDOR_URL");
    Strings& strings = Strings::Instance();
    LauncherTexts texts;
    texts.installText = strings.GetString(203);
    texts.userGuideText = showUserGuide ? strings.GetString(200) : L"";
    texts.vendorWebsiteText = showVendorUrl ? strings.GetString(202) : L"";
    texts.exitText = strings.GetString(201);
    if (!Bitmaps::Instance().GetString(900, texts.welcomeText)) texts.welcomeText = strings.GetString(204);

    dialog.SetTexts(texts);
    dialog.SetTitle(series);
    dialog.SetMinimizeBox(FALSE);

    fw::Bitmap large(Bitmaps::Instance().GetBitmap(1031));
    if (!large) large = fw::Bitmap(Bitmaps::Instance().GetBitmap(1014));
    fw::Bitmap small(Bitmaps::Instance().GetBitmap(1030));
    dialog.SetLargePicture(large.get());
    dialog.SetSmallPicture(small.get());

    dialog.DoModal();
}

void CKestruneApp::ReportConfigurationFailure() {
    WProps::Instance().Dump();
    CKestruneDlg unshown(nullptr);
    unshown.ShowMessage(MB_ICONERROR | MB_OK, Strings::Instance().GetString(211));
    m_exitCode = 1;
}

int CKestruneApp::ExitInstance() {
    WProps::Release();
    Strings::Release();
    Bitmaps::Release();
    DiagLog::Release();
    return static_cast<int>(m_exitCode);
}

}  // namespace kestrune
