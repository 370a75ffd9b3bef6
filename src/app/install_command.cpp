// The Install command: installing from the disc on a worker thread while the window stays usable.
#include <windows.h>
#include <shellapi.h>

#include "app/launcher_dialog.h"
#include "foundation/diag_log.h"
#include "foundation/kernel_handle.h"
#include "foundation/platform_facts.h"
#include "foundation/localised_resources.h"
#include "foundation/wprops.h"
#include "update/software_update.h"

namespace kestrune {

namespace {
constexpr DWORD kWaitSlice = 500;

std::wstring InstallerPath() {
    std::wstring path;
    GetExecutableFolder(path);
    PathJoin(path, IsWindows64() ? L"winstaller64.exe" : L"winstaller.exe");
    return path;
}
}  // namespace

bool HasSoftwareUpdateUrl() {
    std::wstring url;
    return WProps::Instance().GetProperty(L"SOFTWARE_UPDATE_URL", url) == kPropOk && !url.empty();
}

void CKestruneDlg::OnInstall() {
    EnableWindow(m_hWnd, FALSE);
    m_btnInstall.EnableWindow(false);
    bool runInstaller = true;
    {
        CSoftwareUpdate update(m_hWnd);
        std::wstring package;
        if (HasSoftwareUpdateUrl() && update.checkForUpdate(package))
            runInstaller = HandOver(package);
    }
    if (runInstaller) StartInstallWorker();
    EnableWindow(m_hWnd, TRUE);
}

// Starts the verified package and closes the launcher; false when the user then declines the
// installation from the disc.
bool CKestruneDlg::HandOver(const std::wstring& package) {
    SetEnvironmentVariableW(L"MJ_AutoInstall", L"1");
    // The file is named as the application and quoted on the command line: with a blank in the
    // temporary folder's path, an unquoted command line would let Windows try a shorter path
    // first and start whatever program lies there.
    std::wstring commandLine = L"\"" + package + L"\"";
    DiagLog::Write(L"running update: %ls", commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(package.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        OnExit();
        return false;
    }
    DiagLog::WriteError(GetLastError(), L"CreateProcess %ls", commandLine);
    Strings& strings = Strings::Instance();
    if (MessageBoxW(m_hWnd, strings.GetString(803).c_str(), strings.GetString(800).c_str(),
                    MB_OKCANCEL | MB_ICONERROR) == IDOK)
        return true;
    m_btnInstall.EnableWindow(true);
    return false;
}

bool CKestruneDlg::StartInstallWorker() {
    // The worker holds its own reference to the link, so it may outlive this window.
    auto* link = new std::shared_ptr<WindowLink>(link_);
    HANDLE thread = CreateThread(nullptr, 0, &CKestruneDlg::InstallThreadProc, link, 0, nullptr);
    if (!thread) {
        DiagLog::WriteError(GetLastError(), L"CreateThread %#x", 0u);
        delete link;
        return false;
    }
    CloseHandle(thread);
    return true;
}

DWORD WINAPI CKestruneDlg::InstallThreadProc(LPVOID param) {
    std::unique_ptr<std::shared_ptr<WindowLink>> link(static_cast<std::shared_ptr<WindowLink>*>(param));
    return RunInstaller(*link);
}

DWORD CKestruneDlg::RunInstaller(const std::shared_ptr<WindowLink>& link) {
    const std::wstring path = InstallerPath();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpFile = path.c_str();
    request.lpParameters = L"install";
    request.nShow = SW_SHOWNORMAL;
    request.hwnd = link ? link->hwnd() : nullptr;
    if (ShellExecuteExW(&request)) {
        KernelHandle process(request.hProcess);
        DWORD wait = WAIT_TIMEOUT;
        while (process.get() && (wait = WaitForSingleObject(process.get(), kWaitSlice)) == WAIT_TIMEOUT) {
        }
        if (process.get() && wait != WAIT_OBJECT_0)
            DiagLog::WriteError(GetLastError(), L"WaitForSingleObject");
    } else {
        DiagLog::WriteError(GetLastError(), L"ShellExecuteEx %s", path);
    }
    if (link) link->Post(WMU_INSTALLER_ENDED);
    return 0;
}

LRESULT CKestruneDlg::OnInstallerEnded(WPARAM, LPARAM) {
    if (HWND install = GetDlgItem(IDC_INSTALL)) {
        EnableWindow(install, TRUE);
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(install), TRUE);
    }
    return 0;
}

}  // namespace kestrune
