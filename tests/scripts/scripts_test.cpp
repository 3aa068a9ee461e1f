#include "support/temp_dir.h"

#include "platform/path.h"
#include "scripts/custom_layout.h"
#include "scripts/extra_script.h"
#include "scripts/game_files.h"
#include "scripts/presets.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace velo::scripts;

namespace {
std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

const char* const kDefaultCustom =
    "bind 1 \"+use Blaster\"\r\nbind 2 \"+use Shotgun\"\r\nbind 3 \"+use Super Shotgun\"\r\n"
    "bind 4 \"+use Machinegun\"\r\nbind 5 \"+use Chaingun\"\r\nbind 6 \"+use Grenade Launcher\"\r\n"
    "bind 7 \"+use Rocket Launcher\"\r\nbind 8 \"+use Hyperblaster\"\r\nbind 9 \"+use Railgun\"\r\n"
    "bind 0 \"+use BFG10K\"\r\nbind UPARROW \"+forward\"\r\nbind DOWNARROW \"+back\"\r\n"
    "bind LEFTARROW \"+left\"\r\nbind RIGHTARROW \"+right\"\r\nbind . \"+moveleft\"\r\n"
    "bind / \"weapnext\"\r\nbind Z \"weapprev\"\r\nbind ] \"invnext\"\r\nbind [ \"invprev\"\r\n"
    "bind ENTER \"invuse\"\r\nbind DELETE \"invdrop\"\r\nbind , \"+moveright\"\r\n"
    "bind SPACE \"+moveup\"\r\nbind CTRL \"+attack\"\r\nbind C \"+movedown\"\r\n"
    "bind mouse1 \"+Mouse 1\"\r\nbind mouse2 \"+Mouse 2\"\r\nbind mouse3 \"+Mouse 3\"\r\n"
    "exec q2extra.txt\r\n";

const char* const kTaunts = "bind F5 \"wave 1 \"\r\nbind F6 \"wave 2 \"\r\nbind F7 \"wave 3 \"\r\n"
                            "bind F8 \"wave 4 \"\r\nbind F9 \"wave 5 \"\r\n";
const char* const kAliases = "alias -grapple\"-attack;weaplast\"\r\n"
                             "alias +grapple\"use grapple;+attack;echo Quick Grapple\"\r\n";
} // namespace

TEST(Presets, AreTheFixedLayoutsByteForByte) {
    EXPECT_EQ(presetScript("ESDF"),
              "bind e \"+forward\"\r\nbind d \"+back\"\r\nbind s \"+moveleft\"\r\n"
              "bind f \"+moveright\"\r\nbind SPACE \"+moveup\"\r\nbind r \"weapnext\"\r\n"
              "bind mouse1 \"+attack\"\r\nbind mouse2 \"+movedown\"\r\nexec q2extra.txt\r\n");
    EXPECT_EQ(
        presetScript("Standard"),
        "bind UPARROW \"+forward\"\r\nbind DOWNARROW \"+back\"\r\nbind LEFTARROW \"+left\"\r\n"
        "bind RIGHTARROW \"+right\"\r\nbind , \"+moveleft\"\r\nbind . \"+moveright\"\r\n"
        "bind SPACE \"+moveup\"\r\nbind CTRL \"+attack\"\r\nbind c \"+movedown\"\r\n"
        "exec q2extra.txt\r\n");
    for (const char* other : {"esdf", "Custom", "", "Standard "}) {
        EXPECT_FALSE(presetScript(other).has_value()) << other;
    }
}

TEST(CustomLayout, UntouchedIsTheDefaultScript) {
    EXPECT_EQ(customScript(CustomLayout::defaults()), kDefaultCustom);
}

