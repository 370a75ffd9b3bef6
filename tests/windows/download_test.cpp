// One download attempt against the loopback server, under the real progress dialog.
#include "update/software_update.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "portable/log_capture.h"
#include "update_fixtures.h"

namespace kestrune {
namespace {

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
        bool found = false;
        for (const auto& m : log.Messages()) found |= m == c.line || m.find(c.line) != std::wstring::npos;
        EXPECT_TRUE(found) << c.line;
        EXPECT_FALSE(log.Contains(L"CProgressDlg::OnInitDialog()"));
        EXPECT_TRUE(std::filesystem::exists(o.file));  // never deleted
        files.push_back(o.file);
    }
    EXPECT_NE(files[0], files[1]);  // a new file for every attempt
    for (const auto& f : files) DeleteFileW(f.c_str());
}

}  // namespace
}  // namespace kestrune
