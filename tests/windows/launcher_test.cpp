// The real Kestrune.exe on copies of the sample disc: its window, its commands, its failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <vector>

#include "launcher_driver.h"
#include "update_fixtures.h"

namespace kestrune::test {
namespace {

constexpr int kInstall = 1002, kWelcome = 1003, kUserGuide = 3, kVendor = 10, kExit = 9;

int Count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(static_cast<char>(c));
    return s;
}

const char kBaseProperties[] = "PRINTER_SERIES_NAME = \"Kestrune LX-200 Series\"\r\n";

class Launcher : public ::testing::Test {
protected:
    void SetUp() override { ClearLogs(); }
};

TEST_F(Launcher, WindowTitleTextsAndPictures) {
    TestDisc disc;
    disc.WriteProperties(std::string(kBaseProperties) + "WINDOW_TITLE = \"B\"\r\n"
                         "FW_SHOW_USER_GUIDE = 1\r\nFW_SHOW_VENDOR_URL = 1\r\n");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"Kestrune LX-200 Series");
    const ControlState install = Control(window, kInstall);
    EXPECT_TRUE(install.visible && install.enabled);
    EXPECT_EQ(install.text, L"Install Printer Software");
    EXPECT_EQ(Control(window, kWelcome).text.rfind(L"Welcome to the Kestrune LX-200 Series!", 0), 0u);
    EXPECT_EQ(Control(window, kUserGuide).text, L"User Guide");
    EXPECT_EQ(Control(window, kVendor).text, L"Vendor Website");
    EXPECT_EQ(Control(window, kExit).text, L"Exit");
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);

    const std::string log = ReadLog();
    for (const char* line : {"------------------- ZE Zaruvize ----------------------------",
                             "Bitmaps(): bitmapsDllPath: ", "CKestruneDlg::OnInitDialog()",
                             "showVendorUrl '1'", "showUserGuide '1'",
                             "MCDialog::OnInitDialog() m_positionOnBottom=0, m_topmost=0, m_followPosition=0",
                             " -[ MCDialog::OnCancel() ]-"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_EQ(Count(log, "InitProperties - retrieve props from file '"), 2);
}

TEST_F(Launcher, OfferFlagsAndTheGuideFileDecideTheButtons) {
    struct Case {
        const char* properties;
        bool removeGuide;
        ControlState guide, vendor;
    };
    const ControlState hidden{true, false, false, L""};
    // A guide button that is not offered stays hidden; its enabled state still follows the file.
    const ControlState hiddenGuide{true, false, true, L""};
    const Case cases[] = {
        {"FW_SHOW_USER_GUIDE = 1\r\nFW_SHOW_VENDOR_URL = 1\r\n", false,
         {true, true, true, L"User Guide"}, {true, true, true, L"Vendor Website"}},
        {"FW_SHOW_USER_GUIDE = 1\r\n", true, {true, true, false, L"User Guide"}, hidden},
        {"FW_SHOW_USER_GUIDE = 0\r\nFW_SHOW_VENDOR_URL = \"yes\"\r\n", false, hiddenGuide, hidden},
        {"FW_SHOW_USER_GUIDE = \"01\"\r\n", false, hiddenGuide, hidden},
        {"", false, hiddenGuide, hidden},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.properties);
        TestDisc disc;
        disc.WriteProperties(std::string(kBaseProperties) + c.properties);
        if (c.removeGuide) disc.Remove(L"manuals\\English\\UserGuide.pdf");
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        for (auto [id, expected] : {std::pair{kUserGuide, c.guide}, std::pair{kVendor, c.vendor}}) {
            const ControlState state = Control(window, id);
            EXPECT_EQ(state.visible, expected.visible) << id;
            EXPECT_EQ(state.enabled, expected.enabled) << id;
            if (expected.visible) {
                EXPECT_EQ(state.text, expected.text) << id;
            }
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.WaitForExit(), 0);
    }
}

TEST_F(Launcher, ExitCloseBoxAndEscapeEachEndWithZero) {
    TestDisc disc;
    disc.WriteProperties(kBaseProperties);
    for (int way = 0; way < 3; ++way) {
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        if (way == 0) {
            Click(window, kExit);
        } else if (way == 1) {
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            // Escape typed on the focused Install button; the dialog manager turns it into Cancel.
            HWND focus = GetDlgItem(window, kInstall);
            PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        }
        EXPECT_EQ(launcher.WaitForExit(), 0) << "way " << way;
    }
}

