// The progress dialog of a long transfer: runs modally on a thread of its own and is driven by the
// worker through posted progress messages and range/position requests to its bar.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "dialogs/mc_dialog.h"
#include "foundation/com_objects.h"
#include "framework/controls.h"

namespace kestrune {

enum : UINT {
    WMU_TERMINATE = WM_USER + 100,
    WMU_CURRENT_PROGRESS_MSG = WM_USER + 101,
    WMU_HIDE_PROGRESS_DLG = WM_USER + 103,
    WMU_SHOW_PROGRESS_DLG = WM_USER + 104,
    WMU_STOP_CURRENT_PROGRESS = WM_USER + 105,
    WMU_START_CURRENT_PROGRESS = WM_USER + 106,
    WMU_INC_CURRENT_PROGRESS = WM_USER + 107,
    WMU_RESET_CURRENT_PROGRESS = WM_USER + 109,
};

// Posts a progress message; a null window posts and logs nothing.
void _PostProgressMessage(HWND window, UINT message, LPARAM parameter);

// Posts a status line. The dialog receives a copy of its own and releases it, so the sender's
// text may change or go at once.
void PostProgressText(HWND window, const std::wstring& text);

class CProgressDlg : public MCDialog {
public:
    explicit CProgressDlg(HWND parent);

    void SetHeading(const std::wstring& heading) { m_heading = heading; }
    fw::ProgressBar& GetProgressCtrl() { return m_progress; }
    // Null while the window does not exist.
    HWND window() const { return m_hWnd; }

    FW_BEGIN_MSG_MAP()
        FW_COMMAND_CLICKED(IDOK, OnEnter)
        FW_MESSAGE(WM_PAINT, OnPaint)
        FW_MESSAGE(WM_TIMER, OnTimer)
        FW_MESSAGE(WMU_TERMINATE, OnTerminate)
        FW_MESSAGE(WMU_CURRENT_PROGRESS_MSG, OnCurrentProgressMsg)
        FW_MESSAGE(WMU_HIDE_PROGRESS_DLG, OnHideProgressDlg)
        FW_MESSAGE(WMU_SHOW_PROGRESS_DLG, OnShowProgressDlg)
        FW_MESSAGE(WMU_STOP_CURRENT_PROGRESS, OnStopCurrentProgress)
        FW_MESSAGE(WMU_START_CURRENT_PROGRESS, OnStartCurrentProgress)
        FW_MESSAGE(WMU_INC_CURRENT_PROGRESS, OnIncCurrentProgress)
        FW_MESSAGE(WMU_RESET_CURRENT_PROGRESS, OnResetCurrentProgress)
    FW_CHAIN_MSG_MAP(MCDialog)

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    void OnEnter() {}
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnTerminate(WPARAM, LPARAM);
    LRESULT OnCurrentProgressMsg(WPARAM, LPARAM text);
    LRESULT OnHideProgressDlg(WPARAM, LPARAM);
    LRESULT OnShowProgressDlg(WPARAM, LPARAM);
    LRESULT OnStopCurrentProgress(WPARAM, LPARAM);
    LRESULT OnStartCurrentProgress(WPARAM wParam, LPARAM period);
    LRESULT OnIncCurrentProgress(WPARAM, LPARAM);
    LRESULT OnResetCurrentProgress(WPARAM, LPARAM);
    void Raise();
    void Step();

    unsigned m_tick = 0;
    RECT m_initialRect{};
    BOOL m_hidden = FALSE;
    std::wstring m_heading;
    ComPtr<ITaskbarList> m_taskbarList;
    bool m_comInitialised = false;
    fw::ProgressBar m_progress;
};

}  // namespace kestrune
