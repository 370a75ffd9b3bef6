#include "app/launcher_dialog.h"

#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "foundation/platform_facts.h"
#include "foundation/wprops.h"

namespace kestrune {

CKestruneDlg::CKestruneDlg(HWND parent)
    : MCDialog(IDD_KESTRUNE_DIALOG, parent),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    m_boldIds.push_back(IDC_WELCOME);
}

CKestruneDlg::~CKestruneDlg() {
    if (link_) link_->Clear();
}

void CKestruneDlg::DoDataExchange(fw::DataExchange& dx) {
    MCDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_INSTALL, m_btnInstall);
}

bool IsOffered(const wchar_t* property) {
    std::wstring value;
    return WProps::Instance().GetProperty(property, value) == kPropOk && value == L"1";
}

BOOL CKestruneDlg::OnInitDialog() {
    MCDialog::OnInitDialog();
    link_ = std::make_shared<WindowLink>(m_hWnd);
    DiagLog::Write(L"CKestruneDlg::OnInitDialog()");
    const bool showUserGuide = IsOffered(L"FW_SHOW_USER_GUIDE");
    const bool showVendorUrl = IsOffered(L"FW_SHOW_VENDOR_URL");
    DiagLog::Write(L"showVendorUrl '%d'", showVendorUrl ? 1 : 0);
    DiagLog::Write(L"showUserGuide '%d'", showUserGuide ? 1 : 0);

    SetControlText(m_hWnd, IDC_INSTALL, m_texts.installText);
    SetControlText(m_hWnd, IDC_WELCOME, m_texts.welcomeText);
    SetControlText(m_hWnd, IDC_USER_GUIDE, showUserGuide ? m_texts.userGuideText : L"");
    SetControlText(m_hWnd, IDC_VENDOR_WEBSITE, showVendorUrl ? m_texts.vendorWebsiteText : L"");
    SetControlText(m_hWnd, IDC_EXIT, m_texts.exitText);
    UpdateUserGuideButton();

    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    AutoInstallIfAsked();
    return TRUE;
}

void CKestruneDlg::AutoInstallIfAsked() {
    wchar_t value[20] = {};
    const DWORD n = GetEnvironmentVariableW(L"MJ_AutoInstall", value, 20);
    if (n == 0 || n >= 20 || std::wstring(value) != L"1") return;
    if (HWND install = GetDlgItem(IDC_INSTALL))
        PostMessage(WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(install));
}

void CKestruneDlg::OnDestroy() {
    if (link_) link_->Clear();
    MCDialog::OnDestroy();
}

void CKestruneDlg::ShowMessage(UINT style, const std::wstring& text) const {
    const std::wstring caption = WProps::Instance().Value(L"WINDOW_TITLE");
    MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), style | MB_SYSTEMMODAL);
}

std::wstring CKestruneDlg::GetHelpDir() const { return WProps::Instance().Value(L"HELP_DIR", L"manuals"); }

std::wstring CKestruneDlg::GetHelpFile() const {
    return WProps::Instance().Value(L"HELP_FILE", L"UserGuide.pdf");
}

std::wstring CKestruneDlg::GetHelpFolder(const std::wstring& base) const {
    std::wstring helpDir = base;
    PathJoin(helpDir, GetHelpDir());
    std::wstring folder;
    ResolveLanguageFolder(helpDir, folder);
    return folder;
}

std::wstring CKestruneDlg::GetUserGuidePath() const {
    std::wstring executableFolder;
    GetExecutableFolder(executableFolder);
    std::wstring path = GetHelpFolder(executableFolder);
    PathJoin(path, GetHelpFile());
    return path;
}

void CKestruneDlg::UpdateUserGuideButton() {
    HWND button = GetDlgItem(IDC_USER_GUIDE);
    if (!button) {
        DiagLog::Write(L"WARNING: Fail to get User Guide button.");
        return;
    }
    EnableWindow(button, FileExists(GetUserGuidePath()));
}

}  // namespace kestrune