TEST_F(Launcher, ConfigurationFailureShowsMessage211AndEndsWithOne) {
    struct Case {
        const char* properties;  // null: no properties.ini at all
        const wchar_t* caption;
        const char* logLine;
    };
    const Case cases[] = {
        {nullptr, L"", "Could not open ini file '"},
        {"WINDOW_TITLE = \"B\"\r\nMANUFACTURER = \"Kestrune\"\r\n", L"B",
         "ERROR: Property 'PRINTER_SERIES_NAME' does NOT exist."},
    };
    for (const auto& c : cases) {
        ClearLogs();
        TestDisc disc;
        if (c.properties) disc.WriteProperties(c.properties);
        else disc.Remove(L"properties.ini");
        LauncherProcess launcher(disc);
        HWND box = launcher.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), c.caption);
        EXPECT_NE(WindowText(GetDlgItem(box, 0xFFFF)).find(L"configuration file is missing"),
                  std::wstring::npos);
        EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);  // system-modal
        EXPECT_EQ(launcher.WaitForLauncher(500), nullptr);
        Click(box, IDOK);
        EXPECT_EQ(launcher.WaitForExit(), 1);

        const std::string log = ReadLog();
        EXPECT_EQ(Count(log, "------------------------------------------------------------"), 2);
        EXPECT_EQ(Count(log, "InitProperties - retrieve props from file '"), 2);
        EXPECT_EQ(Count(log, c.logLine), 2) << c.logLine;
        EXPECT_NE(log.find("-\\/\\/\\/- Properties -\\/\\/\\/-"), std::string::npos);
        EXPECT_EQ(log.find("CKestruneDlg::OnInitDialog()"), std::string::npos);
    }
}

TEST_F(Launcher, InstallRunsTheDiscInstallerAndGivesTheButtonBack) {
    TestDisc disc;
    disc.WriteProperties(kBaseProperties);
    LauncherProcess launcher(disc, {{L"KESTRUNE_SAMPLE_INSTALL_SECONDS", L"3"}});
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    ASSERT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install'", 10000));
    EXPECT_FALSE(Control(window, kInstall).enabled);
    EXPECT_TRUE(IsWindowEnabled(window));  // the window stays usable meanwhile
    EXPECT_TRUE(Control(window, kExit).enabled);
    for (int i = 0; i < 100 && !Control(window, kInstall).enabled; ++i) Sleep(100);
    EXPECT_TRUE(Control(window, kInstall).enabled);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, GetDlgItem(window, kInstall));
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_EQ(Count(ReadInstallerRecord(), "ran with"), 1);
    const std::string log = ReadLog();
    EXPECT_NE(log.find("__CheckIs64BitWindows?  YES"), std::string::npos);
}

TEST_F(Launcher, ExitWhileTheInstallerRunsLeavesItRunning) {
    TestDisc disc;
    disc.WriteProperties(kBaseProperties);
    LauncherProcess launcher(disc, {{L"KESTRUNE_SAMPLE_INSTALL_SECONDS", L"2"}});
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    ASSERT_TRUE(WaitForText(L"winstaller.log", "ran with 'install'", 10000));
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(5000), 0);
}

TEST_F(Launcher, AutoInstallOnlyForExactlyOne) {
    struct Case { const wchar_t* value; bool installs; };
    const Case cases[] = {{L"1", true}, {L"0", false}, {L"true", false}, {L" 1", false},
                          {L"11111111111111111111", false}};
    for (const auto& c : cases) {
        ClearLogs();
        TestDisc disc;
        disc.WriteProperties(kBaseProperties);
        LauncherProcess launcher(disc, {{L"MJ_AutoInstall", c.value}});
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install'",
                              c.installs ? 10000 : 2000),
                  c.installs)
            << Narrow(c.value);
        Click(window, kExit);
        EXPECT_EQ(launcher.WaitForExit(), 0);
    }
}

