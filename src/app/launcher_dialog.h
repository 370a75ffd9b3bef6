// The launcher window: welcome text, two pictures and the four commands.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "dialogs/mc_dialog.h"
#include "framework/controls.h"
#include "resource_ids.h"

namespace kestrune {

struct LauncherTexts {
    std::wstring installText;
    std::wstring welcomeText;
    std::wstring userGuideText;
    std::wstring vendorWebsiteText;
    std::wstring exitText;
};

// Posted by the install worker when the installer has ended.
constexpr UINT WMU_INSTALLER_ENDED = WM_APP + 1;

// What the install worker may reach of the window: cleared when the window goes, so a worker
// that outlives the window never touches it.
class WindowLink {
public:
    explicit WindowLink(HWND hwnd) : hwnd_(hwnd) {}
    void Clear() { std::lock_guard<std::mutex> hold(lock_); hwnd_ = nullptr; }
    HWND hwnd() {
        std::lock_guard<std::mutex> hold(lock_);
        return hwnd_;
    }
    bool Post(UINT msg) {
        std::lock_guard<std::mutex> hold(lock_);
        return hwnd_ && PostMessageW(hwnd_, msg, 0, 0);
    }

private:
    std::mutex lock_;
    HWND hwnd_;
};

class CKestruneDlg : public MCDialog {
public:
    explicit CKestruneDlg(HWND parent = nullptr);
    ~CKestruneDlg() override;

    void SetTexts(const LauncherTexts& texts) { m_texts = texts; }
    void SetLargePicture(HBITMAP bitmap) { m_pictures.push_back({IDC_LARGE_PICTURE, 0, bitmap}); }
    void SetSmallPicture(HBITMAP bitmap) { m_pictures.push_back({IDC_SMALL_PICTURE, 0, bitmap}); }

    // A system-modal box captioned with WINDOW_TITLE, owned by this window when it exists.
    void ShowMessage(UINT style, const std::wstring& text) const;

    std::wstring GetHelpDir() const;
    std::wstring GetHelpFile() const;
    std::wstring GetHelpFolder(const std::wstring& base) const;
    std::wstring GetUserGuidePath() const;
    void UpdateUserGuideButton();

    FW_BEGIN_MSG_MAP()
        FW_COMMAND_CLICKED(IDC_EXIT, OnExit)
        FW_COMMAND_CLICKED(IDC_USER_GUIDE, OnUserGuide)
        FW_COMMAND_CLICKED(IDC_VENDOR_WEBSITE, OnVendorWebsite)
        FW_COMMAND_CLICKED(IDC_INSTALL, OnInstall)
        FW_MESSAGE(WMU_INSTALLER_ENDED, OnInstallerEnded)
    FW_CHAIN_MSG_MAP(MCDialog)

    // The install worker's work: start the disc's installer and wait for it.
    static DWORD WINAPI InstallThreadProc(LPVOID link);
    static DWORD RunInstaller(const std::shared_ptr<WindowLink>& link);

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnDestroy() override;

    void OnExit() { OnCancel(); }
    void OnUserGuide();
    void OnVendorWebsite();
    void OnInstall();
    LRESULT OnInstallerEnded(WPARAM, LPARAM);

private:
    void AutoInstallIfAsked();
    bool StartInstallWorker();
    bool HandOver(const std::wstring& package);

    LauncherTexts m_texts;
    HICON m_hIcon;
    fw::Button m_btnInstall;
    std::shared_ptr<WindowLink> link_;
};

bool HasSoftwareUpdateUrl();
// Whether a button's property is present and exactly "1".
bool IsOffered(const wchar_t* property);

}  // namespace kestrune
