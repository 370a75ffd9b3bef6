#include "foundation/language_table.h"

#include <gtest/gtest.h>

#include <set>

#include "log_capture.h"

namespace kestrune {
namespace {

std::wstring FolderFor(std::uint16_t id) {
    std::wstring folder;
    GetLangDir(id, folder);
    return folder;
}

TEST(LanguageTable, WholeIdThenPrimaryLanguageThenEnglish) {
    struct Case { std::uint16_t id; const wchar_t* folder; };
    const Case cases[] = {
        {0x0C04, L"Traditional_Chinese"},  // Hong Kong: by its primary language
        {0x0404, L"Traditional_Chinese"},
        {0x0804, L"Simplified_Chinese"},   // the whole id comes first
        {0x081A, L"Srpski"},
        {0x041A, L"Hrvatski"},
        {0x101A, L"Hrvatski"},
        {0x141A, L"Srpski"},
        {0x0439, L"English"},              // Hindi is not in the table
        {0x0409, L"English"},
        {0x0407, L"Deutsch"},
        {0x0C07, L"Deutsch"},
        {0x040C, L"Francais"},
        {0x0816, L"Portugues"},
        {0x0000, L"English"},
        {0xFFFF, L"English"},
        // The primary language is taken as the low nine bits, not ten.
        {0x0213, L"Nederlands"},
        {0x0413, L"Nederlands"},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderFor(c.id), c.folder) << std::hex << c.id;
}

TEST(LanguageTable, EveryRowIsFoundByItsOwnId) {
    std::size_t rows = 0;
    const LanguageRow* table = LanguageTable(rows);
    ASSERT_EQ(rows, 39u);
    EXPECT_EQ(table[0].id, kFallbackLanguage);
    std::set<std::uint16_t> ids;
    for (std::size_t i = 0; i < rows; ++i) {
        EXPECT_TRUE(ids.insert(table[i].id).second) << "duplicate id " << table[i].id;
        EXPECT_EQ(FolderFor(table[i].id), table[i].folder);
        // A sublanguage of a primary-language row finds the same folder, unless a row of its own
        // exists for it.
        if (table[i].id < 0x200 && table[i].id != 0x0004 && table[i].id != 0x001A) {
            EXPECT_EQ(FolderFor(static_cast<std::uint16_t>(0x0400 | table[i].id)), table[i].folder);
        }
    }
}

TEST(LanguageTable, LogsTheIdAndTheFolder) {
    test::LogCapture log;
    FolderFor(0x0407);
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{L"GetLangDir(0x407)", L"GetLangDir - Deutsch"}));
}

}  // namespace
}  // namespace kestrune
