// Thin wrappers of the controls the dialogs use, bound to their windows by data exchange.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace fw {

class Control {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND hwnd() const { return hwnd_; }
    // False when the control has no window (never bound, or its dialog is gone).
    bool HasWindow() const { return hwnd_ && IsWindow(hwnd_); }
    void EnableWindow(bool enable) const { if (hwnd_) ::EnableWindow(hwnd_, enable); }

protected:
    HWND hwnd_ = nullptr;
};

class Button : public Control {};

class ProgressBar : public Control {
public:
    void SetRange32(int low, int high) const { Send(PBM_SETRANGE32, low, high); }
    void SetPos(int pos) const { Send(PBM_SETPOS, static_cast<WPARAM>(pos), 0); }

private:
    LRESULT Send(UINT msg, WPARAM w, LPARAM l) const {
        return hwnd_ ? SendMessageW(hwnd_, msg, w, l) : 0;
    }
};

// What DoDataExchange receives: the dialog whose controls are being bound.
class DataExchange {
public:
    explicit DataExchange(HWND dialog) : dialog_(dialog) {}
    HWND dialog() const { return dialog_; }

private:
    HWND dialog_;
};

inline void DDX_Control(DataExchange& dx, int id, Control& control) {
    control.Attach(GetDlgItem(dx.dialog(), id));
}

}  // namespace fw
