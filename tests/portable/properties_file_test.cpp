#include "foundation/properties_file.h"

#include <gtest/gtest.h>

#include <map>

#include "foundation/wprops.h"
#include "log_capture.h"
#include "temp_file.h"

namespace kestrune {
namespace {

using Values = std::map<std::wstring, std::wstring>;

class PropertiesFile : public ::testing::Test {
protected:
    void TearDown() override { WProps::Release(); }

    bool Load(const std::string& bytes) {
        test::TempFile file(bytes);
        return WProps::Instance().LoadFile(file.path());
    }
    Values Stored() {
        Values v;
        for (const auto& p : WProps::Instance().Snapshot()) v[p.name] = p.value;
        return v;
    }
    test::LogCapture log;
};

TEST_F(PropertiesFile, EveryLineOfTheGrammarExample) {
    ASSERT_TRUE(Load("flag = 01\n"
                     "count = -7\n"
                     "version = 1.2.3\n"
                     "date = 2018/03/26\n"
                     "size = 3rd\n"
                     "name = \"Example Series\"\n"
                     "quote = \"say \"\"hi\"\"\"\n"
                     "open = \"abc\n"
                     "file = UserGuide.pdf\n"
                     "a = \"x\"\n"
                     "b = A \"y\"\n"
                     "c = D \"z\"\n"
                     "d = \"x\" \"y\"\n"
                     "e = \"x\" A\n"
                     "f = A + \"y\"\n"
                     "empty =\n"
                     "  # comment = 1\n"));
    const Values expected = {
        {L"FLAG", L"1"},      {L"COUNT", L"-7"},
        {L"VERSION", L"1"},   {L"DATE", L"2018"},
        {L"SIZE", L"3"},      {L"NAME", L"Example Series"},
        {L"QUOTE", L"say \"hi\""},
        {L"OPEN", L"abc"},    {L"A", L"x"},
        {L"B", L"xy"},        {L"C", L"z"},
        {L"D", L"x"},         {L"E", L"xx"},
        {L"F", L"x"},         {L"# COMMENT", L"1"},
    };
    EXPECT_EQ(Stored(), expected);
    EXPECT_TRUE(log.Contains(
        L"ERROR: Invalid Parameter in WProps::SetProperty file: Property value is empty"));
    EXPECT_TRUE(log.Contains(
        L"ERROR: Invalid Parameter in WProps::SetProperty empty: Property value is empty"));
}

TEST_F(PropertiesFile, ShippedExampleWithCrLfAndSections) {
    ASSERT_TRUE(Load("# printer family\r\n"
                     "[Section]\r\n"
                     "PRINTER_SERIES_NAME = \"Example Series\"\r\n"
                     "FW_SHOW_USER_GUIDE = 1\r\n"
                     "\tHELP_FILE\t=\t\"UserGuide.pdf\"\t\r\n"
                     "WINDOW_TITLE = PRINTER_SERIES_NAME \" Setup\"\r\n"
                     "URL = \"http://example.com/a=b\"\r\n"
                     " = \"no key\"\r\n"
                     "no equals sign\r\n"
                     "url = \"http://example.com/\"\r\n"));
    const auto records = WProps::Instance().Snapshot();
    std::vector<std::wstring> order;
    for (const auto& p : records) order.push_back(p.name + L"=" + p.value);
    EXPECT_EQ(order, (std::vector<std::wstring>{
                         L"PRINTER_SERIES_NAME=Example Series", L"FW_SHOW_USER_GUIDE=1",
                         L"HELP_FILE=UserGuide.pdf", L"WINDOW_TITLE=Example Series Setup",
                         L"URL=http://example.com/"}));
    EXPECT_TRUE(log.Contains(L"Overwriting a property url"));
}

TEST_F(PropertiesFile, IntegersBeyondThirtyTwoBitsAreKeptAsWrittenNotWrapped) {
    ASSERT_TRUE(Load("max = 2147483647\n"
                     "min = -2147483648\n"
                     "over = 2147483648\n"
                     "under = -2147483649\n"
                     "huge = +000099999999999999999999 pages\n"
                     "zero = -0\n"));
    const Values expected = {
        {L"MAX", L"2147483647"}, {L"MIN", L"-2147483648"},
        {L"OVER", L"2147483648"}, {L"UNDER", L"-2147483649"},
        {L"HUGE", L"99999999999999999999"}, {L"ZERO", L"0"},
    };
    EXPECT_EQ(Stored(), expected);
    EXPECT_TRUE(log.Contains(
        L"Property over: the number 2147483648 lies outside the 32-bit range; kept as text."));
}

TEST_F(PropertiesFile, LongLinesAreReadInPiecesOf1023) {
    // 1,500 characters: the second piece is a line of its own and sets a property only with "=".
    std::string line = "LONG = \"" + std::string(1015, 'a');  // 1,023 characters
    line += "TAIL = \"b" + std::string(466, 'c') + "\"\n";
    ASSERT_EQ(line.size(), 1500u);
    ASSERT_TRUE(Load(line + "NEXT = 2\n"));
    const Values v = Stored();
    EXPECT_EQ(v.at(L"LONG"), std::wstring(1015, L'a'));
    EXPECT_EQ(v.at(L"TAIL"), L"b" + std::wstring(466, L'c'));
    EXPECT_EQ(v.at(L"NEXT"), L"2");

    std::string noEquals = "X" + std::string(1022, 'y') + "z = 5\n";
    ASSERT_TRUE(Load(noEquals));
    EXPECT_EQ(Stored(), (Values{{L"Z", L"5"}}));
}

TEST_F(PropertiesFile, EncodingsAndBinaryFollowTheByteRules) {
    // UTF-16: every line ends at its first zero byte, so nothing is set.
    const std::string utf16("\xff\xfeK\0E\0Y\0=\0\"\0v\0\"\0\r\0\n\0", 20);
    EXPECT_TRUE(Load(utf16));
    EXPECT_TRUE(Stored().empty());

    // A UTF-8 mark stays three characters at the start of the first key.
    EXPECT_TRUE(Load("\xef\xbb\xbfKEY = \"v\"\nOTHER = \"\xc3\xa9\"\n"));
    EXPECT_EQ(Stored(), (Values{{L"\x00ef\x00bb\x00bfKEY", L"v"}, {L"OTHER", L"\x00c3\x00a9"}}));

    EXPECT_TRUE(Load(""));
    EXPECT_TRUE(Stored().empty());

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    EXPECT_TRUE(Load(binary));
}

TEST_F(PropertiesFile, ManyLinesAndAMegabyteLine) {
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "K" + std::to_string(i % 50) + " = " + std::to_string(i) + "\n";
    ASSERT_TRUE(Load(many));
    EXPECT_EQ(Stored().size(), 50u);
    EXPECT_EQ(Stored().at(L"K49"), L"99999");

    std::string mega = "BIG = \"" + std::string(1 << 20, 'q') + "\"\nAFTER = 1\n";
    ASSERT_TRUE(Load(mega));
    EXPECT_EQ(Stored().at(L"BIG").size(), 1023u - 7u);
    EXPECT_EQ(Stored().at(L"AFTER"), L"1");
}

TEST_F(PropertiesFile, ALoadStartsFromAnEmptyStore) {
    ASSERT_TRUE(Load("ONE = 1\n"));
    ASSERT_TRUE(Load("TWO = ONE\n"));  // ONE is gone before this line is read
    EXPECT_EQ(Stored(), Values{});
}

TEST(IniGrammar, ExpressionRules) {
    auto lookup = [](const std::wstring& name) -> std::wstring {
        if (name == L"A") return L"x";
        if (name == L"\x00e9t\x00e9") return L"summer";
        return L"";
    };
    struct Case { const wchar_t* value; const wchar_t* result; };
    const Case cases[] = {
        {L"\"\"", L""},
        {L"\"a\"\"\"", L"a\""},
        {L"A\t\"y\"", L""},          // a tab does not end a name
        {L"A  \"y\"", L"x"},         // the second blank is skipped, the quote is passed over
        {L"123 A", L"x"},            // non-letters before a name are skipped
        {L"\x00e9t\x00e9", L"summer"},
        {L"A\"q\"", L""},
        {L"\"unterminated\"\"", L"unterminated\""},
    };
    for (const auto& c : cases) EXPECT_EQ(EvaluateExpression(c.value, lookup), c.result) << c.value;
}

}  // namespace
}  // namespace kestrune
