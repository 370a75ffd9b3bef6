#include "framework/dialog.h"

#include "framework/controls.h"

namespace fw {

INT_PTR Dialog::DoModal() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                           &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) {
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

bool Dialog::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return m_hWnd && ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    DataExchange dx(m_hWnd);
    DoDataExchange(dx);
    return TRUE;
}

bool Dialog::ProcessMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    if (LOWORD(wParam) == IDOK) { OnOK(); result = 0; return true; }
    if (LOWORD(wParam) == IDCANCEL) { OnCancel(); result = 0; return true; }
    return false;
}

LRESULT Dialog::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The dialog manager's own handling lives in DefDlgProc, which would call back into this
    // procedure; DefWindowProc is the default below it.
    return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR handled = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!ProcessMessage(msg, wParam, lParam, result)) return FALSE;
    // These messages return their result directly; all others through DWLP_MSGRESULT.
    if ((msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_QUERYDRAGICON ||
        msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM)
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
