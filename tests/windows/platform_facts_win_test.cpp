#include "foundation/platform_facts.h"

#include <gtest/gtest.h>


#include "foundation/diag_log.h"
#include "portable/log_capture.h"
#include "test_folder.h"

namespace kestrune {
namespace {

TEST(ExecutableFolder, IsTheFolderOfThisProgramWithItsBackslash) {
    std::wstring folder;
    ASSERT_TRUE(GetExecutableFolder(folder));
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring path = module;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(path.compare(0, folder.size(), folder), 0);
    EXPECT_EQ(path.find(L'\\', folder.size()), std::wstring::npos);
}

// A reader with GetModuleFileNameW's contract over a name of any length: a name that does not
// fit is cut to the buffer, without a terminating zero, and the size is returned.
std::wstring g_longName;
int g_reads = 0;
DWORD FakeModuleFileName(wchar_t* buffer, DWORD size) {
    ++g_reads;
    const DWORD n = static_cast<DWORD>(g_longName.size());
    if (n >= size) {
        std::copy(g_longName.begin(), g_longName.begin() + size, buffer);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::copy(g_longName.begin(), g_longName.end(), buffer);
    buffer[n] = 0;
    return n;
}

TEST(ExecutableFolder, TheNameBufferGrowsInStepsOf260) {
    struct Case { std::size_t length; int reads; };
    for (const Case c : {Case{20, 1}, Case{259, 1}, Case{260, 2}, Case{600, 3}, Case{2000, 8}}) {
        g_longName = L"C:\\" + std::wstring(c.length - 3, L'd');
        g_reads = 0;
        std::wstring name;
        ASSERT_TRUE(ReadModuleFileName(FakeModuleFileName, name));
        EXPECT_EQ(name, g_longName);
        EXPECT_EQ(g_reads, c.reads) << c.length;
    }
}

TEST(FileTests, ALockedFileIsPresent) {
    test::TestFolder folder;
    const std::wstring path = folder / L"locked.bin";
    test::WriteBytes(path, "x");
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(path));
    CloseHandle(lock);
    EXPECT_TRUE(FileExists(folder.path()));
    EXPECT_FALSE(FileExists(folder / L"absent.bin"));
    EXPECT_FALSE(FileExists(folder / L"absent\\x.bin"));
    EXPECT_TRUE(DirectoryExists(folder.path()));
    EXPECT_FALSE(DirectoryExists(path));
}

UINT WINAPI Wow64Present(LPWSTR buffer, UINT) {
    lstrcpyW(buffer, L"C:\\Windows\\SysWOW64");
    return 19;
}
UINT WINAPI Wow64NotImplemented(LPWSTR, UINT) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
UINT WINAPI Wow64OtherFailure(LPWSTR, UINT) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST(Windows64, AnswersAndLogLinesOfTheCheck) {
    struct Case {
        Wow64DirectoryFn fn;
        bool answer;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {Wow64Present, true, {L"__CheckIs64BitWindows?  YES"}},
        {Wow64OtherFailure, true, {L"__CheckIs64BitWindows?  YES"}},
        {Wow64NotImplemented, false,
         {L"getSystemWow64Directory() failed (gle=120)", L"__CheckIs64BitWindows?  NO"}},
        {nullptr, false,
         {L"__CheckIs64BitWindows() entry point not found in kernel32.dll",
          L"__CheckIs64BitWindows?  NO"}},
    };
    for (const auto& c : cases) {
        test::LogCapture log;
        EXPECT_EQ(CheckIs64BitWindowsWith(c.fn), c.answer);
        EXPECT_EQ(log.Messages(), c.lines);
    }
}

TEST(Windows64, TheCachedAnswerIsLoggedOnce) {
    test::LogCapture log;
    EXPECT_TRUE(IsWindows64());  // wine64's prefix is 64-bit Windows
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{L"__CheckIs64BitWindows()",
                                                          L"__CheckIs64BitWindows?  YES"}));
    EXPECT_TRUE(IsWindows64());
    EXPECT_EQ(log.Messages().size(), 2u);
    DiagLog::Release();
}

}  // namespace
}  // namespace kestrune
