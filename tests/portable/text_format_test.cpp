#include "foundation/text_format.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(FormatText, PrintfConversionsTheLogUses) {
    EXPECT_EQ(FormatText(100, L"[%2d-%2d-%4d %2d:%02d:%02d:%03d]", 3, 5, 2018, 9, 5, 7, 42),
              L"[ 3- 5-2018  9:05:07:042]");
    EXPECT_EQ(FormatText(100, L"%s(%X): ", L"VAV", 0x1a2cu), L"VAV(1A2C): ");
    EXPECT_EQ(FormatText(100, L"gle=%d, %#x", -2146762495, 0x800B0101u),
              L"gle=-2146762495, 0x800b0101");
    EXPECT_EQ(FormatText(100, L"%#x|%#x", 0u, 2u), L"0|0x2");
    EXPECT_EQ(FormatText(100, L"%-5s|%5s|%.2s", L"ab", L"cd", L"xyz"), L"ab   |   cd|xy");
    EXPECT_EQ(FormatText(100, L"%ls and %hs", L"wide", "narrow"), L"wide and narrow");
    EXPECT_EQ(FormatText(100, L"100%% %c", static_cast<int>(L'$')), L"100% $");
    EXPECT_EQ(FormatText(100, L"%u %d", -1, 4294967295u), L"4294967295 -1");
    EXPECT_EQ(FormatText(100, L"%lld %llx", -5LL, 0xFFFFFFFFFFULL), L"-5 ffffffffff");
}

// Texts from outside (translations, file names) may carry any conversions; a conversion that has
// no argument, or an argument of another kind, must render harmlessly.
TEST(FormatText, HostileFormatsNeverReadPastTheArguments) {
    EXPECT_EQ(FormatText(100, L"%s %s %d %n%x", L"only"), L"only  0 0");
    EXPECT_EQ(FormatText(100, L"%d and %s", L"text", 5), L"0 and ");
    EXPECT_EQ(FormatText(100, L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(FormatText(100, L"%999999999d|", 1).size(), 100u);
    EXPECT_EQ(FormatText(100, L"trailing %"), L"trailing %");
    EXPECT_EQ(FormatText(100, L"%q %y"), L"%q %y");
    EXPECT_EQ(FormatText(100, L"%*d|%.*s", 4, 7, 1, L"ab"), L"   7|a");
}

TEST(FormatText, OutputIsCutAtTheLimit) {
    std::wstring out;
    const std::wstring text(50, L'x');
    const FmtArg args[] = {FmtArg(text)};
    EXPECT_FALSE(AppendFormatted(out, 10, L"ab%scd", args, 1));
    EXPECT_EQ(out, L"abxxxxxxxx");
    out.clear();
    EXPECT_TRUE(AppendFormatted(out, 10, L"abc", args, 0));
    EXPECT_EQ(out, L"abc");
}

}  // namespace
}  // namespace kestrune
