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

} // namespace
} // namespace velo::core
