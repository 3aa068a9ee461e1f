#include "core/profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velo::core {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// Names in any case, LF-only files, a file made from nothing and a new section at its end
// are read and written through the settings file in settings_test; blanks and quotes around
// a value, by the fuzz target on every input.
class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(profileGet(c.text, c.section, c.key), c.expected);
}

const std::string kLong(120, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileRead,
    testing::Values(
        ReadCase{"BlanksAroundNames", "[ Quake2 ]\r\n\t Path  =x\r\n", "Quake2", "Path", "x"},
        ReadCase{"AbsentKey", "[Mod]\r\nMod0=a\r\n", "Mod", "Mod1", std::nullopt},
        ReadCase{"KeyOfAnotherSection", "[Mod]\r\nPath=x\r\n[Quake2]\r\n", "Quake2", "Path",
                 std::nullopt},
        ReadCase{"LongerNamesDoNotMatch", "[Quake2x]\r\nPath=x\r\n[Quake2]\r\nPaths=y\r\n",
                 "Quake2", "Path", std::nullopt},
        ReadCase{"CommentedOutEntry", "[Quake2]\r\n; Path = x\r\n", "Quake2", "; Path",
                 std::nullopt},
        ReadCase{"NoLastLineEnd", "[Quake2]\r\nRunSetup=No", "Quake2", "RunSetup", "No"},
        ReadCase{"DuplicateKey", "[Mod]\r\nMod0=a\r\nMod0=b\r\n", "Mod", "Mod0", "a"},
        ReadCase{"OnlyTheFirstCopyOfASection", "[Mod]\r\nMod0=a\r\n[X]\r\n[mod]\r\nMod1=b\r\n",
                 "Mod", "Mod1", std::nullopt},
        ReadCase{"CrOnly", "[Quake2]\rPath=C:\\Quake2\rRunSetup=No\r", "Quake2", "RunSetup", "No"},
        ReadCase{"LongValueWhole", "[Quake2]\r\nPath=" + kLong + "\r\n", "Quake2", "Path", kLong}),
    [](const testing::TestParamInfo<ReadCase>& row) { return row.param.name; });

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, GivesTheseBytes) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(profileSet(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileWrite,
    testing::Values(
        WriteCase{"ReplacesWhereItStands", "[Quake2]\r\nPath=old\r\nRunSetup=Yes\r\n", "Quake2",
                  "Path", "new", "[Quake2]\r\nPath=new\r\nRunSetup=Yes\r\n"},
        WriteCase{"ReplacedLineKeepsTheFilesSpelling", "[QUAKE2]\r\n path = old \r\n", "Quake2",
                  "Path", "x", "[QUAKE2]\r\npath=x\r\n"},
        WriteCase{"BlanksOfAValueKept", "", "Mod", "Mod0", " rocket arena ",
                  "[Mod]\r\nMod0= rocket arena \r\n"},
        WriteCase{"EmptyValueKeepsKey", "[Mod]\r\nMod0=ctf\r\n", "Mod", "Mod0", "",
                  "[Mod]\r\nMod0=\r\n"},
        WriteCase{"NewKeyBeforeBlankLines", "[Quake2]\r\nPath=x\r\n\r\n[Mod]\r\nMod0=a\r\n",
                  "Quake2", "RunSetup", "No",
                  "[Quake2]\r\nPath=x\r\nRunSetup=No\r\n\r\n[Mod]\r\nMod0=a\r\n"},
        WriteCase{"NewKeyUnderBareHeading", "[Mod]\r\n[Quake2]\r\n", "Mod", "Mod0", "a",
                  "[Mod]\r\nMod0=a\r\n[Quake2]\r\n"},
        WriteCase{"NewKeyAfterClosingComments", "[Mod]\r\nMod0=a\r\n; keys=mods\r\n\r\n[X]\r\n",
                  "Mod", "Mod1", "b", "[Mod]\r\nMod0=a\r\n; keys=mods\r\nMod1=b\r\n\r\n[X]\r\n"},
        WriteCase{"CrOnlyLinesKept", "[Quake2]\rPath=x\r[Mod]\r", "Quake2", "RunSetup", "No",
                  "[Quake2]\rPath=x\rRunSetup=No\r\n[Mod]\r"},
        WriteCase{"NewSectionAfterMissingLineEnd", "[Quake2]\r\nPath=x", "Mod", "Mod0", "a",
                  "[Quake2]\r\nPath=x\r\n[Mod]\r\nMod0=a\r\n"},
        WriteCase{"LfOnlyLinesKept", "[Quake2]\nPath=x\n\n[Mod]\n", "Quake2", "RunSetup", "No",
                  "[Quake2]\nPath=x\nRunSetup=No\r\n\n[Mod]\n"},
        WriteCase{"KeyBeforeFirstSectionKept", "Path=stray\r\n", "Quake2", "Path", "x",
                  "Path=stray\r\n[Quake2]\r\nPath=x\r\n"},
        WriteCase{"FirstOfDuplicateKeys", "[Mod]\r\nMod0=a\r\nMod0=b\r\n", "Mod", "Mod0", "c",
                  "[Mod]\r\nMod0=c\r\nMod0=b\r\n"},
        WriteCase{"FirstOfDuplicateSections", "[Mod]\r\nMod0=a\r\n[Mod]\r\nMod0=b\r\n", "Mod",
                  "Mod0", "c", "[Mod]\r\nMod0=c\r\n[Mod]\r\nMod0=b\r\n"},
        WriteCase{"KeyOfALaterCopyJoinsTheFirst", "[Mod]\r\nMod0=a\r\n[Mod]\r\nMod1=b\r\n", "Mod",
                  "Mod1", "c", "[Mod]\r\nMod0=a\r\nMod1=c\r\n[Mod]\r\nMod1=b\r\n"},
        WriteCase{"UnknownEntriesAndSectionsKept",
                  "; hand-made\r\n[Quake2]\r\nPath=x\r\nWindow = 10, 20 \t\r\n[Other]\r\nfoo\r\n",
                  "Quake2", "Path", "y",
                  "; hand-made\r\n[Quake2]\r\nPath=y\r\nWindow = 10, 20 \t\r\n[Other]\r\nfoo\r\n"},
        WriteCase{"LineBreaksInValueBecomeBlanks", "", "Quake2", "Path",
                  "a\r\n[Quake2]\nRunSetup=Yes", "[Quake2]\r\nPath=a  [Quake2] RunSetup=Yes\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& row) { return row.param.name; });

// A UTF-8 mark before the first section: the section is found, and every kind of write
// keeps the mark first and the file's one copy of the section.
struct MarkCase {
    const char* name;
    const char* before;
    std::optional<std::string> path; // Quake2/Path as read
    const char* key;                 // written in Quake2 with the value "No"
    const char* after;
};

class ByteOrderMark : public testing::TestWithParam<MarkCase> {};

TEST_P(ByteOrderMark, IsReadPastAndKept) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(profileGet(c.before, "Quake2", "Path"), c.path);
    EXPECT_EQ(profileSet(c.before, "Quake2", c.key, "No"), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ByteOrderMark,
    testing::Values(
        MarkCase{"NewKeyInTheFirstSection", "\xEF\xBB\xBF[Quake2]\r\nPath=C:\\Q\r\n", "C:\\Q",
                 "RunSetup", "\xEF\xBB\xBF[Quake2]\r\nPath=C:\\Q\r\nRunSetup=No\r\n"},
        MarkCase{"KeyReplacedInTheFirstSection", "\xEF\xBB\xBF[Quake2]\r\nPath=C:\\Q\r\n", "C:\\Q",
                 "Path", "\xEF\xBB\xBF[Quake2]\r\nPath=No\r\n"},
        MarkCase{"EntryRightAfterTheMark", "\xEF\xBB\xBFPath=x\r\n[Quake2]\r\n", std::nullopt,
                 "Path", "\xEF\xBB\xBFPath=x\r\n[Quake2]\r\nPath=No\r\n"},
        MarkCase{"OnlyTheMark", "\xEF\xBB\xBF", std::nullopt, "Path",
                 "\xEF\xBB\xBF[Quake2]\r\nPath=No\r\n"},
        MarkCase{"AMarkLaterIsText", "[X]\r\n\xEF\xBB\xBF[Quake2]\r\nPath=y\r\n", std::nullopt,
                 "Path", "[X]\r\n\xEF\xBB\xBF[Quake2]\r\nPath=y\r\n[Quake2]\r\nPath=No\r\n"}),

    [](const testing::TestParamInfo<MarkCase>& row) { return row.param.name; });

// Whole-section writes (setups) see the first section behind the mark as the key writes do.
TEST(ByteOrderMark, SectionWritesFindTheFirstSection) {
    const std::string text = "\xEF\xBB\xBF[Setup A]\r\nMod=ctf\r\n";
    ASSERT_EQ(profileSections(text).size(), 1U);
    EXPECT_EQ(profileSections(text).front().name, "Setup A");
    EXPECT_EQ(profileSetSection(text, "Setup A", {{"Mod", "dm"}}),
              "\xEF\xBB\xBF[Setup A]\r\nMod=dm\r\n");
    EXPECT_EQ(profileRemoveSection(text, "Setup A"), "\xEF\xBB\xBF");
}

} // namespace
} // namespace velo::core