TEST_F(Launcher, WithoutAnInstallerOnlyTheShellErrorIsLogged) {
    TestDisc disc;
    disc.WriteProperties(kBaseProperties);
    disc.Remove(L"winstaller.exe");
    disc.Remove(L"winstaller64.exe");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    // The launcher says nothing itself; the shell may report the missing file in a box of its own.
    if (HWND shellBox = launcher.WaitForMessageBox(3000)) {
        std::wcout << L"the shell's box: " << WindowText(GetDlgItem(shellBox, 0xFFFF)) << L"\n";
        Click(shellBox, IDOK);
    }
    ASSERT_TRUE(WaitForText(L"RORadovi.log", "Context: ShellExecuteEx ", 10000));
    for (int i = 0; i < 50 && !Control(window, kInstall).enabled; ++i) Sleep(100);
    EXPECT_TRUE(Control(window, kInstall).enabled);
    EXPECT_EQ(launcher.WaitForMessageBox(500), nullptr);
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_NE(ReadLog().find("Context: ShellExecuteEx " + Narrow(disc / L"winstaller64.exe")),
              std::string::npos);
}

TEST_F(Launcher, MissingGuideShowsMessage403WithPercentAsDollar) {
    TestDisc disc(L"disc 100%");
    disc.WriteProperties(std::string(kBaseProperties) + "FW_SHOW_USER_GUIDE = 1\r\n");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Control(window, kUserGuide).enabled);
    disc.Remove(L"manuals\\English\\UserGuide.pdf");  // gone after start
    Click(window, kUserGuide);
    HWND box = launcher.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    std::wstring shown = disc / L"manuals\\English\\UserGuide.pdf";
    for (auto& ch : shown) if (ch == L'%') ch = L'$';
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"The user guide could not be found:\n" + shown);
    EXPECT_EQ(WindowText(box), L"Kestrune LX-200 Series");
    Click(box, IDOK);
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_NE(ReadLog().find("Open help file '" + Narrow(disc / L"manuals\\English\\UserGuide.pdf")),
              std::string::npos);
}

TEST_F(Launcher, AGuideWithoutAnApplicationShowsMessage402Unchanged) {
    // A file type that no application on any system claims.
    TestDisc disc(L"disc 100%");
    disc.WriteProperties(std::string(kBaseProperties) +
                         "FW_SHOW_USER_GUIDE = 1\r\nHELP_FILE = \"UserGuide.kestrune-guide\"\r\n");
    const std::wstring path = disc / L"manuals\\English\\UserGuide.kestrune-guide";
    WriteBytes(path, "guide");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kUserGuide);
    HWND box = launcher.WaitForMessageBox(5000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(WindowText(GetDlgItem(box, 0xFFFF)).find(L":\n" + path + L"\n"), std::wstring::npos);
    Click(box, IDOK);
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_NE(ReadLog().find("Open failed rv=31"), std::string::npos);
}

TEST_F(Launcher, VendorWebsiteOpensTheConfiguredAddress) {
    // The address is handed to the shell as it stands; a program stands in for the browser here.
    TestDisc disc;
    disc.WriteProperties(std::string(kBaseProperties) + "FW_SHOW_VENDOR_URL = 1\r\nWEBSITE_URL = \"" +
                         Narrow(disc / L"winstaller.exe") + "\"\r\n");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kVendor);
    EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller.exe ran with ''", 10000));
    EXPECT_EQ(launcher.WaitForMessageBox(500), nullptr);
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
}

TEST_F(Launcher, BadLibrariesAndHostilePropertiesLeaveAUsableWindow) {
    TestDisc disc;
    disc.WriteProperties(std::string(kBaseProperties) +
                         "FW_SHOW_USER_GUIDE = 1\r\nHELP_DIR = \"..\\..\\..\\windows\"\r\n"
                         "HELP_FILE = \"" + std::string(2000, 'h') + "\"\r\n");
    WriteBytes(disc / L"lang\\English\\Strings.dll", "MZ not really a library");
    disc.Remove(L"Bitmaps.dll");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    // No texts: the buttons are hidden, the window can still be closed.
    EXPECT_FALSE(Control(window, kInstall).visible);
    EXPECT_FALSE(Control(window, kExit).visible);
    EXPECT_FALSE(Control(window, kWelcome).visible);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Context: LoadLibraryEx bitmaps dll  m_sHmod == NULL"), std::string::npos);
    EXPECT_NE(log.find("Strings(): stringsDllPath: "), std::string::npos);
}

