// Owns a kernel handle (thread, event, process): closed once, on every path.
#pragma once

#include <windows.h>

namespace kestrune {

class KernelHandle {
public:
    explicit KernelHandle(HANDLE h = nullptr) : h_(h) {}
    ~KernelHandle() { Reset(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE h = nullptr) {
        if (*this) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

}  // namespace kestrune
