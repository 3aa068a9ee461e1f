#include "core/settings.h"
#include "platform/path.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace velo::platform;

// A plain folder and a drive root are also run for real in the start tests; at a root the
// settings file is the one file directly in it.
TEST(ProgramDirectory, IsTheFolderOfTheRunningExecutable) {
    const std::string folder = programDirectory();
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(folder + "\\platform_test.exe", win::utf8(std::wstring(module, length)));
    EXPECT_EQ(settingsFolder().path, folder);
    for (const std::string root : {"C:\\", "\\\\server\\share\\"}) {
        EXPECT_EQ(velo::core::settingsPathIn(root), root + "q2velo.ini");
    }
}