std::string UpdateProperties(const std::wstring& manifestUrl) {
    return std::string(kBaseProperties) + "MANUFACTURER = \"Kestrune\"\r\nSOFTWARE_UPDATE_URL = \"" +
           Narrow(manifestUrl) + "\"\r\n";
}

std::wstring ServeUpdate(const wchar_t* packageFixture) {
    return ServeManifestFor(Serve(L"package.exe", ReadBytes(PkiFolder() + L"\\" + packageFixture)));
}

TEST_F(Launcher, AnAcceptedUpdateStartsThePackageInsteadOfTheDiscInstaller) {
    TestDisc disc;
    disc.WriteProperties(UpdateProperties(ServeUpdate(L"signed.exe")));
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    EXPECT_NE(Answer(launcher, IDYES).find(L"newer version"), std::wstring::npos);
    EXPECT_EQ(launcher.WaitForExit(30000), 0);
    ASSERT_TRUE(WaitForText(L"winstaller.log", "MJ_AutoInstall=1", 10000));
    const std::string record = ReadInstallerRecord();
    EXPECT_NE(record.find("UPD"), std::string::npos) << record;
    EXPECT_EQ(record.find("winstaller"), std::string::npos) << record;  // the disc installer did not run
    const std::string log = ReadLog();
    std::size_t at = 0;
    for (const char* line : {"Checking ", "    Manufacturer is Kestrune", "Matching update found - ",
                             "User agreed to software update.", "verifyDownloadedFile(", "CN is Kestrune Test Publisher.",
                             "CN is Kestrune Test Publisher.", "running update: \""}) {
        at = log.find(line, at);
        EXPECT_NE(at, std::string::npos) << line;
        if (at == std::string::npos) break;
        ++at;
    }
}

TEST_F(Launcher, DecliningOrARejectedPackageInstallsFromTheDisc) {
    struct Case { const wchar_t* fixture; int answer; const char* line; };
    const Case cases[] = {{L"signed.exe", IDNO, "User declined software update."},
                          {L"other.exe", IDYES, "CN is Other Test Publisher."},
                          {L"unsigned.exe", IDYES, "Context: WinVerifyTrust"}};
    for (const auto& c : cases) {
        ClearLogs();
        TestDisc disc;
        disc.WriteProperties(UpdateProperties(ServeUpdate(c.fixture)));
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        Click(window, kInstall);
        Answer(launcher, c.answer);
        EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install' MJ_AutoInstall=(unset)", 20000))
            << Narrow(c.fixture);
        EXPECT_EQ(launcher.WaitForMessageBox(500), nullptr);  // no box from the update
        Click(window, kExit);
        EXPECT_EQ(launcher.WaitForExit(), 0);
        EXPECT_NE(ReadLog().find(c.line), std::string::npos) << c.line;
    }
}

TEST_F(Launcher, AFailedDownloadAsksToRetryWithANewFile) {
    // The manifest names a package the server does not have: 404 on every attempt.
    TestDisc disc;
    const std::wstring manifest = Serve(
        L"launcher-manifest-404.xml",
        "<?xml version=\"1.0\"?><U><Manufacturer Name=\"Kestrune\"><Update Model=\"*\" Platform=\"*\" "
        "OldVersion=\"*\">" + Narrow(ServerUrl()) + "/files/no-such-package.exe</Update></Manufacturer></U>");
    disc.WriteProperties(UpdateProperties(manifest));
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    EXPECT_NE(Answer(launcher, IDYES).find(L"newer version"), std::wstring::npos);   // 801
    EXPECT_NE(Answer(launcher, IDYES).find(L"try again"), std::wstring::npos);       // 804: Yes
    EXPECT_NE(Answer(launcher, IDNO).find(L"try again"), std::wstring::npos);        // 804: No
    EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install'", 20000));
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    const std::string log = ReadLog();
    EXPECT_EQ(Count(log, "User agreed to software update."), 2);
    EXPECT_EQ(Count(log, "HttpQueryInfo status from "), 2);
    EXPECT_EQ(Count(log, "User chose not to retry download."), 1);
    EXPECT_EQ(Count(log, "CProgressDlg::OnInitDialog()"), 0);
}

