#include "foundation/platform_facts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_file.h"

namespace kestrune {
namespace {

TEST(PathJoin, InsertsAtMostOneBackslash) {
    struct Case { const wchar_t* path; const wchar_t* tail; const wchar_t* joined; };
    const Case cases[] = {
        {L"D:\\", L"properties.ini", L"D:\\properties.ini"},
        {L"C:\\disc", L"lang", L"C:\\disc\\lang"},
        {L"", L"lang", L"lang"},
        {L"C:\\disc\\", L"\\lang", L"C:\\disc\\\\lang"},
        {L"C:\\disc", L"\\lang", L"C:\\disc\\lang"},
        {L"C:\\disc", L"", L"C:\\disc"},
        {L"C:\\disc/", L"x", L"C:\\disc/\\x"},
    };
    for (const auto& c : cases) {
        std::wstring path = c.path;
        PathJoin(path, c.tail);
        EXPECT_EQ(path, c.joined) << c.path << L" + " << c.tail;
    }
}

TEST(FileTests, FilesAndFolders) {
    test::TempFile file("x");
    const std::wstring folder = std::filesystem::temp_directory_path().wstring();
    const std::wstring missing = file.path() + L".missing";

    EXPECT_TRUE(FileExists(file.path()));
    EXPECT_TRUE(FileExists(folder));  // a folder of that name counts as present
    EXPECT_FALSE(FileExists(missing));

    EXPECT_FALSE(DirectoryExists(file.path()));
    EXPECT_FALSE(DirectoryExists(missing));
    const std::wstring trimmed = std::filesystem::temp_directory_path().parent_path().wstring();
    EXPECT_TRUE(DirectoryExists(trimmed));
}

}  // namespace
}  // namespace kestrune
