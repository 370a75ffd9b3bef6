// A file in the temporary folder that is removed when the test is done with it.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace kestrune::test {

class TempFile {
public:
    explicit TempFile(const std::string& bytes) : path_(NewPath()) {
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::wstring path() const { return path_.wstring(); }

    static std::filesystem::path NewPath() {
        static std::atomic<int> counter{0};
        return std::filesystem::temp_directory_path() /
               ("kestrune-test-" + std::to_string(Pid()) + "-" + std::to_string(counter++) + ".ini");
    }

private:
    static long Pid();
    std::filesystem::path path_;
};

}  // namespace kestrune::test
