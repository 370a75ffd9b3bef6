// The update manifest read through MSXML from the loopback server, and the package it selects.
#include "update/manifest.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstring>
#include <iostream>

#include "foundation/diag_log.h"
#include "portable/log_capture.h"
#include "foundation/com_objects.h"
#include "update_fixtures.h"

namespace kestrune {
namespace {

const LocalFacts kFacts{L"Acme", L"Kestrune LX-200 Series", L"win64", kCurrentVersion};

std::string Manifest(const std::string& body) { return "<?xml version=\"1.0\"?>\n" + body; }
std::string Update(const char* model, const char* platform, const char* version, const char* url) {
    return std::string("<Update Model=\"") + model + "\" Platform=\"" + platform + "\" OldVersion=\"" +
           version + "\">" + url + "</Update>";
}

struct Case {
    const char* name;
    std::string body;        // served as it stands
    const char* query;       // added to the address
    bool result;
    std::vector<std::wstring> urls;   // package addresses read, in order
    std::wstring selected;
    std::vector<std::wstring> lines;  // each must be in the log (an error line by its context)
};

class ManifestTest : public ::testing::Test {
protected:
    void TearDown() override { DiagLog::Release(); }
    ComApartment com;
    test::LogCapture log;

    bool Logged(const std::wstring& line) const {
        for (const auto& m : log.Messages())
            if (m == line || m.find(L"Context: " + line) != std::wstring::npos) return true;
        return false;
    }
};

TEST_F(ManifestTest, CasesAgainstTheLoopbackServer) {
    const std::string acme = "<Manufacturer Name=\"Acme\">";
    const Case cases[] = {
        {"nested", Manifest("<Catalog><Vendors><Group>" + acme +
                            Update("*LX-200*", "win*", "1.2.3*", " http://h/nested.exe \n") +
                            "</Manufacturer></Group></Vendors></Catalog>"),
         "", true, {L"http://h/nested.exe"}, L"http://h/nested.exe",
         {L"    Selecting Manufacturer Node", L"    Getting Manufacturer Attribute",
          L"    Selecting Udate Elements", L"Matching update found - http://h/nested.exe",
          L"Matched with model *LX-200*, platform win*, old version 1.2.3*"}},
        {"two-manufacturers", Manifest("<U>" + acme + Update("x", "*", "*", "http://h/1.exe") +
                                       "</Manufacturer><Manufacturer Name=\"Other\"/>" + acme +
                                       Update("*", "*", "*", "http://h/2.exe") + "</Manufacturer></U>"),
         "", true, {L"http://h/1.exe", L"http://h/2.exe"}, L"http://h/2.exe", {}},
        {"case-kept", Manifest("<U><Manufacturer Name=\"ACME\">" + Update("*", "*", "*", "http://h/a.exe") +
                               "</Manufacturer></U>"),
         "", true, {}, L"",
         {L"Can't get Manufacturer node attributes - This does not work for non-standard attributes "
          L"pre MSXML 4.0 SP2"}},
        {"grandchild", Manifest("<U>" + acme + "<Group>" + Update("*", "*", "*", "http://h/deep.exe") +
                                "</Group>" + Update("x", "*", "*", "http://h/child.exe") + "</Manufacturer></U>"),
         "", true, {L"http://h/child.exe"}, L"", {}},
        {"no-oldversion", Manifest("<U>" + acme + Update("*", "*", "*", "http://h/ok.exe") +
                                   "<Update Model=\"*\" Platform=\"*\">http://h/bad.exe</Update></Manufacturer></U>"),
         "", false, {}, L"", {L"Not all required Update attributes are present"}},
        {"no-name", Manifest("<U><Manufacturer>" + Update("*", "*", "*", "http://h/x.exe") + "</Manufacturer></U>"),
         "", false, {}, L"", {L"Exception thrown in GetSoftwareUpdateList"}},
        {"first-wins", Manifest("<U>" + acme + Update("*", "*", "*", "http://h/first.exe") +
                                Update("*", "*", "*", "http://h/second.exe") + "</Manufacturer></U>"),
         "", true, {L"http://h/first.exe", L"http://h/second.exe"}, L"http://h/first.exe", {}},
        {"platforms", Manifest("<U>" + acme + Update("*", "win", "*", "http://h/win.exe") +
                               Update("*", "win*", "*", "http://h/winstar.exe") + "</Manufacturer></U>"),
         "", true, {L"http://h/win.exe", L"http://h/winstar.exe"}, L"http://h/winstar.exe", {}},
        {"versions", Manifest("<U>" + acme + Update("*", "*", "1.2.3", "http://h/exact.exe") +
                              Update("*", "*", "1.2.3*", "http://h/prefix.exe") + "</Manufacturer></U>"),
         "", true, {L"http://h/exact.exe", L"http://h/prefix.exe"}, L"http://h/prefix.exe", {}},
        {"error-page", "<html><body><h1>500 Internal Server Error</h1></body></html>", "?status=500&type=text/html",
         true, {}, L"", {}},
        {"empty", "", "", true, {}, L"", {}},
        {"not-xml", "this is not XML at all { }", "?type=text/plain", true, {}, L"", {}},
        // Redirections are followed (here to the first case's manifest), but not in a loop.
        {"redirected", "", "?redirect=/files/nested.xml", true, {L"http://h/nested.exe"}, L"http://h/nested.exe", {}},
        {"redirect-loop", "", "?redirect=self", false, {}, L"",
         {L"Failed to send an XML HTTP request (GET "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.Clear();
        const std::wstring url =
            test::Serve(std::wstring(c.name, c.name + strlen(c.name)) + L".xml", c.body) +
            std::wstring(c.query, c.query + strlen(c.query));
        std::vector<SoftwareUpdateEntry> entries;
        EXPECT_EQ(GetSoftwareUpdateList(url, kFacts.manufacturer, entries), c.result);
        if (!c.result) {
            for (const auto& line : c.lines) EXPECT_TRUE(Logged(line)) << line;
            continue;
        }
        std::vector<std::wstring> urls;
        for (const auto& e : entries) urls.push_back(e.packageUrl);
        EXPECT_EQ(urls, c.urls);
        EXPECT_EQ(SelectUpdate(entries, kFacts), c.selected);
        for (const auto& line : c.lines) EXPECT_TRUE(Logged(line)) << line;
    }
}

TEST_F(ManifestTest, MissingAndUnreachableManifests) {
    std::vector<SoftwareUpdateEntry> entries{{L"stale", L"", L"", L""}};
    EXPECT_TRUE(GetSoftwareUpdateList(test::ServerUrl() + L"/files/no-such-manifest.xml", L"Acme", entries));
    EXPECT_TRUE(entries.empty());

    // A port nobody listens on: the request cannot be sent.
    const std::wstring refused = L"http://127.0.0.1:9/manifest.xml";
    EXPECT_FALSE(GetSoftwareUpdateList(refused, L"Acme", entries));
    bool logged = false;
    for (const auto& m : log.Messages())
        logged |= m.find(L"Context: Failed to send an XML HTTP request (GET " + refused + L").") !=
                  std::wstring::npos;
    EXPECT_TRUE(logged);
}

// Hostile manifests: a bounded outcome, no crash. The figures go to the test's output.
TEST_F(ManifestTest, HostileManifestsHaveABoundedOutcome) {
    struct Hostile { const wchar_t* kind; int n; };
    for (const Hostile h : {Hostile{L"big", 50}, Hostile{L"deep", 10000}, Hostile{L"many", 100000},
                            Hostile{L"longattr", 100000}, Hostile{L"laughs", 0}}) {
        log.Clear();
        std::vector<SoftwareUpdateEntry> entries;
        const auto start = std::chrono::steady_clock::now();
        const bool result = GetSoftwareUpdateList(
            test::ServerUrl() + L"/generate/" + h.kind + L"?n=" + std::to_wstring(h.n), L"Acme", entries);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::wstring selected = result ? SelectUpdate(entries, kFacts) : L"";
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        std::wcout << L"hostile manifest " << h.kind << L": result " << result << L", "
                   << entries.size() << L" entries, selected '" << selected << L"', " << seconds
                   << L" s, peak working set " << memory.PeakWorkingSetSize / (1024 * 1024) << L" MiB" << std::endl;
        // Whatever the reader makes of it, nothing selected may be other than the one real entry.
        EXPECT_TRUE(selected.empty() || selected == L"http://127.0.0.1/p.exe") << h.kind;
    }
}

}  // namespace
}  // namespace kestrune
