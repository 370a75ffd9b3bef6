#include "foundation/diag_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include "foundation/log_format.h"
#include "portable/log_capture.h"
#include "test_folder.h"

namespace kestrune {
namespace {

class DiagLogFile : public ::testing::Test {
protected:
    void TearDown() override { DiagLog::Release(); }
    test::TestFolder folder;
    test::LogCapture debugger;
};

std::wstring WindowsTemp() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp\\";
}

TEST_F(DiagLogFile, NamesChooseTheFileInTheWindowsTempFolder) {
    struct Case { const wchar_t* name; std::wstring path; };
    const std::wstring withFolder = folder / L"trace.txt";
    const Case cases[] = {
        {L"RORadovi.log", WindowsTemp() + L"RORadovi.log"},
        {nullptr, WindowsTemp() + L"Logging.log"},
        {L"", WindowsTemp() + L"Logging.log"},
        {L"abc.de", WindowsTemp() + L"abc.de.log"},
        {withFolder.c_str(), folder / L"trace.log"},
    };
    for (const auto& c : cases) {
        DiagLog::SetLogFile(c.name);
        EXPECT_EQ(DiagLog::Instance().fileName(), c.path);
    }
}

TEST_F(DiagLogFile, EntriesAreCrLfLinesWithTimestampTagAndThread) {
    const std::wstring base = folder / L"entries";
    DiagLog::Write(L"before the file is chosen");
    DiagLog::SetLogFile(base.c_str());
    DiagLog::SetTag(L"VAV");
    DiagLog::Write(L"value %d of %s", 3, L"Example Series");
    DiagLog::Write(L"two\nlines");
    DiagLog::Write(L"%s", std::wstring(9000, L'z'));
    DiagLog::Write(nullptr);
    DiagLog::Write(L"caf\x00e9 \x20ac");

    const std::string bytes = test::ReadBytes(base + L".log");
    char tid[16];
    std::snprintf(tid, sizeof tid, "%lX", GetCurrentThreadId());
    const std::string head = R"(\[[ 1]\d-[ 1-3]\d-\d{4} [ 12]\d:[0-5]\d:[0-5]\d:\d{3}\]- VAV\()" +
                             std::string(tid) + R"(\): )";
    const std::regex expected(head + "value 3 of Example Series\r\n" + head + "two\r\nlines\r\n" +
                              head + "z{" + std::to_string(4094 - 7 - std::strlen(tid)) +
                              "}\r\n" + head + "caf\xe9 \\?\r\n");
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes.substr(0, 300);

    const auto raw = debugger.Raw();
    ASSERT_EQ(raw.size(), 5u);
    EXPECT_EQ(raw[0], L"LOG(" + std::wstring(tid, tid + std::strlen(tid)) +
                          L"): before the file is chosen\n");
    EXPECT_EQ(debugger.Messages()[2], L"two lines");
}

TEST_F(DiagLogFile, ErrorEntryCarriesTheSystemText) {
    const std::wstring base = folder / L"errors";
    DiagLog::SetLogFile(base.c_str());
    DiagLog::SetTag(L"VAV");
    DiagLog::WriteError(2, L"Could not open ini file '%s'", L"D:\\properties.ini");
    DiagLog::WriteError(0xE0000235u, L"SetupAPI");
    DiagLog::WriteError(0x800B0100u, L"WinVerifyTrust");

    wchar_t* text = nullptr;
    ASSERT_NE(FormatMessageW(0x1300, nullptr, 2, 0x409, reinterpret_cast<LPWSTR>(&text), 0, nullptr),
              0u);
    std::wstring system2(text);
    LocalFree(text);
    ASSERT_GE(system2.size(), 2u);
    ASSERT_EQ(system2.substr(system2.size() - 2), L"\r\n");

    const auto m = debugger.Messages();
    ASSERT_EQ(m.size(), 3u);
    // The debugger copy shows the system's line feed as a blank.
    const std::wstring shown = system2.substr(0, system2.size() - 1) + L" ";
    EXPECT_EQ(m[0], L"===>>> ERROR (gle=2, 0x2):  Msg: " + shown +
                        L"  Context: Could not open ini file 'D:\\properties.ini'");
    EXPECT_NE(m[1].find(L"(gle=-2146500043, 0xe0000235):  Msg: "), std::wstring::npos) << m[1];
    EXPECT_NE(m[2].find(L"(gle=-2146762496, 0x800b0100):  Msg: "), std::wstring::npos) << m[2];

    // In the file the system's CR LF shows as a line break before "  Context:".
    const std::string bytes = test::ReadBytes(base + L".log");
    std::string narrow(system2.begin(), system2.end() - 2);
    EXPECT_NE(bytes.find("Msg: " + narrow + "\r\r\n  Context: Could not open ini file"),
              std::string::npos);
}

TEST_F(DiagLogFile, RotationAtStartKeepsFourOldGenerations) {
    const std::wstring base = folder / L"RORadovi";
    struct Case {
        std::uint64_t currentSize;
        std::set<int> present;  // old generations before
        std::set<int> after;    // old generations after
        bool rotated;
    };
    const Case cases[] = {
        {500000, {1, 2, 3, 4}, {1, 2, 3, 4}, true},
        {500000, {2}, {1, 3}, true},
        {499999, {1}, {1}, false},
        {7000000, {}, {1}, true},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder.path());
        std::filesystem::create_directories(folder.path());
        test::WriteBytes(base + L".log", std::string(c.currentSize, 'L'));
        for (int g : c.present)
            test::WriteBytes(logfmt::GenerationPath(base, g), "gen" + std::to_string(g));

        DiagLog::SetLogFile((base + L".log").c_str());
        for (int g = 1; g <= 5; ++g)
            EXPECT_EQ(test::Exists(logfmt::GenerationPath(base, g)), c.after.count(g) > 0)
                << "generation " << g << " of case with size " << c.currentSize;
        if (c.rotated) {
            EXPECT_FALSE(test::Exists(base + L".log"));
            EXPECT_EQ(test::ReadBytes(base + L"1.log").size(), c.currentSize);
            if (c.present.count(1) && c.present.count(2) && c.present.count(3)) {
                EXPECT_EQ(test::ReadBytes(base + L"4.log"), "gen3");
            }
            if (c.present == std::set<int>{2}) {
                EXPECT_EQ(test::ReadBytes(base + L"3.log"), "gen2");
            }
            DiagLog::Write(L"fresh");
            EXPECT_LT(test::ReadBytes(base + L".log").size(), 100u);
        } else {
            DiagLog::Write(L"appended");
            EXPECT_GT(test::ReadBytes(base + L".log").size(), c.currentSize);
        }
    }
}

