#include "core/settings.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velo::core {
namespace {

class SettingsOnDisk : public testing::Test {
protected:
    test::TempDir dir;
    SettingsFile settings{settingsPathIn(dir.path().string())};
};

TEST_F(SettingsOnDisk, AbsentFileReadsEmptyThenWritesCreateItKeyByKey) {
    const SettingsRead read = settings.ReadINI("Quake2", "RunSetup");
    EXPECT_EQ(read.value, "");
    EXPECT_FALSE(read.error);
    EXPECT_FALSE(std::filesystem::exists(settings.path()));

    ASSERT_FALSE(settings.WriteINI("Quake2", "Path", "C:\\Quake2"));
    ASSERT_FALSE(settings.WriteINI("Quake2", "RunSetup", "No"));
    ASSERT_FALSE(settings.WriteINI("Mod", "Mod0", ""));
    EXPECT_EQ(dir.read("q2velo.ini"),
              "[Quake2]\r\nPath=C:\\Quake2\r\nRunSetup=No\r\n[Mod]\r\nMod0=\r\n");
}

TEST_F(SettingsOnDisk, EveryCallSeesTheFileAsAnotherProgramLeftIt) {
    dir.write("q2velo.ini", "[Quake2]\r\nRunSetup=No\r\n");
    EXPECT_EQ(settings.ReadINI("Quake2", "RunSetup").value, "No");
    dir.write("q2velo.ini", "[QUAKE2]\nrunsetup = Yes \n[Other]\r\nkept=1\r\n");
    EXPECT_EQ(settings.ReadINI("Quake2", "RunSetup").value, "Yes");
    dir.write("q2velo.ini", "[Quake2]\r\nPath=C:\\Quake2\r\n[Other]\r\nkept=1\r\n");
    ASSERT_FALSE(settings.WriteINI("Quake2", "RunSetup", "No"));
    EXPECT_EQ(dir.read("q2velo.ini"),
              "[Quake2]\r\nPath=C:\\Quake2\r\nRunSetup=No\r\n[Other]\r\nkept=1\r\n");
}

TEST_F(SettingsOnDisk, FailuresNameTheFile) {
    std::filesystem::create_directory(settings.path());
    const SettingsRead read = settings.ReadINI("Quake2", "Path");
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->subject, settings.path());
    EXPECT_FALSE(read.error->reason.empty());
    const platform::MaybeError write = settings.WriteINI("Quake2", "Path", "C:\\Quake2");
    ASSERT_TRUE(write);
    EXPECT_EQ(write->subject, settings.path());
    EXPECT_TRUE(std::filesystem::is_directory(settings.path()));

    SettingsFile gone(settingsPathIn((dir.path() / "gone").string()));
    const platform::MaybeError missing = gone.WriteINI("Quake2", "RunSetup", "No");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->subject, gone.path());
    EXPECT_FALSE(missing->reason.empty());
}

} // namespace
} // namespace velo::core
