#include "support/temp_dir.h"

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
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() != '\\' || (folder.size() == 3 && folder[1] == ':')) << folder;
    wchar_t module[32768];
    const DWORD length = GetModuleFileNameW(nullptr, module, 32768);
    ASSERT_GT(length, 0u);
    const std::string exe = win::utf8(std::wstring(module, length));
    EXPECT_EQ(exe.substr(0, folder.size()), folder);
    EXPECT_EQ(exe.find('\\', folder.size() + 1), std::string::npos) << exe;
    EXPECT_EQ(settingsFolder().path, folder);
}