TEST(CustomLayout, DuckAddsACrouchLinePerButtonInMouseOrder) {
    CustomLayout layout = CustomLayout::defaults();
    layout.mouse[1] = "Duck";
    const std::string one = customScript(layout);
    EXPECT_EQ(lineCount(one), 30u);
    EXPECT_NE(one.find("bind mouse2 \"+Duck\"\r\n"), std::string::npos);
    const std::string last = "exec q2extra.txt\r\nbind mouse2 \"+movedown\"\r\n";
    EXPECT_EQ(one.substr(one.size() - last.size()), last);

    layout.mouse = {"Duck", "Duck", "Duck"};
    const std::string all = customScript(layout);
    EXPECT_EQ(lineCount(all), 32u);
    EXPECT_NE(
        all.find("exec q2extra.txt\r\nbind mouse1 \"+movedown\"\r\nbind mouse2 \"+movedown\"\r\n"
                 "bind mouse3 \"+movedown\"\r\n"),
        std::string::npos);

    layout.mouse = {"duck", "Duck ", "Mouse 3"};
    EXPECT_EQ(lineCount(customScript(layout)), 29u);
}

TEST(CustomLayout, EmptyTextsAreWrittenAsTheyAre) {
    CustomLayout layout = CustomLayout::defaults();
    layout.keys[7] = ""; // txtJump
    layout.weapons[0] = "";
    layout.weapons[9] = "Chain Gun \"x\"";
    const std::string text = customScript(layout);
    EXPECT_NE(text.find("bind 1 \"+use \"\r\n"), std::string::npos);
    EXPECT_NE(text.find("bind 0 \"+use Chain Gun \"x\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("bind , \"+moveright\"\r\nbind  \"+moveup\"\r\n"), std::string::npos);
}

TEST(ExtraScript, FollowsTheGrappleBoxAndTheLinesThatOutliveIt) {
    ExtraLines lines;
    ExtraSettings settings;
    EXPECT_EQ(extraScript(settings, lines), std::string(kTaunts) + "\r\n\r\n\r\n\r\n");

    settings.grapple = true;
    lines.grappleChanged(true);
    EXPECT_EQ(extraScript(settings, lines),
              std::string("bind W \"+grapple \"\r\n") + kTaunts + kAliases + "\r\n\r\n");

    // A new opening shows the box cleared, but the lines stay until it is cleared.
    EXPECT_EQ(extraScript(ExtraSettings{}, lines), std::string(kTaunts) + kAliases + "\r\n\r\n");

    lines.grappleChanged(false);
    settings.grapple = false;
    settings.taunts[2] = "";
    const std::string cleared = extraScript(settings, lines);
    EXPECT_EQ(lineCount(cleared), 9u);
    EXPECT_NE(cleared.find("bind  \"wave 3 \"\r\n"), std::string::npos);
}

TEST(GameFiles, PathsAreJoinedAsTheyStand) {
    EXPECT_EQ(mainScriptPath("C:\\Quake2"), "C:\\Quake2\\baseq2\\q2velo.txt");
    EXPECT_EQ(mainScriptPath("C:\\"), "C:\\\\baseq2\\q2velo.txt");
    EXPECT_EQ(mainScriptPath(""), "\\baseq2\\q2velo.txt");
    EXPECT_EQ(extraScriptPath("D:\\Games"), "D:\\Games\\baseq2\\q2extra.txt");
}

TEST(GameFiles, WritingReplacesTheWholeScript) {
    velo::test::TempDir game;
    std::filesystem::create_directory(game.path() / "baseq2");
    const std::string path = mainScriptPath(game.path().string());
    ASSERT_FALSE(writeScript(path, "first\r\nsecond\r\n"));
    ASSERT_FALSE(writeScript(path, "third\r\n"));
    EXPECT_EQ(game.read("baseq2/q2velo.txt"), "third\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game.path() / "baseq2"),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST(GameFiles, AMissingBaseq2FolderIsAnErrorNamingTheFile) {
    velo::test::TempDir game;
    const auto error = writeScript(extraScriptPath(game.path().string()), "x\r\n");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->subject,
              velo::platform::nativePath(game.path().string() + "\\baseq2\\q2extra.txt"));
    EXPECT_FALSE(error->reason.empty());
    EXPECT_TRUE(std::filesystem::is_empty(game.path()));
}
