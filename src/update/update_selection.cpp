#include "update/update_selection.h"

#include "foundation/diag_log.h"
#include "update/wildcard.h"

namespace kestrune {

std::wstring SelectUpdate(const std::vector<SoftwareUpdateEntry>& entries, const LocalFacts& facts) {
    DiagLog::Write(L"Model is %ls", facts.model);
    DiagLog::Write(L"Platform is %ls", facts.platform);
    DiagLog::Write(L"Current version is %ls", facts.currentVersion);
    for (const SoftwareUpdateEntry& entry : entries) {
        if (!wildcardMatch(entry.model, facts.model) || !wildcardMatch(entry.platform, facts.platform) ||
            !wildcardMatch(entry.oldVersion, facts.currentVersion))
            continue;
        DiagLog::Write(L"Matching update found - %ls", entry.packageUrl);
        DiagLog::Write(L"Matched with model %ls, platform %ls, old version %ls", entry.model,
                       entry.platform, entry.oldVersion);
        return entry.packageUrl;
    }
    return L"";
}

}  // namespace kestrune
