#include "support/temp_dir.h"

#include "platform/path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace velo::platform;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {

using Probe = bool (*)(const std::string&);
const Probe always = [](const std::string&) { return true; };
const Probe never = [](const std::string&) { return false; };

struct FolderRow {
    const char* name;
    bool programWritable;
    const char* xdg;      // relative to the temporary folder when it starts with "@"
    const char* expected; // relative to the temporary folder
    const char* log;      // the game's output file with the same value as XDG_STATE_HOME
};

class ChooseSettingsFolder : public testing::TestWithParam<FolderRow> {};

TEST_P(ChooseSettingsFolder, BesideTheProgramOrPerUser) {
    const FolderRow& row = GetParam();
    TempDir dir;
    fs::create_directory(dir.path() / "prog");
    const std::string xdg = row.xdg[0] == '@' ? dir.file(row.xdg + 1) : row.xdg;
    const SettingsFolder chosen = chooseSettingsFolder(dir.file("prog"), xdg, dir.file("home"),
                                                       row.programWritable ? always : never);
    EXPECT_FALSE(chosen.error) << chosen.error->message();
    EXPECT_EQ(chosen.path, dir.file(row.expected));
    EXPECT_TRUE(fs::is_directory(chosen.path));
    EXPECT_EQ(chooseGameLog(xdg, dir.file("home")), dir.file(row.log));
    if (row.programWritable) {
        EXPECT_FALSE(fs::exists(dir.path() / "home"));
        EXPECT_FALSE(fs::exists(dir.path() / "xdg"));
    } else {
        struct stat info {};
        ASSERT_EQ(::stat(chosen.path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ChooseSettingsFolder,
    testing::Values(FolderRow{"WritableProgramFolder", true, "@xdg", "prog",
                              "xdg/velo-start/game.log"},
                    FolderRow{"ReadOnlyHonoursXdgConfigHome", false, "@xdg/deeper",
                              "xdg/deeper/velo-start", "xdg/deeper/velo-start/game.log"},
                    FolderRow{"ReadOnlyWithoutXdgUsesHomeConfig", false, "",
                              "home/.config/velo-start", "home/.local/state/velo-start/game.log"},
                    FolderRow{"RelativeXdgIsIgnored", false, "relative/config",
                              "home/.config/velo-start", "home/.local/state/velo-start/game.log"}),
    [](const testing::TestParamInfo<FolderRow>& row) { return std::string(row.param.name); });

// No per-user folder to be had: the error names what could not be made, or the program
// folder that is kept for want of one.
TEST(ChooseSettingsFolder, WithoutAPerUserFolderSaysWhy) {
    TempDir dir;
    dir.write("xdg", "a file where a folder should be");
    const SettingsFolder blocked =
        chooseSettingsFolder(dir.file("prog"), dir.file("xdg"), dir.file("home"), never);
    EXPECT_EQ(blocked.path, dir.file("xdg/velo-start"));
    ASSERT_TRUE(blocked.error);
    EXPECT_EQ(blocked.error->subject, dir.file("xdg"));
    EXPECT_FALSE(blocked.error->reason.empty());
    const SettingsFolder none = chooseSettingsFolder("/opt/velo", "", "", never);
    EXPECT_EQ(none.path, "/opt/velo");
    EXPECT_EQ(chooseGameLog("", ""), "");
    EXPECT_EQ(chooseMenuFolder("", ""), "");
    EXPECT_EQ(chooseMenuFolder("relative", "/home/a"), "/home/a/.local/share/applications");
    EXPECT_EQ(chooseMenuFolder("/data", "/home/a"), "/data/applications");
    ASSERT_TRUE(none.error);
    EXPECT_EQ(none.error->subject, "/opt/velo");
}

} // namespace
