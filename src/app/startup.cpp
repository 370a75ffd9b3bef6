#include "app/startup.h"

#include "foundation/diag_log.h"
#include "foundation/platform_facts.h"
#include "foundation/wprops.h"

namespace kestrune {

void OpenDiagnosticLog() {
    DiagLog::SetLogFile(L"RORadovi.log");
    DiagLog::SetTag(L"VAV");
    const wchar_t* rule = L"------------------------------------------------------------";
    DiagLog::Write(L"%s", rule);
    DiagLog::Write(L"%s", L"------------------- ZE Zaruvize ----------------------------");
    DiagLog::Write(L"%s", rule);
}

bool InitProperties(const std::wstring& executableFolder) {
    std::wstring path = executableFolder;
    PathJoin(path, L"properties.ini");
    DiagLog::Write(L"InitProperties - retrieve props from file '%s'", path);
    WProps& props = WProps::Instance();
    if (!props.LoadFile(path)) return false;
    std::wstring series;
    props.GetProperty(L"PRINTER_SERIES_NAME", series);
    if (!series.empty()) props.SetConstProperty(L"WINDOW_TITLE", series);
    return props.PropertyExists(L"PRINTER_SERIES_NAME");
}

}  // namespace kestrune
