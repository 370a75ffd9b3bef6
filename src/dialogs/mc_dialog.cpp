#include "dialogs/mc_dialog.h"

#include <algorithm>
#include <vector>

#include "foundation/diag_log.h"

namespace kestrune {

BOOL MCDialog::s_defaultMinimizeBox = FALSE;
BOOL MCDialog::s_defaultTopmost = TRUE;
HBITMAP MCDialog::s_defaultPicture = nullptr;
Point MCDialog::s_remembered = {0, 0};

namespace {
bool Contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

WindowBox BoxOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

std::wstring WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
    return text;
}
}  // namespace

MCDialog::MCDialog(UINT templateId, HWND parent)
    : fw::Dialog(templateId, parent),
      m_topmost(s_defaultTopmost),
      m_minimizeBox(s_defaultMinimizeBox),
      m_picture(s_defaultPicture) {}

BOOL MCDialog::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    DiagLog::Write(L"MCDialog::OnInitDialog() m_positionOnBottom=%d, m_topmost=%d, m_followPosition=%d",
                   m_positionOnBottom, m_topmost, m_followPosition);
    PlaceWindow(m_positionOnBottom, m_topmost, m_followPosition);
    SetWindowTextW(m_hWnd, m_title.c_str());
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_SYSMENU;
    if (m_minimizeBox) style |= WS_MINIMIZEBOX;
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    ApplyControlFonts();
    m_initialized = TRUE;
    if (m_disableClose) {
        if (HMENU menu = GetSystemMenu(m_hWnd, FALSE))
            EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    return TRUE;
}

void MCDialog::PlaceWindow(BOOL onBottom, BOOL topmost, BOOL follow) {
    RECT work{};
    int workWidth = 0, workHeight = 0;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        workWidth = work.right - work.left;
        workHeight = work.bottom - work.top;
    } else {
        DiagLog::WriteError(GetLastError(), L"SystemParametersInfo failed");
        workWidth = GetSystemMetrics(SM_CXSCREEN);
        workHeight = GetSystemMetrics(SM_CYSCREEN) - 50;
    }
    const Point at = PlaceOnWorkArea(workWidth, workHeight, BoxOf(m_hWnd), onBottom != FALSE,
                                     follow != FALSE, s_remembered);
    SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE);
    if (topmost) {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    } else {
        SetForegroundWindow(m_hWnd);
        SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
}

LRESULT MCDialog::OnMoveMessage(WPARAM wParam, LPARAM lParam) {
    Default(WM_MOVE, wParam, lParam);
    OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    return 0;
}

void MCDialog::OnMove(int x, int y) {
    if (!m_initialized || !m_followPosition) return;
    if (GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_MINIMIZE) return;
    s_remembered = TrackedPosition(s_remembered, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), BoxOf(m_hWnd), {x, y});
}

void MCDialog::OnCancel() {
    DiagLog::Write(L" -[ MCDialog::OnCancel() ]-");
    if (m_cancelQuestion.empty()) {
        fw::Dialog::OnCancel();
        return;
    }
    if (MessageBoxW(m_hWnd, m_cancelQuestion.c_str(), m_title.c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES)
        fw::Dialog::OnCancel();
}

void MCDialog::OnDestroy() {
    Default(WM_DESTROY, 0, 0);
    m_initialized = FALSE;
}

HFONT MCDialog::FontFor(bool bold, bool underline) {
    fw::Font& font = fonts_[bold][underline];
    if (!font)
        font = fw::Font(CreateFontW(14, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                                    ANSI_CHARSET, 0, 0, 0, 0, L"Arial"));
    return font.get();
}

void MCDialog::ApplyControlFonts() {
    // Some static controls select their own font after the colour message; giving them the font
    // as well makes every paint use it.
    auto apply = [this](int id) {
        if (HWND control = GetDlgItem(id))
            SendMessageW(control, WM_SETFONT,
                         reinterpret_cast<WPARAM>(FontFor(Contains(m_boldIds, id),
                                                          Contains(m_underlineIds, id))),
                         FALSE);
    };
    for (int id : m_boldIds) apply(id);
    for (int id : m_underlineIds) apply(id);
}

HBRUSH MCDialog::OnCtlColor(HDC dc, HWND control, UINT kind) {
    auto result = reinterpret_cast<HBRUSH>(Default(kind, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(control)));
    const int id = GetDlgCtrlID(control);
    for (const PictureEntry& entry : m_pictures) {
        if (entry.controlId != id || (entry.bitmapResourceId == 0 && !entry.bitmap)) continue;
        DrawPicture(dc, control, entry, id == m_stretchPictureId);
        break;
    }
    if (Contains(m_transparentIds, id)) {
        result = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
        SetBkMode(dc, TRANSPARENT);
    }
    const bool bold = Contains(m_boldIds, id);
    const bool underline = Contains(m_underlineIds, id);
    if (bold || underline) SelectObject(dc, FontFor(bold, underline));
    if (id == m_stretchPictureId) {
        for (int overlay : {m_overlayTextId1, m_overlayTextId2}) {
            if (overlay == 0) continue;
            if (HWND text = GetDlgItem(overlay)) SetWindowTextW(text, WindowText(text).c_str());
        }
    }
    return result;
}

void MCDialog::DrawPicture(HDC dc, HWND control, const PictureEntry& entry, bool stretch) const {
    fw::Bitmap loaded;
    HBITMAP bitmap = entry.bitmap;
    if (entry.bitmapResourceId != 0) {
        loaded = fw::Bitmap(LoadBitmapW(GetModuleHandleW(nullptr),
                                        MAKEINTRESOURCEW(entry.bitmapResourceId)));
        bitmap = loaded.get();
    }
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
    const int bw = info.bmWidth, bh = info.bmHeight;

    fw::MemoryDC memory(dc);
    if (!memory.get()) return;
    fw::Selection selected(memory.get(), bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);

    const WindowBox box = BoxOf(control);
    const Rect to = PictureRect(bw, bh, box.width(), box.height(), stretch);
    TransparentBlt(dc, to.left, to.top, to.width, to.height, memory.get(), 0, 0, bw, bh,
                   m_transparentColor);
}

void MCDialog::SetControlText(HWND dialog, int id, const std::wstring& text) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control) {
        DiagLog::Write(L"WARNING: Attempting to access a dialog control that does not exist (ctrlID=%d)",
                       id);
        return;
    }
    if (text.empty()) {
        EnableWindow(control, FALSE);
        ShowWindow(control, SW_HIDE);
        return;
    }
    EnableWindow(control, TRUE);
    ShowWindow(control, SW_SHOW);
    SetWindowTextW(control, text.c_str());
}

}  // namespace kestrune
