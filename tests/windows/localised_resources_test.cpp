#include "foundation/localised_resources.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/diag_log.h"
#include "foundation/language_table.h"
#include "portable/log_capture.h"
#include "test_folder.h"
#include "test_paths.h"

namespace kestrune {
namespace {

class LocalisedResources : public ::testing::Test {
protected:
    void TearDown() override {
        Strings::Release();
        Bitmaps::Release();
        DiagLog::Release();
    }
    test::LogCapture log;
    test::TestFolder folder;
};

TEST_F(LocalisedResources, StringsComeFromTheLanguageLibrary) {
    Strings::Instance().SetPath(test::DiscFolder() + L"\\lang\\English\\Strings.dll");
    EXPECT_EQ(Strings::Instance().GetString(203), L"Install Printer Software");
    std::wstring text;
    EXPECT_TRUE(Strings::Instance().GetString(402, text));
    EXPECT_NE(text.find(L"%s"), std::wstring::npos);
    EXPECT_EQ(log.Count(L"Strings(): stringsDllPath: " + test::DiscFolder() +
                        L"\\lang\\English\\Strings.dll"),
              1);

    // An id the library lacks: the error entry and an empty text.
    text = L"stale";
    EXPECT_FALSE(Strings::Instance().GetString(999, text));
    EXPECT_EQ(text, L"");
    ASSERT_FALSE(log.Messages().empty());
    EXPECT_NE(log.Messages().back().find(L"Context: LoadString failed"), std::wstring::npos);

    Strings::Instance().SetPath(test::DiscFolder() + L"\\lang\\Deutsch\\Strings.dll");
    EXPECT_EQ(Strings::Instance().GetString(203), L"Install Printer Software");  // already open
}

TEST_F(LocalisedResources, WithoutAPathTheProgramsOwnResourcesHaveNoTexts) {
    EXPECT_EQ(Strings::Instance().GetString(203), L"");
    EXPECT_TRUE(log.Contains(L"No strings dll path, using internal resources"));
}

TEST_F(LocalisedResources, UnusableLibrariesGiveEmptyTextsAndRetry) {
    test::WriteBytes(folder / L"truncated.dll",
                     test::ReadBytes(test::DiscFolder() + L"\\lang\\English\\Strings.dll").substr(0, 300));
    test::WriteBytes(folder / L"text.dll", "this is not a library at all");
    for (const std::wstring name : {L"missing.dll", L"truncated.dll", L"text.dll"}) {
        Strings::Release();
        log.Clear();
        Strings::Instance().SetPath(folder / name);
        EXPECT_EQ(Strings::Instance().GetString(203), L"");
        EXPECT_EQ(Strings::Instance().GetString(201), L"");
        // Windows refuses to open such a file; Wine opens some of them as plain data, and then
        // every read fails instead. Either way each read reports its failure.
        int openFailures = 0, readFailures = 0;
        for (const auto& m : log.Messages()) {
            if (m.find(L"Context: LoadLibraryEx strings dll  m_sHmod == NULL") != std::wstring::npos)
                ++openFailures;
            if (m.find(L"Context: LoadString failed") != std::wstring::npos) ++readFailures;
        }
        EXPECT_TRUE(openFailures == 2 || (openFailures == 0 && readFailures == 2))
            << "opening failures " << openFailures << ", read failures " << readFailures;
    }

    Bitmaps::Release();
    EXPECT_FALSE(Bitmaps::Instance().Load(folder / L"missing.dll"));
    EXPECT_EQ(Bitmaps::Instance().GetBitmap(1031), nullptr);
    std::wstring welcome = L"unchanged";
    EXPECT_FALSE(Bitmaps::Instance().GetString(900, welcome));
    EXPECT_EQ(welcome, L"unchanged");
}

TEST_F(LocalisedResources, PicturesAndTheWelcomeText) {
    ASSERT_TRUE(Bitmaps::Instance().Load(test::DiscFolder() + L"\\Bitmaps.dll"));
    for (std::uint16_t id : {1009, 1014, 1030, 1031}) {
        HBITMAP bitmap = Bitmaps::Instance().GetBitmap(id);
        EXPECT_NE(bitmap, nullptr) << id;
        DeleteObject(bitmap);
    }
    log.Clear();
    EXPECT_EQ(Bitmaps::Instance().GetBitmap(1234), nullptr);
    EXPECT_TRUE(log.Messages().empty());
    std::wstring welcome;
    EXPECT_TRUE(Bitmaps::Instance().GetString(900, welcome));
    EXPECT_EQ(welcome.rfind(L"Welcome to the Kestrune", 0), 0u);
}

TEST_F(LocalisedResources, ALongTextIsCutTo4999Characters) {
    Strings::Instance().SetPath(test::LongStringsDll());
    EXPECT_EQ(Strings::Instance().GetString(700), std::wstring(4999, L'x'));
    EXPECT_EQ(Strings::Instance().GetString(701), L"short");
}

TEST_F(LocalisedResources, ThreadsRetryingAFailedOpeningKeepOneLibrary) {
    const std::wstring path = folder / L"Strings.dll";
    Strings::Instance().SetPath(path);
    EXPECT_EQ(Strings::Instance().GetString(203), L"");
    ASSERT_TRUE(CopyFileW((test::DiscFolder() + L"\\lang\\English\\Strings.dll").c_str(),
                          path.c_str(), FALSE));
    log.Clear();
    std::vector<std::thread> readers;
    std::vector<std::wstring> texts(8);
    for (std::size_t i = 0; i < texts.size(); ++i)
        readers.emplace_back([&texts, i] { texts[i] = Strings::Instance().GetString(203); });
    for (auto& r : readers) r.join();
    for (const auto& t : texts) EXPECT_EQ(t, L"Install Printer Software");
    EXPECT_EQ(log.Count(L"Strings(): stringsDllPath: " + path), 1);
    // Released, the one library is closed: nothing holds the file any more.
    Strings::Release();
    EXPECT_TRUE(DeleteFileW(path.c_str())) << GetLastError();
}

TEST_F(LocalisedResources, LanguageFolderWithEnglishFallback) {
    const std::wstring lang = folder / L"lang";
    CreateDirectoryW(lang.c_str(), nullptr);
    CreateDirectoryW((lang + L"\\English").c_str(), nullptr);
    std::wstring chosen;

    EXPECT_TRUE(ResolveLanguageFolderFor(lang, 0x0407, chosen));  // no Deutsch: English
    EXPECT_EQ(chosen, lang + L"\\English");
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{L"GetLangDir(0x407)", L"GetLangDir - Deutsch",
                                                          L"GetLangDir(0x9)", L"GetLangDir - English"}));

    CreateDirectoryW((lang + L"\\Deutsch").c_str(), nullptr);
    EXPECT_TRUE(ResolveLanguageFolderFor(lang, 0x0407, chosen));
    EXPECT_EQ(chosen, lang + L"\\Deutsch");

    RemoveDirectoryW((lang + L"\\English").c_str());
    log.Clear();
    EXPECT_FALSE(ResolveLanguageFolderFor(lang, 0x0409, chosen));  // looked up twice
    EXPECT_EQ(chosen, lang + L"\\English");
    EXPECT_EQ(log.Count(L"GetLangDir - English"), 2);
    EXPECT_FALSE(ResolveLanguageFolderFor(lang, 0x0009, chosen));
}

}  // namespace
}  // namespace kestrune
