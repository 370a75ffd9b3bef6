#include "foundation/platform_facts.h"

#include "foundation/platform.h"

#include <cerrno>

namespace kestrune {

void PathJoin(std::wstring& path, const std::wstring& tail) {
    if (!path.empty() && path.back() != L'\\' && !tail.empty() && tail.front() != L'\\')
        path.push_back(L'\\');
    path += tail;
}

bool FileExists(const std::wstring& path) {
    errno = 0;
    platform::UniqueFile file = platform::OpenFile(path, "r");
    return file || errno != ENOENT;
}

bool DirectoryExists(const std::wstring& path) {
    std::uint64_t size = 0;
    bool isDirectory = false;
    return platform::FileStatus(path, size, isDirectory) && isDirectory;
}

}  // namespace kestrune
