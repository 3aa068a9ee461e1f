#include "scripts/expected_scripts.h"
#include "support/temp_dir.h"

#include "scripts/custom_layout.h"
#include "scripts/extra_script.h"
#include "scripts/game_files.h"
#include "scripts/presets.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

using namespace velo::scripts;
using velo::test::kAliases;
using velo::test::kDefaultCustom;
using velo::test::kTaunts;
using velo::test::mouseTail;

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

// A button left at its first text keeps the game's binding; an entry becomes the game's
// command, any typed text stays as typed.
TEST(CustomLayout, MouseButtonsGetTheGamesCommands) {
    CustomLayout layout = CustomLayout::defaults();
    EXPECT_EQ(customScript(layout), kDefaultCustom);
    const struct {
        const char* name;
        std::array<std::string, kMouseCount> mouse;
        const char* lines; // after the key lines
    } rows[] = {
        {"the five entries",
         {"Attack", "Freelook", "Run"},
         "bind mouse1 \"+attack\"\r\nbind mouse2 \"+mlook\"\r\nbind mouse3 \"+speed\"\r\n"},
        {"Forward and Duck, no second Duck line",
         {"Forward", "Duck", "Duck"},
         "bind mouse1 \"+forward\"\r\nbind mouse2 \"+movedown\"\r\nbind mouse3 \"+movedown\"\r\n"},
        {"typed texts as typed, an entry in other case typed too",
         {"+zoom", "duck", "weapnext"},
         "bind mouse1 \"+zoom\"\r\nbind mouse2 \"duck\"\r\nbind mouse3 \"weapnext\"\r\n"},
        {"only the button's own first text is left out",
         {"Mouse 2", "Mouse 2", "Mouse 3"},
         "bind mouse1 \"Mouse 2\"\r\n"},
    };
    for (const auto& row : rows) {
        layout.mouse = row.mouse;
        EXPECT_EQ(mouseTail(customScript(layout)), std::string(row.lines) + "exec q2extra.txt\r\n")
            << row.name;
    }
}

TEST(CustomLayout, EmptyTextsAreWrittenAsTheyAre) {
    CustomLayout layout = CustomLayout::defaults();
    layout.keys[7] = ""; // txtJump
    layout.weapons[0] = "";
    layout.weapons[9] = "Chain Gun \"x\"";
    const std::string text = customScript(layout);
    EXPECT_EQ(text.substr(0, 21), "bind 1 \"+use \"\r\nbind ");
    EXPECT_NE(text.find("bind 0 \"+use Chain Gun \"x\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("bind , \"+moveright\"\r\nbind  \"+moveup\"\r\n"), std::string::npos);
}

TEST(ExtraScript, FollowsTheGrappleBoxAndTheLinesThatOutliveIt) {
    ExtraLines lines;
    ExtraSettings settings;
    EXPECT_EQ(extraScript(settings, lines), kTaunts + "\r\n\r\n\r\n\r\n");

    settings.grapple = true;
    lines.grappleChanged(true);
    EXPECT_EQ(extraScript(settings, lines),
              "bind W \"+grapple \"\r\n" + kTaunts + kAliases + "\r\n\r\n");

    // An untouched new opening, which keeps the alias lines, is driven in dialogs_test.
    lines.grappleChanged(false);
    settings.grapple = false;
    settings.taunts[2] = "";
    EXPECT_EQ(extraScript(settings, lines),
              "bind F5 \"wave 1 \"\r\nbind F6 \"wave 2 \"\r\nbind  \"wave 3 \"\r\n"
              "bind F8 \"wave 4 \"\r\nbind F9 \"wave 5 \"\r\n\r\n\r\n\r\n\r\n");
}

TEST(GameFiles, PathsAreJoinedAsTheyStand) {
    EXPECT_EQ(mainScriptPath("C:\\"), "C:\\\\baseq2\\q2velo.txt");
}

#ifndef _WIN32
// A game folder's base folder spelt in another case takes the script; the exact spelling
// wins where both are there, and with neither the error names the folder looked for.
TEST(GameFiles, TheScriptGoesIntoTheBaseFolderThatExistsWhateverItsCase) {
    struct Row {
        const char* name;
        std::vector<const char*> folders;
        const char* written; // "": the write fails
    };
    const Row rows[] = {
        {"OtherCase", {"BaseQ2"}, "BaseQ2"},
        {"ExactBesideOthers", {"BASEQ2", "baseq2"}, "baseq2"},
        {"AFileOfThatNameIsNoFolder", {}, ""},
        {"None", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        velo::test::TempDir game;
        for (const char* folder : row.folders) {
            std::filesystem::create_directory(game.path() / folder);
        }
        if (std::string(row.name) == "AFileOfThatNameIsNoFolder") {
            game.write("BaseQ2", "");
        }
        const velo::platform::MaybeError error =
            writeScript(mainScriptPath(game.path().string()), "exec q2extra.txt\r\n");
        if (*row.written == 0) {
            ASSERT_TRUE(error);
            EXPECT_NE(error->subject.find("/baseq2/"), std::string::npos) << error->subject;
            continue;
        }
        ASSERT_FALSE(error) << error->message();
        EXPECT_EQ(game.read(std::string(row.written) + "/q2velo.txt"), "exec q2extra.txt\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game.path()), {}),
                  static_cast<long>(row.folders.size()));
    }
}
#endif
