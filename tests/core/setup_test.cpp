#include "core/setup.h"

#include "core/profile.h"
#include "core/settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velo::core {
namespace {

// Everything away from its start value, with texts the file format could mangle.
core::Setup lanCtf() {
    core::Setup s;
    s.Mod = "ctf";
    s.AlwaysRun = false;
    s.Freelook = false;
    s.Sensitivity = 13;
    s.Crosshair = false;
    s.Handedness = Hand::Left;
    s.Dedicated = true;
    s.Map = "q2ctf1";
    s.HostName = "  \"Frag = Fest\"; [LAN] ";
    s.FragLimit = "abc";
    s.TimeLimit = "";
    s.MaxPlayers = "16";
    s.FlagBoxes.fill(true);
    s.Engine = "/usr/lib/yamagi-quake2/quake2";
    return s;
}

const std::string kOther = "[Quake2]\r\nPath=/games/Quake 2\r\nRunSetup=No\r\nEngine=/x\r\n"
                           "; kept\r\n[Mod]\r\nMod0=ctf\r\n\r\n";

std::vector<std::string> faultKeys(const SetupLoad& load) {
    std::vector<std::string> keys;
    for (const SetupFault& fault : load.faults) {
        keys.push_back(fault.key);
    }
    return keys;
}

// A setup is written whole, with the total for whoever reads the file, read back as it
// was, and leaves every other line where it was.
TEST(Setups, SaveWholeReadBackAndLeaveTheRestAlone) {
    const std::string saved = withSetup(kOther, "LAN CTF", lanCtf());
    EXPECT_EQ(saved,
              "[Quake2]\r\nPath=/games/Quake 2\r\nRunSetup=No\r\nEngine=/x\r\n"
              "; kept\r\nSetup=LAN CTF\r\n[Mod]\r\nMod0=ctf\r\n\r\n"
              "[Setup LAN CTF]\r\nMod=ctf\r\nAlwaysRun=No\r\nFreelook=No\r\n"
              "Sensitivity=13\r\nCrosshair=No\r\nHandedness=Left\r\nDedicated=Yes\r\n"
              "Map=q2ctf1\r\nHostName=\"  \"Frag = Fest\"; [LAN] \"\r\nFragLimit=abc\r\n"
              "TimeLimit=\r\nMaxPlayers=16\r\nDMFlags=63476\r\nAllowHealth=Yes\r\n"
              "AllowPowerups=Yes\r\nWeaponsStay=Yes\r\nFallingDamage=Yes\r\n"
              "InstantPowerups=Yes\r\nSameMap=Yes\r\nNoFriendlyFire=Yes\r\n"
              "SpawnFarthest=Yes\r\nTeamsByModel=Yes\r\nTeamsBySkin=Yes\r\n"
              "InfiniteAmmo=Yes\r\nFixedFOV=Yes\r\nQuadDrop=Yes\r\nAllowExit=Yes\r\n"
              "AllowArmor=Yes\r\nForceRespawn=Yes\r\nEngine=/usr/lib/yamagi-quake2/quake2\r\n");
    const SetupLoad load = loadSetup(saved, "lan ctf");
    EXPECT_TRUE(load.found);
    EXPECT_TRUE(load.setup == lanCtf());
    EXPECT_TRUE(load.faults.empty()) << load.faults.front().key;

    // Saved again, in place and once; a second setup comes after it; deleting one
    // leaves the other and the launcher's entries as they were.
    core::Setup start;
    std::string both = withSetup(withSetup(saved, "lan CTF", start), "Duel", lanCtf());
    EXPECT_EQ(indexSetups(both).names, (std::vector<std::string>{"Duel", "lan CTF"}));
    EXPECT_TRUE(loadSetup(both, "LAN CTF").setup == start);
    EXPECT_EQ(indexSetups(both).picked, "Duel");
    both = withoutSetup(both, "duel");
    EXPECT_EQ(indexSetups(both).picked, "");
    EXPECT_EQ(withoutSetup(both, "LAN CTF"), withPicked(kOther, ""));
    EXPECT_FALSE(loadSetup(kOther, "X").found);
}

struct DamageCase {
    const char* name;
    std::string section;                     // the lines after "[Setup X]"
    std::function<void(core::Setup&)> valid; // what loads, over the start values
    std::vector<std::string> named;          // the keys the load names, in its order
};

// A whole, valid section of s, without its header.
std::string linesOf(const core::Setup& s) {
    const std::string text = withSetup("", "X", s);
    const std::size_t begin = text.find("[Setup X]\r\n") + 11;
    return text.substr(begin, text.find("[Quake2]") - begin);
}

std::string without(std::string text, const std::string& line) {
    text.erase(text.find(line), line.size());
    return text;
}

class DamagedSetup : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedSetup, LoadsWhatIsValidAndNamesTheRest) {
    const DamageCase& c = GetParam();
    const std::string text = kOther + "[Setup X]\r\n" + c.section;
    const SetupLoad load = loadSetup(text, "X");
    core::Setup expected;
    c.valid(expected);
    EXPECT_TRUE(load.found);
    EXPECT_TRUE(load.setup == expected);
    EXPECT_EQ(faultKeys(load), c.named);
    for (const SetupFault& fault : load.faults) {
        EXPECT_FALSE(fault.reason.empty());
    }
}

