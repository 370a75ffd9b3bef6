#include <windows.h>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "foundation/diag_log.h"
#include "foundation/wprops.h"
#include "portable/log_capture.h"
#include "test_folder.h"

namespace kestrune {
namespace {

std::wstring SystemText(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(0x1300, nullptr, code, 0x409, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring s = text ? text : L"";
    LocalFree(text);
    // As the debugger copy shows it: the final line feed of the text becomes a blank.
    if (!s.empty() && s.back() == L'\n') s.back() = L' ';
    return s;
}

class StartupConfig : public ::testing::Test {
protected:
    void TearDown() override {
        WProps::Release();
        DiagLog::Release();
    }
    test::TestFolder disc;
    test::LogCapture log;
};

TEST_F(StartupConfig, MissingFileIsAnErrorEntryAndAnEmptyStore) {
    WProps::Instance().SetProperty(L"LEFTOVER", L"1");
    const std::wstring path = disc / L"properties.ini";
    EXPECT_FALSE(WProps::Instance().LoadFile(path));
    EXPECT_TRUE(WProps::Instance().Snapshot().empty());
    EXPECT_TRUE(log.Contains(L"===>>> ERROR (gle=2, 0x2):  Msg: " + SystemText(2) +
                             L"  Context: Could not open ini file '" + path + L"'"));

    EXPECT_FALSE(InitProperties(disc.path() + L"\\"));
    EXPECT_TRUE(log.Contains(L"InitProperties - retrieve props from file '" + path + L"'"));
}

TEST_F(StartupConfig, SeriesNameBecomesTheConstWindowTitle) {
    test::WriteBytes(disc / L"properties.ini",
                     "PRINTER_SERIES_NAME = \"A\"\r\nWINDOW_TITLE = \"B\"\r\n");
    ASSERT_TRUE(InitProperties(disc.path() + L"\\"));
    std::wstring title;
    WProps::Instance().GetProperty(L"WINDOW_TITLE", title);
    EXPECT_EQ(title, L"A");
    EXPECT_EQ(WProps::Instance().SetProperty(L"WINDOW_TITLE", L"C"), kPropOk);  // file's: not const

    test::WriteBytes(disc / L"properties.ini", "PRINTER_SERIES_NAME = \"A\"\r\n");
    ASSERT_TRUE(InitProperties(disc.path() + L"\\"));
    EXPECT_EQ(WProps::Instance().SetProperty(L"WINDOW_TITLE", L"C"), kPropConst);

    test::WriteBytes(disc / L"properties.ini", "WINDOW_TITLE = \"B\"\r\n");
    EXPECT_FALSE(InitProperties(disc.path() + L"\\"));
    EXPECT_TRUE(log.Contains(L"ERROR: Property 'PRINTER_SERIES_NAME' does NOT exist."));
    WProps::Instance().GetProperty(L"WINDOW_TITLE", title);
    EXPECT_EQ(title, L"B");
}

TEST_F(StartupConfig, ALockedFileIsReportedWithTheSystemsCode) {
    const std::wstring path = disc / L"properties.ini";
    test::WriteBytes(path, "PRINTER_SERIES_NAME = \"A\"\r\n");
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WProps::Instance().LoadFile(path));
    CloseHandle(lock);
    EXPECT_TRUE(log.Contains(L"===>>> ERROR (gle=32, 0x20):  Msg: " + SystemText(32) +
                             L"  Context: Could not open ini file '" + path + L"'"));
}

}  // namespace
}  // namespace kestrune
