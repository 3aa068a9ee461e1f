#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/path.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace velo::platform;

struct JoinRow {
    const char* name;
    const char* folder;
    const char* joined;
};

class SettingsPathAt : public testing::TestWithParam<JoinRow> {};

// The program's folder comes back with a trailing backslash only at a drive root;
// the settings file must still be the one file directly in that root.
TEST_P(SettingsPathAt, OneSeparatorBeforeTheName) {
    EXPECT_EQ(velo::core::settingsPathIn(GetParam().folder), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(
    Places, SettingsPathAt,
    testing::Values(JoinRow{"DriveRoot", "C:\\", "C:\\q2velo.ini"},
                    JoinRow{"OtherDriveRoot", "D:\\", "D:\\q2velo.ini"},
                    JoinRow{"Folder", "C:\\Games\\Velo", "C:\\Games\\Velo\\q2velo.ini"},
                    JoinRow{"FolderWithBlank", "C:\\Program Files\\Velo",
                            "C:\\Program Files\\Velo\\q2velo.ini"},
                    JoinRow{"ShareRoot", "\\\\server\\share\\", "\\\\server\\share\\q2velo.ini"}),
    [](const testing::TestParamInfo<JoinRow>& row) { return std::string(row.param.name); });

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
