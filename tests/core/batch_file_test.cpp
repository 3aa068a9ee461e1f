#include "core/batch_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace velo::core {
namespace {

// Named after the mod, except the base game (whose name the window test checks). One line and CR
// LF, quoted only where the command interpreter would cut the program at a blank. The window test
// writes the composed line of the first start, unquoted.
TEST(BatchFile, NamedAfterTheModOneLineQuotedOnlyWhereItWouldSplit) {
    for (const auto& [mod, name] :
         {std::pair{"", "Mod.bat"}, {"ctf", "ctf.bat"}, {"BaseQ2", "BaseQ2.bat"}}) {
        EXPECT_EQ(suggestedBatchName(mod), name) << mod;
    }
    const char* const rows[][3] = {
        {"C:\\", "C:\\\\Quake2.exe +set basedir C:\\", "C:\\\\Quake2.exe +set basedir C:\\\r\n"},
        {"C:\\Program Files\\Quake2",
         "C:\\Program Files\\Quake2\\Quake2.exe +set basedir C:\\PROGRA~1\\Quake2",
         "\"C:\\Program Files\\Quake2\\Quake2.exe\" +set basedir C:\\PROGRA~1\\Quake2\r\n"},
        {"C:\\Quake2", "C:\\Quake2\\Quake2.exe +set game my mod",
         "C:\\Quake2\\Quake2.exe +set game my mod\r\n"},
    };
    test::TempDir dir;
    for (const auto& [gameDir, line, bytes] : rows) {
        ASSERT_FALSE(writeBatchFile(dir.file("Mod.bat"), line, gameDir));
        EXPECT_EQ(dir.read("Mod.bat"), bytes);
    }
}

struct EscapeRow {
    const char* name;
    const char* gameDir;
    const char* line;
    const char* bytes;
};

class BatchEscape : public testing::TestWithParam<EscapeRow> {};

// What the command interpreter would take as a command of its own, a redirection or a
// variable reaches the game as typed; inside quotes only % is special to it.
TEST_P(BatchEscape, TheInterpreterHandsTheGameTheLineAsComposed) {
    EXPECT_EQ(batchFileText(GetParam().line, GetParam().gameDir), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    OneCharacterEach, BatchEscape,
    testing::Values(
        EscapeRow{"Ampersand", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname Tom & Jerry",
                  "C:\\Q2\\Quake2.exe +hostname Tom ^& Jerry\r\n"},
        EscapeRow{"Pipe", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname a | more",
                  "C:\\Q2\\Quake2.exe +hostname a ^| more\r\n"},
        EscapeRow{"Redirections", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname <3 a>b",
                  "C:\\Q2\\Quake2.exe +hostname ^<3 a^>b\r\n"},
        EscapeRow{"Caret", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname ^_^",
                  "C:\\Q2\\Quake2.exe +hostname ^^_^^\r\n"},
        EscapeRow{"Percent", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname 100% %PATH%",
                  "C:\\Q2\\Quake2.exe +hostname 100%% %%PATH%%\r\n"},
        EscapeRow{"InsideQuotesOnlyPercent", "C:\\A & B %x",
                  "C:\\A & B %x\\Quake2.exe +set basedir C:\\A~1 +map q2dm1|x",
                  "\"C:\\A & B %%x\\Quake2.exe\" +set basedir C:\\A~1 +map q2dm1^|x\r\n"},
        EscapeRow{"QuoteTypedInText", "C:\\Q2", "C:\\Q2\\Quake2.exe +hostname \"a & b\" & c",
                  "C:\\Q2\\Quake2.exe +hostname \"a & b\" ^& c\r\n"}),
    [](const testing::TestParamInfo<EscapeRow>& row) { return std::string(row.param.name); });

} // namespace
} // namespace velo::core
