#pragma once
// A fake sysfs tree of serial devices in a temporary folder: a tty class folder, a device folder
// and the drivers the ports are bound to.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace wintest {

class FakeSysfsTree {
public:
    std::filesystem::path root;
    std::filesystem::path tty;
    std::filesystem::path dev;

    explicit FakeSysfsTree(const std::string& prefix)
        : root(std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()))),
          tty(root / "class/tty"),
          dev(root / "dev") {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(tty);
        std::filesystem::create_directories(dev);
        std::filesystem::create_directories(root / "drivers");
    }
    ~FakeSysfsTree() { std::filesystem::remove_all(root); }
    FakeSysfsTree(const FakeSysfsTree&) = delete;
    FakeSysfsTree& operator=(const FakeSysfsTree&) = delete;

    static void Write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text << "\n";
    }

    // A tty whose device sits at devicePath (relative to root) and is bound to driver.
    void AddPort(const std::string& name, const std::string& devicePath, const std::string& driver, bool node = true) {
        namespace fs = std::filesystem;
        fs::path device = root / devicePath;
        fs::create_directories(device);
        fs::create_directories(root / "drivers" / driver);
        fs::create_directory_symlink(root / "drivers" / driver, device / "driver");
        fs::create_directories(tty / name);
        fs::create_directory_symlink(device, tty / name / "device");
        if (node) Write(dev / name, "");
    }
};

}  // namespace wintest
