// Owns a WinINet handle; a failed close is logged with the line the caller names.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "foundation/diag_log.h"

namespace kestrune {

class InternetHandle {
public:
    InternetHandle(HINTERNET h, const wchar_t* closeFailure) : h_(h), closeFailure_(closeFailure) {}
    ~InternetHandle() {
        if (h_ && !InternetCloseHandle(h_)) DiagLog::WriteError(GetLastError(), closeFailure_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return h_; }
    HINTERNET release() {
        HINTERNET h = h_;
        h_ = nullptr;
        return h;
    }

private:
    HINTERNET h_;
    const wchar_t* closeFailure_;
};

}  // namespace kestrune
