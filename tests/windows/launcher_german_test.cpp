// Run with a German user interface language (LC_ALL=de_DE.UTF-8 under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include "launcher_driver.h"

namespace kestrune::test {
namespace {

TEST(GermanLauncher, FindsTheGermanFolderOrFallsBackToEnglish) {
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN);
    for (bool withGerman : {true, false}) {
        ClearLogs();
        TestDisc disc;
        disc.WriteProperties("PRINTER_SERIES_NAME = \"Kestrune LX-200 Series\"\r\n");
        if (!withGerman) disc.Remove(L"lang\\Deutsch");
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Control(window, 1002).text,
                  withGerman ? L"Druckersoftware installieren" : L"Install Printer Software");
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.WaitForExit(), 0);
        const std::string log = ReadLog();
        EXPECT_NE(log.find(withGerman ? "lang\\Deutsch\\Strings.dll" : "lang\\English\\Strings.dll"),
                  std::string::npos);
        const bool fellBack = log.find("GetLangDir(0x9)") != std::string::npos;
        EXPECT_EQ(fellBack, !withGerman);
    }
}

}  // namespace
}  // namespace kestrune::test
