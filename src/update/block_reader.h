// Reads the body of a WinINet request block by block on a helper thread, so that the download
// can stop waiting the moment the user cancels. A synchronous InternetReadFile cannot be ended
// from outside everywhere (under Wine it stays blocked after its handle is closed), so a server
// that stalls in the middle of the body would otherwise hold a confirmed cancel indefinitely.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "foundation/kernel_handle.h"

namespace kestrune {

class BlockReader {
public:
    // Takes over the request and its Internet handle: they are closed, in that order, when the
    // reading is over.
    BlockReader(HINTERNET internet, HINTERNET request, DWORD blockSize);
    // A read still under way is abandoned: its thread keeps the buffer and the handles, and
    // closes them when the read returns. Closing them here could let a read that is just about
    // to start use a handle value that has already been given to someone else.
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // False when the buffer could not be allocated.
    bool ready() const;

    enum class Result { kRead, kFailed, kCanceled };
    // Reads up to one block into data(); waits until the read ends or `cancel` is signalled.
    // kFailed leaves the read's error as the thread's last-error value. After kCanceled the
    // reader is spent: further reads fail.
    Result Read(HANDLE cancel, DWORD& count);
    const BYTE* data() const;

private:
    struct Shared;
    static DWORD WINAPI ReadLoop(LPVOID shared);
    Result ReadHere(DWORD& count);

    std::shared_ptr<Shared> shared_;
    KernelHandle thread_;
    bool abandoned_ = false;
};

}  // namespace kestrune
