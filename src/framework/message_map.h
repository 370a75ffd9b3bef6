// Message maps: a short table at the top of a dialog class, one line per message or command, that
// falls through to its base class's map. A handler's return value is the message's result.
#pragma once

#include <windows.h>

#define FW_BEGIN_MSG_MAP()                                                              \
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override { \
        (void)wParam;                                                                   \
        (void)lParam;

// Any message: handler(WPARAM, LPARAM) -> LRESULT.
#define FW_MESSAGE(message, handler)                 \
    if (msg == (message)) {                          \
        result = handler(wParam, lParam);            \
        return true;                                 \
    }

// WM_COMMAND from a button click (or a posted command with BN_CLICKED): handler().
#define FW_COMMAND_CLICKED(id, handler)                                               \
    if (msg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED) { \
        handler();                                                                    \
        result = 0;                                                                   \
        return true;                                                                  \
    }

// Every WM_CTLCOLOR* message: handler(HDC, HWND control) -> HBRUSH.
#define FW_CTLCOLOR(handler)                                                            \
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {                         \
        result = reinterpret_cast<LRESULT>(                                            \
            handler(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg)); \
        return true;                                                                    \
    }

#define FW_CHAIN_MSG_MAP(Base) \
    return Base::ProcessMessage(msg, wParam, lParam, result); }

#define FW_END_MSG_MAP() \
    return false; }
