#include "test_folder.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrune::test {

TestFolder::TestFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    // Process ids repeat from one Wine session to the next, and a folder an earlier run could not
    // remove (a program of it was still running) may be left: take the next name that is free.
    do {
        path_ = std::wstring(temp) + L"kestrune-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++);
    } while (!std::filesystem::create_directory(path_));
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kestrune::test
