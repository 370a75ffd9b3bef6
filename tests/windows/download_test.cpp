// One download attempt against the loopback server, under the real progress dialog.
#include "update/software_update.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <thread>

#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "portable/log_capture.h"
#include "update_fixtures.h"

namespace kestrune {
namespace {

// A window of this process that `match` accepts, waited for up to `ms`.
HWND WaitForOwnWindow(const std::function<bool(HWND)>& match, DWORD ms = 10000) {
    struct Search { const std::function<bool(HWND)>* match; HWND found; };
    for (DWORD waited = 0; waited <= ms; waited += 50) {
        Search s{&match, nullptr};
        EnumWindows(
            [](HWND h, LPARAM p) {
                auto* search = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid != GetCurrentProcessId() || !IsWindowVisible(h) || !(*search->match)(h)) return TRUE;
                search->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        Sleep(50);
    }
    return nullptr;
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

const LocalFacts kFacts{L"Acme", L"Kestrune LX-200 Series", L"win64", kCurrentVersion};
const std::wstring kStatus = L"Downloading the printer software update...";

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { Strings::Instance().SetPath(test::DiscFolder() + L"\\lang\\English\\Strings.dll"); }
    void TearDown() override {
        Strings::Release();
        DiagLog::Release();
    }

    struct Outcome {
        bool downloaded = false, retry = true, canceled = false;
        std::wstring file;
    };
    Outcome Attempt(const std::wstring& url) {
        Outcome o;
        CSoftwareUpdate update(nullptr);
        update.downloadPackage(url, kFacts, o.file, o.downloaded, o.retry);
        o.canceled = update.canceled();
        return o;
    }
    std::vector<std::wstring> StatusLines() const {
        std::vector<std::wstring> lines;
        for (const auto& m : log.Messages())
            if (m.rfind(L"   msg=", 0) == 0) lines.push_back(m.substr(7));
        return lines;
    }
    bool Mentions(const std::wstring& part) const {
        for (const auto& m : log.Messages())
            if (m.find(part) != std::wstring::npos) return true;
        return false;
    }
    test::LogCapture log;
};

TEST_F(DownloadTest, StatusNumbersFollowTheBlocks) {
    struct Case { std::size_t size; std::vector<std::wstring> lines; };
    const std::size_t MiB = 1048576;
    const Case cases[] = {
        {MiB, {kStatus, kStatus + L"    100%"}},
        {2 * MiB, {kStatus, kStatus + L"    50%", kStatus + L"    100%"}},
        {2 * MiB + 1, {kStatus, kStatus + L"    30%", kStatus + L"    65%", kStatus + L"    100%"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        log.Clear();
        const std::string body(c.size, 'k');
        const std::wstring url = test::Serve(L"package.bin", body);
        const Outcome o = Attempt(url);
        EXPECT_TRUE(o.downloaded);
        EXPECT_FALSE(o.retry);
        EXPECT_FALSE(o.canceled);
        EXPECT_EQ(std::filesystem::path(o.file).filename().wstring().rfind(L"UPD", 0), 0u) << o.file;
        EXPECT_EQ(test::ReadBytes(o.file), body);
        EXPECT_EQ(StatusLines(), c.lines);
        EXPECT_TRUE(log.Contains(L"HttpQueryInfo content length from " + url + L" is " + std::to_wstring(c.size)));
        DeleteFileW(o.file.c_str());
    }
    const std::string requests = test::ReadBytes(test::ServerState() + L"\\requests.log");
    EXPECT_NE(requests.find("Acme/Kestrune LX-200 Series/win64/1.2.3 2018/03/26 17:35:00"), std::string::npos);
}

TEST_F(DownloadTest, AnswersThatAreNotAPackageFailWithoutTheDialog) {
    const std::wstring base = test::Serve(L"small.bin", std::string(1000, 'k'));
    struct Case { std::wstring url; std::wstring line; };
    const Case cases[] = {
        {test::ServerUrl() + L"/files/missing.bin", L"HttpQueryInfo status from " + test::ServerUrl() + L"/files/missing.bin is 404"},
        {base + L"?length=none", L"Context: HttpQueryInfo content length from " + base + L"?length=none failed"},
        {base + L"?length=0", L"HttpQueryInfo content length from " + base + L"?length=0 is 0"},
        {L"http://127.0.0.1:9/p.exe", L"Context: InternetOpenUrl http://127.0.0.1:9/p.exe failed"},
    };
    std::vector<std::wstring> files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        log.Clear();
        const Outcome o = Attempt(c.url);
        EXPECT_FALSE(o.downloaded);
        EXPECT_TRUE(o.retry);
        EXPECT_TRUE(Mentions(c.line)) << c.line;
        EXPECT_FALSE(log.Contains(L"CProgressDlg::OnInitDialog()"));
        EXPECT_TRUE(std::filesystem::exists(o.file));  // never deleted
        files.push_back(o.file);
    }
    EXPECT_NE(files[0], files[1]);  // a new file for every attempt
    for (const auto& f : files) DeleteFileW(f.c_str());
}

TEST_F(DownloadTest, AConfirmedCancelEndsAStalledTransferAtOnce) {
    // The server sends 100,000 bytes of 3 MiB and then nothing: the first read never completes.
    const std::wstring url = test::Serve(L"stalled.bin", std::string(3 * 1048576, 's')) + L"?stall_after=100000";
    std::chrono::steady_clock::time_point confirmed;
    std::thread user([&] {
        HWND dialog = WaitForOwnWindow([](HWND h) { return GetDlgItem(h, 2005) != nullptr; });
        if (!dialog) return ADD_FAILURE() << "no progress dialog";
        Sleep(500);  // let the read block
        Press(dialog, IDCANCEL);
        HWND question = WaitForOwnWindow([](HWND h) { return GetDlgItem(h, IDYES) && GetDlgItem(h, IDNO); });
        if (!question) return ADD_FAILURE() << "no question";
        confirmed = std::chrono::steady_clock::now();
        Press(question, IDYES);
    });
    const Outcome o = Attempt(url);
    const auto answered = std::chrono::steady_clock::now();
    user.join();
    std::cout << "cancel of a stalled transfer answered after "
              << std::chrono::duration<double>(answered - confirmed).count() << " s\n";
    EXPECT_TRUE(o.canceled);
    EXPECT_FALSE(o.downloaded);
    EXPECT_FALSE(o.retry);
    EXPECT_TRUE(Mentions(L"Context: getSoftwareUpdate canceled"));
    EXPECT_TRUE(std::filesystem::exists(o.file));  // left on disk
    DeleteFileW(o.file.c_str());
}

TEST_F(DownloadTest, ServersThatMisbehaveGiveABoundedOutcome) {
    std::string body(2 * 1048576, 'b');
    for (std::size_t i = 0; i < body.size(); i += 4096) body[i] = static_cast<char>('a' + i / 4096 % 26);
    const std::wstring base = test::Serve(L"body.bin", body);
    struct Case {
        std::wstring url;
        bool downloaded;
        std::size_t atLeast, atMost;  // what the file may hold: a prefix of the body
        std::wstring line;
    };
    const std::wstring loop = test::ServerUrl() + L"/files/loop.bin?redirect=self";
    const Case cases[] = {
        // Whether the platform stops at the announced length or reads on to the end, the file
        // holds the start of the body and verification judges it.
        {base + L"?length=1000", true, 1000, body.size(), L"HttpQueryInfo content length from " + base + L"?length=1000 is 1000"},
        // A connection closed early ends the body early: not an error by itself.
        {base + L"?close_after=500000", true, 500000, 500000, L"is 2097152"},
        {loop, false, 0, 0, L"Too many redirections; the last one was to " + loop},
        {test::ServerUrl() + L"/files/r.bin?redirect=/files/body.bin", true, body.size(), body.size(),
         L"is 2097152"},
        {test::ServerUrl() + L"/files/r.bin?redirect=file:///C:/windows/win.ini", false, 0, 0,
         L"Redirection to file:///C:/windows/win.ini not followed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        log.Clear();
        const Outcome o = Attempt(c.url);
        EXPECT_EQ(o.downloaded, c.downloaded);
        EXPECT_EQ(o.retry, !c.downloaded);
        EXPECT_FALSE(o.canceled);
        const std::string file = test::ReadBytes(o.file);
        EXPECT_GE(file.size(), c.atLeast);
        EXPECT_LE(file.size(), c.atMost);
        EXPECT_EQ(body.compare(0, file.size(), file), 0);
        EXPECT_TRUE(Mentions(c.line)) << c.line;
        DeleteFileW(o.file.c_str());
    }
}

}  // namespace
}  // namespace kestrune