TEST_F(Launcher, ABlankInTheTemporaryFolderCannotStartADecoy) {
    // C:\...\Ann Lee\Temp\UPD1234.tmp unquoted would first be tried as C:\...\Ann.exe.
    TestFolder root;
    const std::wstring temp = root / L"Ann Lee\\Temp";
    std::filesystem::create_directories(temp);
    ASSERT_TRUE(CopyFileW((DiscFolder() + L"\\winstaller.exe").c_str(), (root / L"Ann.exe").c_str(), FALSE));
    TestDisc disc;
    disc.WriteProperties(UpdateProperties(ServeUpdate(L"signed.exe")));
    LauncherProcess launcher(disc, {{L"TMP", temp}, {L"TEMP", temp}});
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    Answer(launcher, IDYES);
    EXPECT_EQ(launcher.WaitForExit(30000), 0);
    ASSERT_TRUE(WaitForText(L"winstaller.log", "MJ_AutoInstall=1", 10000));
    const std::string record = ReadInstallerRecord();
    EXPECT_EQ(record.find("Ann.exe"), std::string::npos) << record;
    EXPECT_NE(record.find("UPD"), std::string::npos) << record;
    EXPECT_NE(ReadLog().find("running update: \"" + Narrow(temp)), std::string::npos);
}

TEST_F(Launcher, AVerifiedPackageThatCannotStartOffersTheDisc) {
    for (int answer : {IDOK, IDCANCEL}) {
        ClearLogs();
        TestDisc disc;
        disc.WriteProperties(UpdateProperties(ServeUpdate(L"signed-library.dll")));
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        Click(window, kInstall);
        Answer(launcher, IDYES);
        HWND box = launcher.WaitForMessageBox(20000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), L"Printer Software Update");
        EXPECT_NE(WindowText(GetDlgItem(box, 0xFFFF)).find(L"could not be started"), std::wstring::npos)
            << WindowText(GetDlgItem(box, 0xFFFF));
        Click(box, answer);
        if (answer == IDOK) {
            EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install'", 20000));
        } else {
            for (int i = 0; i < 50 && !Control(window, kInstall).enabled; ++i) Sleep(100);
            EXPECT_TRUE(Control(window, kInstall).enabled);
            Sleep(1000);
            EXPECT_EQ(ReadInstallerRecord().find("winstaller64.exe"), std::string::npos);
        }
        Click(window, kExit);
        EXPECT_EQ(launcher.WaitForExit(), 0);
        EXPECT_NE(ReadLog().find("Context: CreateProcess \""), std::string::npos);
    }
}

TEST_F(Launcher, CancelDuringTheTransferAsksFirstAndAnswersAStalledServer) {
    // 256 KiB a second for a 4 MiB package that stalls after its first 1.5 MiB: the first block
    // is complete about 4 s into the transfer.
    TestDisc disc;
    disc.WriteProperties(UpdateProperties(ServeManifestFor(
        Serve(L"slow.exe", std::string(4 * 1048576, 's')) + L"?rate=262144&stall_after=1572864")));
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    Answer(launcher, IDYES);
    HWND progress = launcher.WaitForProgressDialog();
    ASSERT_NE(progress, nullptr);
    Click(progress, IDCANCEL);
    EXPECT_NE(Answer(launcher, IDNO).find(L"cancel the download"), std::wstring::npos);  // 805: No
    // The transfer goes on: the first block arrives and is counted after the answer.
    EXPECT_EQ(ReadLog().find("update...    25%"), std::string::npos);
    EXPECT_TRUE(WaitForText(L"RORadovi.log", "update...    25%", 15000));
    EXPECT_TRUE(IsWindow(progress));
    Sleep(1000);  // now the server holds back the rest
    Click(progress, IDCANCEL);
    HWND question = launcher.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    const auto confirmed = std::chrono::steady_clock::now();
    Click(question, IDYES);
    HWND notice = nullptr;
    for (int i = 0; i < 100 && !notice; ++i) {
        HWND box = launcher.WaitForMessageBox(100);
        if (box && box != question && IsWindow(box)) notice = box;
    }
    const auto answered = std::chrono::steady_clock::now();
    ASSERT_NE(notice, nullptr) << "no notice after the cancel";
    std::cout << "stalled transfer: notice 806 " << std::chrono::duration<double>(answered - confirmed).count()
              << " s after the confirmed cancel\n";
    EXPECT_NE(Answer(launcher, IDOK).find(L"was canceled"), std::wstring::npos);  // 806
    EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install' MJ_AutoInstall=(unset)", 20000));
    const std::string log = ReadLog();
    EXPECT_EQ(Count(log, " -[ MCDialog::OnCancel() ]-"), 2);  // the progress dialog's Cancel, twice
    Click(window, kExit);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_NE(log.find("Context: getSoftwareUpdate canceled"), std::string::npos);
    EXPECT_EQ(log.find("verifyDownloadedFile("), std::string::npos);
}

