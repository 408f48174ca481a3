#pragma once
// What the styled-control tests share: a registry store in a folder of their own, and the
// system answers put back after each test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "platform/ui/SystemInfo.h"
#include "platform/win/Registry.h"

namespace styled_test {

// A fresh registry store under a temporary folder, for the length of a test.
class ScopedRegistry {
public:
    ScopedRegistry() {
        static std::atomic<int> serial{0};
        FRoot = std::filesystem::temp_directory_path() /
                ("styled-registry-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(FRoot);
        win::SetRegistryFolder(String(FRoot.string()));
    }
    ~ScopedRegistry() {
        win::SetRegistryFolder(String());
        std::filesystem::remove_all(FRoot);
    }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    // Writes Name = Value (a number, or text that is not one) under Key of HKEY_CURRENT_USER.
    static void Write(const String& key, const String& name, int value) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteInteger(name, value);
    }
    static void WriteText(const String& key, const String& name, const String& value) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString(name, value);
    }
    static void MakeKey(const String& key) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
    }
    const std::filesystem::path& Root() const { return FRoot; }

private:
    std::filesystem::path FRoot;
};

// The layer's system answers, back to their defaults when the test ends.
struct ScopedAnswers {
    ~ScopedAnswers() { ui::sys::ResetAnswers(); }
    ui::sys::SystemAnswers& operator*() { return ui::sys::Answers(); }
    ui::sys::SystemAnswers* operator->() { return &ui::sys::Answers(); }
};

}  // namespace styled_test