const core::Setup kLan = lanCtf();
const auto kAsLan = [](core::Setup& s) { s = kLan; };

INSTANTIATE_TEST_SUITE_P(
    Rules, DamagedSetup,
    testing::Values(
        // clang-format off
        DamageCase{"UnknownKey", linesOf(kLan) + "Colour=red\r\n", kAsLan, {"Colour"}},
        DamageCase{"MissingKey", without(linesOf(kLan), "Handedness=Left\r\n"),
                   [](core::Setup& s) { s = kLan; s.Handedness = Hand::Centered; }, {"Handedness"}},
        DamageCase{"SensitivityOf99",
                   without(linesOf(kLan), "Sensitivity=13\r\n") + "Sensitivity=99\r\n",
                   [](core::Setup& s) { s = kLan; s.Sensitivity = 3; }, {"Sensitivity"}},
        DamageCase{"BoxesDisagreeWithTheTotal",
                   without(linesOf(kLan), "DMFlags=63476\r\n") + "DMFlags=16\r\n", kAsLan,
                   {"DMFlags"}},
        DamageCase{"SectionThereTwice",
                   linesOf(kLan) + "[Other]\r\nk=v\r\n[setup x]\r\n" + linesOf(core::Setup()),
                   kAsLan, {"[setup x]"}},
        DamageCase{"KeyThereTwice", linesOf(kLan) + "mod=baseq2\r\n", kAsLan, {"mod"}},
        // clang-format on
        DamageCase{"ValuesOutOfReach",
                   "Mod=rocketarena\r\nAlwaysRun=maybe\r\nSensitivity=-3\r\nHandedness=up\r\n"
                   "FragLimit=1000\r\nWeaponsStay=yes\r\n",
                   [](core::Setup& s) {
                       s.Mod = "rocketarena";
                       s.FlagBoxes[2] = true;
                   },
                   {"AlwaysRun",      "Sensitivity",   "Handedness",      "FragLimit",
                    "Freelook",       "Crosshair",     "Dedicated",       "Map",
                    "HostName",       "TimeLimit",     "MaxPlayers",      "AllowHealth",
                    "AllowPowerups",  "FallingDamage", "InstantPowerups", "SameMap",
                    "NoFriendlyFire", "SpawnFarthest", "TeamsByModel",    "TeamsBySkin",
                    "InfiniteAmmo",   "FixedFOV",      "QuadDrop",        "AllowExit",
                    "AllowArmor",     "ForceRespawn",  "Engine",          "DMFlags"}}),
    [](const testing::TestParamInfo<DamageCase>& row) { return row.param.name; });

// Only names the file can hold as a section's name are taken.
TEST(Setups, NamesTheFileCannotHoldAreRefusedNamingTheCharacter) {
    const std::vector<std::pair<std::string, std::string>> rows{
        {"", "name"},      {"LAN]", "\"]\""},  {"LAN\nCTF", "line break"}, {"LAN\r", "line break"},
        {" LAN", "blank"}, {"LAN\t", "blank"},
    };
    for (const auto& [name, says] : rows) {
        const auto fault = setupNameFault(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_NE(fault->find(says), std::string::npos) << *fault;
    }
    for (const char* fine : {"LAN CTF", "[x", "a=b", "; x", "\"q\"", "Ä"}) {
        EXPECT_FALSE(setupNameFault(fine)) << fine;
        const std::string text = withSetup(kOther, fine, lanCtf());
        EXPECT_EQ(indexSetups(text).names, std::vector<std::string>{fine});
        EXPECT_EQ(indexSetups(text).picked, fine);
        EXPECT_TRUE(loadSetup(text, fine).faults.empty()) << fine;
    }
}

// Sections that only look like a setup's are not listed, and not touched.
TEST(Setups, IndexListsSetupsOnceSortedWithoutRegardToCase) {
    const std::string text = "[Setup b]\r\n[Setup  spaced]\r\n[Setup]\r\n[SetupX]\r\n"
                             "[setup A]\r\n[Setup B]\r\n[Quake2]\r\nSetup=a\r\n";
    const SetupIndex index = indexSetups(text);
    EXPECT_EQ(index.names, (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(index.picked, "a");
    EXPECT_EQ(index.find("B"), std::optional<std::string>("b"));
    EXPECT_EQ(withoutSetup(text, "b"),
              "[Setup  spaced]\r\n[Setup]\r\n[SetupX]\r\n[setup A]\r\n[Quake2]\r\nSetup=a\r\n");
}

} // namespace
} // namespace velo::core