TEST_F(Launcher, PackagesThatCannotBeFetchedOrTrustedEndAtTheDisc) {
    const std::wstring signedPackage = Serve(L"package.exe", ReadBytes(PkiFolder() + L"\\signed.exe"));
    const std::wstring unsignedPackage = Serve(L"unsigned.exe", ReadBytes(PkiFolder() + L"\\unsigned.exe"));
    const std::wstring loop = ServerUrl() + L"/files/loop.exe?redirect=self";
    struct Case {
        std::wstring packageUrl;
        std::vector<int> answers;  // 801, then 804 when the download failed
        const char* line;
    };
    const Case cases[] = {
        {signedPackage + L"?length=none", {IDYES, IDNO}, "Context: HttpQueryInfo content length from "},
        {signedPackage + L"?length=0", {IDYES, IDNO}, "?length=0 is 0"},
        {loop, {IDYES, IDNO}, "User chose not to retry download."},
        // A body longer than announced, or one the server cuts short, is downloaded and then
        // judged by its signature: nothing untrusted starts.
        {unsignedPackage + L"?length=1000", {IDYES}, "Context: WinVerifyTrust"},
        {signedPackage + L"?close_after=5000", {IDYES}, "Context: WinVerifyTrust"},
        {L"file:///C:/windows/notepad.exe", {}, "Software update does not support the specified schema)"},
        {L"ftp://127.0.0.1/package.exe", {}, "Software update does not support the specified schema)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.packageUrl));
        ClearLogs();
        TestDisc disc;
        disc.WriteProperties(UpdateProperties(ServeManifestFor(c.packageUrl)));
        LauncherProcess launcher(disc);
        HWND window = launcher.WaitForLauncher();
        ASSERT_NE(window, nullptr);
        Click(window, kInstall);
        for (int answer : c.answers) EXPECT_NE(Answer(launcher, answer), L"(no message box)");
        EXPECT_TRUE(WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install' MJ_AutoInstall=(unset)", 20000));
        EXPECT_EQ(launcher.WaitForMessageBox(500), nullptr);
        Click(window, kExit);
        EXPECT_EQ(launcher.WaitForExit(), 0);
        const std::string log = ReadLog();
        EXPECT_NE(log.find(c.line), std::string::npos) << c.line << "\n" << log;
        EXPECT_EQ(log.find("running update"), std::string::npos);
    }
}

TEST_F(Launcher, TheWindowAnswersWhileTheManifestRequestStalls) {
    TestDisc disc;
    disc.WriteProperties(UpdateProperties(
        Serve(L"stalled-manifest.xml", "<?xml version=\"1.0\"?><Updates></Updates>") + L"?stall_after=10"));
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    ASSERT_NE(window, nullptr);
    Click(window, kInstall);
    ASSERT_TRUE(WaitForText(L"RORadovi.log", "for appropriate updates", 10000));
    int answered = 0;
    for (int i = 0; i < 15; ++i) {
        DWORD_PTR result = 0;
        wchar_t title[64] = {};
        if (SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG, 1000,
                                &result) && result > 0)
            ++answered;
        Sleep(200);
    }
    EXPECT_EQ(answered, 15);
    EXPECT_EQ(ReadLog().find("Matching update found"), std::string::npos);  // still waiting for the manifest
}

}  // namespace
}  // namespace kestrune::test
