// The base dialog on real windows: the cancel question, control texts, defaults, placement and
// colour-keyed pictures. A helper thread plays the user.
#include "dialogs/mc_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "foundation/diag_log.h"
#include "portable/log_capture.h"
#include "resource_ids.h"

namespace kestrune {
namespace {

// A dialog whose window a test can reach from another thread, and which can carry a picture.
class TestDialog : public MCDialog {
public:
    TestDialog(UINT id) : MCDialog(id, nullptr) {}
    std::atomic<HWND> window{nullptr};
    std::function<void(TestDialog&)> onInit;
    using MCDialog::m_pictures;
    using MCDialog::m_stretchPictureId;
    using MCDialog::SetControlText;

protected:
    BOOL OnInitDialog() override {
        MCDialog::OnInitDialog();
        if (onInit) onInit(*this);
        window = m_hWnd;
        return TRUE;
    }
};

HWND WaitFor(const std::function<HWND()>& find) {
    for (int i = 0; i < 100; ++i) {
        if (HWND h = find()) return h;
        Sleep(50);
    }
    return nullptr;
}

HWND QuestionBoxOf(HWND owner) {
    return WaitFor([owner] {
        HWND found = nullptr;
        EnumThreadWindows(
            GetWindowThreadProcessId(owner, nullptr),
            [](HWND h, LPARAM p) {
                if (GetDlgItem(h, IDYES) && GetDlgItem(h, IDNO)) {
                    *reinterpret_cast<HWND*>(p) = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    });
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Gone(HWND window) {
    for (int i = 0; i < 60 && IsWindow(window); ++i) Sleep(50);
    return !IsWindow(window);
}

class MCDialogTest : public ::testing::Test {
protected:
    void TearDown() override { DiagLog::Release(); }
    test::LogCapture log;
};

TEST_F(MCDialogTest, AMissingTemplateGivesMinusOne) {
    TestDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST_F(MCDialogTest, TheCancelQuestionGuardsCloseBoxEscapeAndCancel) {
    TestDialog dialog(IDD_PROGRESS_DIALOG);
    dialog.SetTitle(L"Question test");
    dialog.SetCancelQuestion(L"Stop now?");
    // Each step raises the question in its own way and answers it; a missing box ends the test
    // instead of leaving the modal loop waiting.
    struct Step { std::function<void(HWND)> ask; int answer; };
    const Step steps[] = {
        {[](HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDNO},
        {[](HWND w) { PostMessageW(GetDlgItem(w, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }, IDNO},
        {[](HWND w) { Press(w, IDCANCEL); }, IDYES},
    };
    std::thread user([&] {
        HWND w = WaitFor([&] { return dialog.window.load(); });
        if (!w) return;
        for (const Step& step : steps) {
            step.ask(w);
            HWND box = QuestionBoxOf(w);
            if (!box) {
                ADD_FAILURE() << "no question";
                PostMessageW(w, WM_COMMAND, IDOK, 0);
                return;
            }
            wchar_t caption[64] = {};
            GetWindowTextW(box, caption, 64);
            EXPECT_STREQ(caption, L"Question test");
            Press(box, step.answer);
            EXPECT_TRUE(Gone(box));
            if (step.answer == IDNO) {
                EXPECT_TRUE(IsWindow(w));
            }
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    user.join();
    EXPECT_EQ(log.Count(L" -[ MCDialog::OnCancel() ]-"), 3);
}

TEST_F(MCDialogTest, ControlTextsDefaultsAndPlacement) {
    MCDialog::SetDefaultMinimizeBox(TRUE);
    MCDialog::SetDefaultTopmost(FALSE);
    TestDialog dialog(IDD_KESTRUNE_DIALOG);
    dialog.SetTitle(L"Placement");
    dialog.onInit = [](TestDialog& d) {
        HWND w = d.hwnd();
        d.SetControlText(w, IDC_EXIT, L"");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, IDC_EXIT)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, IDC_EXIT)));
        d.SetControlText(w, IDC_EXIT, L"Leave");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, IDC_EXIT)));
        d.SetControlText(w, 4711, L"nobody");

        RECT work{}, r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(w, &r);
        const int W = work.right - work.left, H = work.bottom - work.top;
        EXPECT_EQ(r.left, W / 2 - (r.right - r.left) / 2);
        EXPECT_EQ(r.top, H / 2 - (r.bottom - r.top) / 2);
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_MINIMIZEBOX);
        EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        wchar_t caption[32] = {};
        GetWindowTextW(w, caption, 32);
        EXPECT_STREQ(caption, L"Placement");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(log.Contains(L"MCDialog::OnInitDialog() m_positionOnBottom=0, m_topmost=0, m_followPosition=0"));
    EXPECT_TRUE(
        log.Contains(L"WARNING: Attempting to access a dialog control that does not exist (ctrlID=4711)"));
}

// A bitmap whose left half is white (the colour key) and right half red.
HBITMAP HalfWhiteHalfRed(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[y * w + x] = x < w / 2 ? 0x00FFFFFF : 0x00FF0000;
    return bitmap;
}

TEST_F(MCDialogTest, WhitePixelsOfAPictureLetTheBackgroundThrough) {
    HBITMAP picture = HalfWhiteHalfRed(100, 50);
    TestDialog dialog(IDD_KESTRUNE_DIALOG);
    dialog.m_pictures.push_back({IDC_LARGE_PICTURE, 0, nullptr});  // no bitmap: skipped
    dialog.m_pictures.push_back({IDC_LARGE_PICTURE, 0, picture});
    COLORREF left = 0, right = 0, face = GetSysColor(COLOR_BTNFACE);
    RECT control{};
    std::thread user([&] {
        HWND w = WaitFor([&] { return dialog.window.load(); });
        ASSERT_NE(w, nullptr);
        Sleep(800);
        HWND c = GetDlgItem(w, IDC_LARGE_PICTURE);
        RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Sleep(300);
        GetClientRect(c, &control);
        HDC dc = GetDC(c);
        const int cx = (control.right - 100) / 2, cy = (control.bottom - 50) / 2;  // centred
        left = GetPixel(dc, cx + 25, cy + 25);
        right = GetPixel(dc, cx + 75, cy + 25);
        ReleaseDC(c, dc);
        Press(w, IDCANCEL);
    });
    dialog.DoModal();
    user.join();
    DeleteObject(picture);
    EXPECT_EQ(right, RGB(255, 0, 0));
    EXPECT_NE(left, RGB(255, 255, 255));
    EXPECT_EQ(left, face);
}

}  // namespace
}  // namespace kestrune
