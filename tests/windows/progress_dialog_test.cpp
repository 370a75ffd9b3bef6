// The progress dialog's own protocol, driven from another thread as the download drives it.
#include "dialogs/progress_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/diag_log.h"
#include "portable/log_capture.h"
#include "resource_ids.h"

namespace kestrune {
namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
    void TearDown() override { DiagLog::Release(); }

    // Runs the dialog on a thread of its own, as the download does.
    void Start() {
        dialog.SetTitle(L"Printer Software Update");
        dialog.SetHeading(L"Downloading the latest printer software");
        dialog.SetCancelQuestion(L"Cancel the download?");
        thread = std::thread([this] { result = dialog.DoModal(); });
        for (int i = 0; i < 100 && !dialog.window(); ++i) Sleep(50);
        ASSERT_NE(dialog.window(), nullptr);
    }
    int Position() { return static_cast<int>(SendMessageW(dialog.GetProgressCtrl().hwnd(), PBM_GETPOS, 0, 0)); }
    // Hands a message to the dialog's thread and waits until it was handled.
    void Deliver(UINT message, LPARAM parameter = 0) { SendMessageW(dialog.window(), message, 0, parameter); }
    // A posted message is handled later; waits (at most 2 s) until the condition holds.
    template <class Condition>
    bool Eventually(Condition condition) {
        for (int i = 0; i < 40; ++i) {
            if (condition()) return true;
            Sleep(50);
        }
        return condition();
    }
    INT_PTR Finish() {
        thread.join();
        return result;
    }

    test::LogCapture log;
    CProgressDlg dialog{nullptr};
    std::thread thread;
    std::atomic<INT_PTR> result{0};
};

TEST_F(ProgressDialogTest, OpensWithItsLinesHeadingAndRange) {
    Start();
    const auto m = log.Messages();
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ(m[0], L"CProgressDlg::OnInitDialog()");
    EXPECT_EQ(m[1], L"CProgressDlg::DoDataExchange");
    EXPECT_EQ(m[2].rfind(L"MCDialog::OnInitDialog()", 0), 0u);
    wchar_t heading[128] = {};
    GetWindowTextW(GetDlgItem(dialog.window(), IDC_PROGRESS_HEADING), heading, 128);
    EXPECT_STREQ(heading, L"Downloading the latest printer software");
    EXPECT_EQ(SendMessageW(dialog.GetProgressCtrl().hwnd(), PBM_GETRANGE, FALSE, 0), 100);
    _PostProgressMessage(dialog.window(), WMU_TERMINATE, 0);
    EXPECT_EQ(Finish(), IDOK);  // no question asked
    EXPECT_TRUE(log.Contains(L"CProgressDlg::OnTerminate()"));
    EXPECT_EQ(log.Count(L" -[ MCDialog::OnCancel() ]-"), 0);
}

TEST_F(ProgressDialogTest, AnimationStartStopIncAndReset) {
    Start();
    log.Clear();
    _PostProgressMessage(dialog.window(), WMU_START_CURRENT_PROGRESS, 0);
    EXPECT_TRUE(Eventually([&] { return log.Contains(L"CProgressDlg -- setting current progress tic = 500"); }));
    EXPECT_TRUE(log.Contains(L"CProgressDlg::OnStartCurrentProgress(0)"));
    EXPECT_TRUE(Eventually([&] { return Position() >= 2; }));  // ticks of 500 ms
    Deliver(WMU_STOP_CURRENT_PROGRESS);
    const int stopped = Position();
    Sleep(700);
    EXPECT_EQ(Position(), stopped);  // the bar keeps its position
    Deliver(WMU_INC_CURRENT_PROGRESS);
    EXPECT_EQ(Position(), 0);  // the next step after a stop shows 0

    Deliver(WMU_RESET_CURRENT_PROGRESS);
    EXPECT_EQ(Position(), 0);
    for (int expected : {1, 2, 3}) {
        Deliver(WMU_INC_CURRENT_PROGRESS);
        EXPECT_EQ(Position(), expected);
    }
    for (int i = 4; i <= 100; ++i) Deliver(WMU_INC_CURRENT_PROGRESS);
    EXPECT_EQ(Position(), 100);
    Deliver(WMU_INC_CURRENT_PROGRESS);
    EXPECT_EQ(Position(), 0);  // after 100 the cycle starts again

    Deliver(WMU_TERMINATE);
    EXPECT_EQ(Finish(), IDOK);
}

TEST_F(ProgressDialogTest, HideShowAndStatusLines) {
    Start();
    HWND w = dialog.window();
    RECT opened{};
    GetWindowRect(w, &opened);
    SetWindowPos(w, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // the user moves it

    Deliver(WMU_HIDE_PROGRESS_DLG);
    EXPECT_FALSE(IsWindowVisible(w));
    std::wstring text = L"Downloading the printer software update...    35%";
    PostProgressText(w, text);
    text.assign(text.size(), L'x');  // the sender's text may change at once
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(w) != FALSE; }));  // a status line raises it
    Sleep(100);
    wchar_t status[128] = {};
    GetWindowTextW(GetDlgItem(w, IDC_PROGRESS_STATUS), status, 128);
    EXPECT_STREQ(status, L"Downloading the printer software update...    35%");
    EXPECT_TRUE(log.Contains(L"   msg=Downloading the printer software update...    35%"));

    Deliver(WMU_SHOW_PROGRESS_DLG);
    RECT shown{};
    GetWindowRect(w, &shown);
    EXPECT_EQ(shown.left, opened.left);  // back at its opening place
    EXPECT_EQ(shown.top, opened.top);

    Deliver(WMU_TERMINATE);
    EXPECT_EQ(Finish(), IDOK);
}

TEST_F(ProgressDialogTest, EnterIsIgnoredAndCancelAsks) {
    Start();
    HWND w = dialog.window();
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(w));
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    HWND box = nullptr;
    for (int i = 0; i < 100 && !box; ++i) {
        EnumThreadWindows(
            GetWindowThreadProcessId(w, nullptr),
            [](HWND h, LPARAM p) {
                if (GetDlgItem(h, IDYES)) *reinterpret_cast<HWND*>(p) = h;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
        Sleep(50);
    }
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_EQ(Finish(), IDCANCEL);
}

TEST(PostProgressMessage, ANullWindowPostsAndLogsNothing) {
    test::LogCapture log;
    _PostProgressMessage(nullptr, WMU_TERMINATE, 0);
    PostProgressText(nullptr, L"text");
    EXPECT_TRUE(log.Messages().empty());
    DiagLog::Release();
}

}  // namespace
}  // namespace kestrune
