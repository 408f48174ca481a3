#pragma once
// A fresh folder under the temporary folder for one test, removed with all it holds when the test
// ends, and a reader of a file's bytes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace rtl_test {

class TempDir {
public:
    // The folder is named prefix followed by a unique suffix; Path stays empty if it cannot be made.
    explicit TempDir(const char* prefix) {
        std::string tmpl = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(tmpl.data())) Path = tmpl;
    }
    ~TempDir() {
        if (Path.empty()) return;
        // Tests may take away the folder's permissions to make writes fail: give them back first.
        std::error_code ec;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(Path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const char* name) const { return (Path / name).string(); }

    std::filesystem::path Path;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rtl_test
