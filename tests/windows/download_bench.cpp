// Drives one update download of the real launcher for scripts/bench-download.sh: the package
// at URL (served by the loopback server) is accepted, downloaded, rejected by
// verification, and the disc installer runs. Prints the transfer's seconds, taken from the
// launcher's own log, and the launcher's working set: idle, when the update is offered (the
// manifest has been read), and the largest seen while the transfer ran (sampled every 10 ms).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "launcher_driver.h"
#include "update_fixtures.h"

namespace kestrune::test {
namespace {

constexpr int kInstall = 1002, kExit = 9;

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / 1048576.0; }

SIZE_T WorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// Milliseconds since midnight of the log line holding `text`, from its "[date  h:mm:ss:mmm]" stamp.
long StampOf(const std::string& log, const std::string& text) {
    const std::size_t at = log.find(text);
    if (at == std::string::npos) return -1;
    const std::size_t open = log.rfind('[', at);
    int day = 0, month = 0, year = 0, h = 0, m = 0, s = 0, ms = 0;
    if (open == std::string::npos ||
        std::sscanf(log.c_str() + open, "[%d-%d-%d %d:%d:%d:%d]", &month, &day, &year, &h, &m, &s, &ms) != 7)
        return -1;
    return ((h * 60L + m) * 60L + s) * 1000L + ms;
}

int Run(std::size_t expectedBytes, const std::wstring& package) {
    ClearLogs();
    TestDisc disc(L"bench-disc");
    const std::wstring manifest = ServeManifestFor(package, L"bench-manifest.xml");
    disc.WriteProperties("PRINTER_SERIES_NAME = \"Kestrune LX-200 Series\"\r\nMANUFACTURER = \"Kestrune\"\r\n"
                         "SOFTWARE_UPDATE_URL = \"" + std::string(manifest.begin(), manifest.end()) + "\"\r\n");
    LauncherProcess launcher(disc);
    HWND window = launcher.WaitForLauncher();
    if (!window) return std::fprintf(stderr, "download_bench: the launcher did not open\n"), 1;
    Sleep(2000);
    const SIZE_T idle = WorkingSet(launcher.handle());
    Click(window, kInstall);
    if (!launcher.WaitForMessageBox(30000)) return std::fprintf(stderr, "download_bench: no update offered\n"), 1;
    Sleep(500);
    const SIZE_T offered = WorkingSet(launcher.handle());  // manifest read, question 801 shown
    Answer(launcher, IDYES);

    const std::string ended = "msg=1124";  // the worker posts the terminate message after the last block
    SIZE_T peak = 0;
    for (int i = 0;; ++i) {
        const SIZE_T now = WorkingSet(launcher.handle());
        if (now > peak) peak = now;
        if (i % 10 == 0 && ReadLog().find(ended) != std::string::npos) break;
        if (launcher.WaitForExit(0) != -1 || i > 60 * 100 * 10)
            return std::fprintf(stderr, "download_bench: the transfer did not end\n"), 1;
        Sleep(10);
    }
    const std::string log = ReadLog();
    const long start = StampOf(log, "User agreed to software update."), end = StampOf(log, ended);
    WaitForText(L"winstaller.log", "winstaller64.exe ran with 'install'", 300000);
    Click(window, kExit);
    launcher.WaitForExit(30000);

    const std::string finalLog = ReadLog();
    const std::size_t at = finalLog.find("verifyDownloadedFile(");
    const std::string file =
        at == std::string::npos ? "" : finalLog.substr(at + 21, finalLog.find(')', at) - at - 21);
    const std::size_t size = file.empty() ? 0 : ReadBytes(std::wstring(file.begin(), file.end())).size();
    if (!file.empty()) DeleteFileA(file.c_str());
    if (size != expectedBytes)
        return std::fprintf(stderr, "download_bench: downloaded %zu bytes, expected %zu\n", size, expectedBytes), 1;
    const double seconds = (end - start) / 1000.0;
    std::printf("launcher_seconds=%.3f launcher_idle_mib=%.1f launcher_offered_mib=%.1f launcher_peak_mib=%.1f\n",
                seconds, MiB(idle), MiB(offered), MiB(peak));
    return 0;
}

}  // namespace
}  // namespace kestrune::test

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return std::fprintf(stderr, "usage: download_bench BYTES URL\n"), 2;
    return kestrune::test::Run(static_cast<std::size_t>(_wtoi64(argv[1])), argv[2]);
}
