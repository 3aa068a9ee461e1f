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
    const std::string text = customScript(layout);
    EXPECT_EQ(text.substr(0, 21), "bind 1 \"+use \"\r\nbind ");
    EXPECT_NE(text.find("bind , \"+moveright\"\r\nbind  \"+moveup\"\r\n"), std::string::npos);
}

struct BreakRow {
    const char* name;
    bool extra; // q2extra.txt, else the custom q2velo.txt
    void (*type)(CustomLayout&, ExtraSettings&);
    const char* line;    // the box's line in the untouched script ("" when it has none)
    const char* becomes; // what stands there instead ("" when left out)
    const char* box;     // the box named as refused, nullptr when none is
    char character;
};

class ScriptBreaks : public testing::TestWithParam<BreakRow> {};

// A text that would end a binding early and let the game run the rest as commands leaves
// that one binding out, naming its box and the character; everything else is as before.
TEST_P(ScriptBreaks, OnlyTheBindingThatWouldBreakIsLeftOut) {
    const BreakRow& row = GetParam();
    CustomLayout layout = CustomLayout::defaults();
    ExtraSettings settings;
    const ExtraLines lines;
    std::string expected = row.extra ? extraScript(settings, lines) : customScript(layout);
    if (*row.line != 0) {
        const std::size_t at = expected.find(row.line);
        ASSERT_NE(at, std::string::npos);
        expected.replace(at, std::string(row.line).size(), row.becomes);
    }
    row.type(layout, settings);
    std::vector<Refusal> refused;
    EXPECT_EQ(row.extra ? extraScript(settings, lines, &refused) : customScript(layout, &refused),
              expected);
    if (row.box == nullptr) {
        EXPECT_TRUE(refused.empty());
    } else {
        ASSERT_EQ(refused.size(), 1u);
        EXPECT_EQ(refused[0].box, row.box);
        EXPECT_EQ(refused[0].character, row.character);
    }
}

INSTANTIATE_TEST_SUITE_P(
    KeysAndCommands, ScriptBreaks,
    testing::Values(
        BreakRow{"KeySemicolon", false,
                 [](CustomLayout& l, ExtraSettings&) { l.keys[0] = "F5; quit"; },
                 "bind UPARROW \"+forward\"\r\n", "", "Forward", ';'},
        BreakRow{"KeyBlank", false,
                 [](CustomLayout& l, ExtraSettings&) { l.keys[7] = "SPACE BAR"; },
                 "bind SPACE \"+moveup\"\r\n", "", "Jump", ' '},
        BreakRow{"KeyLineBreak", false,
                 [](CustomLayout& l, ExtraSettings&) { l.keys[6] = "CTRL\nquit"; },
                 "bind CTRL \"+attack\"\r\n", "", "Attack", '\n'},
        BreakRow{"WeaponQuote", false,
                 [](CustomLayout& l, ExtraSettings&) { l.weapons[9] = "BFG10K\"; quit"; },
                 "bind 0 \"+use BFG10K\"\r\n", "", "Weapon Button 0", '"'},
        BreakRow{"WeaponLineBreak", false,
                 [](CustomLayout& l, ExtraSettings&) { l.weapons[0] = "Blaster\r\nquit"; },
                 "bind 1 \"+use Blaster\"\r\n", "", "Weapon Button 1", '\r'},
        BreakRow{"WeaponSemicolonChains", false,
                 [](CustomLayout& l, ExtraSettings&) { l.weapons[2] = "Super Shotgun;wave 1"; },
                 "bind 3 \"+use Super Shotgun\"\r\n", "bind 3 \"+use Super Shotgun;wave 1\"\r\n",
                 nullptr, 0},
        BreakRow{"MouseQuote", false,
                 [](CustomLayout& l, ExtraSettings&) { l.mouse[1] = "+zoom\""; }, "", "",
                 "Mouse Button 2", '"'},
        BreakRow{"TauntSemicolon", true,
                 [](CustomLayout&, ExtraSettings& e) { e.taunts[0] = "F5; quit"; },
                 "bind F5 \"wave 1 \"\r\n", "", "Wave1", ';'},
        BreakRow{"GrappleQuote", true,
                 [](CustomLayout&, ExtraSettings& e) {
                     e.grapple = true;
                     e.grappleKey = "\"";
                 },
                 "", "", "Grappling Hook Key", '"'}),
    [](const testing::TestParamInfo<BreakRow>& row) { return std::string(row.param.name); });

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
