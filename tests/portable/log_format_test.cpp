#include "foundation/log_format.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrune::logfmt {
namespace {

TEST(LogEntry, HeadAndTagPart) {
    EXPECT_EQ(TimestampHead({2018, 3, 5, 9, 5, 7, 42}) + TagPart(L"VAV", 0x1A2C),
              L"[ 3- 5-2018  9:05:07:042]- VAV(1A2C): ");
    EXPECT_EQ(TimestampHead({2018, 11, 26, 17, 35, 0, 7}) + TagPart(L"VAV", 0x1A2C),
              L"[11-26-2018 17:35:00:007]- VAV(1A2C): ");
    EXPECT_EQ(TagPart(L"LOG", 0xABCDEF01u), L"LOG(ABCDEF01): ");
    EXPECT_EQ(TagPart(L"LOG", 0x7u), L"LOG(7): ");
}

TEST(LogEntry, LongMessagesAreCutButKeepTheirLineFeed) {
    const std::wstring tag = TagPart(L"VAV", 0x10);
    EXPECT_EQ(EntryText(tag, L"hello"), tag + L"hello\n");
    const std::wstring huge(10000, L'x');
    const std::wstring text = EntryText(tag, huge);
    EXPECT_EQ(text.size(), kMaxEntryChars);
    EXPECT_EQ(text.back(), L'\n');
    EXPECT_EQ(text.compare(0, tag.size(), tag), 0);
}

TEST(LogEntry, ErrorMessageNumbers) {
    struct Case { std::uint32_t code; std::int32_t number; const wchar_t* hex; };
    const Case cases[] = {
        {2, 2, L"0x2"},
        {0, 0, L"0"},
        {0x800B0100u, static_cast<std::int32_t>(0x800B0100u), L"0x800b0100"},  // plain HRESULT
        {0xE0000235u, static_cast<std::int32_t>(0x800F0235u), L"0xe0000235"},  // SetupAPI form
        {0xE000FFFFu, static_cast<std::int32_t>(0x800FFFFFu), L"0xe000ffff"},
        {0xC0000005u, static_cast<std::int32_t>(0xC0000005u), L"0xc0000005"},  // top bits 110
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageNumber(c.code), c.number) << std::hex << c.code;
        const std::wstring m = ErrorMessage(c.code, L"Text.\r\n", L"ctx");
        EXPECT_EQ(m, L"===>>> ERROR (gle=" + std::to_wstring(c.number) + L", " + c.hex +
                         L"):  Msg: Text.\r\n  Context: ctx");
    }
}

TEST(LogEntry, DebuggerCopyKeepsOnlyTheFinalLineFeeds) {
    EXPECT_EQ(DebuggerCopy(L"T(1): one\ntwo\n"), L"T(1): one two\n");
    EXPECT_EQ(DebuggerCopy(L"T(1): ends with feed\n\n"), L"T(1): ends with feed\n\n");
    EXPECT_EQ(DebuggerCopy(L"a\n\nb\n"), L"a  b\n");
    EXPECT_EQ(DebuggerCopy(L"\n"), L"\n");
}

TEST(LogEntry, FileBytesAreTextModeLatin1) {
    EXPECT_EQ(FileBytes(L"a\nb\r\n"), std::string("a\r\nb\r\r\n"));
    EXPECT_EQ(FileBytes(L"\x00e9\x00ff\x0100\x20ac"), std::string("\xe9\xff??"));
}

TEST(LogName, NameRules) {
    const std::wstring win = L"C:\\Windows";
    struct Case { const wchar_t* name; const wchar_t* path; };
    const Case cases[] = {
        {L"RORadovi.log", L"C:\\Windows\\Temp\\RORadovi.log"},
        {nullptr, L"C:\\Windows\\Temp\\Logging.log"},
        {L"", L"C:\\Windows\\Temp\\Logging.log"},
        {L"abc.de", L"C:\\Windows\\Temp\\abc.de.log"},
        {L"D:\\logs\\run.txt", L"D:\\logs\\run.log"},
        {L"sub\\x", L"sub\\x.log"},
        {L".log", L"C:\\Windows\\Temp\\.log"},  // cut to nothing: the Temp folder's ".log"
        {L"a.b", L"C:\\Windows\\Temp\\a.b.log"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogPath(LogBase(c.name, win)), c.path) << (c.name ? c.name : L"(null)");
}

TEST(LogRotation, RotatesOnlyFromTheThresholdOn) {
    EXPECT_FALSE(NeedsRotation(false, 0));
    EXPECT_FALSE(NeedsRotation(true, 499999));
    EXPECT_TRUE(NeedsRotation(true, 500000));
    EXPECT_TRUE(NeedsRotation(true, 7000000));
}

std::vector<std::wstring> Describe(const std::vector<RotationStep>& steps) {
    std::vector<std::wstring> out;
    for (const auto& s : steps)
        out.push_back(s.kind == RotationStep::Delete ? L"del " + s.from : s.from + L">" + s.to);
    return out;
}

TEST(LogRotation, PlanKeepsFourGenerationsAndTheGaps) {
    const std::wstring b = L"T\\base";
    struct Case { std::set<std::wstring> present; std::vector<std::wstring> steps; };
    const Case cases[] = {
        {{L"T\\base.log", L"T\\base1.log", L"T\\base2.log", L"T\\base3.log", L"T\\base4.log"},
         {L"del T\\base4.log", L"T\\base3.log>T\\base4.log", L"T\\base2.log>T\\base3.log",
          L"T\\base1.log>T\\base2.log", L"T\\base.log>T\\base1.log"}},
        {{L"T\\base.log", L"T\\base2.log"},
         {L"T\\base2.log>T\\base3.log", L"T\\base.log>T\\base1.log"}},
        {{L"T\\base.log"}, {L"T\\base.log>T\\base1.log"}},
        {{L"T\\base.log", L"T\\base4.log"}, {L"del T\\base4.log", L"T\\base.log>T\\base1.log"}},
    };
    for (const auto& c : cases) {
        auto exists = [&](const std::wstring& p) { return c.present.count(p) > 0; };
        EXPECT_EQ(Describe(PlanRotation(b, exists)), c.steps);
    }
}

}  // namespace
}  // namespace kestrune::logfmt
