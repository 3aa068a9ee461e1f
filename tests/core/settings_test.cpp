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

// Absent reads empty; each call reads or edits the file as another program left it.
TEST_F(SettingsOnDisk, EachCallSeesTheFileAsItIsAndEditsItKeyByKey) {
    const SettingsRead read = settings.ReadINI("Quake2", "RunSetup");
    EXPECT_EQ(read.value, "");
    EXPECT_FALSE(read.error);
    EXPECT_FALSE(std::filesystem::exists(settings.path()));

    ASSERT_FALSE(settings.WriteINI("Quake2", "Path", "C:\\Quake2"));
    ASSERT_FALSE(settings.WriteINI("Mod", "Mod0", ""));
    EXPECT_EQ(dir.read("q2velo.ini"), "[Quake2]\r\nPath=C:\\Quake2\r\n[Mod]\r\nMod0=\r\n");
    dir.write("q2velo.ini", "[QUAKE2]\nrunsetup = Yes \n[Other]\r\nkept=1\r\n");
    EXPECT_EQ(settings.ReadINI("Quake2", "RunSetup").value, "Yes");
    dir.write("q2velo.ini", "[Quake2]\r\nPath=C:\\Quake2\r\n[Other]\r\nkept=1\r\n");
    ASSERT_FALSE(settings.WriteINI("Quake2", "RunSetup", "No"));
    EXPECT_EQ(dir.read("q2velo.ini"),
              "[Quake2]\r\nPath=C:\\Quake2\r\nRunSetup=No\r\n[Other]\r\nkept=1\r\n");
}

// A file that is not there reads empty, in a folder that is not there too; one that
// cannot be read or written is an error naming it.
TEST_F(SettingsOnDisk, FailuresNameTheFile) {
    SettingsFile gone(settingsPathIn((dir.path() / "gone").string()));
    EXPECT_FALSE(gone.ReadINI("Quake2", "Path").error);
    std::filesystem::create_directory(settings.path());
    const SettingsRead read = settings.ReadINI("Quake2", "Path");
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->subject, settings.path());
    EXPECT_FALSE(read.error->reason.empty());
    for (SettingsFile* file : {&settings, &gone}) {
        const platform::MaybeError write = file->WriteINI("Quake2", "RunSetup", "No");
        ASSERT_TRUE(write);
        EXPECT_EQ(write->subject, file->path());
        EXPECT_FALSE(write->reason.empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(settings.path()));
}

} // namespace
} // namespace velo::core
