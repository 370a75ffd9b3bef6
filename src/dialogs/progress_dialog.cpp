#include "dialogs/progress_dialog.h"

#include <commctrl.h>

#include <memory>

#include "foundation/diag_log.h"
#include "resource_ids.h"

namespace kestrune {

namespace {
constexpr UINT_PTR kAnimationTimer = 0;
constexpr UINT kDefaultPeriod = 500;
}  // namespace

// Neither the formatting of the log line nor PostMessageW can fault here (the formatter is typed
// and bounded, and a stale window handle only makes the post fail), so no structured exception
// needs catching around them.
void _PostProgressMessage(HWND window, UINT message, LPARAM parameter) {
    if (!window) return;
    DiagLog::Write(L"_PostProgressMessage hWnd=%#x msg=%d, param=%d",
                   static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), message,
                   static_cast<long long>(parameter));
    PostMessageW(window, message, 0, parameter);
}

void PostProgressText(HWND window, const std::wstring& text) {
    if (!window) return;
    auto copy = std::make_unique<wchar_t[]>(text.size() + 1);
    text.copy(copy.get(), text.size());
    copy[text.size()] = L'\0';
    const auto parameter = reinterpret_cast<LPARAM>(copy.get());
    DiagLog::Write(L"_PostProgressMessage hWnd=%#x msg=%d, param=%d",
                   static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                   WMU_CURRENT_PROGRESS_MSG, static_cast<long long>(parameter));
    if (PostMessageW(window, WMU_CURRENT_PROGRESS_MSG, 0, parameter)) copy.release();  // the dialog frees it
}

CProgressDlg::CProgressDlg(HWND parent) : MCDialog(IDD_PROGRESS_DIALOG, parent) {
    m_positionOnBottom = FALSE;
    m_followPosition = FALSE;
    m_transparentIds.push_back(IDC_PROGRESS_HEADING);
    m_boldIds.push_back(IDC_PROGRESS_HEADING);
    m_pictures.push_back({IDC_PROGRESS_PICTURE, 0, m_picture});
    m_stretchPictureId = IDC_PROGRESS_PICTURE;
    m_overlayTextId1 = IDC_PROGRESS_HEADING;
}

void CProgressDlg::DoDataExchange(fw::DataExchange& dx) {
    DiagLog::Write(L"CProgressDlg::DoDataExchange");
    MCDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_PROGRESS_BAR, m_progress);
}

BOOL CProgressDlg::OnInitDialog() {
    DiagLog::Write(L"CProgressDlg::OnInitDialog()");
    MCDialog::OnInitDialog();
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));  // for the taskbar list, on this thread
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_SERVER, IID_ITaskbarList,
                                   m_taskbarList.put_void())))
        m_taskbarList->HrInit();
    SendMessageW(m_progress.hwnd(), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    m_tick = 0;
    SetWindowTextW(GetDlgItem(IDC_PROGRESS_HEADING), m_heading.c_str());
    GetWindowRect(m_hWnd, &m_initialRect);
    return TRUE;
}

void CProgressDlg::OnDestroy() {
    // The taskbar list belongs to this thread's apartment: released here, before COM goes.
    m_taskbarList.Reset();
    if (m_comInitialised) CoUninitialize();
    m_comInitialised = false;
    MCDialog::OnDestroy();
}

void CProgressDlg::Raise() {
    if (IsIconic(m_hWnd)) {
        ShowWindow(m_hWnd, SW_RESTORE);
        return;
    }
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
}

void CProgressDlg::Step() {
    if (m_tick > 100) m_tick = 0;
    const unsigned position = m_tick++;
    m_progress.SetPos(static_cast<int>(position));
}

LRESULT CProgressDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
    if (m_hidden && m_taskbarList) m_taskbarList->DeleteTab(m_hWnd);
    return DefWindowProcW(m_hWnd, WM_PAINT, wParam, lParam);
}

LRESULT CProgressDlg::OnTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == kAnimationTimer) Step();
    Default(WM_TIMER, wParam, lParam);
    return 0;
}

LRESULT CProgressDlg::OnTerminate(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnTerminate()");
    EndDialog(IDOK);
    return 0;
}

LRESULT CProgressDlg::OnCurrentProgressMsg(WPARAM, LPARAM text) {
    std::unique_ptr<wchar_t[]> owned(reinterpret_cast<wchar_t*>(text));
    DiagLog::Write(L"CProgressDlg::OnCurrentProgressMsg()");
    Raise();
    const std::wstring line = owned ? owned.get() : L"";
    DiagLog::Write(L"   msg=%s", line);
    SetWindowTextW(GetDlgItem(IDC_PROGRESS_STATUS), line.c_str());
    return 0;
}

LRESULT CProgressDlg::OnHideProgressDlg(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnHideProgressDlg()");
    m_hidden = TRUE;
    ShowWindow(m_hWnd, SW_HIDE);
    return 0;
}

LRESULT CProgressDlg::OnShowProgressDlg(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnShowProgressDlg()");
    Raise();
    m_hidden = FALSE;
    MoveWindow(m_hWnd, m_initialRect.left, m_initialRect.top, m_initialRect.right - m_initialRect.left,
               m_initialRect.bottom - m_initialRect.top, TRUE);
    return 0;
}

LRESULT CProgressDlg::OnStopCurrentProgress(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnStopCurrentProgress()");
    KillTimer(m_hWnd, kAnimationTimer);
    m_tick = 0;
    return 0;
}

LRESULT CProgressDlg::OnStartCurrentProgress(WPARAM wParam, LPARAM period) {
    DiagLog::Write(L"CProgressDlg::OnStartCurrentProgress(%d)", static_cast<int>(wParam));
    Raise();
    const UINT tic = period == 0 ? kDefaultPeriod : static_cast<UINT>(period);
    DiagLog::Write(L"CProgressDlg -- setting current progress tic = %d", tic);
    SetTimer(m_hWnd, kAnimationTimer, tic, nullptr);
    return 0;
}

LRESULT CProgressDlg::OnIncCurrentProgress(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnIncCurrentProgress()");
    Step();
    return 0;
}

LRESULT CProgressDlg::OnResetCurrentProgress(WPARAM, LPARAM) {
    DiagLog::Write(L"CProgressDlg::OnResetCurrentProgress()");
    m_progress.SetPos(0);
    m_tick = 1;
    return 0;
}

}  // namespace kestrune
