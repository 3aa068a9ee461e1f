#include "core/batch_file.h"
#include "core/command_line.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace velo::core {
namespace {

struct NameCase {
    const char* name;
    const char* mod;
    const char* suggested;
};

class SuggestedName : public testing::TestWithParam<NameCase> {};

TEST_P(SuggestedName, FromTheMod) {
    EXPECT_EQ(suggestedBatchName(GetParam().mod), GetParam().suggested);
}

INSTANTIATE_TEST_SUITE_P(Mods, SuggestedName,
                         testing::Values(NameCase{"BaseGame", "baseq2", "Mod.bat"},
                                         NameCase{"Empty", "", "Mod.bat"},
                                         NameCase{"OtherMod", "ctf", "ctf.bat"},
                                         NameCase{"CaseCounts", "BaseQ2", "BaseQ2.bat"}),
                         [](const testing::TestParamInfo<NameCase>& row) {
                             return row.param.name;
                         });

struct TextCase {
    const char* name;
    const char* gameDir;
    const char* line;
    const char* text;
};

class BatchText : public testing::TestWithParam<TextCase> {};

TEST_P(BatchText, OneLineQuotedOnlyWhereItWouldSplit) {
    EXPECT_EQ(batchFileText(GetParam().line, GetParam().gameDir), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    GameDirs, BatchText,
    testing::Values(
        TextCase{"NoBlank", "C:\\Quake2", "C:\\Quake2\\Quake2.exe +set basedir C:\\Quake2",
                 "C:\\Quake2\\Quake2.exe +set basedir C:\\Quake2\r\n"},
        TextCase{"DriveRoot", "C:\\", "C:\\\\Quake2.exe +set basedir C:\\",
                 "C:\\\\Quake2.exe +set basedir C:\\\r\n"},
        TextCase{"BlankInGameDir", "C:\\Program Files\\Quake2",
                 "C:\\Program Files\\Quake2\\Quake2.exe +set basedir C:\\Program Files\\Quake2",
                 "\"C:\\Program Files\\Quake2\\Quake2.exe\" +set basedir C:\\Program "
                 "Files\\Quake2\r\n"},
        TextCase{"BlankOnlyLaterInLine", "C:\\Quake2",
                 "C:\\Quake2\\Quake2.exe +set game my mod +hostname Frag Fest",
                 "C:\\Quake2\\Quake2.exe +set game my mod +hostname Frag Fest\r\n"}),
    [](const testing::TestParamInfo<TextCase>& row) { return row.param.name; });

TEST(BatchFile, WritesTheComposedLineAndOneLineEnd) {
    test::TempDir dir;
    LaunchOptions options;
    setStartValues(options);
    options.GameDir = "C:\\Quake2";
    const std::string line = ComposeCommandLine(options);
    ASSERT_FALSE(writeBatchFile(dir.file("Mod.bat"), line, options.GameDir));
    const std::string bytes = dir.read("Mod.bat");
    EXPECT_EQ(bytes.size(), 249u);
    EXPECT_EQ(bytes, line + "\r\n");
}

} // namespace
} // namespace velo::core
