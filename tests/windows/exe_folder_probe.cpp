// Prints what GetExecutableFolder answers for wherever this program was copied to, and the
// folder joined with "properties.ini".
#include <cstdio>

#include "foundation/platform_facts.h"

int wmain() {
    std::wstring folder;
    if (!kestrune::GetExecutableFolder(folder)) return 1;
    std::wstring joined = folder;
    kestrune::PathJoin(joined, L"properties.ini");
    std::wprintf(L"%ls|%ls\n", folder.c_str(), joined.c_str());
    return 0;
}
