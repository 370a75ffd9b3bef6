// Modal dialogs built from templates in the executable's resources, on any thread.
#pragma once

#include <windows.h>

#include "framework/message_map.h"

namespace fw {

class DataExchange;

class Dialog {
public:
    Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog's modal loop on the calling thread; -1 when the template cannot be loaded.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    HWND hwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr; }
    bool PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const;

    // The message map's root: IDOK and IDCANCEL. Derived maps chain to it.
    virtual bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Binds controls; the base OnInitDialog runs it, so derived dialogs bind theirs by calling
    // their base's OnInitDialog first.
    virtual void DoDataExchange(DataExchange& dx);
    virtual BOOL OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // The window's default processing of a message, for handlers that add to it.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
};

}  // namespace fw