TEST_F(DiagLogFile, AFileThatCannotBeOpenedStillReachesTheDebugger) {
    DiagLog::SetLogFile((folder / L"no-such-folder\\x.log").c_str());
    DiagLog::Write(L"still here");
    EXPECT_TRUE(debugger.Contains(L"still here"));

    // Locked without sharing by someone else: skipped silently, the next entry tries again.
    const std::wstring path = folder / L"locked.log";
    DiagLog::SetLogFile(path.c_str());
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DiagLog::Write(L"while locked");
    CloseHandle(lock);
    DiagLog::Write(L"after the lock");
    const std::string bytes = test::ReadBytes(path);
    EXPECT_EQ(bytes.find("while locked"), std::string::npos);
    EXPECT_NE(bytes.find("after the lock"), std::string::npos);
}

TEST_F(DiagLogFile, ALongPathOrTagIsBoundedNotOverrun) {
    const std::wstring longName = folder / (std::wstring(300, L'n') + L".log");
    DiagLog::SetLogFile(longName.c_str());
    EXPECT_EQ(DiagLog::Instance().fileName(), L"");
    DiagLog::SetTag(std::wstring(200, L'T').c_str());
    EXPECT_EQ(DiagLog::Instance().tag().size(), 79u);
    DiagLog::Write(L"ok");
    EXPECT_TRUE(debugger.Contains(L"ok"));
}

TEST_F(DiagLogFile, FourThreadsWritingLoseAndTearNothing) {
    const std::wstring base = folder / L"threads";
    DiagLog::SetLogFile(base.c_str());
    DiagLog::SetTag(L"VAV");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 1000; ++i)
                DiagLog::Write(L"writer %d entry %04d %s", t, i, std::wstring(40, L'a' + t));
        });
    for (auto& w : writers) w.join();

    const std::string bytes = test::ReadBytes(base + L".log");
    const std::regex line(R"(\[[ \d]\d-[ \d]\d-\d{4} [ \d]\d:\d\d:\d\d:\d{3}\]- VAV\([0-9A-F]+\): )"
                          R"(writer (\d) entry (\d{4}) ([a-d]{40})\r)");
    std::vector<int> next(4, 0);
    std::size_t start = 0, count = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        std::smatch m;
        const std::string text = bytes.substr(start, end - start);
        ASSERT_TRUE(std::regex_match(text, m, line)) << text;
        const int t = std::stoi(m[1]);
        EXPECT_EQ(std::stoi(m[2]), next[t]++);  // each writer's entries in order, none lost
        EXPECT_EQ(m[3].str(), std::string(40, static_cast<char>('a' + t)));
        ++count;
        start = end + 1;
    }
    EXPECT_EQ(count, 4000u);
    EXPECT_EQ(debugger.Messages().size(), 4000u);
}

}  // namespace
}  // namespace kestrune
