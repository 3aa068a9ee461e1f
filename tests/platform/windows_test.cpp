#include "core/settings.h"
#include "platform/path.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace velo::platform;

// The program's folder comes back with a trailing backslash only at a drive root;
// the settings file must still be the one file directly in that root.
TEST(SettingsPathAt, OneSeparatorBeforeTheName) {
    const char* const rows[][2] = {
        {"C:\\", "C:\\q2velo.ini"},
        {"C:\\Program Files\\Velo", "C:\\Program Files\\Velo\\q2velo.ini"},
        {"\\\\server\\share\\", "\\\\server\\share\\q2velo.ini"},
    };
    for (const auto& [folder, joined] : rows) {
        EXPECT_EQ(velo::core::settingsPathIn(folder), joined);
    }
}

TEST(ProgramDirectory, IsTheFolderOfTheRunningExecutable) {
    const std::string folder = programDirectory();
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(folder + "\\platform_test.exe", win::utf8(std::wstring(module, length)));
    EXPECT_EQ(settingsFolder().path, folder);
}
