// The base of every window of the launcher: placement on the work area, z-order, caption and
// system menu, the optional cancel question, and per-control painting (colour-keyed pictures,
// transparent backgrounds, bold or underlined "Arial").
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/placement.h"
#include "framework/dialog.h"
#include "framework/gdi.h"

namespace kestrune {

struct PictureEntry {
    int controlId;
    int bitmapResourceId;  // non-zero: a bitmap of the executable's own resources
    HBITMAP bitmap;        // otherwise this bitmap, which the dialog does not own
};

class MCDialog : public fw::Dialog {
public:
    MCDialog(UINT templateId, HWND parent);

    static void SetDefaultMinimizeBox(BOOL value) { s_defaultMinimizeBox = value; }
    static void SetDefaultTopmost(BOOL value) { s_defaultTopmost = value; }
    static void SetDefaultPicture(HBITMAP picture) { s_defaultPicture = picture; }

    void SetTitle(const std::wstring& title) { m_title = title; }
    void SetMinimizeBox(BOOL value) { m_minimizeBox = value; }
    void SetCancelQuestion(const std::wstring& question) { m_cancelQuestion = question; }

    // Gives a control its text, or hides and disables it for an empty text.
    static void SetControlText(HWND dialog, int id, const std::wstring& text);

    FW_BEGIN_MSG_MAP()
        FW_MESSAGE(WM_MOVE, OnMoveMessage)
        FW_MESSAGE(WM_CLOSE, OnCloseMessage)
        FW_CTLCOLOR(OnCtlColor)
        FW_MESSAGE(WM_HELP, OnHelp)
        FW_MESSAGE(WM_DESTROY, OnDestroyMessage)
    FW_CHAIN_MSG_MAP(fw::Dialog)

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    virtual void OnDestroy();

    void OnMove(int x, int y);
    void OnClose() { OnCancel(); }
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);

    void PlaceWindow(BOOL onBottom, BOOL topmost, BOOL follow);
    void DrawPicture(HDC dc, HWND control, const PictureEntry& entry, bool stretch) const;
    HFONT FontFor(bool bold, bool underline);
    void ApplyControlFonts();

    BOOL m_positionOnBottom = FALSE;
    BOOL m_topmost;
    BOOL m_minimizeBox;
    BOOL m_followPosition = FALSE;
    BOOL m_initialized = FALSE;
    BOOL m_disableClose = FALSE;
    HBITMAP m_picture;
    COLORREF m_transparentColor = RGB(255, 255, 255);
    std::wstring m_title;
    std::wstring m_cancelQuestion;
    int m_stretchPictureId = 0;
    int m_overlayTextId1 = 0;
    int m_overlayTextId2 = 0;
    std::vector<int> m_transparentIds;
    std::vector<int> m_boldIds;
    std::vector<int> m_underlineIds;
    std::vector<PictureEntry> m_pictures;

private:
    LRESULT OnMoveMessage(WPARAM, LPARAM lParam);
    LRESULT OnCloseMessage(WPARAM, LPARAM) { OnClose(); return 0; }
    LRESULT OnHelp(WPARAM, LPARAM) { return 0; }
    LRESULT OnDestroyMessage(WPARAM, LPARAM) { OnDestroy(); return 0; }

    // Fonts stay selected in a control's DC after the colour message returns, so they live
    // as long as the dialog: [bold][underline].
    fw::Font fonts_[2][2];

    static BOOL s_defaultMinimizeBox;
    static BOOL s_defaultTopmost;
    static HBITMAP s_defaultPicture;
    static Point s_remembered;
};

}  // namespace kestrune
