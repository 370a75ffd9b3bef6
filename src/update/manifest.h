// The vendor's update manifest: fetched with MSXML's XMLHTTP and read into its ordered entries.
#pragma once

#include <string>
#include <vector>

#include "update/update_selection.h"

namespace kestrune {

// True when the document was fetched and read to its end (the list may be empty); the calling
// thread must have initialised COM.
bool GetSoftwareUpdateList(const std::wstring& url, const std::wstring& manufacturer,
                           std::vector<SoftwareUpdateEntry>& entries);

}  // namespace kestrune
