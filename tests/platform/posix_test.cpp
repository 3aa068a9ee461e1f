#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace velo::platform;
using velo::test::entries;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {
mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}
} // namespace

TEST(AtomicWrite, AReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop root";
    }
    TempDir dir;
    fs::create_directory(dir.path() / "ro");
    dir.write("ro/keep.txt", "old");
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(writeTextFileAtomic(dir.file("ro/keep.txt"), "new").has_value());
    fs::permissions(dir.path() / "ro", fs::perms::owner_all);
    EXPECT_EQ(dir.read("ro/keep.txt"), "old");
    EXPECT_EQ(entries(dir.path() / "ro"), std::vector<std::string>{"keep.txt"});
}

TEST(AtomicWrite, ReplacesKeepingModesAndSetsTheRunBit) {
    TempDir dir;
    const std::string path = dir.file("a.txt");
    ASSERT_FALSE(writeTextFileAtomic(path, "one\r\ntwo\r\n"));
    ::chmod(path.c_str(), 0600);
    ASSERT_FALSE(writeTextFileAtomic(path, "three\r\n"));
    EXPECT_EQ(dir.read("a.txt"), "three\r\n");
    EXPECT_EQ(modeOf(path), 0600u);
    ASSERT_FALSE(writeTextFileAtomic(dir.file("run.sh"), "#!/bin/sh\n", true));
    EXPECT_EQ(modeOf(dir.file("run.sh")) & 0100, 0100u);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"a.txt", "run.sh"}));
}

TEST(FileExists, FindsADanglingLink) {
    TempDir dir;
    fs::create_symlink(dir.path() / "gone", dir.path() / "link");
    EXPECT_TRUE(FileExists(dir.file("link")));
}

TEST(SettingsPath, AtTheRootIsOneFileInIt) {
    EXPECT_EQ(velo::core::settingsPathIn("/"), "/q2velo.ini");
    EXPECT_EQ(velo::core::settingsPathIn("/opt/velo"), "/opt/velo/q2velo.ini");
}
