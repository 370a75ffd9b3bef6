// The first stages of start-up: the diagnostic log with its banner, and the configuration loads.
#pragma once

#include <string>

namespace kestrune {

// Names the log "RORadovi.log", tags it "VAV" and writes the three banner lines.
void OpenDiagnosticLog();

// Loads properties.ini from the folder into the store; TRUE when it loaded and names the printer
// series. The series name becomes the const window title.
bool InitProperties(const std::wstring& executableFolder);

}  // namespace kestrune
