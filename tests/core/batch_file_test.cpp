#include "core/batch_file.h"
#include "core/command_line.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace velo::core {
namespace {

TEST(SuggestedName, FromTheModExceptTheBaseGame) {
    for (const auto& [mod, name] : {std::pair{"baseq2", "Mod.bat"},
                                    {"", "Mod.bat"},
                                    {"ctf", "ctf.bat"},
                                    {"BaseQ2", "BaseQ2.bat"}}) {
        EXPECT_EQ(suggestedBatchName(mod), name) << mod;
    }
}

// Quoted only where the command interpreter would cut the program at a blank.
TEST(BatchText, OneLineQuotedOnlyWhereItWouldSplit) {
    const char* const rows[][3] = {
        {"C:\\Quake2", "C:\\Quake2\\Quake2.exe +set basedir C:\\Quake2",
         "C:\\Quake2\\Quake2.exe +set basedir C:\\Quake2\r\n"},
        {"C:\\", "C:\\\\Quake2.exe +set basedir C:\\", "C:\\\\Quake2.exe +set basedir C:\\\r\n"},
        {"C:\\Program Files\\Quake2",
         "C:\\Program Files\\Quake2\\Quake2.exe +set basedir C:\\PROGRA~1\\Quake2",
         "\"C:\\Program Files\\Quake2\\Quake2.exe\" +set basedir C:\\PROGRA~1\\Quake2\r\n"},
        {"C:\\Quake2", "C:\\Quake2\\Quake2.exe +set game my mod",
         "C:\\Quake2\\Quake2.exe +set game my mod\r\n"},
    };
    for (const auto& [gameDir, line, text] : rows) {
        EXPECT_EQ(batchFileText(line, gameDir), text);
    }
}

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
