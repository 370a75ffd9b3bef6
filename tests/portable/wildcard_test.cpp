#include "update/wildcard.h"

#include <gtest/gtest.h>

#include "foundation/diag_log.h"
#include "log_capture.h"
#include "update/update_selection.h"

namespace kestrune {
namespace {

TEST(WildcardMatch, PatternTable) {
    struct Case { const wchar_t* pattern; const wchar_t* text; bool match; };
    const Case cases[] = {
        {L"Z9*", L"z9-plus", true},
        {L"*", L"", true},
        {L"WIN32", L"win32", true},
        {L"1.2.*", L"1.2.3 2018/03/26 17:35:00", true},
        {L"A*C", L"ABCD", true},   // the end is not anchored
        {L"A*C", L"ACB", true},
        {L"B*", L"AB", false},     // the first segment is a prefix
        {L"", L"", true},
        {L"", L"x", false},
        {L"win", L"win32", false},
        {L"win*", L"win32", true},
        {L"win*", L"win64", true},
        {L"1.2.3", kCurrentVersion, false},
        {L"1.2.3*", kCurrentVersion, true},
        {L"*LX*200*", L"Kestrune LX-200 Series", true},
        {L"*200*LX", L"Kestrune LX-200 Series", false},
        {L"**", L"abc", true},
        {L"a**b", L"ab", true},
        {L"*series", L"LX-200 Series", true},
        {L"\x00e9*", L"\x00c9t\x00e9", false},  // only ASCII letters fold
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.text), c.match) << c.pattern << L" / " << c.text;
}

TEST(WildcardMatch, TextsBeyondTheBuffersNeverMatch) {
    const std::wstring fits(1023, L'a'), tooLong(1024, L'a');
    EXPECT_TRUE(wildcardMatch(fits, fits));
    EXPECT_TRUE(wildcardMatch(L"*", fits));
    EXPECT_FALSE(wildcardMatch(tooLong, tooLong));
    EXPECT_FALSE(wildcardMatch(L"*", tooLong));
    EXPECT_FALSE(wildcardMatch(std::wstring(100000, L'*'), L"x"));
}

TEST(IsHttpUrl, SchemeTable) {
    struct Case { const wchar_t* url; bool http; };
    const Case cases[] = {
        {L"http://example.com/p.exe", true}, {L"HTTPS://example.com/p.exe", true},
        {L"http", true}, {L"Https:", true}, {L"ftp://example.com/p.exe", false},
        {L"file:///C:/p.exe", false}, {L"", false}, {L"h*://x", true},
        {L"httpx://x", false}, {L"C:\\Temp\\p.exe", false}, {L"//example.com/p.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isHttpUrl(c.url), c.http) << c.url;
}

TEST(UpdateSelection, FirstMatchingEntryWinsAndIsLogged) {
    test::LogCapture log;
    const LocalFacts facts{L"Acme", L"Kestrune LX-200 Series", L"win64", kCurrentVersion};
    const std::vector<SoftwareUpdateEntry> entries = {
        {L"Other*", L"*", L"*", L"http://h/other.exe"},
        {L"*LX-200*", L"win", L"*", L"http://h/noplatform.exe"},
        {L"*LX-200*", L"win*", L"1.2.3", L"http://h/noversion.exe"},
        {L"*LX-200*", L"WIN*", L"1.2.3*", L"http://h/first.exe"},
        {L"*", L"*", L"*", L"http://h/second.exe"},
    };
    EXPECT_EQ(SelectUpdate(entries, facts), L"http://h/first.exe");
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{
                                  L"Model is Kestrune LX-200 Series", L"Platform is win64",
                                  L"Current version is 1.2.3 2018/03/26 17:35:00",
                                  L"Matching update found - http://h/first.exe",
                                  L"Matched with model *LX-200*, platform WIN*, old version 1.2.3*"}));
    log.Clear();
    EXPECT_EQ(SelectUpdate({entries[0], entries[1]}, facts), L"");
    EXPECT_EQ(log.Messages().size(), 3u);
    DiagLog::Release();
}

}  // namespace
}  // namespace kestrune
