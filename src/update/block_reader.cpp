#include "update/block_reader.h"

#include <atomic>
#include <new>

#include "update/internet_handle.h"

namespace kestrune {

// What both threads use; it lives until the last of them lets go.
struct BlockReader::Shared {
    Shared(HINTERNET i, HINTERNET r, DWORD size)
        : internet(i, L"Close internet handle failed"),
          request(r, L"Close url handle failed"),
          blockSize(size),
          buffer(new (std::nothrow) BYTE[size]) {}
    InternetHandle internet;  // declared first: closed after the request
    InternetHandle request;
    DWORD blockSize;
    std::unique_ptr<BYTE[]> buffer;
    KernelHandle start{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    KernelHandle finished{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::atomic<bool> quit{false};
    BOOL ok = FALSE;
    DWORD count = 0;
    DWORD error = 0;
};

BlockReader::BlockReader(HINTERNET internet, HINTERNET request, DWORD blockSize)
    : shared_(std::make_shared<Shared>(internet, request, blockSize)) {
    if (!shared_->buffer || !shared_->start || !shared_->finished) return;  // no thread: reads happen here
    auto* reference = new std::shared_ptr<Shared>(shared_);
    thread_.Reset(CreateThread(nullptr, 0, &BlockReader::ReadLoop, reference, 0, nullptr));
    if (!thread_) delete reference;
}

bool BlockReader::ready() const { return shared_->buffer != nullptr; }

BlockReader::~BlockReader() {
    if (!thread_) return;
    shared_->quit = true;
    SetEvent(shared_->start.get());
    if (!abandoned_) WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI BlockReader::ReadLoop(LPVOID param) {
    std::unique_ptr<std::shared_ptr<Shared>> reference(static_cast<std::shared_ptr<Shared>*>(param));
    Shared& s = **reference;
    for (;;) {
        WaitForSingleObject(s.start.get(), INFINITE);
        if (s.quit) return 0;
        s.count = 0;
        s.ok = InternetReadFile(s.request.get(), s.buffer.get(), s.blockSize, &s.count);
        s.error = s.ok ? 0 : GetLastError();
        SetEvent(s.finished.get());
    }
}

BlockReader::Result BlockReader::ReadHere(DWORD& count) {
    count = 0;
    return InternetReadFile(shared_->request.get(), shared_->buffer.get(), shared_->blockSize, &count) ? Result::kRead
                                                                                                 : Result::kFailed;
}

BlockReader::Result BlockReader::Read(HANDLE cancel, DWORD& count) {
    count = 0;
    if (abandoned_) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return Result::kFailed;
    }
    if (!thread_) return ReadHere(count);
    SetEvent(shared_->start.get());
    if (!cancel) {
        WaitForSingleObject(shared_->finished.get(), INFINITE);
    } else {
        // The cancel comes first so that it wins over a read that ends at the same moment.
        const HANDLE waits[] = {cancel, shared_->finished.get()};
        const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (waited != WAIT_OBJECT_0 + 1) {
            abandoned_ = true;  // the read may still be under way
            return waited == WAIT_OBJECT_0 ? Result::kCanceled : Result::kFailed;
        }
    }
    if (!shared_->ok) {
        SetLastError(shared_->error);
        return Result::kFailed;
    }
    count = shared_->count;
    return Result::kRead;
}

const BYTE* BlockReader::data() const { return shared_->buffer.get(); }

}  // namespace kestrune
